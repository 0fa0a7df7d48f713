#pragma once
// CComboList: the list of a combo box that shows its list all the time.
//
// As the user types in the box's edit field, the box selects the first entry
// that starts with the text, or none, and scrolls that entry to the top of
// the list. Drawn at once, the list's themed scroll bar costs Wine several
// milliseconds for every keystroke. The list therefore takes these changes
// with its drawing held, and lets go of the hold once the keystroke has
// been handled, through a message it posts to itself: posted messages come
// before painting, so the next paint shows the list as it would have been
// drawn, scroll bar and all, once per keystroke.

#include <windows.h>

#include <optional>

#include "framework/drawing_hold.h"
#include "framework/wnd.h"

namespace tesmirol {

class CComboList : public CWnd {
 protected:
  // The messages by which the box moves the list's selection, caret and top
  // entry, and the list's own message that ends the hold.
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
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

  [[nodiscard]] View CurrentView() const noexcept;

  // Holds the list's drawing, noting what it shows; false when the message
  // that ends the hold could not be posted, so that the caller ends it.
  bool StartHold();

  // Lets the list draw again and has what changed repainted.
  void EndHold() noexcept;

  std::optional<DrawingHold> m_hold;
  View m_beforeHold;
};

}  // namespace tesmirol
