#pragma once
// CWinApp: the application object. Exactly one exists, a global object of a
// derived class; the program's entry point hands control to its Run, which
// calls the start-up override InitInstance.

#include <windows.h>

#include "framework/wnd.h"

namespace tesmirol {

// The command identifier of the help request (F1).
inline constexpr int kIdHelp = 0xE146;

class CWinApp {
 public:
  // Registers the object as the application.
  CWinApp() noexcept;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  CWinApp(CWinApp&&) = delete;
  CWinApp& operator=(CWinApp&&) = delete;
  virtual ~CWinApp();

  // The application object, or null when none exists.
  static CWinApp* Current() noexcept { return s_current; }

  // Runs the program: start-up, then a message loop only when start-up asks
  // for one. Returns the process's exit code. Nothing escapes: memory running
  // out at start-up ends in the out-of-memory box.
  int Run() noexcept;

  // The window that application-wide commands and the framework's message
  // boxes refer to, or null.
  [[nodiscard]] CWnd* GetMainWnd() const noexcept { return m_mainWnd; }
  void SetMainWnd(CWnd* mainWnd) noexcept { m_mainWnd = mainWnd; }

  // An application-wide command that no window handled; true when the
  // application's handler table has it.
  bool OnAppCommand(int commandId, unsigned int notifyCode);

 protected:
  // Start-up: false ends the process, true runs a message loop until
  // WM_QUIT.
  virtual bool InitInstance() = 0;

  // The application's handler table; none by default.
  virtual bool OnCommand(int commandId, unsigned int notifyCode);

  // The standard help handler: asks the system help engine for the main
  // window's help topic in the help file next to the executable (its path
  // with the extension ".HLP"), and reports when the engine cannot start.
  void OnHelp();

 private:
  static CWinApp* s_current;
  CWnd* m_mainWnd = nullptr;
};

}  // namespace tesmirol
