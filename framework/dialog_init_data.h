#pragma once
// The initial contents of a dialog's controls kept as data in the program's
// resources, beside the dialog template: the preset lists of the combo boxes
// are filled from it when the dialog is created, never from code.
//
// Layout of the resource (type 240, named by the dialog template's number),
// all in little-endian 16-bit units so that a resource script can write it:
//   control id, message, character count, that many UTF-16 code units
// repeated for each string, in the order the strings are added, and ended by
// a control id of 0. Anything after the end mark is ignored.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tesmirol {

// Resource type of the dialog-init data.
inline constexpr unsigned int kDialogInitResourceType = 240;

// One string sent to one control: message with the text as its LPARAM
// (CB_ADDSTRING adds it to a combo box's list).
struct DialogInitItem {
  int controlId = 0;
  unsigned int message = 0;
  std::wstring text;

  bool operator==(const DialogInitItem&) const = default;
};

// The items of the data in order, or no result when it is cut short or has no
// end mark (a damaged resource fills nothing rather than half a list).
std::optional<std::vector<DialogInitItem>> ParseDialogInitData(std::span<const std::byte> data);

}  // namespace tesmirol
