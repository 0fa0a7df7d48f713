#include "ui/serial_init_dlg.h"

#include <array>
#include <string>
#include <utility>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "framework/message_params.h"
#include "framework/paint_dc.h"
#include "res/resource.h"
#include "ui/label_colors.h"
#include "ui/manual_launcher.h"
#include "ui/output_box.h"
#include "ui/result_texts.h"
#include "ui/wide_text.h"

namespace tesmirol {
namespace {

// The inputs the dialog opens with.
constexpr const wchar_t* kDefaultCrystal = L"11.0592MHz";
constexpr int kDefaultBaud = 9600;

// The most characters an input box takes. The box's width stops typing and
// pasting long before this (about 16 digits fit), so the user sees no
// difference; the limit only bounds the work of the edit field, which
// otherwise fits a long paste to its width one character at a time: a
// pasted 64 KiB text kept the dialog busy for hours.
constexpr int kInputLengthLimit = 256;

// The output box's tab interval in dialog template units: four average
// character widths, the indentation of the generated code.
constexpr int kOutputTabStop = 16;

// Copies the selected list entry of a combo box into its edit field; with no
// selection the field is cleared.
void CopySelectionToEditField(const CComboBox& box) {
  const std::optional<int> selection = box.GetCurSel();
  box.SetText(selection ? box.GetLBText(*selection) : std::wstring());
}

}  // namespace

// Loads the large icon from the executable's icon group.
CSerialInitDlg::CSerialInitDlg() noexcept
    : CDialog(IDD_MAIN), m_icon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

std::span<const CommandHandler<CSerialInitDlg>> CSerialInitDlg::CommandTable() noexcept {
  static constexpr std::array<CommandHandler<CSerialInitDlg>, 6> kTable{{
      {IDC_CRYSTAL, CBN_SELCHANGE, &CSerialInitDlg::OnSelchangeCrystal},
      {IDC_BAUD, CBN_SELCHANGE, &CSerialInitDlg::OnSelchangeBaud},
      {IDC_CRYSTAL, CBN_EDITCHANGE, &CSerialInitDlg::OnEditchangeInputs},
      {IDC_BAUD, CBN_EDITCHANGE, &CSerialInitDlg::OnEditchangeInputs},
      {IDC_MANUAL, BN_CLICKED, &CSerialInitDlg::OnManualButton},
      {IDC_COPY, BN_CLICKED, &CSerialInitDlg::OnCopyButton},
  }};
  return kTable;
}

// Sets the dialog up in the order the first display depends on.
bool CSerialInitDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  SetIcon(m_icon, true);

  m_crystal.SetText(kDefaultCrystal);
  m_baud.SetText(std::to_wstring(kDefaultBaud));
  m_crystal.LimitText(kInputLengthLimit);
  m_baud.LimitText(kInputLengthLimit);

  m_thSmod0.SetLabelColor(kLabelBlue);
  m_devSmod0.SetLabelColor(kLabelRed);
  m_thSmod1.SetLabelColor(kLabelBlue);
  m_devSmod1.SetLabelColor(kLabelRed);
  m_thSmod0.SetTransparent(true);
  m_devSmod0.SetTransparent(true);
  m_thSmod1.SetTransparent(true);
  m_devSmod1.SetTransparent(true);
  m_range.SetLabelColor(kLabelYellow);
  m_range.SetTransparent(true);

  m_output.SetTabStops(kOutputTabStop);

  UpdateResults();
  return true;
}

// One binding per member.
void CSerialInitDlg::DoDataExchange() {
  BindControl(IDC_OUTPUT, m_output);
  BindControl(IDC_SELECTED_CRYSTAL, m_selectedCrystal);
  BindControl(IDC_RANGE, m_range);
  BindControl(IDC_TH_SMOD0, m_thSmod0);
  BindControl(IDC_DEV_SMOD1, m_devSmod1);
  BindControl(IDC_TH_SMOD1, m_thSmod1);
  BindControl(IDC_DEV_SMOD0, m_devSmod0);
  BindControl(IDC_BAUD, m_baud);
  BindControl(IDC_CRYSTAL, m_crystal);
  m_baudField.SubclassWindow(m_baud.GetEditField());
  m_crystalField.SubclassWindow(m_crystal.GetEditField());
  m_baudList.SubclassWindow(m_baud.GetList());
  m_crystalList.SubclassWindow(m_crystal.GetList());
}

// Looks the notification up in the table.
bool CSerialInitDlg::OnCommand(int controlId, unsigned int notifyCode) {
  return RouteCommand(*this, CommandTable(), controlId, notifyCode);
}

// The dialog stays open.
void CSerialInitDlg::OnOK() {}

// Paint and drag icon; everything else goes to CDialog.
std::optional<LRESULT> CSerialInitDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      return OnQueryDragIcon();
    default:
      return CDialog::OnMessage(message, wParam, lParam);
  }
}

// The list's entry into the crystal box, then update.
void CSerialInitDlg::OnSelchangeCrystal() {
  CopySelectionToEditField(m_crystal);
  UpdateResults();
}

// The list's entry into the baud box, then update.
void CSerialInitDlg::OnSelchangeBaud() {
  CopySelectionToEditField(m_baud);
  UpdateResults();
}

// Either box was typed in.
void CSerialInitDlg::OnEditchangeInputs() { UpdateResults(); }

// Selects everything, scrolls the caret into view and lets the box copy its
// selection; the selection stays.
void CSerialInitDlg::OnCopyButton() {
  m_output.SetSel(0, -1);
  m_output.ScrollCaret();
  m_output.Copy();
}

// The manual opens from its file; a missing file is written first and opened
// by a command posted to this dialog, which runs once the click is handled.
// When the system has no program for the manual, the file is written, the
// posted command fails to open it too, and the handler stops there instead of
// writing and posting again without end.
void CSerialInitDlg::OnManualButton() {
  const bool isRetry = std::exchange(m_manualRetryPosted, false);
  // Without the executable's directory the bare name is taken relative to
  // the current directory.
  const std::wstring path = GetModuleDirectory().value_or(std::wstring()) + kManualFileName;
  if (OpenWithShell(path, SW_SHOWNORMAL, {}, {})) {
    return;
  }
  if (isRetry) {
    return;
  }
  if (!ExtractResourceToFile(path, kManualResourceType, kManualResourceName)) {
    return;
  }
  // BN_CLICKED is 0: the posted command takes the button's route, with no
  // control window.
  m_manualRetryPosted = Post(WM_COMMAND, MAKEWPARAM(IDC_MANUAL, BN_CLICKED), 0);
}

// While minimized the client area is the icon's: erase it as an icon's
// background and centre the icon in it.
std::optional<LRESULT> CSerialInitDlg::OnPaint() {
  if (!IsIconic()) {
    return std::nullopt;
  }
  const PaintDc dc(GetSafeHwnd());
  Send(WM_ICONERASEBKGND, ParamFromDc(dc.Get()));
  const RECT client = GetClientRect();
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc.Get(), x, y, m_icon);
  return 0;
}

// The program's icon.
LRESULT CSerialInitDlg::OnQueryDragIcon() const noexcept { return ParamFromHandle(m_icon); }

// The results of the boxes' texts in the labels and the output box.
void CSerialInitDlg::UpdateResults() {
  const std::string crystalText = GbkFromWide(m_crystal.GetText());
  const std::string baudText = GbkFromWide(m_baud.GetText());
  const std::optional<BaudCalculation> calculation = CalculateBaud(crystalText, baudText);
  if (!calculation) {
    return;
  }
  ShowResultLabels(DescribeResults(*calculation));

  // The output box is cleared and refilled in one step: nothing is painted in
  // between, so the box shows the same; only the lines that differ are laid
  // out again.
  const GeneratedInitCode code = GenerateInitCode(*calculation);
  std::wstring output;
  if (code.outcome != GenerationOutcome::Nothing) {
    output = WideFromGbk(code.text).value_or(std::wstring());
  }
  ShowOutputText(m_output, output);
}

// The colour of each result label is set before its text, so that the
// repaint its text causes draws in the new colour. Every label is set and
// repainted on every update, all together when the batch ends.
void CSerialInitDlg::ShowResultLabels(const ResultTexts& texts) {
  RepaintBatch batch(GetSafeHwnd());
  m_selectedCrystal.SetTextInBatch(texts.selectedCrystal, batch);
  m_range.SetLabelText(texts.range, batch);
  const std::array<CColorLabel*, 2> reloadLabels{&m_thSmod0, &m_thSmod1};
  const std::array<CColorLabel*, 2> deviationLabels{&m_devSmod0, &m_devSmod1};
  for (std::size_t smod = 0; smod < reloadLabels.size(); ++smod) {
    reloadLabels.at(smod)->SetLabelColor(texts.reload.at(smod).color);
    reloadLabels.at(smod)->SetLabelText(texts.reload.at(smod).text, batch);
    deviationLabels.at(smod)->SetLabelColor(texts.deviation.at(smod).color);
    deviationLabels.at(smod)->SetLabelText(texts.deviation.at(smod).text, batch);
  }
}

}  // namespace tesmirol
