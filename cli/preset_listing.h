#pragma once
// The --list-presets output as text: the two preset lists the dialog offers
// (answers/listing_json.h writes them as JSON).

#include <string>

#include "engine/language.h"

namespace tesmirol::cli {

// The lists in the layout of res/presets.txt: "[crystal]", one entry a line,
// a blank line, "[baud]", one entry a line; the section names in the
// language ("[晶振]", "[波特率]" in Chinese).
std::string PresetListText(Language language);

}  // namespace tesmirol::cli
