#include "framework/dialog_init_data.h"

#include <cstdint>
#include <utility>

namespace tesmirol {
namespace {

// Reads the resource's 16-bit little-endian units one after another.
class UnitReader {
 public:
  explicit UnitReader(std::span<const std::byte> data) noexcept : m_data(data) {}

  // The next unit, or no result at the end of the data.
  std::optional<std::uint16_t> Next() noexcept {
    if (m_data.size() - m_pos < 2) {
      return std::nullopt;
    }
    const auto low = static_cast<std::uint16_t>(m_data[m_pos]);
    const auto high = static_cast<std::uint16_t>(m_data[m_pos + 1]);
    m_pos += 2;
    return static_cast<std::uint16_t>(low | (high << 8U));
  }

 private:
  std::span<const std::byte> m_data;
  std::size_t m_pos = 0;
};

}  // namespace

// Walks the records up to the end mark; see the header for the layout.
std::optional<std::vector<DialogInitItem>> ParseDialogInitData(std::span<const std::byte> data) {
  UnitReader reader(data);
  std::vector<DialogInitItem> items;
  for (;;) {
    const std::optional<std::uint16_t> controlId = reader.Next();
    if (!controlId) {
      return std::nullopt;
    }
    if (*controlId == 0) {
      return items;
    }
    const std::optional<std::uint16_t> message = reader.Next();
    const std::optional<std::uint16_t> count = reader.Next();
    if (!message || !count) {
      return std::nullopt;
    }
    DialogInitItem item;
    // Control ids are 16 bits in a dialog template; 0xFFFF is the id of
    // controls that have none, read back as -1 like GetDlgCtrlID gives it.
    item.controlId = *controlId == 0xFFFF ? -1 : static_cast<int>(*controlId);
    item.message = *message;
    item.text.reserve(*count);
    for (std::uint16_t i = 0; i < *count; ++i) {
      const std::optional<std::uint16_t> unit = reader.Next();
      if (!unit) {
        return std::nullopt;
      }
      item.text.push_back(static_cast<wchar_t>(*unit));
    }
    items.push_back(std::move(item));
  }
}

}  // namespace tesmirol
