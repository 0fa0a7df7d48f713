#include "framework/edit_control.h"
#include "framework/message_params.h"

namespace tesmirol {

// EM_SETSEL with the two character positions.
void CEdit::SetSel(int start, int end) const noexcept {
  Send(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

// EM_SCROLLCARET.
void CEdit::ScrollCaret() const noexcept { Send(EM_SCROLLCARET); }

// WM_COPY: the control puts its selection on the clipboard itself.
void CEdit::Copy() const noexcept { Send(WM_COPY); }

// EM_SETTABSTOPS with a single interval.
void CEdit::SetTabStops(int interval) const noexcept {
  int stop = interval;
  Send(EM_SETTABSTOPS, 1, ParamFromPointer(&stop));
}

// EM_REPLACESEL, wParam FALSE: not added to what Ctrl+Z undoes.
void CEdit::ReplaceSel(const std::wstring& text) const noexcept {
  Send(EM_REPLACESEL, FALSE, ParamFromPointer(text.c_str()));
}

// EM_EMPTYUNDOBUFFER.
void CEdit::EmptyUndoBuffer() const noexcept { Send(EM_EMPTYUNDOBUFFER); }

// EM_SETMODIFY with FALSE.
void CEdit::ClearModify() const noexcept { Send(EM_SETMODIFY, FALSE); }

// EM_GETLIMITTEXT.
std::size_t CEdit::GetLimitText() const noexcept { return static_cast<std::size_t>(Send(EM_GETLIMITTEXT)); }

}  // namespace tesmirol
