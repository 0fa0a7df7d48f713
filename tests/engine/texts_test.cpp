#include "engine/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/target_catalogue.h"
#include "support/case_name.h"

namespace tesmirol {
namespace {

constexpr std::array kLanguages = {Language::Chinese, Language::English};

// The placeholder names of a GBK pattern, in order, doubled braces skipped.
std::vector<std::string> PlaceholderNames(std::string_view pattern) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    // The second byte of a GBK character, or of a doubled brace, is skipped.
    if (static_cast<unsigned char>(pattern[at]) >= 0x81 || pattern.substr(at, 2) == "{{" ||
        pattern.substr(at, 2) == "}}") {
      ++at;
    } else if (pattern[at] == '{') {
      const std::size_t close = pattern.find('}', at);
      names.emplace_back(pattern.substr(at + 1, close - at - 1));
      at = close;
    }
  }
  return names;
}

// Every key of the tables, in order.
std::vector<TextKey> AllKeys() {
  std::vector<TextKey> keys;
  keys.reserve(kTextKeyCount);
  for (std::size_t index = 0; index < kTextKeyCount; ++index) {
    keys.push_back(static_cast<TextKey>(index));
  }
  return keys;
}

TEST(Texts, EveryKeyHasATextInBothLanguagesAndTheSamePlaceholders) {
  for (const TextKey key : AllKeys()) {
    const std::string_view name = TextKeyName(key);
    const std::string_view chinese = Text(Language::Chinese, key);
    const std::string_view english = Text(Language::English, key);
    EXPECT_FALSE(chinese.empty()) << name;
    EXPECT_FALSE(english.empty()) << name;
    EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x80;
    })) << name;
    auto chineseNames = PlaceholderNames(chinese);
    auto englishNames = PlaceholderNames(english);
    std::sort(chineseNames.begin(), chineseNames.end());
    std::sort(englishNames.begin(), englishNames.end());
    chineseNames.erase(std::unique(chineseNames.begin(), chineseNames.end()), chineseNames.end());
    englishNames.erase(std::unique(englishNames.begin(), englishNames.end()), englishNames.end());
    EXPECT_EQ(chineseNames, englishNames) << name;
  }
}

TEST(Texts, EveryPlaceholderFillsInBothLanguages) {
  for (const Language language : kLanguages) {
    for (const TextKey key : AllKeys()) {
      const std::string_view pattern = Text(language, key);
      const std::vector<std::string> names = PlaceholderNames(pattern);
      std::vector<TextArgument> arguments;
      arguments.reserve(names.size());
      for (const std::string& name : names) {
        arguments.push_back(TextArgument{name, "<" + name + ">"});
      }
      const std::string filled = FillPlaceholders(pattern, arguments);
      EXPECT_TRUE(PlaceholderNames(filled).empty()) << TextKeyName(key) << ": " << filled;
      for (const TextArgument& argument : arguments) {
        EXPECT_NE(filled.find(argument.value), std::string::npos) << TextKeyName(key);
      }
    }
  }
}

TEST(Texts, KeyNamesAreDistinctAndDotted) {
  std::set<std::string_view> seen;
  for (const TextKey key : AllKeys()) {
    const std::string_view name = TextKeyName(key);
    EXPECT_TRUE(seen.insert(name).second) << name;
    EXPECT_NE(name.find('.'), std::string_view::npos) << name;
  }
}

TEST(Texts, EveryCatalogueTargetHasItsWordsInBothLanguages) {
  for (const BaudTarget& target : BaudTargets()) {
    for (const Language language : kLanguages) {
      for (const TargetTextField field : {TargetTextField::Chips, TargetTextField::Registers}) {
        const auto text = TargetText(language, target.name, field);
        ASSERT_TRUE(text.has_value()) << target.name;
        EXPECT_FALSE(text->empty()) << target.name;
      }
    }
    // The catalogue's own words, which the JSON listing and the generated
    // code carry, are the English table's.
    EXPECT_EQ(TargetText(Language::English, target.name, TargetTextField::Chips), target.chips);
    EXPECT_EQ(TargetText(Language::English, target.name, TargetTextField::Registers), target.registers);
    EXPECT_NE(TargetText(Language::Chinese, target.name, TargetTextField::Chips), target.chips) << target.name;
  }
  EXPECT_FALSE(TargetText(Language::English, "no-such-target", TargetTextField::Chips).has_value());
}

struct FillCase {
  const char* name;
  std::string_view pattern;
  std::string expected;
  PatternEncoding encoding = PatternEncoding::Gbk;
};

class FillPlaceholdersTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillPlaceholdersTest, FillsNamedPlaceholders) {
  const std::array arguments = {TextArgument{"rate", "9600"}, TextArgument{"crystal", "11.0592MHz"},
                                TextArgument{"braces", "{rate}"}, TextArgument{"empty", ""}};
  EXPECT_EQ(FillPlaceholders(GetParam().pattern, arguments, GetParam().encoding), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FillPlaceholdersTest,
    ::testing::Values(
        FillCase{"NoPlaceholder", "plain text", "plain text"}, FillCase{"Empty", "", ""},
        FillCase{"OnePlaceholder", "at {rate} bps", "at 9600 bps"},
        FillCase{"AtBothEnds", "{rate}/{crystal}", "9600/11.0592MHz"}, FillCase{"Adjacent", "{rate}{rate}", "96009600"},
        FillCase{"EmptyValue", "[{empty}]", "[]"}, FillCase{"DoubledBraces", "{{rate}} is {rate}", "{rate} is 9600"},
        FillCase{"ValueIsNotFilledAgain", "{braces}", "{rate}"},
        FillCase{"MissingArgumentStays", "{baud} bps", "{baud} bps"},
        FillCase{"EmptyNameStays", "{} {rate}", "{} 9600"}, FillCase{"UnclosedBrace", "{rate", "{rate"},
        FillCase{"LoneClosingBrace", "rate} {rate}", "rate} 9600"}, FillCase{"BraceInsideName", "{ra{rate}", "{ra9600"},
        // GBK characters whose second byte is '{' (0x7B) or '}' (0x7D).
        FillCase{"GbkSecondByteBrace", "\x81\x7B{rate}\x81\x7D",
                 "\x81\x7B"
                 "9600\x81\x7D"},
        FillCase{"GbkTextAroundPlaceholder", "\xCA\xB5\xBC\xCA{rate}",
                 "\xCA\xB5\xBC\xCA"
                 "9600"},
        // UTF-8: a three-byte character before a placeholder is no pair of GBK bytes.
        FillCase{"Utf8ThreeByteCharacter", "\xEF\xBC\x8C{rate}\xEF\xBC\x8C{crystal}",
                 "\xEF\xBC\x8C"
                 "9600\xEF\xBC\x8C"
                 "11.0592MHz",
                 PatternEncoding::Utf8},
        FillCase{"Utf8DoubledBraces", "\xE5\xAE\x9E{{rate}}", "\xE5\xAE\x9E{rate}", PatternEncoding::Utf8}),
    testing_support::CaseName());

TEST(Texts, FormatTextFillsTheLanguagesPattern) {
  const std::string english = FormatText(Language::English, TextKey::RunInputNotGbk, {{"name", "BAUD"}, {"text", "x"}});
  EXPECT_EQ(english.find("BAUD \"x\""), 0U) << english;
  const std::string chinese = FormatText(Language::Chinese, TextKey::RunInputNotGbk, {{"name", "BAUD"}, {"text", "x"}});
  EXPECT_EQ(chinese.find("BAUD \"x\""), 0U) << chinese;
  EXPECT_NE(chinese, english);
}

}  // namespace
}  // namespace tesmirol
