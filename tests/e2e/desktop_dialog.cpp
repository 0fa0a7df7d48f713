// The dialog of a program that runs on a named desktop, as
// scripts/screenshot.sh needs it:
//
//   desktop_dialog wait <desktop> [timeout-seconds]
//       waits until a dialog is shown on the desktop, has taken everything
//       queued and has painted, then prints its window rectangle in desktop
//       pixels: "left top right bottom"
//   desktop_dialog close <desktop>
//       closes that dialog as its close box would, waits for its program to
//       end, then closes the desktop, which ends the Wine explorer that
//       draws it

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "e2e/message_param.h"
#include "e2e/unique_handle.h"
#include "e2e/utf8_text.h"

namespace tesmirol::e2e {
namespace {

constexpr UINT kAnswerTimeoutMs = 10000;

// Takes the first visible top-level window of the dialog class.
BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  std::array<wchar_t, 16> className{};
  GetClassNameW(window, className.data(), static_cast<int>(className.size()));
  if (IsWindowVisible(window) == FALSE || std::wstring_view(className.data()) != L"#32770") {
    return TRUE;
  }
  *PointerFromParam<HWND>(found) = window;
  return FALSE;
}

// Sends a message and waits, within a bound, for the answer.
bool SendAndWait(HWND window, UINT message) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, 0, 0, SMTO_BLOCK, kAnswerTimeoutMs, &result) != 0;
}

// The dialog on the named desktop, waiting up to the timeout for the desktop
// and the dialog to appear (both come with the program's start). The thread
// joins the desktop, so that the windows it enumerates are that desktop's.
HWND FindDialogOn(const std::wstring& desktopName, int timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  HDESK desktop = nullptr;
  HWND dialog = nullptr;
  while (true) {
    if (desktop == nullptr) {
      desktop = OpenDesktopW(desktopName.c_str(), 0, FALSE, GENERIC_ALL);
      if (desktop != nullptr && SetThreadDesktop(desktop) == FALSE) {
        return nullptr;
      }
    }
    if (desktop != nullptr) {
      EnumWindows(FindDialog, PointerParam(&dialog));
    }
    if (dialog != nullptr || std::chrono::steady_clock::now() > deadline) {
      return dialog;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// The process of a window, opened to wait on it.
UniqueHandle OpenDialogProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return UniqueHandle(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
}

// Waits until the dialog is idle and painted, then prints its rectangle.
int WaitUntilShown(HWND dialog) {
  if (const UniqueHandle process = OpenDialogProcess(dialog)) {
    WaitForInputIdle(process.get(), kAnswerTimeoutMs);
  }
  // Once the dialog answers, everything it had queued is done; then it paints
  // whatever is still invalid, its frame included.
  if (!SendAndWait(dialog, WM_NULL)) {
    std::cerr << "desktop_dialog: the dialog does not answer\n";
    return 1;
  }
  RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  SendAndWait(dialog, WM_NULL);

  RECT rect{};
  GetWindowRect(dialog, &rect);
  std::cout << rect.left << ' ' << rect.top << ' ' << rect.right << ' ' << rect.bottom << '\n';
  return 0;
}

// Closes the dialog, waits for its program to end, then closes the desktop
// this thread has joined, so that its explorer does not outlive the display.
int Close(HWND dialog) {
  const UniqueHandle process = OpenDialogProcess(dialog);
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (process && WaitForSingleObject(process.get(), kAnswerTimeoutMs) != WAIT_OBJECT_0) {
    std::cerr << "desktop_dialog: the program did not end\n";
    return 1;
  }
  HWND desktopWindow = GetDesktopWindow();
  const UniqueHandle explorer = OpenDialogProcess(desktopWindow);
  PostMessageW(desktopWindow, WM_CLOSE, 0, 0);
  if (explorer) {
    WaitForSingleObject(explorer.get(), kAnswerTimeoutMs);
  }
  return 0;
}

}  // namespace
}  // namespace tesmirol::e2e

int wmain(int argc, wchar_t** argv) {  // NOLINT(misc-use-internal-linkage): the entry point
  const std::vector<std::wstring> arguments(argv,
                                            argv + argc);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic)
  const std::wstring command = argc > 1 ? arguments[1] : L"";
  if (argc < 3 || (command != L"wait" && command != L"close")) {
    std::cerr << "usage: desktop_dialog wait <desktop> [timeout-seconds] | desktop_dialog close <desktop>\n";
    return 2;
  }
  const bool waiting = command == L"wait";
  const int timeoutSeconds = waiting && argc > 3 ? std::max(1, _wtoi(arguments[3].c_str())) : 60;
  HWND dialog = tesmirol::e2e::FindDialogOn(arguments[2], waiting ? timeoutSeconds : 1);
  if (dialog == nullptr) {
    std::cerr << "desktop_dialog: no dialog on desktop " << tesmirol::e2e::Utf8(arguments[2]) << '\n';
    return 1;
  }
  return waiting ? tesmirol::e2e::WaitUntilShown(dialog) : tesmirol::e2e::Close(dialog);
}
