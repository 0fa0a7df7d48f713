#pragma once
// Puts a new text into the dialog's output box at the cost of what changed.

#include <string>

#include "framework/edit_control.h"

namespace tesmirol {

// Leaves the box as a full replacement of its text would (the text, the
// caret at the start with nothing selected, scrolled to the top, nothing to
// undo, not modified), but replaces only the spans that differ, with the
// box's drawing held off, and repaints only when something changed.
void ShowOutputText(const CEdit& box, const std::wstring& text);

}  // namespace tesmirol
