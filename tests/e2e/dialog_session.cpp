#include "e2e/dialog_session.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "e2e/message_param.h"
#include "e2e/unique_handle.h"

namespace tesmirol::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Generous bounds: Wine starts a process in about a second on an idle
// machine, and the tests share the machine with builds.
constexpr DWORD kStartTimeoutMs = 30000;
constexpr UINT kAnswerTimeoutMs = 10000;
constexpr auto kPollInterval = std::chrono::milliseconds(5);

struct DialogSearch {
  DWORD processId;
  HWND dialog;
};

// Takes the first visible top-level dialog-class window of the process.
BOOL CALLBACK FindProcessDialog(HWND window, LPARAM searchAddress) {
  auto* search = PointerFromParam<DialogSearch>(searchAddress);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || IsWindowVisible(window) == FALSE) {
    return TRUE;
  }
  std::array<wchar_t, 16> className{};
  GetClassNameW(window, className.data(), static_cast<int>(className.size()));
  if (std::wstring_view(className.data()) != L"#32770") {
    return TRUE;
  }
  search->dialog = window;
  return FALSE;
}

// Sends a message and waits for its answer, bounded so that a hung program
// fails the test instead of hanging it.
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &result) != 0;
}

}  // namespace

std::optional<DialogSession> DialogSession::Start(const std::wstring& program, const std::wstring& desktop,
                                                  std::wstring& failure, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) {
    commandLine += L" " + arguments;
  }
  std::wstring desktopName = desktop;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.lpDesktop = desktopName.empty() ? nullptr : desktopName.data();
  PROCESS_INFORMATION started{};
  if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &started) == FALSE) {
    failure = L"cannot start " + program + L" (error " + std::to_wstring(GetLastError()) + L")";
    return std::nullopt;
  }
  UniqueHandle process(started.hProcess);
  CloseHandle(started.hThread);

  DialogSearch search{started.dwProcessId, nullptr};
  const auto deadline = Clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (search.dialog == nullptr) {
    EnumWindows(FindProcessDialog, PointerParam(&search));
    if (search.dialog != nullptr) {
      break;
    }
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process.get(), &exitCode) != FALSE && exitCode != STILL_ACTIVE) {
      failure = program + L" ended with code " + std::to_wstring(exitCode) + L" before showing its dialog";
      return std::nullopt;
    }
    if (Clock::now() > deadline) {
      TerminateProcess(process.get(), 1);
      failure = program + L" showed no dialog within " + std::to_wstring(kStartTimeoutMs / 1000) + L" s";
      return std::nullopt;
    }
    std::this_thread::sleep_for(kPollInterval);
  }

  DialogSession session(std::move(process), GetWindowThreadProcessId(search.dialog, nullptr), search.dialog);
  if (!session.WaitUntilIdle()) {
    failure = program + L" does not answer after showing its dialog";
    return std::nullopt;
  }
  return session;
}

DialogSession::DialogSession(UniqueHandle process, DWORD threadId, HWND dialog) noexcept
    : m_process(std::move(process)), m_threadId(threadId), m_dialog(dialog) {}

DialogSession& DialogSession::operator=(DialogSession&& other) noexcept {
  if (this != &other) {
    EndProgram();
    m_process = std::move(other.m_process);
    m_threadId = other.m_threadId;
    m_dialog = other.m_dialog;
  }
  return *this;
}

DialogSession::~DialogSession() { EndProgram(); }

void DialogSession::EndProgram() noexcept {
  if (m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.get(), 1);
    WaitForSingleObject(m_process.get(), kAnswerTimeoutMs);
  }
}

HWND DialogSession::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(m_threadId, &info) != FALSE ? info.hwndFocus : nullptr;
}

bool DialogSession::WaitUntilIdle() const {
  WaitForInputIdle(m_process.get(), kAnswerTimeoutMs);
  // A sent message is answered only once the thread is back in its message
  // loop; asking it to paint everything pending now makes the screen current.
  if (!SendAndWait(m_dialog, WM_NULL, 0, 0)) {
    return false;
  }
  RedrawWindow(m_dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return SendAndWait(m_dialog, WM_NULL, 0, 0);
}

bool DialogSession::WaitForExit(DWORD milliseconds) const {
  return WaitForSingleObject(m_process.get(), milliseconds) == WAIT_OBJECT_0;
}

bool DialogSession::IsRunning() const { return WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, kAnswerTimeoutMs, &length) == 0) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), PointerParam(text.data()), SMTO_BLOCK, kAnswerTimeoutMs,
                      &copied);
  text.resize(copied);
  return text;
}

void PostKeyPress(HWND target, WORD virtualKey) {
  PostMessageW(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
  PostMessageW(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
}

LPARAM KeyData(WORD virtualKey, bool release) {
  const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  LPARAM data = 1 | static_cast<LPARAM>(scanCode << 16U);
  if (release) {
    data |= static_cast<LPARAM>(0xC0000000U);
  }
  return data;
}

}  // namespace tesmirol::e2e
