#include "framework/dialog.h"

#include <cstddef>
#include <numeric>
#include <span>

#include "framework/dialog_init_data.h"
#include "framework/message_guard.h"
#include "framework/message_params.h"
#include "framework/module_resource.h"
#include "framework/win_app.h"

namespace tesmirol {
namespace {

// The first help context of dialog templates: F1 asks for this plus the
// template number.
constexpr DWORD kHelpContextOfTemplates = 0x20000;

// True when the Shift, Ctrl or Alt key is down.
bool ModifierKeyDown() noexcept {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) noexcept {
  switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

// How many items from the first on go to the same control with the same
// message.
std::size_t SameTargetRun(std::span<const DialogInitItem> items) noexcept {
  std::size_t run = 1;
  while (run < items.size() && items[run].controlId == items.front().controlId &&
         items[run].message == items.front().message) {
    ++run;
  }
  return run;
}

// The message that reserves a list's storage for the strings that an adding
// message is about to bring, or none.
std::optional<UINT> StorageMessageFor(UINT addMessage) noexcept {
  switch (addMessage) {
    case CB_ADDSTRING:
      return CB_INITSTORAGE;
    case LB_ADDSTRING:
      return LB_INITSTORAGE;
    default:
      return std::nullopt;
  }
}

// Sends a run of strings to one control: a list reserves its storage once
// and takes them all with its drawing off, instead of growing and updating
// its scroll bar string by string.
void SendRun(HWND control, std::span<const DialogInitItem> run) {
  const UINT message = run.front().message;
  const std::optional<UINT> storageMessage = StorageMessageFor(message);
  if (storageMessage) {
    const std::size_t characters =
        std::accumulate(run.begin(), run.end(), std::size_t{0},
                        [](std::size_t sum, const DialogInitItem& item) { return sum + item.text.size() + 1; });
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    SendMessageW(control, *storageMessage, run.size(), static_cast<LPARAM>(characters * sizeof(wchar_t)));
  }
  for (const DialogInitItem& item : run) {
    SendMessageW(control, message, 0, ParamFromPointer(item.text.c_str()));
  }
  if (storageMessage) {
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  }
}

}  // namespace

// Runs the dialog's own message loop until EndDialog.
INT_PTR CDialog::DoModal(HWND parent) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent, &CDialog::DialogProc,
                         ParamFromPointer(this));
}

// The topic of this dialog's template.
std::optional<DWORD> CDialog::HelpContext() const { return kHelpContextOfTemplates + static_cast<DWORD>(m_templateId); }

// Fills the preset data into the controls, then binds the members.
bool CDialog::OnInitDialog() {
  ExecuteDialogInit();
  DoDataExchange();
  return true;
}

// No table: nothing handled.
bool CDialog::OnCommand(int /*controlId*/, unsigned int /*notifyCode*/) { return false; }

// Ends with IDOK.
void CDialog::OnOK() { EndDialog(IDOK); }

// Ends with IDCANCEL.
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

// Takes the control over so that the member's class can handle its messages.
void CDialog::BindControl(int controlId, CWnd& member) { member.SubclassWindow(GetDlgItem(GetSafeHwnd(), controlId)); }

// Ends the modal loop.
void CDialog::EndDialog(INT_PTR result) const noexcept { ::EndDialog(GetSafeHwnd(), result); }

// The dialog's message map.
std::optional<LRESULT> CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      CenterInWorkArea();
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      if (RouteCommandMessage(LOWORD(wParam), HIWORD(wParam))) {
        return 0;
      }
      return std::nullopt;
    case WM_HELP:
      // F1 alone asks the application for the main window's help topic;
      // with Shift, Ctrl or Alt held it asks for nothing.
      if (!ModifierKeyDown()) {
        if (CWinApp* app = CWinApp::Current(); app != nullptr) {
          app->OnAppCommand(kIdHelp, 0);
        }
      }
      return TRUE;
    default:
      return std::nullopt;
  }
}

// The derived table first; OK and Cancel from a click, a key or the close
// box; then the commands the application handles for every window.
bool CDialog::RouteCommandMessage(int controlId, unsigned int notifyCode) {
  if (OnCommand(controlId, notifyCode)) {
    return true;
  }
  if (notifyCode == BN_CLICKED && controlId == IDOK) {
    OnOK();
    return true;
  }
  if (notifyCode == BN_CLICKED && controlId == IDCANCEL) {
    OnCancel();
    return true;
  }
  CWinApp* app = CWinApp::Current();
  return app != nullptr && app->OnAppCommand(controlId, notifyCode);
}

// Reads the dialog-init data resource named like the template and sends each
// string to its control; a template without such data fills nothing.
void CDialog::ExecuteDialogInit() const {
  const std::span<const std::byte> data =
      ResourceBytes(MAKEINTRESOURCEW(kDialogInitResourceType), MAKEINTRESOURCEW(m_templateId));
  if (data.empty()) {
    return;
  }
  const std::optional<std::vector<DialogInitItem>> items = ParseDialogInitData(data);
  if (!items) {
    return;
  }
  std::span<const DialogInitItem> rest(*items);
  while (!rest.empty()) {
    const std::size_t run = SameTargetRun(rest);
    SendRun(GetDlgItem(GetSafeHwnd(), rest.front().controlId), rest.first(run));
    rest = rest.subspan(run);
  }
}

// Centres the window in the primary screen's work area.
void CDialog::CenterInWorkArea() const noexcept {
  RECT workArea{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0) == FALSE) {
    return;
  }
  const RECT window = GetWindowRect();
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = workArea.left + (workArea.right - workArea.left - width) / 2;
  const int y = workArea.top + (workArea.bottom - workArea.top - height) / 2;
  SetWindowPos(GetSafeHwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Keeps the object in the window from WM_INITDIALOG on, hands every message
// to the message map, and translates its answer into a dialog procedure's.
INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* created = PointerFromParam<CDialog>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    created->SetHandle(hwnd);
  }
  auto* dialog = PointerFromParam<CDialog>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (dialog == nullptr) {
    // Messages before WM_INITDIALOG (WM_SETFONT) get the system's handling.
    return FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    dialog->SetHandle(nullptr);
    return FALSE;
  }
  const std::optional<LRESULT> handled =
      GuardMessage(hwnd, message, std::optional<LRESULT>{}, [&] { return dialog->OnMessage(message, wParam, lParam); });
  if (!handled) {
    return FALSE;
  }
  if (ReturnsResultDirectly(message)) {
    return *handled;
  }
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *handled);
  return TRUE;
}

}  // namespace tesmirol
