#include "framework/static_control.h"

namespace tesmirol {

// The system's default handling stores the text as for any window.
LRESULT CStatic::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_SETTEXT) {
    return CWnd::DefaultWindowProc(message, wParam, lParam);
  }
  const LRESULT result = DefWindowProcW(GetSafeHwnd(), WM_SETTEXT, wParam, lParam);
  RequestRepaint(false);
  return result;
}

// Set even when the text is the same: the control is repainted after every
// update all the same.
void CStatic::SetTextInBatch(const std::wstring& text, RepaintBatch& batch) {
  if (!IsWindow()) {
    return;
  }
  m_batch = &batch;
  SetText(text);
  m_batch = nullptr;
}

void CStatic::RequestRepaint(bool withParentArea) const noexcept {
  if (m_batch != nullptr) {
    m_batch->Add(GetSafeHwnd());
  } else if (withParentArea) {
    InvalidateWithParentArea(GetSafeHwnd());
  } else {
    Invalidate(true);
  }
}

}  // namespace tesmirol
