#include "framework/combo_box.h"
#include "framework/message_params.h"

namespace tesmirol {
namespace {

// The parts of the box that GetComboBoxInfo names; all null when it fails.
COMBOBOXINFO PartsOf(HWND box) noexcept {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(box, &info) == FALSE) {
    info.hwndItem = nullptr;
    info.hwndList = nullptr;
  }
  return info;
}

}  // namespace

// CB_GETCURSEL, with CB_ERR as no selection.
std::optional<int> CComboBox::GetCurSel() const noexcept {
  const LRESULT index = Send(CB_GETCURSEL);
  if (index == CB_ERR) {
    return std::nullopt;
  }
  return static_cast<int>(index);
}

// CB_GETLBTEXTLEN, then CB_GETLBTEXT into a buffer of that length.
std::wstring CComboBox::GetLBText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR || length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), ParamFromPointer(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

// The item window that GetComboBoxInfo names.
HWND CComboBox::GetEditField() const noexcept { return PartsOf(GetSafeHwnd()).hwndItem; }

// The list window that GetComboBoxInfo names.
HWND CComboBox::GetList() const noexcept { return PartsOf(GetSafeHwnd()).hwndList; }

// CB_LIMITTEXT, which the box passes on to its edit field.
void CComboBox::LimitText(int characters) const noexcept { Send(CB_LIMITTEXT, static_cast<WPARAM>(characters)); }

}  // namespace tesmirol
