#include "answers/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/case_name.h"

namespace tesmirol::answers {
namespace {

// ---------------------------------------------------------------------------
// The command line's numbers: tesmirol-cli --json has always printed doubles
// as nlohmann's writer does; the answers' writer must print the same bytes.

struct NumberCase {
  const char* name;
  double value;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class CommandLineNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(CommandLineNumbers, ReadAsTheCommandLineAlwaysPrintedThem) {
  const double value = GetParam().value;
  EXPECT_EQ(DecimalJsonNumber(value), nlohmann::json(value).dump());
  if (std::isfinite(value)) {
    EXPECT_EQ(std::strtod(DecimalJsonNumber(value).c_str(), nullptr), value) << "reads back to the same double";
  }
}

INSTANTIATE_TEST_SUITE_P(Doubles, CommandLineNumbers,
                         testing::Values(NumberCase{"Zero", 0.0}, NumberCase{"NegativeZero", -0.0},
                                         NumberCase{"WholeRate", 115200.0}, NumberCase{"Deviation", -2.34375},
                                         NumberCase{"SmallDeviation", 0.04}, NumberCase{"LastFixedSmall", 0.0001},
                                         NumberCase{"FirstExponentSmall", 1e-05},
                                         NumberCase{"ExponentWithDigits", 3.0517578125e-05},
                                         NumberCase{"LastFixedLarge", 999999999999999.0},
                                         NumberCase{"FirstExponentLarge", 1e15}, NumberCase{"LargeWithDigits", 1.5e20},
                                         NumberCase{"ThreeDigitExponent", 1.7976931348623157e308},
                                         NumberCase{"Subnormal", 5e-324}, NumberCase{"SumOfTenths", 0.1 + 0.2},
                                         NumberCase{"FloatWidened", static_cast<double>(11059200.0F / 12.0F)},
                                         NumberCase{"FractionOfRate", 2764800.0 / 7.0},
                                         // An exact rate whose seventeenth digit falls half way, and a value
                                         // whose shortest digits are one fewer than nlohmann's.
                                         NumberCase{"HalfWayAtTheLastDigit", 472078125.0 / 4096.0},
                                         NumberCase{"NotTheShortestDigits", 4539.599999999999},
                                         NumberCase{"NotANumber", std::numeric_limits<double>::quiet_NaN()},
                                         NumberCase{"Infinity", std::numeric_limits<double>::infinity()}),
                         testing_support::CaseName());

// ---------------------------------------------------------------------------
// The command line's layout: documents written by the answers' writer and
// laid out by PrettyJson are byte for byte what the command line printed.

struct LayoutCase {
  const char* name;
  void (*write)(JsonWriter&);
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class CommandLineLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(CommandLineLayout, MatchesTheCommandLinesIndentedDocuments) {
  JsonWriter json(JsonFace::CommandLine);
  GetParam().write(json);
  EXPECT_EQ(PrettyJson(json.Text()), nlohmann::ordered_json::parse(json.Text()).dump(2));
}

INSTANTIATE_TEST_SUITE_P(Documents, CommandLineLayout,
                         testing::Values(LayoutCase{"NestedObjectsAndArrays",
                                                    [](JsonWriter& json) {
                                                      json.BeginObject();
                                                      json.Key("modes");
                                                      json.BeginArray();
                                                      json.BeginObject();
                                                      json.Key("smod");
                                                      json.Int(0);
                                                      json.Key("deviation");
                                                      json.Double(-0.16);
                                                      json.EndObject();
                                                      json.Null();
                                                      json.EndArray();
                                                      json.Key("best");
                                                      json.Bool(true);
                                                      json.EndObject();
                                                    }},
                                         LayoutCase{"EmptyContainers",
                                                    [](JsonWriter& json) {
                                                      json.BeginObject();
                                                      json.Key("list");
                                                      json.BeginArray();
                                                      json.EndArray();
                                                      json.Key("object");
                                                      json.BeginObject();
                                                      json.EndObject();
                                                      json.EndObject();
                                                    }},
                                         LayoutCase{"PunctuationInsideStrings",
                                                    [](JsonWriter& json) {
                                                      json.BeginArray();
                                                      json.String("{\"a\": [1, 2]}, \\ ");
                                                      json.String(
                                                          "void SIO_Init(void)\r\n{\r\n\tSCON = 0x50;\r\n}\r\n");
                                                      json.String("\x01\x1f \xe6\x99\xb6\xe6\x8c\xaf");
                                                      json.EndArray();
                                                    }},
                                         LayoutCase{"TopLevelNull", [](JsonWriter& json) { json.Null(); }}),
                         testing_support::CaseName());

// ---------------------------------------------------------------------------
// The two faces of the same values: the page gets exact bits and counts it
// cannot lose, the command line numbers.

struct FaceCase {
  const char* name;
  JsonFace face;
  double value;
  std::uint64_t count;
  const char* expected;
};

void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.name; }

class Faces : public testing::TestWithParam<FaceCase> {};

TEST_P(Faces, WriteDoublesAndCountsInTheirReadersForm) {
  const FaceCase& c = GetParam();
  JsonWriter json(c.face);
  json.BeginArray();
  json.Double(c.value);
  json.Count(c.count);
  json.EndArray();
  EXPECT_EQ(json.Text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Faces,
    testing::Values(FaceCase{"PageBitsAndDecimalString", JsonFace::Page, 1.0, 18446744073709551615ULL,
                             R"(["3ff0000000000000","18446744073709551615"])"},
                    FaceCase{"PageNegative", JsonFace::Page, -2.5, 0, R"(["c004000000000000","0"])"},
                    FaceCase{"CommandLineNumbers", JsonFace::CommandLine, 1.0, 18446744073709551615ULL,
                             R"([1.0,18446744073709551615])"}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::answers
