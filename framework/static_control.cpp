#include "framework/static_control.h"

namespace tesmirol {

// Compared first: reading the text back costs nothing next to a repaint.
void CStatic::ShowText(const std::wstring& text) const {
  if (IsWindow() && GetText() != text) {
    SetText(text);
  }
}

// The system's default handling stores the text as for any window.
LRESULT CStatic::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_SETTEXT) {
    return CWnd::DefaultWindowProc(message, wParam, lParam);
  }
  const LRESULT result = DefWindowProcW(GetSafeHwnd(), WM_SETTEXT, wParam, lParam);
  Invalidate(true);
  return result;
}

}  // namespace tesmirol
