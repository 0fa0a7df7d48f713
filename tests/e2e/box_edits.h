#pragma once
// Edits of the dialog's boxes as a user makes them with the keyboard, the
// mouse and the clipboard, beyond typing a whole new text: putting the caret
// somewhere, replacing a selection, pasting, deleting one character.

#include <windows.h>

#include <string>
#include <string_view>

#include "e2e/main_dialog.h"

namespace tesmirol::e2e {

// Puts the text on the clipboard as Unicode text; false when the clipboard
// stays busy.
bool PutOnClipboard(std::wstring_view text);

// Selects characters start to end of an edit field (a click and a drag).
[[nodiscard]] bool SelectRange(HWND field, int start, int end);

// Selects all of the field's text and replaces it with the text, as a paste
// of it would; the field itself decides how much of it it takes.
[[nodiscard]] bool ReplaceAll(MainDialog& dialog, HWND field, std::wstring_view text);

// Replaces the field's selection with the text (empty: deletes the
// selection), the edit a paste or a typed key makes.
[[nodiscard]] bool ReplaceSelection(MainDialog& dialog, HWND field, std::wstring_view text);

// Selects all of the field's text and pastes the clipboard over it (Ctrl+V).
[[nodiscard]] bool PasteOverAll(MainDialog& dialog, HWND field, std::wstring_view text);

// Presses a key in a field, press and release, and waits until it is handled.
[[nodiscard]] bool PressKey(MainDialog& dialog, HWND field, WORD virtualKey);

// The length of the field's text, in UTF-16 code units.
int TextLength(HWND field);

}  // namespace tesmirol::e2e
