#include "engine/target_catalogue.h"

#include <algorithm>

namespace tesmirol {
namespace {

// ASCII letters only: names and families are ASCII by construction.
bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
    return lower(x) == lower(y);
  });
}

}  // namespace

const BaudTarget* FindBaudTarget(std::string_view name) {
  for (const BaudTarget& target : BaudTargets()) {
    if (SameName(target.name, name)) {
      return &target;
    }
  }
  return nullptr;
}

std::vector<const BaudTarget*> FindBaudTargets(std::string_view nameOrFamily) {
  if (const BaudTarget* target = FindBaudTarget(nameOrFamily)) {
    return {target};
  }
  std::vector<const BaudTarget*> family;
  for (const BaudTarget& target : BaudTargets()) {
    if (std::any_of(target.families.begin(), target.families.end(),
                    [nameOrFamily](const std::string& name) { return SameName(name, nameOrFamily); })) {
      family.push_back(&target);
    }
  }
  return family;
}

std::vector<std::string> BaudTargetFamilies() {
  std::vector<std::string> families;
  for (const BaudTarget& target : BaudTargets()) {
    for (const std::string& family : target.families) {
      if (std::find(families.begin(), families.end(), family) == families.end()) {
        families.push_back(family);
      }
    }
  }
  return families;
}

std::string_view GeneratorKindName(GeneratorKind kind) noexcept {
  switch (kind) {
    case GeneratorKind::Timer2Rcap:
      return "timer2-rcap";
    case GeneratorKind::Stc15Timer2:
      return "stc15-timer2";
    case GeneratorKind::Stc15Timer1Mode0:
      return "stc15-timer1-mode0";
    case GeneratorKind::Stc12Brt:
      return "stc12-brt";
    case GeneratorKind::Timer1Mode2:
      break;
  }
  return "timer1-mode2";
}

}  // namespace tesmirol
