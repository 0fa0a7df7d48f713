// Holds CalculateBaud and FormatDeviation to the exact reference model, bit for
// bit: every pair of the two preset lists, and typed inputs beyond them.

#include <gtest/gtest.h>

#include <span>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/baud_calculation.h"
#include "engine/deviation_text.h"
#include "tests/engine/pair_table.h"

// The reference model's tables, compiled in from data/*.tsv.
std::span<const unsigned char> EmbeddedPresetPairsTable();
std::span<const unsigned char> EmbeddedTypedPairsTable();

namespace tesmirol {
namespace {

using pair_table::ExpectedPair;

constexpr std::size_t kCrystalPresets = 252;
constexpr std::size_t kBaudPresets = 17;

// Collects "field: got ..., expected ..." for one pair.
class Differences {
 public:
  template <typename Value>
  void Check(std::string_view field, const Value& got, const Value& expected) {
    if (got != expected) {
      m_text << ' ' << field << " is " << got << " not " << expected << ';';
    }
  }

  void CheckBits(std::string_view field, std::uint64_t got, std::uint64_t expected) {
    if (got != expected) {
      m_text << ' ' << field << " bits are " << std::hex << std::uppercase << got << " not " << expected << std::dec
             << ';';
    }
  }

  void Note(std::string_view text) { m_text << ' ' << text << ';'; }

  [[nodiscard]] std::string Text() const { return m_text.str(); }

 private:
  std::ostringstream m_text;
};

// What differs between the engine's calculation and the reference for one pair.
std::string CompareWithReference(const ExpectedPair& pair) {
  const std::optional<BaudCalculation> calculation = CalculateBaud(pair.crystal, pair.baud);
  Differences differences;
  if (!pair.result) {
    if (calculation) {
      differences.Note("a result where the reference has none");
    }
    return differences.Text();
  }
  if (!calculation) {
    differences.Note("no result where the reference has one");
    return differences.Text();
  }
  const pair_table::ExpectedResult& expected = *pair.result;
  differences.Check("crystalText", calculation->crystalText, expected.crystalText);
  differences.Check("baudText", calculation->baudText, pair.baud);
  differences.Check("baud", calculation->baud, expected.baud);
  differences.CheckBits("frequency", std::bit_cast<std::uint32_t>(calculation->frequency), expected.frequencyBits);
  differences.Check("crystalHz", calculation->crystalHz, expected.crystalHz);
  differences.Check("minBps", calculation->minBps, expected.minBps);
  differences.Check("maxBps", calculation->maxBps, expected.maxBps);
  for (std::size_t smod = 0; smod < 2; ++smod) {
    const ModeResult& got = calculation->mode.at(smod);
    const pair_table::ExpectedMode& want = expected.mode.at(smod);
    const std::string prefix = "mode" + std::to_string(smod) + ".";
    differences.Check(prefix + "reload", got.reload, want.reload);
    differences.Check(prefix + "divisor", got.divisor, want.divisor);
    differences.Check(prefix + "achieved", got.achieved, want.achieved);
    differences.CheckBits(prefix + "deviation", std::bit_cast<std::uint64_t>(got.deviation), want.deviationBits);
    differences.CheckBits(prefix + "deviationAbs", std::bit_cast<std::uint64_t>(got.deviationAbs),
                          want.deviationAbsBits);
    differences.Check(prefix + "status", ModeStatusName(got.status), ModeStatusName(want.status));
    differences.Check(prefix + "deviation text", FormatDeviation(got.deviation), want.deviationText);
  }
  return differences.Text();
}

// The reverse look-up must give back the rate the reference computes for
// every reload it found that an 8051 can hold (0 to 255).
std::string CompareReloadRatesWithReference(const ExpectedPair& pair) {
  Differences differences;
  if (!pair.result) {
    return differences.Text();
  }
  for (std::size_t smod = 0; smod < 2; ++smod) {
    const pair_table::ExpectedMode& want = pair.result->mode.at(smod);
    if (want.reload < 0 || want.reload > 255) {
      continue;
    }
    const std::string prefix = "reload " + std::to_string(want.reload) + " SMOD=" + std::to_string(smod);
    const auto rates = CalculateReloadRates(pair.crystal, want.reload);
    if (!rates) {
      differences.Note(prefix + " gives no result");
      continue;
    }
    differences.Check(prefix + " achieved", rates->achieved.at(smod), want.achieved);
    differences.Check(prefix + " crystalHz", rates->crystalHz, pair.result->crystalHz);
  }
  return differences.Text();
}

TEST(PresetPairsTest, ReloadRatesGiveBackTheReferenceRates) {
  for (const auto& [embedded, named] :
       {std::pair{EmbeddedPresetPairsTable(), false}, std::pair{EmbeddedTypedPairsTable(), true}}) {
    const pair_table::Table table = pair_table::ParseEmbeddedTable(embedded, named);
    ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
    pair_table::ExpectEveryPair(table.pairs, CompareReloadRatesWithReference);
  }
}

TEST(PresetPairsTest, EveryPresetPairMatchesTheReference) {
  const pair_table::Table table = pair_table::ParseEmbeddedTable(EmbeddedPresetPairsTable(), /*named=*/false);
  ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
  ASSERT_EQ(table.pairs.size(), kCrystalPresets * kBaudPresets);
  pair_table::ExpectEveryPair(table.pairs, CompareWithReference);
}

TEST(PresetPairsTest, EveryTypedInputMatchesTheReference) {
  const pair_table::Table table = pair_table::ParseEmbeddedTable(EmbeddedTypedPairsTable(), /*named=*/true);
  ASSERT_TRUE(table.badLine.empty()) << "unreadable table line: " << table.badLine;
  ASSERT_FALSE(table.pairs.empty());
  pair_table::ExpectEveryPair(table.pairs, CompareWithReference);
}

}  // namespace
}  // namespace tesmirol
