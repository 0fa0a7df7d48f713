// The listings: the preset lists, the target catalogue and a family's part
// numbers.

#include "cli/mode_options.h"
#include "cli/utf8_text.h"
#include "engine/part_catalogue.h"

namespace tesmirol::cli {
namespace {

// The family --parts names: a family of the part catalogue (supported or
// not yet), or the family of a part number or of a catalogue family name.
std::optional<std::string> PartsFamily(const std::string& given) {
  if (const auto records = FamilyPartRecords(given); !records.empty()) {
    return std::string(records.front()->family);
  }
  ChipName chip = ResolveChipName(given);
  if (chip.kind == ChipNameKind::Family || chip.kind == ChipNameKind::Part ||
      chip.kind == ChipNameKind::UnsupportedPart) {
    return std::move(chip.catalogueName);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SettleListingMode(const GivenOptions& given, CommandLineOptions& options) {
  if (given.valueCount > 0) {
    return Utf8Text(options.language, TextKey::UsageListingTakesNoValues,
                    {{"option", std::string(given.rule->option)}});
  }
  if (options.partsFamily) {
    const std::optional<std::string> family = PartsFamily(*options.partsFamily);
    if (!family) {
      const std::vector<std::string> nearest = NearestChipNames(*options.partsFamily);
      if (nearest.empty()) {
        return Utf8Text(options.language, TextKey::UsageUnknownPartsFamilyFar, {{"family", *options.partsFamily}});
      }
      return Utf8Text(options.language, TextKey::UsageUnknownPartsFamily,
                      {{"family", *options.partsFamily}, {"nearest", JoinNames(nearest)}});
    }
    options.partsFamily = *family;
  }
  options.action = given.rule->view == View::ListTargets ? CommandAction::ListTargets : CommandAction::ListPresets;
  return std::nullopt;
}

}  // namespace tesmirol::cli
