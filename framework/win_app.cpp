#include "framework/win_app.h"

#include <optional>
#include <string>

#include "framework/message_box.h"
#include "framework/module_path.h"

namespace tesmirol {
namespace {

// The path in the ANSI code page, the one WinHelpA reads its file name in, or
// no result when a character of it has no form there.
std::optional<std::string> ToAnsiPath(const std::wstring& path) {
  if (path.empty()) {
    return std::string();
  }
  const int inLength = static_cast<int>(path.size());
  BOOL usedDefault = FALSE;
  const int outLength = WideCharToMultiByte(CP_ACP, 0, path.c_str(), inLength, nullptr, 0, nullptr, &usedDefault);
  if (outLength <= 0 || usedDefault != FALSE) {
    return std::nullopt;
  }
  std::string ansi(static_cast<std::size_t>(outLength), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, path.c_str(), inLength, ansi.data(), outLength, nullptr, &usedDefault) !=
      outLength) {
    return std::nullopt;
  }
  return ansi;
}

}  // namespace

CWinApp* CWinApp::s_current = nullptr;

// The last constructed application object is the application.
CWinApp::CWinApp() noexcept { s_current = this; }

// Forgets the application when it goes.
CWinApp::~CWinApp() {
  if (s_current == this) {
    s_current = nullptr;
  }
}

// Start-up, and the message loop a start-up returning true asks for.
int CWinApp::Run() noexcept {
  try {
    if (!InitInstance()) {
      return 0;
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
  } catch (...) {
    // Only allocation can fail here; the box is all that is left to do.
    ReportOutOfMemory();
    return 0;
  }
}

// Looks the command up in the application's table.
bool CWinApp::OnAppCommand(int commandId, unsigned int notifyCode) { return OnCommand(commandId, notifyCode); }

// No table: nothing handled.
bool CWinApp::OnCommand(int /*commandId*/, unsigned int /*notifyCode*/) { return false; }

// Asks WinHelpA for the main window's topic.
void CWinApp::OnHelp() {
  const CWnd* mainWnd = m_mainWnd;
  const std::optional<DWORD> context = mainWnd != nullptr ? mainWnd->HelpContext() : std::nullopt;
  if (!context) {
    return;
  }
  const std::optional<std::wstring> exePath = ExecutablePath();
  const std::optional<std::string> helpFile = exePath ? ToAnsiPath(ReplaceExtension(*exePath, L".HLP")) : std::nullopt;
  if (!helpFile ||
      WinHelpA(mainWnd->GetSafeHwnd(), helpFile->c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(*context)) == FALSE) {
    FrameworkMessageBox(kHelpFailedText, MB_OK | MB_ICONEXCLAMATION);
  }
}

}  // namespace tesmirol
