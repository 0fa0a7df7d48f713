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
using pair_table::PairLabel;

constexpr std::size_t kMismatchesShown = 30;

// The name the tables use for an outcome.
std::string_view OutcomeName(GenerationOutcome outcome) {
  switch (outcome) {
    case GenerationOutcome::Nothing:
      return "Nothing";
    case GenerationOutcome::Warning:
      return "Warning";
    case GenerationOutcome::Code:
      return "Code";
  }
  return "?";
}

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
  if (OutcomeName(generated.outcome) != expected.outcome) {
    differences << " outcome is " << OutcomeName(generated.outcome) << " not " << expected.outcome << ';';
    return differences.str();
  }
  if (generated.outcome == GenerationOutcome::Nothing && !generated.text.empty()) {
    differences << " text not empty for Nothing;";
  }
  if (generated.outcome == GenerationOutcome::Warning && generated.text != kDeviationWarningText) {
    differences << " text is not the warning;";
  }
  if (generated.outcome == GenerationOutcome::Code) {
    for (const std::string& line :
         {"\tTH1 = " + expected.reloadText + ";", "\tTL1 = " + expected.reloadText + ";", "\t" + expected.pcon + ";"}) {
      if (!HasLine(generated.text, line)) {
        differences << " no line \"" << line.substr(1) << "\";";
      }
    }
  }
  return differences.str();
}

// Runs every pair with a result and fails once, listing the pairs that differ.
void ExpectOutcomesMatch(const std::vector<ExpectedPair>& pairs) {
  std::vector<std::string> mismatches;
  for (const ExpectedPair& pair : pairs) {
    if (!pair.result) {
      continue;  // nothing to generate from; the engine tests cover these
    }
    const std::string differences = CompareOutcome(pair);
    if (!differences.empty()) {
      mismatches.push_back(PairLabel(pair).append(differences));
    }
  }
  std::ostringstream report;
  for (std::size_t i = 0; i < mismatches.size() && i < kMismatchesShown; ++i) {
    report << "\n  " << mismatches[i];
  }
  EXPECT_TRUE(mismatches.empty()) << mismatches.size() << " of " << pairs.size()
                                  << " pairs differ from the reference:" << report.str();
}

TEST(PresetOutcomesTest, EveryPresetPairGeneratesTheReferenceOutcome) {
  const pair_table::Table table =
      pair_table::ParseEmbeddedTable(EmbeddedPresetPairsTable(), /*named=*/false);
  ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
  ASSERT_FALSE(table.pairs.empty());
  ExpectOutcomesMatch(table.pairs);
}

TEST(PresetOutcomesTest, EveryTypedInputGeneratesTheReferenceOutcome) {
  const pair_table::Table table =
      pair_table::ParseEmbeddedTable(EmbeddedTypedPairsTable(), /*named=*/true);
  ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
  ASSERT_FALSE(table.pairs.empty());
  ExpectOutcomesMatch(table.pairs);
}

}  // namespace
}  // namespace tesmirol
