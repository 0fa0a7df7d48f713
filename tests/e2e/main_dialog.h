#pragma once
// Tesmirol's main dialog seen from outside: its controls by identifier, and
// the user's actions on them expressed as the messages those actions produce.

#include <windows.h>

#include <ostream>
#include <string>
#include <string_view>

#include "e2e/dialog_session.h"

namespace tesmirol::e2e {

namespace control {
inline constexpr int kCrystalBox = 1000;
inline constexpr int kBaudBox = 1001;
inline constexpr int kOutputBox = 1004;
inline constexpr int kSelectedCrystal = 1005;
inline constexpr int kRange = 1007;
inline constexpr int kReloadSmod0 = 1008;
inline constexpr int kDeviationSmod0 = 1009;
inline constexpr int kReloadSmod1 = 1010;
inline constexpr int kDeviationSmod1 = 1011;
inline constexpr int kManualButton = 1012;
inline constexpr int kExitButton = IDCANCEL;
inline constexpr int kCopyButton = 1014;
}  // namespace control

// Every text the dialog shows, to compare one moment with another.
struct ShownTexts {
  std::wstring crystalBox;
  std::wstring baudBox;
  std::wstring selectedCrystal;
  std::wstring range;
  std::wstring reloadSmod0;
  std::wstring deviationSmod0;
  std::wstring reloadSmod1;
  std::wstring deviationSmod1;
  std::wstring output;

  bool operator==(const ShownTexts&) const = default;
};

// Prints the texts in UTF-8 so that a failed comparison reads as the dialog.
void PrintTo(const ShownTexts& texts, std::ostream* out);

class MainDialog {
 public:
  // Drives the dialog of a started session, which must outlive this object.
  explicit MainDialog(const DialogSession& session) noexcept : m_session(session) {}

  // A click on an entry of a box's list: the list selects the entry and the
  // box tells the dialog that its selection changed.
  [[nodiscard]] bool ChooseInList(int boxId, std::wstring_view entry);
  // The Down arrow in a box's edit field, pressed while the entry above this
  // one is selected: the list moves on to the entry and reports the change.
  [[nodiscard]] bool ArrowDownTo(int boxId, std::wstring_view entry);
  // Replaces a box's text the way a user does: selects all of it and types
  // the new text key by key; an empty text is a press of Backspace.
  [[nodiscard]] bool TypeInto(int boxId, std::wstring_view text);
  // A mouse click on a push button, answered before this returns.
  [[nodiscard]] bool ClickButton(int buttonId) const;
  // Waits until the dialog has handled everything posted to it and painted.
  [[nodiscard]] bool Settle();

  // The dialog's control with this identifier.
  [[nodiscard]] HWND Control(int id) const noexcept { return m_session.Control(id); }
  // The edit field inside a combo box, where the user types.
  [[nodiscard]] HWND EditFieldOf(int boxId) const;
  // The text a control shows (for a combo box, its edit field's).
  [[nodiscard]] std::wstring Text(int id) const { return WindowText(Control(id)); }
  // Everything the dialog shows as text right now.
  [[nodiscard]] ShownTexts Shown() const;

 private:
  const DialogSession& m_session;
  LPARAM m_marker = 0;
};

}  // namespace tesmirol::e2e
