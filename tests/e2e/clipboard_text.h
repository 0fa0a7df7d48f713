#pragma once
// The clipboard as another program sees it after a copy.

#include <optional>
#include <string>

namespace tesmirol::e2e {

// Empties the clipboard, so that a copy that does not happen cannot pass for
// one; false when the clipboard stays busy.
bool EmptyClipboardNow();

// The clipboard's Unicode text, or no result when it holds none.
std::optional<std::wstring> ClipboardText();

}  // namespace tesmirol::e2e
