#pragma once
// A dialog program started as its own process and driven from outside: the
// tests find its dialog, send it what a user's actions would send, wait until
// it has taken everything, and read back what it shows.

#include <windows.h>

#include <optional>
#include <string>

#include "e2e/unique_handle.h"

namespace tesmirol::e2e {

class DialogSession {
 public:
  // Starts the program, with the given command-line arguments, on the named
  // desktop (empty: the caller's) and waits until its dialog is shown and
  // idle. No result when it does not get that far; `failure` then says why.
  static std::optional<DialogSession> Start(const std::wstring& program, const std::wstring& desktop,
                                            std::wstring& failure, const std::wstring& arguments = {});

  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;
  DialogSession(DialogSession&&) noexcept = default;
  // Takes over another session, ending this one's program first.
  DialogSession& operator=(DialogSession&& other) noexcept;
  // Ends the program if it is still running, so no test leaves one behind.
  ~DialogSession();

  // The dialog's own window.
  [[nodiscard]] HWND Dialog() const noexcept { return m_dialog; }
  // The dialog's control with this identifier (null when there is none).
  [[nodiscard]] HWND Control(int id) const noexcept { return GetDlgItem(m_dialog, id); }
  // The window that holds the keyboard focus in the dialog's thread.
  [[nodiscard]] HWND FocusedWindow() const;

  // Waits until the dialog's thread has taken the messages sent so far, has
  // nothing left to do and has painted; false when it stopped answering.
  [[nodiscard]] bool WaitUntilIdle() const;
  // Waits for the process to end; false when it still runs after the timeout.
  [[nodiscard]] bool WaitForExit(DWORD milliseconds) const;
  // Whether the program's process has not ended yet.
  [[nodiscard]] bool IsRunning() const;

 private:
  DialogSession(UniqueHandle process, DWORD threadId, HWND dialog) noexcept;
  // Terminates the program when it still runs.
  void EndProgram() noexcept;

  UniqueHandle m_process;
  DWORD m_threadId = 0;
  HWND m_dialog = nullptr;
};

// The whole text of a window, read with WM_GETTEXT as any other program would.
std::wstring WindowText(HWND window);

// Posts a key's press and release to a window, as the keyboard would.
void PostKeyPress(HWND target, WORD virtualKey);

// The lParam of a key message: one repeat, the key's scan code, and for a
// release the previous-state and transition bits.
LPARAM KeyData(WORD virtualKey, bool release);

}  // namespace tesmirol::e2e
