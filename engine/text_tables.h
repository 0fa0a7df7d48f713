#pragma once
// The text tables the build generates from res/texts/zh.txt and
// res/texts/en.txt (cmake/scripts/generate_text_tables.cmake): each
// language's values in GBK, the keys' names, and which keys hold each
// catalogue target's texts. engine/texts.h reads them.

#include <span>
#include <string_view>

#include "engine/language.h"
#include "engine/text_key.h"

namespace tesmirol {

// The keys of one catalogue target's plain-word texts.
struct TargetTextKeys {
  std::string_view target;
  TextKey chips;
  TextKey registers;
};

// The language's values in GBK, indexed by TextKey.
std::span<const std::string_view> TextTable(Language language);

// The keys as the tables write them ("report.selected-crystal"), indexed by
// TextKey.
std::span<const std::string_view> TextKeyNames();

// One entry per target of the catalogue, in its order.
std::span<const TargetTextKeys> TargetTextKeyTable();

}  // namespace tesmirol
