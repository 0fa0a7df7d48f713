#pragma once
// CEdit: an edit control of a dialog.

#include <windows.h>

#include <string>

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

  // Replaces the selection with the text; the user cannot undo it.
  void ReplaceSel(const std::wstring& text) const noexcept;

  // Forgets what the user could undo.
  void EmptyUndoBuffer() const noexcept;

  // Marks the text as not changed by the user.
  void ClearModify() const noexcept;

  // The most characters the control takes from the user.
  [[nodiscard]] std::size_t GetLimitText() const noexcept;
};

}  // namespace tesmirol
