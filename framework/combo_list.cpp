#include "framework/combo_list.h"

namespace tesmirol {
namespace {

// The list messages by which a combo box follows its edit field.
bool MovesTheList(UINT message) noexcept {
  return message == LB_SETCURSEL || message == LB_SETCARETINDEX || message == LB_SETTOPINDEX;
}

// The message the list posts itself to end a hold: registered, so that it
// meets no message of the list box's own.
UINT EndHoldMessage() noexcept {
  static const UINT message = RegisterWindowMessageW(L"Tesmirol.ComboList.EndHold");
  return message;
}

}  // namespace

// A hidden list draws nothing, and needs no hold. The first moving message
// of a keystroke starts the hold; the ones after it find it in place.
std::optional<LRESULT> CComboList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == EndHoldMessage() && message != 0) {
    EndHold();
    return 0;
  }
  if (message == WM_DESTROY) {
    m_hold.reset();
    return std::nullopt;
  }
  if (!MovesTheList(message) || m_hold || IsWindowVisible(GetSafeHwnd()) == FALSE) {
    return std::nullopt;
  }
  if (StartHold()) {
    return std::nullopt;
  }
  const LRESULT result = DefaultWindowProc(message, wParam, lParam);
  EndHold();
  return result;
}

bool CComboList::StartHold() {
  m_beforeHold = CurrentView();
  m_hold.emplace(GetSafeHwnd());
  return EndHoldMessage() != 0 && Post(EndHoldMessage());
}

void CComboList::EndHold() noexcept {
  if (!m_hold) {
    return;
  }
  m_hold.reset();
  const UINT flags = View::RedrawFlags(m_beforeHold, CurrentView());
  if (flags != 0) {
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, flags);
  }
}

CComboList::View CComboList::CurrentView() const noexcept {
  return View{Send(LB_GETTOPINDEX), Send(LB_GETCURSEL), Send(LB_GETCARETINDEX), GetVerticalScrollInfo()};
}

// The entries when any of them moved or changed state; the frame with them
// when the scroll bar changed.
UINT CComboList::View::RedrawFlags(const View& before, const View& after) noexcept {
  UINT flags = 0;
  if (before.top != after.top || before.selection != after.selection || before.caret != after.caret) {
    flags |= RDW_INVALIDATE | RDW_ERASE;
  }
  if (!SameScrollBar(before.scrollBar, after.scrollBar)) {
    flags |= RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;
  }
  return flags;
}

}  // namespace tesmirol
