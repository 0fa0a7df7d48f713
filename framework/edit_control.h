#pragma once
// CEdit: an edit control of a dialog.

#include "framework/wnd.h"

namespace tesmirol {

class CEdit : public CWnd {
 public:
  // Selects the characters from start up to end; (0, -1) selects all.
  void SetSel(int start, int end) const noexcept;

  // Scrolls the caret into view.
  void ScrollCaret() const noexcept;

  // Copies the selection to the clipboard as text.
  void Copy() const noexcept;

  // Sets one tab-stop interval for every tab, in dialog template units.
  void SetTabStops(int interval) const noexcept;
};

}  // namespace tesmirol
