#include "ui/serial_init_app.h"

#include <windows.h>

#include <commctrl.h>  // needs the types of windows.h

#include <array>

#include "ui/serial_init_dlg.h"

namespace tesmirol {

std::span<const CommandHandler<CSerialInitApp>> CSerialInitApp::CommandTable() noexcept {
  static constexpr std::array<CommandHandler<CSerialInitApp>, 1> kTable{{
      {kIdHelp, 0, &CSerialInitApp::OnHelp},
  }};
  return kTable;
}

// Start-up. The dialog hosts only the system's own controls, so there is no
// container for other controls to enable; the common controls are made ready
// in their current, themed look (the manifest asks for version 6).
bool CSerialInitApp::InitInstance() {
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  CSerialInitDlg dialog;
  SetMainWnd(&dialog);
  dialog.DoModal();
  SetMainWnd(nullptr);
  return false;
}

// Looks the command up in the table.
bool CSerialInitApp::OnCommand(int commandId, unsigned int notifyCode) {
  return RouteCommand(*this, CommandTable(), commandId, notifyCode);
}

}  // namespace tesmirol
