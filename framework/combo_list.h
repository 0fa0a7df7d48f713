#pragma once
// CComboList: the list of a combo box that shows its list all the time.
//
// As the user types in the box's edit field, the box selects the first entry
// that starts with the text, or none, and scrolls that entry to the top of
// the list. Scrolling there and then costs Wine a millisecond or more a
// keystroke, most of it for the list's themed scroll bar. The list
// therefore notes where the box moves its focus rectangle and top entry,
// and moves them once the keystroke has been handled, through a message it
// posts to itself, with its drawing held: posted messages come before
// painting, so the next paint shows the list as it would have been drawn,
// scroll bar and all. Any other message first makes the noted moves, so
// that nothing sees the list between the two states.

#include <windows.h>

#include <optional>
#include <vector>

#include "framework/wnd.h"

namespace tesmirol {

class CComboList : public CWnd {
 protected:
  // Notes the moves, makes them before any other message, and on the
  // list's own posted message.
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // One noted message.
  struct Move {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };

  // What the list shows: the top entry, the selected entry, the entry with
  // the focus rectangle, and the scroll bar.
  struct View {
    LRESULT top = 0;
    LRESULT selection = 0;
    LRESULT caret = 0;
    SCROLLINFO scrollBar{};

    // The entries to repaint, and the frame with its scroll bar too, after
    // a change from before to after; none when nothing changed.
    static UINT RedrawFlags(const View& before, const View& after) noexcept;
  };

  // Notes the move and answers as the list would; no result when it cannot
  // be put off (the message that makes the moves cannot be posted).
  std::optional<LRESULT> PutOff(UINT message, WPARAM wParam, LPARAM lParam);

  // Makes the noted moves in order, with the drawing of a visible list held,
  // and has what changed repainted.
  void MakeMoves();

  // Asks the list itself, past the noting.
  [[nodiscard]] View CurrentView() noexcept;

  std::vector<Move> m_moves;
};

}  // namespace tesmirol
