#include "engine/part_catalogue.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <numeric>
#include <span>

#include "engine/target_catalogue.h"

namespace tesmirol {
namespace {

// Longer than any part number or name of the catalogue: a longer text is
// no part number.
constexpr std::size_t kLongestName = 40;

// How near a name must be to be suggested: edits at most, or else the
// shortest shared beginning.
constexpr std::size_t kMostEdits = 3;
constexpr std::size_t kLeastBeginning = 3;

char Upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Upper(x) == Upper(y); });
}

// The given text as the table holds part numbers: blanks around it trimmed,
// in capitals, cut at the first '-' or blank (the vendor's speed, package
// and temperature codes). Empty when nothing is left or it is too long.
struct PartKey {
  std::array<char, kLongestName> bytes{};
  std::size_t size = 0;
  [[nodiscard]] std::string_view View() const { return {bytes.data(), size}; }
};

PartKey KeyOf(std::string_view given) {
  PartKey key;
  const std::size_t first = given.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return key;
  }
  given = given.substr(first);
  given = given.substr(0, given.find_first_of("- "));
  if (given.size() > kLongestName) {
    return key;
  }
  std::transform(given.begin(), given.end(), key.bytes.begin(), Upper);
  key.size = given.size();
  return key;
}

const PartName* FindPart(std::string_view key) {
  const std::span<const PartName> names = PartNames();
  const auto found =
      std::lower_bound(names.begin(), names.end(), key,
                       [](const PartName& entry, std::string_view wanted) { return entry.name < wanted; });
  return found != names.end() && found->name == key ? &*found : nullptr;
}

bool IsFamily(std::string_view name) {
  const std::span<const BaudTarget> targets = BaudTargets();
  return std::any_of(targets.begin(), targets.end(), [name](const BaudTarget& target) {
    return std::any_of(target.families.begin(), target.families.end(),
                       [name](const std::string& family) { return SameName(family, name); });
  });
}

// The catalogue's spelling of a family name given in any case.
std::string FamilyName(std::string_view name) {
  const std::vector<std::string> families = BaudTargetFamilies();
  const auto found = std::find_if(families.begin(), families.end(),
                                  [name](const std::string& family) { return SameName(family, name); });
  return found == families.end() ? std::string(name) : *found;
}

// The edit distance in capitals, a swap of two neighbours counting as one
// edit (the commonest slip in a part number: "AT89S25" for "AT89S52"),
// stopping early once every path exceeds `limit` (then any value above it).
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
  if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) {
    return limit + 1;
  }
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> rows(3 * width);  // the two rows before this one, and this one
  const std::span<std::size_t> before(rows.data(), width);
  const std::span<std::size_t> previous(rows.data() + width, width);
  const std::span<std::size_t> current(rows.data() + 2 * width, width);
  std::iota(previous.begin(), previous.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    std::size_t best = current[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = Upper(a[i - 1]) == Upper(b[j - 1]);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
      if (i > 1 && j > 1 && Upper(a[i - 1]) == Upper(b[j - 2]) && Upper(a[i - 2]) == Upper(b[j - 1])) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
      best = std::min(best, current[j]);
    }
    if (best > limit) {
      return limit + 1;
    }
    std::rotate(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(width), rows.end());
  }
  return previous[b.size()];
}

std::size_t CommonBeginning(std::string_view a, std::string_view b) {
  std::size_t length = 0;
  while (length < a.size() && length < b.size() && Upper(a[length]) == Upper(b[length])) {
    ++length;
  }
  return length;
}

// Every name a user may give for a chip, in the order suggestions prefer on
// a tie: families, targets, then part numbers.
std::vector<std::string> KnownNames() {
  std::vector<std::string> names = BaudTargetFamilies();
  const std::span<const BaudTarget> targets = BaudTargets();
  std::transform(targets.begin(), targets.end(), std::back_inserter(names),
                 [](const BaudTarget& target) { return target.name; });
  const std::span<const PartName> parts = PartNames();
  std::transform(parts.begin(), parts.end(), std::back_inserter(names),
                 [](const PartName& part) { return std::string(part.name); });
  return names;
}

}  // namespace

ChipName ResolveChipName(std::string_view given) {
  ChipName resolved;
  if (const BaudTarget* target = FindBaudTarget(given)) {
    resolved.kind = ChipNameKind::Target;
    resolved.catalogueName = target->name;
    return resolved;
  }
  if (IsFamily(given)) {
    resolved.kind = ChipNameKind::Family;
    resolved.catalogueName = FamilyName(given);
    return resolved;
  }
  const PartKey key = KeyOf(given);
  if (key.size == 0) {
    return resolved;
  }
  if (IsFamily(key.View())) {
    resolved.kind = ChipNameKind::Part;
    resolved.catalogueName = FamilyName(key.View());
    resolved.part = key.View();
    return resolved;
  }
  const PartName* part = FindPart(key.View());
  if (part == nullptr) {
    return resolved;
  }
  resolved.record = &PartRecords()[part->record];
  resolved.part = part->name;
  resolved.catalogueName = std::string(resolved.record->family);
  resolved.kind = IsFamily(resolved.record->family) ? ChipNameKind::Part : ChipNameKind::UnsupportedPart;
  return resolved;
}

std::string CatalogueChipName(std::string_view given) {
  ChipName resolved = ResolveChipName(given);
  switch (resolved.kind) {
    case ChipNameKind::Target:
    case ChipNameKind::Family:
    case ChipNameKind::Part:
      return std::move(resolved.catalogueName);
    case ChipNameKind::UnsupportedPart:
    case ChipNameKind::Unknown:
      break;
  }
  return std::string(given);
}

std::vector<std::string> NearestChipNames(std::string_view given, std::size_t count) {
  // Part numbers are compared without their tail, target names (which hold
  // '-') as given.
  const PartKey key = KeyOf(given);
  const std::string_view wanted = key.View();
  const std::size_t first = given.find_first_not_of(' ');
  const std::string_view whole = first == std::string_view::npos ? std::string_view() : given.substr(first);
  // A third of the name's length: "foo" is one edit from no name at all,
  // not three from every short one.
  const auto mostEdits = [](std::string_view text) { return std::min(kMostEdits, text.size() / 3); };
  std::vector<std::string> names = KnownNames();
  std::vector<std::pair<std::size_t, std::size_t>> near;  // (edits, index)
  for (std::size_t index = 0; index < names.size(); ++index) {
    const std::size_t keyEdits = EditDistance(wanted, names[index], mostEdits(wanted));
    const std::size_t wholeEdits = EditDistance(whole, names[index], mostEdits(whole));
    if (keyEdits <= mostEdits(wanted) || wholeEdits <= mostEdits(whole)) {
      near.emplace_back(std::min(keyEdits, wholeEdits), index);
    }
  }
  if (near.empty()) {
    std::size_t longest = kLeastBeginning;
    for (std::size_t index = 0; index < names.size(); ++index) {
      const std::size_t shared = CommonBeginning(wanted, names[index]);
      if (shared > longest) {
        longest = shared;
        near.clear();
      }
      if (shared == longest) {
        near.emplace_back(0, index);
      }
    }
  }
  std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> nearest;
  for (const auto& [edits, index] : near) {
    if (nearest.size() == count) {
      break;
    }
    nearest.push_back(std::move(names[index]));
  }
  return nearest;
}

std::vector<const PartRecord*> FamilyPartRecords(std::string_view family) {
  std::vector<const PartRecord*> records;
  for (const PartRecord& record : PartRecords()) {
    if (SameName(record.family, family)) {
      records.push_back(&record);
    }
  }
  return records;
}

std::vector<std::string_view> FamilyPartNames(std::string_view family) {
  std::vector<std::string_view> names;
  const std::span<const PartRecord> records = PartRecords();
  for (const PartName& part : PartNames()) {
    if (SameName(records[part.record].family, family)) {
      names.push_back(part.name);
    }
  }
  return names;
}

}  // namespace tesmirol
