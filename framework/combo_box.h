#pragma once
// CComboBox: a combo box of a dialog.

#include <optional>
#include <string>

#include "framework/wnd.h"

namespace tesmirol {

class CComboBox : public CWnd {
 public:
  // The index of the selected list entry, or no result when none is.
  [[nodiscard]] std::optional<int> GetCurSel() const noexcept;

  // The text of the list entry at index; empty when there is no such entry.
  [[nodiscard]] std::wstring GetLBText(int index) const;

  // The edit field in which the user types, or null when the box has none.
  [[nodiscard]] HWND GetEditField() const noexcept;

  // The list of entries, or null when the box has none.
  [[nodiscard]] HWND GetList() const noexcept;

  // Lets the edit field take at most this many characters (CB_LIMITTEXT).
  void LimitText(int characters) const noexcept;
};

}  // namespace tesmirol
