#include "framework/message_box.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/module_path.h"
#include "framework/win_app.h"
#include "framework/wnd.h"

namespace tesmirol {
namespace {

// Room for the executable's path when the caption is worked out; a longer
// path only shortens the caption, it never fails the box.
constexpr std::size_t kPathRoom = 1024;

// The owner of the framework's boxes: the main window while there is one.
HWND MessageOwner() noexcept {
  const CWinApp* app = CWinApp::Current();
  const CWnd* mainWnd = app != nullptr ? app->GetMainWnd() : nullptr;
  return mainWnd != nullptr ? mainWnd->GetSafeHwnd() : nullptr;
}

}  // namespace

// Builds the caption in fixed buffers and shows the box.
int FrameworkMessageBox(const wchar_t* text, UINT type) noexcept {
  std::array<wchar_t, kPathRoom> path{};
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  const std::wstring_view baseName =
      FileBaseName(std::wstring_view(path.data(), std::min<std::size_t>(length, path.size())));

  std::array<wchar_t, kPathRoom + 1> caption{};
  std::copy(baseName.begin(), baseName.end(), caption.begin());

  HWND owner = MessageOwner();
  // Without an owner the box still blocks the program's own windows.
  const UINT modality = owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
  return MessageBoxW(owner, text, caption.data(), type | modality);
}

// The box every failed allocation in a message handler ends in.
void ReportOutOfMemory() noexcept { FrameworkMessageBox(kOutOfMemoryText, MB_OK | MB_ICONEXCLAMATION); }

}  // namespace tesmirol
