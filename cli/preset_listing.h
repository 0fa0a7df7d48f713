#pragma once
// The --list-presets output: the two preset lists the dialog offers.

#include <string>

#include <nlohmann/json.hpp>

namespace tesmirol::cli {

// The lists in the layout of res/presets.txt: "[crystal]", one entry a line,
// a blank line, "[baud]", one entry a line.
std::string PresetListText();

// The lists as {"crystal": [...], "baud": [...]}.
nlohmann::ordered_json PresetListJson();

}  // namespace tesmirol::cli
