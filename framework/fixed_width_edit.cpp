#include "framework/fixed_width_edit.h"

#include <usp10.h>

#include "framework/dc_state_scope.h"
#include "framework/message_params.h"
#include "framework/window_dc.h"

namespace tesmirol {
namespace {

// True while the key is held down.
bool KeyDown(int virtualKey) noexcept { return GetKeyState(virtualKey) < 0; }

// The first character of the control characters that WM_CHAR brings as
// text; below it are keys (Backspace, Ctrl+V) that edit in their own way.
constexpr WPARAM kFirstPrintable = 0x20;
// Ctrl+Backspace's character, which adds nothing.
constexpr WPARAM kDeleteCharacter = 0x7F;

// Texts longer than this are wider than any such field without measuring:
// a field a few hundred pixels wide holds a few dozen characters, and the
// analysis of a long text grows with the square of its length (a quarter of
// a second for 16 K characters).
constexpr std::size_t kLongestMeasured = 512;

// The messages by which a user's edit reaches the field.
bool IsEditingMessage(UINT message) noexcept {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case EM_REPLACESEL:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_CUT:
    case WM_KEYDOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

// Edits that keep the text within the field, or that the control leaves
// alone, are the control's own. Only a text set whole, or a new font or
// size, can leave the text wider than the field: until one of them comes,
// every edit is the control's without a look at the text.
std::optional<LRESULT> CFixedWidthEdit::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message == WM_SETTEXT || message == WM_SETFONT || message == WM_SIZE) {
    m_mayBeTooWide = true;
    return std::nullopt;
  }
  if (!m_mayBeTooWide) {
    return std::nullopt;
  }
  const std::optional<Removal> removal = RemovalOf(message, wParam);
  if (!removal) {
    return std::nullopt;
  }
  const std::wstring text = GetText();
  if (!IsWiderThanField(text)) {
    m_mayBeTooWide = false;
    return std::nullopt;
  }
  std::wstring rest = text;
  rest.erase(removal->start, removal->end - removal->start);
  if (!IsWiderThanField(rest)) {
    return std::nullopt;
  }
  RemoveOnly(*removal, rest);
  return message == WM_CHAR || message == WM_KEYDOWN ? 1 : 0;
}

// The selection is asked for only for an editing message: the question is a
// message to the field itself, which comes back through here.
std::optional<CFixedWidthEdit::Removal> CFixedWidthEdit::RemovalOf(UINT message, WPARAM wParam) const {
  if (!IsEditingMessage(message)) {
    return std::nullopt;
  }
  DWORD start = 0;
  DWORD end = 0;
  Send(EM_GETSEL, static_cast<WPARAM>(ParamFromPointer(&start)), ParamFromPointer(&end));
  const Removal selection{start, end, false};
  switch (message) {
    case WM_CHAR:
      if (wParam == VK_BACK) {
        if (KeyDown(VK_CONTROL) || (start == end && start == 0)) {
          return std::nullopt;
        }
        return start != end ? selection : Removal{start - 1, start, false};
      }
      if (wParam < kFirstPrintable || wParam == kDeleteCharacter) {
        return std::nullopt;
      }
      return selection;
    case WM_IME_CHAR:
    case EM_REPLACESEL:
      return selection;
    case WM_PASTE:
      return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE ? std::optional(selection) : std::nullopt;
    case WM_CLEAR:
      return start != end ? std::optional(selection) : std::nullopt;
    case WM_CUT:
      return start != end ? std::optional(Removal{start, end, true}) : std::nullopt;
    case WM_KEYDOWN:
      if (KeyDown(VK_MENU)) {
        return std::nullopt;
      }
      if (wParam == VK_DELETE) {
        return RemovalOfDelete(start, end, GetText().size());
      }
      if (wParam == VK_INSERT && KeyDown(VK_SHIFT) && IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE) {
        return selection;  // Shift+Insert pastes
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<CFixedWidthEdit::Removal> CFixedWidthEdit::RemovalOfDelete(std::size_t start, std::size_t end,
                                                                         std::size_t length) {
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  if (shift && control) {
    return std::nullopt;
  }
  if (start != end) {
    return Removal{start, end, shift};
  }
  if (shift) {
    return start > 0 ? std::optional(Removal{start - 1, start, false}) : std::nullopt;
  }
  if (start == length) {
    return std::nullopt;
  }
  return Removal{start, control ? length : start + 1, false};
}

// Measured as the edit control measures its line: one Uniscribe analysis of
// the whole text in the field's font, with font linking and fallback.
bool CFixedWidthEdit::IsWiderThanField(const std::wstring& text) const {
  if (text.empty()) {
    return false;
  }
  if (text.size() > kLongestMeasured) {
    return true;
  }
  RECT format{};
  Send(EM_GETRECT, 0, ParamFromPointer(&format));
  const WindowDc dc(GetSafeHwnd());
  if (dc.Get() == nullptr) {
    return false;
  }
  const SelectObjectScope font(dc.Get(), FontFromResult(Send(WM_GETFONT)));
  const int length = static_cast<int>(text.size());
  SCRIPT_STRING_ANALYSIS analysis = nullptr;
  if (FAILED(ScriptStringAnalyse(dc.Get(), text.c_str(), length, length * 3 / 2 + 16, -1,
                                 SSA_LINK | SSA_FALLBACK | SSA_GLYPHS, -1, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 &analysis))) {
    return false;
  }
  const SIZE* size = ScriptString_pSize(analysis);
  const LONG width = size != nullptr ? size->cx : 0;
  ScriptStringFree(&analysis);
  return width > format.right - format.left;
}

// WM_SETTEXT takes the shortened text whole, with no fitting; the caret goes
// where the removal was. The combo box hears of the change as of any edit,
// and the undo buffer that WM_SETTEXT empties is lost.
void CFixedWidthEdit::RemoveOnly(const Removal& removal, const std::wstring& text) {
  if (removal.copies) {
    DefaultWindowProc(WM_COPY, 0, 0);
  }
  if (removal.end > removal.start) {
    DefaultWindowProc(WM_SETTEXT, 0, ParamFromPointer(text.c_str()));
    DefaultWindowProc(EM_SETMODIFY, TRUE, 0);
  }
  DefaultWindowProc(EM_SETSEL, removal.start, static_cast<LPARAM>(removal.start));
  HWND field = GetSafeHwnd();
  const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(field)) & 0xFFFFU;
  SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(id, EN_UPDATE), ParamFromHandle(field));
  SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), ParamFromHandle(field));
}

}  // namespace tesmirol
