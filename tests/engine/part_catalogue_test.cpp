#include "engine/part_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/link_peer.h"
#include "engine/target_catalogue.h"

namespace tesmirol {
namespace {

struct PrintedPart {
  std::string_view printed;  // as on the chip or in the vendor's ordering table
  std::string_view family;
};

// Part numbers as the vendors' ordering tables print them, each to the
// family whose generators --target then tries.
constexpr auto kPrintedParts = std::to_array<PrintedPart>({
    // TI CC2530, CC2533 and CC2541 data sheets, Ordering Information.
    {"CC2530F256", "cc2530"},
    {"CC2530F256RHAR", "cc2530"},
    {"CC2533F96RHAT", "cc2533"},
    {"CC2541F256RHAT", "cc2541"},
    // Nordic nRF24LE1 Product Specification, Ordering information: the
    // family name is the part number.
    {"nRF24LE1-F16Q32-T", "nrf24le1"},
    // STC8H series manual, selection table and part naming rule.
    {"STC8H8K64U-45I-LQFP64", "stc8"},
    {"STC8H8K64U-45I-LQFP48", "stc8"},
    {"STC8H1K08-36I-TSSOP20", "stc8"},
    {"STC8H1K17T-33I-TSSOP20", "stc8"},
    {"STC8H3K64S4-45I-LQFP48", "stc8"},
    {"STC8H3K32S2-45I-TSSOP20", "stc8"},
    {"STC8H4K64TLCD-45I-LQFP64", "stc8"},
    {"STC8H2K64U-45I-LQFP48", "stc8"},
    {"stc8h8k64u", "stc8"},
    // STC8G series manual, selection table and part naming rule.
    {"STC8G1K08A-36I-DFN8", "stc8"},
    {"STC8G1K08-38I-TSSOP20", "stc8"},
    {"STC8G1K17T-36I-TSSOP20", "stc8"},
    {"STC8G2K64S4-36I-LQFP48", "stc8"},
    // STC8A8K64D4 Series Manual and the STC8F manual, selection tables.
    {"STC8A8K64D4-45I-LQFP64", "stc8"},
    {"STC8A8K64S4A12-28I-LQFP44", "stc8"},
    {"STC8F2K64S2-28I-SOP28", "stc8"},
    // STC15 series manual, selection tables.
    {"STC15W4K56S4-30I-LQFP44", "stc15"},
    {"IAP15W4K58S4-30I-PDIP40", "stc15"},
    {"STC15F2K60S2-28I-LQFP44", "stc15"},
    {"STC15W204S-35I-SOP8", "stc15"},
    {"STC15W408AS-35I-SOP28", "stc15"},
    // STC12C5A60S2 series manual, selection table.
    {"STC12C5A60S2-35I-PDIP40", "stc12"},
    {"STC12LE5A32S2-35I-LQFP44", "stc12"},
    // STC89C51RC/RD+ series manual, selection table.
    {"STC89C52RC-40I-PDIP40", "stc89"},
    {"STC89C516RD+", "stc89"},
    {"STC89LE52RC-35C-LQFP44", "stc89"},
    {"STC90C58RD+ 40I", "stc89"},
    // Atmel AT89S52 data sheet 1919D and the C52 data sheets, Ordering
    // Information: 8052 parts with Timer 2.
    {"AT89S52-24PU", "at89"},
    {"AT89S52-24AU", "at89"},
    {"AT89S52-24JU", "at89"},
    {"AT89C52-24PC", "at89"},
    {"AT89S8253-24PU", "at89"},
    {"AT89C55WD-24PU", "at89"},
    // Atmel AT89C51RD2/ED2 data sheet, Ordering Information.
    {"AT89C51ED2-SLSUM", "at89"},
    {"AT89C51RD2-RLTUM", "at89"},
    // Atmel AT89C51RB2/RC2 and ID2 data sheets, Ordering Information: the
    // parts whose internal baud-rate generator the catalogue has.
    {"AT89C51RC2-3CSUM", "at89c51rc2"},
    {"AT89C51ID2-SLSUM", "at89c51rc2"},
    // Atmel AT89C51, AT89S51, AT89C2051 data sheets, Ordering Information:
    // no Timer 2, so the plain 8051.
    {"AT89S51-24PU", "8051"},
    {"AT89C51-24PC", "8051"},
    {"AT89C2051-24PU", "8051"},
    {"AT89C4051-24SU", "8051"},
    // Intel MCS-51 User's Manual, the 8051 and 8052 family tables.
    {"80C31", "8051"},
    {"8751H", "8051"},
    {"80C52", "8052"},
    {"8752BH", "8052"},
    // Nuvoton N76E003 and MS51 data sheets, Ordering Information.
    {"N76E003AT20", "n76e003"},
    {"N76E003AQ20", "n76e003"},
    {"n76e003bq20", "n76e003"},
    {"N76E003AT20 TSSOP20", "n76e003"},
    {"MS51FB9AE", "ms51"},
    {"MS51XB9BE", "ms51"},
    {"MS51FC0AE", "ms51"},
    // WCH product selection guide, CH55x packages.
    {"CH552G", "ch552"},
    {"CH552T", "ch552"},
    {"CH552E", "ch552"},
    {"CH554T", "ch554"},
    {"CH554E", "ch554"},
    {"CH554G", "ch554"},
    // Silicon Labs C8051F33x and C8051F34x data sheets, Product Selection
    // Guide.
    {"C8051F330-GP", "c8051f33x"},
    {"C8051F330D-GM", "c8051f33x"},
    {"C8051F335-GM", "c8051f33x"},
    {"C8051F340", "c8051f34x"},
    {"C8051F340-GQ", "c8051f34x"},
    {"C8051F34A-GM", "c8051f34x"},
    // Silicon Labs EFM8 data sheets, 2. Ordering Information.
    {"EFM8BB31F64G", "efm8bb3"},
    {"EFM8BB31F64G-C-QFN32", "efm8bb3"},
    {"EFM8BB31F16A-C-QSOP24", "efm8bb3"},
    {"EFM8BB10F8G-A-QFN20", "efm8"},
    {"EFM8BB10F8I-A-SOIC16", "efm8"},
    {"EFM8BB21F16G-C-QFN20", "efm8"},
    {"EFM8LB12F64E-B-QFN32", "efm8"},
    {"EFM8SB20F32G-A-QFN24", "efm8"},
    {"EFM8UB20F64G-B-QFP48", "efm8"},
    // Analog Devices ADuC841/842/843 data sheet, Ordering Guide: the Timer 3
    // generator of all three.
    {"ADuC842BSZ62-5", "aduc84x"},
    {"ADuC841BCPZ62-5", "aduc84x"},
    {"ADuC843BCPZ32-3", "aduc84x"},
    {"ADuC842BCPZ8-3", "aduc84x"},
    {"aduc841bsz32-5", "aduc84x"},
    {"ADuC843", "aduc84x"},
    // Dallas DS80C320/DS80C323 and DS87C520 data sheets, Ordering
    // Information.
    {"DS80C320-MCG", "ds80c320"},
    {"DS80C323-QCL", "ds80c320"},
    {"DS87C520-MCL", "ds87c520"},
    {"DS87C530-QCL", "ds87c520"},
});

TEST(PartCatalogue, PrintedPartNumbersResolveToTheirFamily) {
  for (const PrintedPart& part : kPrintedParts) {
    const ChipName chip = ResolveChipName(part.printed);
    EXPECT_EQ(chip.kind, ChipNameKind::Part) << part.printed;
    EXPECT_EQ(chip.catalogueName, part.family) << part.printed;
    EXPECT_FALSE(FindFamilyTargets(chip.catalogueName).empty()) << part.printed;
  }
}

struct UnsupportedPart {
  std::string_view printed;
  std::string_view part;  // what the message names
  std::string_view family;
};

// Parts the catalogue knows whose family has no generator yet: they resolve
// to their family, marked unsupported, never to a family that has one.
constexpr auto kUnsupportedParts = std::to_array<UnsupportedPart>({
    // Cypress EZ-USB FX2LP data sheet, Ordering Information.
    {"CY7C68013A-56PVXC", "CY7C68013A", "fx2lp"},
    // NXP P89LPC932A1 data sheet, Ordering information.
    {"P89LPC932A1FDH", "P89LPC932A1FDH", "lpc900"},
    {"P89LPC932A1", "P89LPC932A1", "lpc900"},
    {"P89LPC9301FDH", "P89LPC9301FDH", "lpc900"},
    // NXP P89LPC920/921/922/9221, P89LPC9331 to 9361 and P89LPC915/916/917
    // data sheets and product pages: the same family, no generator yet.
    {"P89LPC922FDH", "P89LPC922FDH", "lpc900"},
    {"P89LPC9221", "P89LPC9221", "lpc900"},
    {"p89lpc9351fa", "P89LPC9351FA", "lpc900"},
    {"P89LPC915FN", "P89LPC915FN", "lpc900"},
    {"P89LPC9171", "P89LPC9171", "lpc900"},
    // Nordic nRF24LU1+ Product Specification, Ordering information.
    {"nRF24LU1P-F32Q32-T", "NRF24LU1P", "nrf24lu1"},
    // Infineon XC886/888 data sheet, ordering table.
    {"XC888CLM-8FFA", "XC888CLM", "xc800"},
    // Atmel AT89LP data sheets, Ordering Information: single-cycle timers.
    {"AT89LP2052-20PU", "AT89LP2052", "at89lp"},
    {"AT89LP51RD2-20JU", "AT89LP51RD2", "at89lp"},
    // Dallas DS89C430/DS89C450 data sheet, Ordering Information.
    {"DS89C450-MNL", "DS89C450", "ds89c4x0"},
});

TEST(PartCatalogue, PartsOfFamiliesWithoutAGeneratorAreKnownButUnsupported) {
  for (const UnsupportedPart& part : kUnsupportedParts) {
    const ChipName chip = ResolveChipName(part.printed);
    EXPECT_EQ(chip.kind, ChipNameKind::UnsupportedPart) << part.printed;
    EXPECT_EQ(chip.part, part.part) << part.printed;
    EXPECT_EQ(chip.catalogueName, part.family) << part.printed;
    EXPECT_TRUE(FindFamilyTargets(chip.catalogueName).empty()) << part.printed;
    // Nothing downstream may take it for a chip it can solve.
    EXPECT_EQ(CatalogueChipName(part.printed), part.printed) << part.printed;
    EXPECT_FALSE(DriverChipMemory(part.printed).has_value()) << part.printed;
  }
}

struct NearMiss {
  std::string_view given;
  std::string_view meant;  // among the suggestions
};

// Mistyped names: not resolved, and the name meant is among the suggestions.
constexpr auto kNearMisses = std::to_array<NearMiss>({
    {"STC8H8K46U", "STC8H8K48U"},      // two digits swapped, one edit from another part
    {"STC8H8K64", "STC8H8K64U"},       // the USB letter left out
    {"AT89S25-24PU", "AT89S52"},       // digits swapped, tail dropped first
    {"AT98S52", "AT89S52"},            // family digits swapped
    {"N76E030", "n76e003"},            // a family name mistyped
    {"CH525G", "CH552G"},              // digits swapped
    {"EFM8BB31F46G", "EFM8BB31F64G"},  // flash size swapped (F16G is as near)
    {"C8051F430", "C8051F330"},        // one digit off
    {"stc51", "stc15"},                // a family name in any case
    {"t1-21t", "t1-12t"},              // a target name
    {"CY7C86013A", "CY7C68013A"},      // a part of an unsupported family is still suggested
    {"STC8H8K64UXYZW", "STC8H8K64U"},  // too far for edits: the longest shared beginning
});

TEST(PartCatalogue, NearMissesAreUnknownAndSuggestTheNameMeant) {
  for (const NearMiss& miss : kNearMisses) {
    EXPECT_EQ(ResolveChipName(miss.given).kind, ChipNameKind::Unknown) << miss.given;
    const std::vector<std::string> nearest = NearestChipNames(miss.given);
    EXPECT_NE(std::find(nearest.begin(), nearest.end(), miss.meant), nearest.end()) << miss.given;
    EXPECT_LE(nearest.size(), 5U) << miss.given;
  }
}

TEST(PartCatalogue, NamesNearNothingGetNoSuggestion) {
  for (const std::string_view given : {"foo", "", "-", "ZZ9999"}) {
    EXPECT_EQ(ResolveChipName(given).kind, ChipNameKind::Unknown) << given;
    EXPECT_TRUE(NearestChipNames(given).empty()) << given;
  }
}

// The binary search needs the build's order to be the program's: the
// generator sorts with CMake, the look-up compares std::string_view bytes.
TEST(PartCatalogue, PartNumbersAreSortedAndNamedOnce) {
  const auto names = PartNames();
  EXPECT_TRUE(std::adjacent_find(names.begin(), names.end(), [](const PartName& a, const PartName& b) {
                return !(a.name < b.name);
              }) == names.end());
}

// Targets and families keep their meaning; the other users of chip names
// (the driver's memory, the link's other end) take part numbers too.
TEST(PartCatalogue, EveryUserOfAChipNameTakesAPartNumber) {
  EXPECT_EQ(ResolveChipName("STC-T2-1T").kind, ChipNameKind::Target);
  EXPECT_EQ(ResolveChipName("STC15").catalogueName, "stc15");
  EXPECT_EQ(ResolveChipName("STC15").kind, ChipNameKind::Family);
  const auto memory = DriverChipMemory("AT89C2051-24PU");
  ASSERT_TRUE(memory.has_value());
  EXPECT_EQ(memory->iramBytes, 128U);
  const PeerReading peer = ReadPeer("N76E003AT20@16MHz");
  ASSERT_EQ(peer.status, PeerReadStatus::Ok);
  EXPECT_EQ(peer.peer.target, "n76e003");
  EXPECT_EQ(ReadPeer("CY7C68013A@24MHz").status, PeerReadStatus::UnknownTarget);
}

TEST(PartCatalogue, FamilyListingsHoldEveryPartOfTheFamilyOnly) {
  const std::vector<std::string_view> parts = FamilyPartNames("stc89");
  EXPECT_NE(std::find(parts.begin(), parts.end(), "STC89C52RC"), parts.end());
  for (const std::string_view part : parts) {
    EXPECT_EQ(ResolveChipName(part).catalogueName, "stc89") << part;
  }
  EXPECT_TRUE(FamilyPartNames("x2").empty());
  EXPECT_EQ(FamilyPartRecords("STC8").size(), 3U);
}

}  // namespace
}  // namespace tesmirol
