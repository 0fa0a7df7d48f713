#pragma once
// The rates finder's answer as JSON, the same members on both faces: one
// object per crystal (tesmirol-cli --rates --json writes one a line).

#include <string_view>

#include "answers/json_writer.h"
#include "answers/rates_finder_answer.h"

namespace tesmirol::answers {

// One crystal: crystal (its text, UTF-8) and rates, per rate baud, target
// and clocksPerCycle (both null for the dialog's calculation), smod,
// reloadText, deviation and deviationText; with a link each rate and the
// crystal add link: {verdict, maxOwnTolerancePpm (or null)}. The page's
// face adds each rate's clockText ("1T", "/4"; "" for the dialog's).
void WriteCrystalFit(JsonWriter& json, const CrystalFit& crystal, std::string_view crystalText, bool linked);

}  // namespace tesmirol::answers
