#include "cli/preset_listing.h"

#include <span>
#include <string_view>

#include "cli/utf8_text.h"
#include "res/preset_lists.h"

namespace tesmirol::cli {
namespace {

// One section: its header line, then the entries one a line.
void AppendSection(std::string& text, std::string_view name, std::span<const std::string_view> entries) {
  text += '[';
  text += name;
  text += "]\n";
  for (const std::string_view entry : entries) {
    text += entry;
    text += '\n';
  }
}

}  // namespace

std::string PresetListText(Language language) {
  std::string text;
  AppendSection(text, Utf8Text(language, TextKey::TableCrystal), CrystalPresets());
  text += '\n';
  AppendSection(text, Utf8Text(language, TextKey::TableBaud), BaudPresets());
  return text;
}

}  // namespace tesmirol::cli
