#pragma once
// --list-targets: the target catalogue, as text and as JSON.

#include <string>

#include <nlohmann/json.hpp>

namespace tesmirol::cli {

// Each target with its clock, families, chips, formula and registers, then
// each chip family with the targets --target FAMILY tries. ASCII.
std::string TargetListText();

// {"targets": [...], "families": {"stc15": ["stc-t2-1t", ...], ...}}.
nlohmann::ordered_json TargetListJson();

}  // namespace tesmirol::cli
