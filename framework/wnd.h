#pragma once
// CWnd: the C++ object that stands for one window. Messages of a window that
// the object has taken over (subclassed) go through its message map,
// OnMessage, and whatever that leaves to DefaultWindowProc.

#include <windows.h>

#include <optional>
#include <string>

#include "framework/window_subclass.h"

namespace tesmirol {

class CWnd {
 public:
  CWnd() noexcept = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  CWnd(CWnd&&) = delete;
  CWnd& operator=(CWnd&&) = delete;
  virtual ~CWnd();

  // The window, or null while the object stands for none.
  [[nodiscard]] HWND GetSafeHwnd() const noexcept { return m_hWnd; }

  // True while the object stands for a window that exists.
  [[nodiscard]] bool IsWindow() const noexcept;

  // Takes over an existing window (a control of a dialog): from now on its
  // messages go through this object. False when it cannot be hooked or the
  // object already stands for a window.
  bool SubclassWindow(HWND hwnd);

  // The window text; for a combo box, the text of its edit field.
  [[nodiscard]] std::wstring GetText() const;

  // Sets the window text (WM_SETTEXT).
  void SetText(const std::wstring& text) const noexcept;

  // Sends a message to the window and returns its result; most messages are
  // sent for their effect alone.
  // NOLINTNEXTLINE(modernize-use-nodiscard)
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept;

  // Puts a message in the window's queue; it is handled once the messages
  // before it are. False when the queue takes no more.
  // NOLINTNEXTLINE(modernize-use-nodiscard)
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept;

  // The window style bits.
  [[nodiscard]] DWORD GetStyle() const noexcept;

  // The client area, in client coordinates.
  [[nodiscard]] RECT GetClientRect() const noexcept;

  // The window's outer rectangle, in screen coordinates.
  [[nodiscard]] RECT GetWindowRect() const noexcept;

  // The parent window, or null.
  [[nodiscard]] HWND GetParent() const noexcept;

  // True while the window is minimized.
  [[nodiscard]] bool IsIconic() const noexcept;

  // The dots per inch the window is shown at: 96 at 100 % scaling.
  [[nodiscard]] UINT GetDpi() const noexcept;

  // The range, page and position of the vertical scroll bar; all zero when
  // the window has none.
  [[nodiscard]] SCROLLINFO GetVerticalScrollInfo() const noexcept;

  // Marks the whole client area for repainting, erasing the background first
  // when erase is true.
  void Invalidate(bool erase) const noexcept;

  // Sets the window's large (caption, Alt+Tab) or small icon.
  void SetIcon(HICON icon, bool large) const noexcept;

  // The help context the window asks for when the user presses F1, or none.
  [[nodiscard]] virtual std::optional<DWORD> HelpContext() const;

 protected:
  // The message map: handles the message and returns its result, or returns
  // no result so that DefaultWindowProc handles it.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Default handling of a message that the message map leaves alone, or that
  // a handler passes on: for a control taken over, the control's own window
  // procedure.
  virtual LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Makes the object stand for hwnd without hooking its messages (a dialog,
  // whose messages arrive through its dialog procedure), or for none.
  void SetHandle(HWND hwnd) noexcept { m_hWnd = hwnd; }

 private:
  // The procedure of every subclassed window; the object comes with the hook.
  static LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void* context);

  // One message: the message map first, then the default handling.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  std::optional<WindowSubclass> m_subclass;
};

}  // namespace tesmirol
