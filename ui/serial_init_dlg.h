#pragma once
// CSerialInitDlg: the main dialog. The user picks or types the crystal
// frequency and the baud rate; every change recomputes and redraws every
// result at once through UpdateResults.

#include <windows.h>

#include <optional>
#include <span>

#include "framework/combo_box.h"
#include "framework/combo_list.h"
#include "framework/command_table.h"
#include "framework/dialog.h"
#include "framework/edit_control.h"
#include "framework/fixed_width_edit.h"
#include "framework/static_control.h"
#include "ui/color_label.h"
#include "ui/result_texts.h"

namespace tesmirol {

class CSerialInitDlg : public CDialog {
 public:
  // The dialog of template 102 with the program's icon loaded.
  CSerialInitDlg() noexcept;

 protected:
  // Framework initialization, the icon, the default inputs, the label colours,
  // the output box's tab stops, then the first update.
  bool OnInitDialog() override;

  // Binds the members to their controls.
  void DoDataExchange() override;

  // The dialog's handler table.
  bool OnCommand(int controlId, unsigned int notifyCode) override;

  // Return in an input box must not close the dialog: OK does nothing.
  void OnOK() override;

  // Iconic painting and the drag icon; the rest is the framework's.
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Which member handles which control notification.
  static std::span<const CommandHandler<CSerialInitDlg>> CommandTable() noexcept;

  // A crystal picked from the list: its text goes into the box, then update.
  void OnSelchangeCrystal();

  // A baud rate picked from the list: its text goes into the box, then update.
  void OnSelchangeBaud();

  // Typing in either box: update.
  void OnEditchangeInputs();

  // Copies the whole output box to the clipboard.
  void OnCopyButton();

  // Opens the manual beside the executable; when it is not there yet, writes
  // it out of the resources and tries once more after this message.
  void OnManualButton();

  // Draws the icon centred while the window is minimized; otherwise the
  // normal painting.
  std::optional<LRESULT> OnPaint();

  // The icon shown while a minimized window is dragged.
  [[nodiscard]] LRESULT OnQueryDragIcon() const noexcept;

  // Reads both boxes, calculates once and shows every result and the
  // generated code; leaves everything as it was when there is no result.
  void UpdateResults();

  // The five result labels.
  void ShowResultLabels(const ResultTexts& texts);

  CEdit m_output;
  CStatic m_selectedCrystal;
  CColorLabel m_range;
  CColorLabel m_thSmod0;
  CColorLabel m_devSmod1;
  CColorLabel m_thSmod1;
  CColorLabel m_devSmod0;
  CComboBox m_baud;
  CComboBox m_crystal;
  // The edit fields of the two boxes, kept from the edits that Wine's edit
  // control takes wrong when another program has put a text wider than the
  // field into it.
  CFixedWidthEdit m_baudField;
  CFixedWidthEdit m_crystalField;
  // Their lists, which follow what the user types with their drawing held.
  CComboList m_baudList;
  CComboList m_crystalList;
  // A shared icon of the executable: the system frees it with the module.
  HICON m_icon;
  // Set while the manual button's command that OnManualButton posted itself
  // waits in the queue: that command opens the file just written and writes
  // nothing, so that one click writes at most once and retries at most once.
  bool m_manualRetryPosted = false;
};

}  // namespace tesmirol
