#include "engine/texts.h"

#include <algorithm>
#include <cstddef>

#include "engine/text_tables.h"

namespace tesmirol {

std::string_view Text(Language language, TextKey key) { return TextTable(language)[static_cast<std::size_t>(key)]; }

std::string_view TextKeyName(TextKey key) { return TextKeyNames()[static_cast<std::size_t>(key)]; }

std::string FillPlaceholders(std::string_view pattern, std::span<const TextArgument> arguments) {
  std::string filled;
  filled.reserve(pattern.size());
  std::size_t at = 0;
  while (at < pattern.size()) {
    const char c = pattern[at];
    // A GBK character's second byte may be a brace: the pair is copied whole.
    if (static_cast<unsigned char>(c) >= 0x81 && at + 1 < pattern.size()) {
      filled += pattern.substr(at, 2);
      at += 2;
      continue;
    }
    const bool doubled = at + 1 < pattern.size() && pattern[at + 1] == c;
    if ((c == '{' || c == '}') && doubled) {
      filled += c;
      at += 2;
      continue;
    }
    if (c == '{') {
      const std::size_t close = pattern.find_first_of("{}", at + 1);
      if (close != std::string_view::npos && pattern[close] == '}') {
        const std::string_view name = pattern.substr(at + 1, close - at - 1);
        const auto argument = std::find_if(arguments.begin(), arguments.end(),
                                           [name](const TextArgument& each) { return each.name == name; });
        if (argument != arguments.end()) {
          filled += argument->value;
          at = close + 1;
          continue;
        }
      }
    }
    filled += c;
    ++at;
  }
  return filled;
}

std::string FormatText(Language language, TextKey key, std::initializer_list<TextArgument> arguments) {
  return FillPlaceholders(Text(language, key), std::span<const TextArgument>(arguments.begin(), arguments.size()));
}

std::optional<std::string_view> TargetText(Language language, std::string_view target, TargetTextField field) {
  const std::span<const TargetTextKeys> table = TargetTextKeyTable();
  const auto entry =
      std::find_if(table.begin(), table.end(), [target](const TargetTextKeys& each) { return each.target == target; });
  if (entry == table.end()) {
    return std::nullopt;
  }
  return Text(language, field == TargetTextField::Chips ? entry->chips : entry->registers);
}

}  // namespace tesmirol
