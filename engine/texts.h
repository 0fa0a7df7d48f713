#pragma once
// The user's texts in Chinese and English: one table per language
// (res/texts/zh.txt, res/texts/en.txt), compiled in at build time, looked up
// by key and handed over in GBK like every other text of the engine, with
// their named placeholders ("{rate}") filled.

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/language.h"
#include "engine/text_key.h"

namespace tesmirol {

// One placeholder's name (without braces) and the text that fills it.
struct TextArgument {
  std::string_view name;
  std::string value;
};

// The plain-word texts each catalogue target has in both languages.
enum class TargetTextField { Chips, Registers };

// The key's text in the language, GBK, placeholders unfilled.
std::string_view Text(Language language, TextKey key);

// The key as the tables write it ("report.selected-crystal").
std::string_view TextKeyName(TextKey key);

// The pattern with each "{name}" replaced by its argument's value, "{{" and
// "}}" by single braces; a GBK character's second byte is never read as a
// brace. A placeholder without an argument, and a brace that
// opens none, stay as they are, so a missing argument shows in the text.
std::string FillPlaceholders(std::string_view pattern, std::span<const TextArgument> arguments);

// The key's text in the language with its placeholders filled, GBK.
std::string FormatText(Language language, TextKey key, std::initializer_list<TextArgument> arguments);

// A catalogue target's text in the language, GBK; no result for a name
// that is not in the catalogue.
std::optional<std::string_view> TargetText(Language language, std::string_view target, TargetTextField field);

}  // namespace tesmirol
