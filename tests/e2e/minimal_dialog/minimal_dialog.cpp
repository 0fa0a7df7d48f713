// The smallest dialog program built the way Tesmirol.EXE is built (same
// compiler flags, static runtime, same manifest and dialog font): the
// yardstick that the dialog's start-up time is measured against.
//
//   minimal_dialog              shows its own one-line dialog
//   minimal_dialog <module>     shows dialog template 102 of that module
//                               (Tesmirol.EXE's main dialog) with no program
//                               code behind it, to tell the cost of the
//                               dialog's controls from the program's own work

#include <windows.h>

namespace {

constexpr int kOwnDialogId = 100;
constexpr int kMainDialogId = 102;

// Closes the dialog on Escape, the close box or the exit button; nothing else.
INT_PTR CALLBACK MinimalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message == WM_INITDIALOG) {
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

// Runs the one dialog modally; the process ends when it closes.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): the system header names them
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/) {
  if (commandLine != nullptr && *commandLine != L'\0') {
    // The module's resources only; none of its code runs.
    HMODULE module = LoadLibraryExW(commandLine, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
      return 1;
    }
    DialogBoxParamW(module, MAKEINTRESOURCEW(kMainDialogId), nullptr, MinimalDialogProc, 0);
    return 0;
  }
  DialogBoxParamW(instance, MAKEINTRESOURCEW(kOwnDialogId), nullptr, MinimalDialogProc, 0);
  return 0;
}
