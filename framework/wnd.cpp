#include "framework/wnd.h"

#include "framework/message_guard.h"
#include "framework/message_params.h"

namespace tesmirol {
namespace {

// The DPI a window is drawn at when the system cannot say.
constexpr UINT kDefaultDpi = 96;

}  // namespace

// The hook, if any, is removed by m_subclass.
CWnd::~CWnd() = default;

// Asks the system whether the window still exists.
bool CWnd::IsWindow() const noexcept { return m_hWnd != nullptr && ::IsWindow(m_hWnd) != FALSE; }

// Hooks the window's messages, passing this object along with every one.
bool CWnd::SubclassWindow(HWND hwnd) {
  if (m_hWnd != nullptr || hwnd == nullptr) {
    return false;
  }
  m_subclass.emplace(hwnd, &CWnd::SubclassProc, this);
  if (!m_subclass->Installed()) {
    m_subclass.reset();
    return false;
  }
  m_hWnd = hwnd;
  return true;
}

// Reads the text with a buffer of the length the window reports.
std::wstring CWnd::GetText() const {
  const int length = GetWindowTextLengthW(m_hWnd);
  if (length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(m_hWnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

// Sets the window text.
void CWnd::SetText(const std::wstring& text) const noexcept { SetWindowTextW(m_hWnd, text.c_str()); }

// Sends a message.
LRESULT CWnd::Send(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
  return SendMessageW(m_hWnd, message, wParam, lParam);
}

// Posts a message.
bool CWnd::Post(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
  return PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
}

// Reads the style bits.
DWORD CWnd::GetStyle() const noexcept { return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }

// Reads the client rectangle; empty when the window is gone.
RECT CWnd::GetClientRect() const noexcept {
  RECT rect{};
  ::GetClientRect(m_hWnd, &rect);
  return rect;
}

// Reads the window rectangle; empty when the window is gone.
RECT CWnd::GetWindowRect() const noexcept {
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  return rect;
}

// Reads the parent.
HWND CWnd::GetParent() const noexcept { return ::GetParent(m_hWnd); }

// Reads the minimized state.
bool CWnd::IsIconic() const noexcept { return ::IsIconic(m_hWnd) != FALSE; }

// Reads the window's DPI; 96 when the system gives none.
UINT CWnd::GetDpi() const noexcept {
  const UINT dpi = GetDpiForWindow(m_hWnd);
  return dpi != 0 ? dpi : kDefaultDpi;
}

// GetScrollInfo of SB_VERT; all zero when the control has no scroll bar.
SCROLLINFO CWnd::GetVerticalScrollInfo() const noexcept {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (GetScrollInfo(GetSafeHwnd(), SB_VERT, &info) == FALSE) {
    return SCROLLINFO{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  }
  return info;
}

// Invalidates the client area.
void CWnd::Invalidate(bool erase) const noexcept { InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE); }

// Sets one of the window's icons.
void CWnd::SetIcon(HICON icon, bool large) const noexcept {
  Send(WM_SETICON, large ? ICON_BIG : ICON_SMALL, ParamFromHandle(icon));
}

// Plain windows ask for no help of their own.
std::optional<DWORD> CWnd::HelpContext() const { return std::nullopt; }

// A plain CWnd handles nothing itself.
std::optional<LRESULT> CWnd::OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return std::nullopt; }

// Passes the message on to the window's own procedure.
LRESULT CWnd::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_subclass) {
    return m_subclass->CallOriginal(message, wParam, lParam);
  }
  return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

// Lets the message map try first.
LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const std::optional<LRESULT> handled = OnMessage(message, wParam, lParam);
  return handled ? *handled : DefaultWindowProc(message, wParam, lParam);
}

// Finds the object that hooked the window and lets it handle the message.
LRESULT CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void* context) {
  auto* wnd = static_cast<CWnd*>(context);
  if (message == WM_NCDESTROY) {
    // The control goes before its C++ object (the dialog destroys its
    // controls when it closes): unhook while the window still exists and let
    // the object stand for no window from here on.
    const WNDPROC original = wnd->m_subclass->Original();
    wnd->m_subclass.reset();
    wnd->m_hWnd = nullptr;
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  return GuardMessage(hwnd, message, LRESULT{0}, [&] { return wnd->WindowProc(message, wParam, lParam); });
}

}  // namespace tesmirol
