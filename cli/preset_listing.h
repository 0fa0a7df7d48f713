#pragma once
// The --list-presets output: the two preset lists the dialog offers.

#include <string>

#include <nlohmann/json.hpp>

#include "engine/language.h"

namespace tesmirol::cli {

// The lists in the layout of res/presets.txt: "[crystal]", one entry a line,
// a blank line, "[baud]", one entry a line; the section names in the
// language ("[晶振]", "[波特率]" in Chinese).
std::string PresetListText(Language language);

// The lists as {"crystal": [...], "baud": [...]}.
nlohmann::ordered_json PresetListJson();

}  // namespace tesmirol::cli
