#include "codegen/text_resource.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/encoding.h"

namespace tesmirol {
namespace {

// The template's lines without their CR LF; fails the test when a line break
// is anything but CR LF or the text does not end with one.
std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
      ADD_FAILURE() << "no CR LF after the last line";
      break;
    }
    const bool crBeforeLf = lf > start && text[lf - 1] == '\r';
    EXPECT_TRUE(crBeforeLf) << "bare LF ending line " << lines.size() + 1;
    std::string line = text.substr(start, (crBeforeLf ? lf - 1 : lf) - start);
    EXPECT_EQ(line.find('\r'), std::string::npos) << "bare CR in line " << lines.size() + 1;
    lines.push_back(std::move(line));
    start = lf + 1;
  }
  return lines;
}

std::string LoadTemplate() { return LoadTextResource("TXT", "IDR_C_FILE"); }

// Every fixed line is checked byte for byte by the golden-file test of the
// generator; here: the shape the generator and a C compiler rely on.
TEST(TextResourceTest, TemplateShape) {
  const std::string text = LoadTemplate();
  const std::vector<std::string> lines = SplitCrLfLines(text);
  ASSERT_EQ(lines.size(), 67U);
  EXPECT_TRUE(text::GbkToUtf8(text).has_value()) << "not GBK (saved in another encoding?)";

  // A double-byte character whose second byte is 0x5C ('\') at the end of a
  // "//" line would make a C compiler splice the next line into the comment.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].empty() || lines[i].back() != '\\') << "line " << i + 1;
  }

  // Each placeholder stands only on its own lines; <TL1> does not occur.
  struct Placeholder {
    std::string_view text;
    std::vector<std::size_t> lineNumbers;
  };
  const std::vector<Placeholder> placeholders = {
      {"<CYSTRAL>", {3}}, {"<BPS>", {3}}, {"<TH1>", {43, 44}}, {"<PCON>", {50}}, {"<TL1>", {}}};
  for (const Placeholder& placeholder : placeholders) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].find(placeholder.text) != std::string::npos) {
        found.push_back(i + 1);
      }
    }
    EXPECT_EQ(found, placeholder.lineNumbers) << placeholder.text;
  }
  EXPECT_EQ(lines[42], "\tTH1 = <TH1>;");
  EXPECT_EQ(lines[43], "\tTL1 = <TH1>;");
  EXPECT_EQ(lines[49], "\t<PCON>;");
}

TEST(TextResourceTest, EveryLoadGivesTheSameBytes) {
  const std::string first = LoadTemplate();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(LoadTemplate(), first);
  EXPECT_EQ(LoadTemplate(), first);
}

TEST(TextResourceTest, UnknownResourceIsEmpty) {
  struct Case {
    const char* name;
    std::string_view type;
    std::string_view resource;
  };
  const std::vector<Case> cases = {
      {"unknown name", "TXT", "IDR_NO_SUCH_FILE"},
      {"unknown type", "CHM", "IDR_C_FILE"},
      {"type and name swapped", "IDR_C_FILE", "TXT"},
      {"empty type", "", "IDR_C_FILE"},
      {"empty name", "TXT", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadTextResource(c.type, c.resource), "") << c.name;
  }
}

}  // namespace
}  // namespace tesmirol
