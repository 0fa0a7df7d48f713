#include "cli/target_listing.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "answers/listing_json.h"
#include "cli/plan_texts.h"
#include "cli/utf8_text.h"
#include "engine/part_catalogue.h"
#include "engine/target_catalogue.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

std::string Joined(const std::vector<std::string>& names, std::string_view separator) {
  std::string joined;
  for (const std::string& name : names) {
    joined += joined.empty() ? "" : std::string(separator);
    joined += name;
  }
  return joined;
}

std::vector<std::string> TargetNames(const std::vector<const BaudTarget*>& targets) {
  std::vector<std::string> names(targets.size());
  std::transform(targets.begin(), targets.end(), names.begin(), [](const BaudTarget* target) { return target->name; });
  return names;
}

// "UART1: stc-t2-1t ...; UART2: stc-u2-t2; ...": the family's generators,
// UART by UART (what --uart plans over).
std::string FamilyUartsText(const std::string& family) {
  const std::vector<const BaudTarget*> targets = FindFamilyTargets(family);
  std::string text;
  for (const std::string& uart : UartNames(targets)) {
    text += text.empty() ? "" : "; ";
    text += uart + ": " + Joined(TargetNames(TargetsOfUart(targets, uart)), " ");
  }
  return text;
}

// A GBK text of the tables in UTF-8.
std::string Utf8FromGbk(std::string_view gbk) { return text::GbkToUtf8(gbk).value_or(std::string(gbk)); }

// Names separated by blanks, in lines of at most 78 columns after `indent`.
std::string WrappedNames(const std::vector<std::string>& names, std::string_view indent) {
  constexpr std::size_t kWidth = 78;
  std::string text;
  std::size_t column = 0;
  for (const std::string& name : names) {
    if (column > 0 && column + 1 + name.size() > kWidth) {
      text += '\n';
      column = 0;
    }
    if (column == 0) {
      text += indent;
      column = indent.size();
    } else {
      text += ' ';
      ++column;
    }
    text += name;
    column += name.size();
  }
  return text.empty() ? text : text + '\n';
}

}  // namespace

std::string TargetListText(Language language) {
  std::string text;
  for (const BaudTarget& target : BaudTargets()) {
    const auto chips = TargetText(language, target.name, TargetTextField::Chips).value_or(target.chips);
    const auto registers = TargetText(language, target.name, TargetTextField::Registers).value_or(target.registers);
    text += Utf8Text(language, TextKey::ListingTarget,
                     {{"name", target.name},
                      {"uart", target.uart},
                      {"timer", Utf8FromGbk(TimerText(target.timer, language))},
                      {"function", target.function},
                      {"clocks", ClockChoicesText(target)},
                      {"select", std::string(ClockSelectName(target.clockSelect))},
                      {"families", Joined(target.families, " ")}});
    text += "\n    " + Utf8FromGbk(chips) + "\n";
    text += Utf8Text(language, TextKey::ListingRate,
                     {{"formula", target.formula},
                      {"registers", Joined(target.reloadRegisters, ",")},
                      {"bits", std::to_string(target.reloadBits)}});
    text += '\n';
    text += Utf8Text(language, TextKey::ListingWrites, {{"registers", Utf8FromGbk(registers)}});
    text += '\n';
  }
  text += '\n';
  text += Utf8Text(language, TextKey::ListingFamilies);
  text += '\n';
  for (const std::string& family : BaudTargetFamilies()) {
    text += "  " + family + ": " + Joined(TargetNames(FindBaudTargets(family)), " ") + "\n";
  }
  text += '\n';
  text += Utf8Text(language, TextKey::ListingFamilyUarts);
  text += '\n';
  for (const std::string& family : BaudTargetFamilies()) {
    text += "  " + family + ": " + FamilyUartsText(family) + "\n";
  }
  return text;
}

std::string PartListText(const std::string& family, Language language) {
  const std::vector<const PartRecord*> records = FamilyPartRecords(family);
  if (records.empty()) {
    std::string none = Utf8Text(language, TextKey::ListingPartsNone, {{"family", family}});
    none += '\n';
    return none;
  }
  std::string text = Utf8Text(language, TextKey::ListingPartsHead,
                              {{"family", family}, {"count", std::to_string(FamilyPartNames(family).size())}});
  text += '\n';
  if (FindFamilyTargets(family).empty()) {
    text += Utf8Text(language, TextKey::ListingPartsUnsupported, {{"family", family}});
    text += '\n';
  }
  for (const PartRecord* record : records) {
    text += '\n';
    text += Utf8Text(language, TextKey::ListingPartsSource, {{"source", std::string(record->source)}});
    text += '\n';
    text += WrappedNames(answers::RecordPartNames(*record), "    ");
  }
  return text;
}

}  // namespace tesmirol::cli
