// Holds GenerateInitCode's choice to the exact reference model: for every pair
// of the preset lists and the typed inputs, nothing, the warning, or the code
// with the reference's reload value and PCON statement.

#include <gtest/gtest.h>

#include <span>

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/init_code_generator.h"
#include "engine/baud_calculation.h"
#include "tests/engine/pair_table.h"

// The reference model's tables, compiled in from tests/engine/data/*.tsv.
std::span<const unsigned char> EmbeddedPresetPairsTable();
std::span<const unsigned char> EmbeddedTypedPairsTable();

namespace tesmirol {
namespace {

using pair_table::ExpectedPair;

// Whether the generated text holds the line, CR LF included.
bool HasLine(const std::string& text, const std::string& line) { return text.find(line + "\r\n") != std::string::npos; }

// What differs between the generator's outcome and the reference for one pair.
std::string CompareOutcome(const ExpectedPair& pair) {
  const std::optional<BaudCalculation> calculation = CalculateBaud(pair.crystal, pair.baud);
  if (!calculation) {
    return " no result where the reference has one";
  }
  const pair_table::ExpectedResult& expected = *pair.result;
  const GeneratedInitCode generated = GenerateInitCode(*calculation);
  std::ostringstream differences;
  if (GenerationOutcomeName(generated.outcome) != expected.outcome) {
    differences << " outcome is " << GenerationOutcomeName(generated.outcome) << " not " << expected.outcome << ';';
    return differences.str();
  }
  if (generated.outcome == GenerationOutcome::Nothing && !generated.text.empty()) {
    differences << " text not empty for Nothing;";
  }
  if (generated.outcome == GenerationOutcome::Warning && generated.text != kDeviationWarningText) {
    differences << " text is not the warning;";
  }
  const InitCodeChoice choice = ChooseInitCodeSetting(*calculation);
  if (choice.outcome != generated.outcome) {
    differences << " the chosen outcome is " << GenerationOutcomeName(choice.outcome) << ';';
  }
  if (generated.outcome == GenerationOutcome::Code) {
    const std::size_t expectedSmod = expected.pcon == "PCON |= 0x80" ? 1 : 0;
    if (choice.smod != expectedSmod) {
      differences << " the chosen setting is SMOD=" << choice.smod << ';';
    }
    for (const std::string& line :
         {"\tTH1 = " + expected.reloadText + ";", "\tTL1 = " + expected.reloadText + ";", "\t" + expected.pcon + ";"}) {
      if (!HasLine(generated.text, line)) {
        differences << " no line \"" << line.substr(1) << "\";";
      }
    }
  }
  return differences.str();
}

// Pairs without a result have nothing to generate from; the engine tests
// cover them.
std::string CompareOutcomeOfResult(const ExpectedPair& pair) { return pair.result ? CompareOutcome(pair) : ""; }

TEST(PresetOutcomesTest, EveryPresetPairGeneratesTheReferenceOutcome) {
  const pair_table::Table table = pair_table::ParseEmbeddedTable(EmbeddedPresetPairsTable(), /*named=*/false);
  ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
  ASSERT_FALSE(table.pairs.empty());
  pair_table::ExpectEveryPair(table.pairs, CompareOutcomeOfResult);
}

TEST(PresetOutcomesTest, EveryTypedInputGeneratesTheReferenceOutcome) {
  const pair_table::Table table = pair_table::ParseEmbeddedTable(EmbeddedTypedPairsTable(), /*named=*/true);
  ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
  ASSERT_FALSE(table.pairs.empty());
  pair_table::ExpectEveryPair(table.pairs, CompareOutcomeOfResult);
}

}  // namespace
}  // namespace tesmirol
