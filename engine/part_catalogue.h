#pragma once
// The part catalogue, compiled in from res/parts.txt at build time: the part
// numbers printed on chips and the chip family each belongs to; and the one
// look-up that turns what a user types for a chip (a target, a family or a
// part number) into the catalogue's name, shared by --target and the page.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmirol {

// One record of res/parts.txt: the family its parts belong to, the vendor's
// table they were taken from, and the names as written there ("{A,B}" groups).
struct PartRecord {
  std::string_view family;
  std::string_view source;
  std::string_view names;
};

// One part number, written out, and the record that names it.
struct PartName {
  std::string_view name;  // capitals, digits and '+'
  std::uint16_t record;   // index into PartRecords()
};

// Every record, in the file's order.
std::span<const PartRecord> PartRecords();

// Every part number, sorted by its bytes.
std::span<const PartName> PartNames();

enum class ChipNameKind {
  Target,           // a target of the catalogue
  Family,           // a chip family of the catalogue
  Part,             // a part number of a family that has generators
  UnsupportedPart,  // a part number of a family with no generator yet
  Unknown,
};

// What a name given for a chip stands for.
struct ChipName {
  ChipNameKind kind = ChipNameKind::Unknown;
  // The target or family name the rest of the program takes (Target, Family,
  // Part), or the part's family (UnsupportedPart); empty when unknown.
  std::string catalogueName;
  std::string part;                    // the part number without its tail, in capitals
  const PartRecord* record = nullptr;  // the record that names the part
};

// Resolves a name in any ASCII case: a target, else a family, else a part
// number (a family name is also the part number of the chip it is named
// for: "DS80C320-MCG" is family ds80c320). A part number may carry what vendors print after it: everything
// from the first '-' or blank on is dropped ("AT89S52-24PU", "STC8H8K64U
// 45I"), and package letters printed straight after it are in the table.
ChipName ResolveChipName(std::string_view given);

// The catalogue name a chip name stands for: the target or family itself,
// a supported part's family, or the name as given when it is neither.
std::string CatalogueChipName(std::string_view given);

// The known names nearest to an unknown one, at most `count`, nearest first:
// families, targets and part numbers within a third of its length in edits,
// three at most (any ASCII case,
// after dropping a part number's tail as ResolveChipName does); when none
// is that near, the names that share the longest beginning of at least three
// characters with it.
std::vector<std::string> NearestChipNames(std::string_view given, std::size_t count = 5);

// The part numbers of the family, sorted; empty when the catalogue names no
// part of it.
std::vector<std::string_view> FamilyPartNames(std::string_view family);

// The records of the family, in the file's order.
std::vector<const PartRecord*> FamilyPartRecords(std::string_view family);

}  // namespace tesmirol
