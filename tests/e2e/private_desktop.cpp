#include "e2e/private_desktop.h"

#include <windows.h>

#include <string>

#include "e2e/unique_handle.h"

namespace tesmirol::e2e {
namespace {

constexpr DWORD kEndTimeoutMs = 5000;

}  // namespace

PrivateDesktop::PrivateDesktop() : m_name(L"tesmirol-e2e-" + std::to_wstring(GetCurrentProcessId())) {
  HDESK desktop = CreateDesktopW(m_name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desktop != nullptr && SetThreadDesktop(desktop) == FALSE) {
    CloseDesktop(desktop);
    desktop = nullptr;
  }
  m_desktop = desktop;
}

PrivateDesktop::~PrivateDesktop() {
  if (m_desktop == nullptr) {
    return;
  }
  // Wine's explorer draws the desktop and leaves when its window is closed;
  // left alone it would stay until the display goes away and then complain.
  HWND desktopWindow = GetDesktopWindow();
  DWORD processId = 0;
  GetWindowThreadProcessId(desktopWindow, &processId);
  if (processId != 0 && processId != GetCurrentProcessId()) {
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    PostMessageW(desktopWindow, WM_CLOSE, 0, 0);
    if (process) {
      WaitForSingleObject(process.get(), kEndTimeoutMs);
    }
  }
  // The thread still uses the desktop, so its handle stays open until the
  // process ends.
}

}  // namespace tesmirol::e2e
