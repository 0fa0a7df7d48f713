#pragma once
// CSerialInitApp: the application. Start-up runs the main dialog; when it
// closes, the program ends.

#include <span>

#include "framework/command_table.h"
#include "framework/win_app.h"

namespace tesmirol {

class CSerialInitApp : public CWinApp {
 protected:
  // Prepares the controls, runs the main dialog until it closes, and returns
  // false so that the process ends.
  bool InitInstance() override;

  // The application's handler table.
  bool OnCommand(int commandId, unsigned int notifyCode) override;

 private:
  // F1 goes to the framework's help handler.
  static std::span<const CommandHandler<CSerialInitApp>> CommandTable() noexcept;
};

}  // namespace tesmirol
