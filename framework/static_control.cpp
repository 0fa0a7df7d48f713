#include "framework/static_control.h"

namespace tesmirol {

// Compared first: reading the text back costs nothing next to a repaint.
void CStatic::ShowText(const std::wstring& text, RepaintBatch& batch) {
  if (IsWindow() && GetText() != text) {
    SetTextInBatch(text, batch);
  }
}

// The system's default handling stores the text as for any window.
LRESULT CStatic::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_SETTEXT) {
    return CWnd::DefaultWindowProc(message, wParam, lParam);
  }
  const LRESULT result = DefWindowProcW(GetSafeHwnd(), WM_SETTEXT, wParam, lParam);
  RequestRepaint(false);
  return result;
}

void CStatic::SetTextInBatch(const std::wstring& text, RepaintBatch& batch) {
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
