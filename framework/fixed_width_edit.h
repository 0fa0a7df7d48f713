#pragma once
// CFixedWidthEdit: a single-line edit field that does not scroll
// horizontally, so that typing stops when the field is full (the edit field
// of the dialog's combo boxes).
//
// Another program can put a text wider than the field into it (WM_SETTEXT
// takes any text). Wine's edit control then takes every later edit of the
// user wrong: after an edit it removes the characters just added one by one
// until the text fits, and when the text does not fit without them either,
// it goes on past the start of what was added, deletes characters the user
// never touched and, with the caret at the start, reads and writes far
// outside its buffer and ends the program. The field therefore makes such
// an edit itself, the way it is meant to go: what the edit removes is
// removed, nothing is added (it would not fit), and the box reports the
// change as after any edit.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "framework/edit_control.h"

namespace tesmirol {

class CFixedWidthEdit : public CEdit {
 protected:
  // The editing messages whose edit would leave a text wider than the field.
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The characters that an edit removes before it adds its own: from start
  // up to end; `copies` when it puts them on the clipboard first (a cut).
  struct Removal {
    std::size_t start = 0;
    std::size_t end = 0;
    bool copies = false;
  };

  // What the message would remove, or no result when it edits nothing or
  // the control leaves the text as it is without adding anything.
  [[nodiscard]] std::optional<Removal> RemovalOf(UINT message, WPARAM wParam) const;

  // What Delete (with Shift: Backspace's character, or a cut; with Ctrl: up
  // to the end) would remove.
  [[nodiscard]] static std::optional<Removal> RemovalOfDelete(std::size_t start, std::size_t end, std::size_t length);

  // True when the text, drawn in the field's font, is wider than the
  // rectangle the field draws its text in.
  [[nodiscard]] bool IsWiderThanField(const std::wstring& text) const;

  // Makes the removal, adds nothing, and reports the change to the combo
  // box as the field does after an edit of the user's.
  void RemoveOnly(const Removal& removal, const std::wstring& text);

  // Set when the text may have become wider than the field since it was
  // last seen to fit; the first edit after that measures it once.
  bool m_mayBeTooWide = true;
};

}  // namespace tesmirol
