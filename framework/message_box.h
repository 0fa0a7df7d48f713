#pragma once
// The framework's message boxes: the only boxes the program ever shows. They
// are captioned with the executable's file name without its extension and
// owned by the application's main window.

#include <windows.h>

namespace tesmirol {

// Shown when memory runs out while a message is handled.
inline constexpr const wchar_t* kOutOfMemoryText = L"内存不足。";

// Shown when the help engine cannot be started after F1.
inline constexpr const wchar_t* kHelpFailedText = L"启动帮助失败。";

// Shows a framework message box with the given text and MB_ flags and returns
// the button the user chose (0 when the box could not be shown). Allocates
// nothing, so that it can report an allocation failure.
int FrameworkMessageBox(const wchar_t* text, UINT type) noexcept;

// Tells the user that memory ran out (exclamation icon, OK button).
void ReportOutOfMemory() noexcept;

}  // namespace tesmirol
