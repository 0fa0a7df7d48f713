#pragma once
// CDialog: a modal dialog built from a dialog template in the program's
// resources. A derived class binds its members to the template's controls,
// names its notification handlers in one table (OnCommand), and overrides
// OnInitDialog, OnOK and OnCancel where it behaves differently.

#include <windows.h>

#include <optional>

#include "framework/wnd.h"

namespace tesmirol {

class CDialog : public CWnd {
 public:
  // The dialog of the given template number; no window exists yet.
  explicit CDialog(int templateId) noexcept : m_templateId(templateId) {}

  // Creates the dialog and runs it until it ends; returns the result it
  // ended with (IDOK, IDCANCEL), or -1 when it could not be created.
  INT_PTR DoModal(HWND parent = nullptr);

  // F1 in the dialog asks for the help topic of its template.
  [[nodiscard]] std::optional<DWORD> HelpContext() const override;

 protected:
  // Dialog initialization: fills the controls from the dialog-init data of
  // the template and binds the members (DoDataExchange). A derived class
  // calls it first. True puts the focus on the first tab stop.
  virtual bool OnInitDialog();

  // Binds the members to their controls, one BindControl per member.
  virtual void DoDataExchange() {}

  // The handler table of the derived dialog: true when it handled the
  // control's notification.
  virtual bool OnCommand(int controlId, unsigned int notifyCode);

  // The OK command (Return in a box, or a button with the OK identifier):
  // ends the dialog with IDOK.
  virtual void OnOK();

  // The Cancel command (Escape, the close box, the Cancel button): ends the
  // dialog with IDCANCEL.
  virtual void OnCancel();

  // Makes member stand for the control with the given identifier.
  void BindControl(int controlId, CWnd& member);

  // Ends the modal run with the given result.
  void EndDialog(INT_PTR result) const noexcept;

  // Initialization, commands and the help key; everything else is left to
  // the system's dialog handling.
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The procedure of every CDialog; the object is kept in the window.
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // Routes one WM_COMMAND: the derived table, OK and Cancel, then the
  // application's commands.
  bool RouteCommandMessage(int controlId, unsigned int notifyCode);

  // Sends the strings of the template's dialog-init data to their controls.
  void ExecuteDialogInit() const;

  // Places the window in the middle of the primary screen's work area (the
  // screen less the task bar).
  void CenterInWorkArea() const noexcept;

  int m_templateId;
};

}  // namespace tesmirol
