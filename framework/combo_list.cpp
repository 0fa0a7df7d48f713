#include "framework/combo_list.h"

#include <utility>

#include "framework/drawing_hold.h"

namespace tesmirol {
namespace {

// The list messages by which a combo box moves the focus rectangle and the
// top entry of its list as the user types. The box takes nothing from their
// answers; the selection (LB_SETCURSEL) it asks about, and it is made at
// once.
bool IsMove(UINT message) noexcept { return message == LB_SETCARETINDEX || message == LB_SETTOPINDEX; }

// The message the list posts itself to make the noted moves: registered, so
// that it meets no message of the list box's own.
UINT MakeMovesMessage() noexcept {
  static const UINT message = RegisterWindowMessageW(L"Tesmirol.ComboList.MakeMoves");
  return message;
}

}  // namespace

std::optional<LRESULT> CComboList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MakeMovesMessage() && message != 0) {
    MakeMoves();
    return 0;
  }
  if (IsMove(message)) {
    return PutOff(message, wParam, lParam);
  }
  if (message == WM_DESTROY) {
    m_moves.clear();
  } else if (!m_moves.empty()) {
    MakeMoves();
  }
  return std::nullopt;
}

// The first move of a keystroke posts the message; the ones after it find
// it on its way. A caret index beyond the entries is refused, as the list
// refuses it; the top index the list takes in any case.
std::optional<LRESULT> CComboList::PutOff(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_moves.empty() && (MakeMovesMessage() == 0 || !Post(MakeMovesMessage()))) {
    return std::nullopt;
  }
  if (message == LB_SETCARETINDEX) {
    const LRESULT count = DefaultWindowProc(LB_GETCOUNT, 0, 0);
    if (std::cmp_greater_equal(wParam, count)) {
      return LB_ERR;
    }
  }
  m_moves.push_back(Move{message, wParam, lParam});
  return LB_OKAY;
}

void CComboList::MakeMoves() {
  if (m_moves.empty()) {
    return;
  }
  const std::vector<Move> moves = std::move(m_moves);
  m_moves.clear();
  if (IsWindowVisible(GetSafeHwnd()) == FALSE) {
    for (const Move& move : moves) {
      DefaultWindowProc(move.message, move.wParam, move.lParam);
    }
    return;
  }
  const View before = CurrentView();
  {
    const DrawingHold hold(GetSafeHwnd());
    for (const Move& move : moves) {
      DefaultWindowProc(move.message, move.wParam, move.lParam);
    }
  }
  const UINT flags = View::RedrawFlags(before, CurrentView());
  if (flags != 0) {
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, flags);
  }
}

CComboList::View CComboList::CurrentView() noexcept {
  return View{DefaultWindowProc(LB_GETTOPINDEX, 0, 0), DefaultWindowProc(LB_GETCURSEL, 0, 0),
              DefaultWindowProc(LB_GETCARETINDEX, 0, 0), GetVerticalScrollInfo()};
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
