#pragma once
// WindowSubclass: a window's messages routed through a procedure of ours
// before the window's own procedure, for the life of the object.
//
// The hook takes the window procedure's place and finds what it needs in a
// table of the window's thread. The common controls' SetWindowSubclass keeps
// that in a window property instead, which Wine reads from its server for
// every message, twice: a tenth of a millisecond for each message a
// subclassed control gets, milliseconds for each keystroke in the dialog.

#include <windows.h>

namespace tesmirol {

class WindowSubclass {
 public:
  // The procedure that sees the window's messages first, with the context
  // given when it was hooked in.
  using Procedure = LRESULT (*)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void* context);

  // Hooks procedure into hwnd's messages; check Installed(). A window of
  // another thread, or one already hooked, is not hooked.
  WindowSubclass(HWND hwnd, Procedure procedure, void* context) noexcept;
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  WindowSubclass(WindowSubclass&&) = delete;
  WindowSubclass& operator=(WindowSubclass&&) = delete;
  // Puts the window's own procedure back. When another hook has taken the
  // window's procedure since, ours stays in the chain and passes every
  // message straight on, until the window is destroyed.
  ~WindowSubclass();

  // True when the hook is in place.
  [[nodiscard]] bool Installed() const noexcept { return m_original != nullptr; }

  // Passes a message to the window procedure the hook replaced; most
  // messages are passed on for their effect alone.
  // NOLINTNEXTLINE(modernize-use-nodiscard)
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const noexcept;

  // The window procedure the hook replaced; null when not installed.
  [[nodiscard]] WNDPROC Original() const noexcept { return m_original; }

 private:
  HWND m_hwnd;
  WNDPROC m_original = nullptr;
};

}  // namespace tesmirol
