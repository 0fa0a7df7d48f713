#pragma once
// How a colour label lays out its text: the DrawText flags that follow from
// the style bits of the static control it took over, so that the label keeps
// the alignment, prefix and ellipsis settings of the dialog template.

#include <windows.h>

namespace tesmirol {

// The DrawText flags for a static control of the given window style.
UINT LabelTextFormat(DWORD style) noexcept;

}  // namespace tesmirol
