#include "ui/output_box.h"

#include <windows.h>

#include <vector>

#include "framework/drawing_hold.h"
#include "ui/text_replacements.h"

namespace tesmirol {
namespace {

// Applies the replacements, last span first, then puts the caret, the
// scroll position, the undo buffer and the modified flag where WM_SETTEXT
// leaves them.
void ApplyReplacements(const CEdit& box, const std::vector<TextReplacement>& replacements) {
  for (const TextReplacement& replacement : replacements) {
    box.SetSel(static_cast<int>(replacement.start), static_cast<int>(replacement.start + replacement.length));
    box.ReplaceSel(replacement.text);
  }
  box.SetSel(0, 0);
  box.ScrollCaret();
  box.EmptyUndoBuffer();
  box.ClearModify();
}

}  // namespace

// A box that already shows the text is left alone; an empty one not on the
// screen (the dialog starting) takes the text whole, as there is nothing to
// keep and nothing to draw. Otherwise the spans go in while the box draws
// nothing (drawing its scroll bar at every step would cost more than the
// replacement); the box is then repainted, and its frame only when the
// scroll bar changed. Should the box not end up holding the text (the
// user's text filled it up to its limit, say), the text is set whole.
void ShowOutputText(const CEdit& box, const std::wstring& text) {
  const std::wstring current = box.GetText();
  if (current == text) {
    return;
  }
  if ((current.empty() && IsWindowVisible(box.GetSafeHwnd()) == FALSE) ||
      current.size() + text.size() > box.GetLimitText()) {
    box.SetText(text);
    return;
  }
  const std::vector<TextReplacement> replacements = TextReplacements(current, text);
  const SCROLLINFO scrollBefore = box.GetVerticalScrollInfo();
  {
    const DrawingHold hold(box.GetSafeHwnd());
    ApplyReplacements(box, replacements);
  }
  if (box.GetText() != text) {
    box.SetText(text);
    return;
  }
  UINT flags = RDW_INVALIDATE | RDW_ERASE;
  if (!SameScrollBar(scrollBefore, box.GetVerticalScrollInfo())) {
    flags |= RDW_FRAME;
  }
  RedrawWindow(box.GetSafeHwnd(), nullptr, nullptr, flags);
}

}  // namespace tesmirol
