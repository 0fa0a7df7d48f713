// Hostile input for the main dialog: every byte value, lone GBK lead bytes,
// characters GBK has no form for, numbers at the ends of the 32-bit range,
// zero and negative rates, and 64 KiB texts. Whatever the boxes hold, the
// dialog must keep answering and show exactly what the engine and the code
// generator give for the texts as it reads them, or, when they give nothing,
// keep what it showed before.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/box_edits.h"
#include "e2e/clipboard_text.h"
#include "e2e/dialog_fixture.h"
#include "e2e/expected_display.h"
#include "e2e/main_dialog.h"
#include "e2e/program_under_test.h"
#include "e2e/utf8_text.h"
#include "support/case_name.h"

namespace tesmirol::e2e {
namespace {

using control::kBaudBox;
using control::kCrystalBox;

constexpr std::size_t kLongTextLength = std::size_t{64} * 1024;
// A text set from outside reaches the output box whole, in the generated
// code; Wine's edit control wraps a 64 KiB line in about half a minute, so
// such texts are shorter, to stay within the bound a step may take.
constexpr std::size_t kSetTextLength = std::size_t{16} * 1024;

// Bytes of code page 936 as the program receives them through a window text:
// decoded by the system, an invalid sequence (a lone lead byte) becoming the
// code page's default character.
std::wstring FromGbkBytes(std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int inLength = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(936, 0, bytes.data(), inLength, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  MultiByteToWideChar(936, 0, bytes.data(), inLength, wide.data(), length);
  return wide;
}

// The texts of a box with code units spelled out, for traces of texts that
// do not print.
std::string Spelled(std::wstring_view text) {
  std::string spelled;
  for (const wchar_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F) {
      spelled += static_cast<char>(unit);
    } else {
      std::ostringstream hex;
      hex << "\\u" << std::uppercase << std::hex << std::setw(4) << std::setfill('0')
          << static_cast<unsigned int>(unit);
      spelled += hex.str();
    }
  }
  return spelled;
}

class HostileInputTest : public DialogFixture<> {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    if (HasFatalFailure()) {
      return;
    }
    const std::optional<ResultDisplay> initial = ExpectedDisplay(L"11.0592MHz", L"9600");
    ASSERT_TRUE(initial.has_value());
    m_last = *initial;
    ExpectDisplayFollowsTheBoxes("start");
  }

  HWND Field(int boxId) { return Dialog().EditFieldOf(boxId); }

  // Checks that the dialog still runs and shows what the engine gives for
  // what the boxes hold now, or, with no result, what it showed before.
  void ExpectDisplayFollowsTheBoxes(const std::string& step) {
    SCOPED_TRACE(step);
    ASSERT_TRUE(Session().IsRunning()) << "the program ended";
    const std::wstring crystal = Dialog().Text(kCrystalBox);
    const std::wstring baud = Dialog().Text(kBaudBox);
    if (const std::optional<ResultDisplay> expected = ExpectedDisplay(crystal, baud)) {
      m_last = *expected;
    }
    ResultDisplay shown = ShownDisplay(Dialog(), true);
    if (shown.colours != m_last.colours) {
      shown.colours = WaitForLabelColours(Dialog(), m_last.colours);
    }
    EXPECT_EQ(shown, m_last) << "crystal box \"" << Spelled(crystal) << "\", baud box \"" << Spelled(baud) << "\"";
  }

  // Replaces a box's text as a paste would and checks the display.
  void EnterAndCheck(int boxId, std::wstring_view text, const std::string& step) {
    ASSERT_TRUE(ReplaceAll(Dialog(), Field(boxId), text)) << step << ": the dialog stopped answering";
    ExpectDisplayFollowsTheBoxes(step);
  }

 private:
  ResultDisplay m_last;
};

// Every byte value, put between fixed neighbours in one box.
struct BytePlacement {
  const char* name;
  int boxId;
  std::string_view before;
  std::string_view after;
};

constexpr std::array kBytePlacements = {
    BytePlacement{"StartOfTheCrystalText", kCrystalBox, "", "6MHz"},
    BytePlacement{"BetweenCrystalNumberAndUnit", kCrystalBox, "12", "MHz"},
    BytePlacement{"EndOfTheCrystalText", kCrystalBox, "11.0592MHz", ""},
    BytePlacement{"InsideTheBaudRate", kBaudBox, "96", "00"},
    BytePlacement{"EndOfTheBaudRate", kBaudBox, "4800", ""},
};

class HostileByteTest : public HostileInputTest, public ::testing::WithParamInterface<BytePlacement> {};

// A lead byte (0x81 to 0xFE) before a letter makes one double-byte character
// of the two, so "12" 0x81 "MHz" has no M for the unit; at the end of a text
// it stands alone and decodes to the default character.
TEST_P(HostileByteTest, EveryByteValueShowsWhatTheEngineGives) {
  const BytePlacement& placement = GetParam();
  for (int value = 0; value <= 0xFF; ++value) {
    std::string bytes(placement.before);
    bytes += static_cast<char>(value);
    bytes += placement.after;
    EnterAndCheck(placement.boxId, FromGbkBytes(bytes), "byte " + std::to_string(value));
    if (HasFatalFailure()) {
      return;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Bytes, HostileByteTest, ::testing::ValuesIn(kBytePlacements), testing_support::CaseName());

// Numbers at the ends of what the calculation can hold: a crystal at and
// around 2^31 Hz (2147483648 does not fit the whole hertz, and float32 steps
// there are 128 Hz wide), baud rates that wrap in 32 bits, zero and negative
// rates and crystals.
struct NumberCase {
  const char* name;
  std::wstring_view crystal;
  std::wstring_view baud;
};

constexpr std::array kNumberCases = {
    NumberCase{"LargestFloatBelowTwoToThe31", L"2147483520", L"9600"},
    NumberCase{"RoundsDownToTheLargestFloat", L"2147483583", L"9600"},
    NumberCase{"RoundsUpToTwoToThe31", L"2147483584", L"9600"},
    NumberCase{"LargestInt32", L"2147483647", L"9600"},
    NumberCase{"TwoToThe31", L"2147483648", L"9600"},
    NumberCase{"TwoToThe31InMegahertz", L"2147.483648MHz", L"9600"},
    NumberCase{"JustBelowTwoToThe31InKilohertz", L"2147483.52KHz", L"115200"},
    NumberCase{"TwoToThe32", L"4294967296", L"9600"},
    NumberCase{"MinusTwoToThe31", L"-2147483648", L"9600"},
    NumberCase{"BelowMinusTwoToThe31", L"-2147483904", L"9600"},
    NumberCase{"FloatOverflow", L"1e39MHz", L"9600"},
    NumberCase{"LargestFloatInMegahertz", L"3.4e32MHz", L"9600"},
    NumberCase{"SmallestFloat", L"1e-45", L"9600"},
    NumberCase{"ZeroCrystal", L"0", L"9600"},
    NumberCase{"NegativeZeroCrystal", L"-0MHz", L"9600"},
    NumberCase{"HalfAHertz", L"0.5", L"1"},
    NumberCase{"MinusHalfAHertz", L"-0.5", L"1"},
    NumberCase{"NegativeCrystal", L"-11.0592MHz", L"9600"},
    NumberCase{"NegativeCrystalAndRate", L"-11.0592MHz", L"-9600"},
    NumberCase{"ZeroRate", L"11.0592MHz", L"0"},
    NumberCase{"NegativeZeroRate", L"11.0592MHz", L"-0"},
    NumberCase{"RateWithoutDigits", L"11.0592MHz", L"abc"},
    NumberCase{"RateOfOne", L"11.0592MHz", L"1"},
    NumberCase{"RateOfMinusOne", L"11.0592MHz", L"-1"},
    NumberCase{"NegativeRate", L"11.0592MHz", L"-9600"},
    NumberCase{"LargestInt32Rate", L"1964MHz", L"2147483647"},
    NumberCase{"RateWrappingToMinusTwoToThe31", L"1964MHz", L"2147483648"},
    NumberCase{"RateWrappingToMinusOne", L"11.0592MHz", L"4294967295"},
    NumberCase{"RateWrappingToZero", L"11.0592MHz", L"4294967296"},
    NumberCase{"RateWrappingToOne", L"11.0592MHz", L"4294967297"},
    NumberCase{"SmallestInt32Rate", L"-2147483648", L"-2147483648"},
    NumberCase{"LargestCrystalAndLargestRate", L"2147483520", L"2147483647"},
};

class HostileNumberTest : public HostileInputTest {};

TEST_F(HostileNumberTest, ExtremeNumbersShowWhatTheEngineGives) {
  for (const NumberCase& number : kNumberCases) {
    EnterAndCheck(kCrystalBox, number.crystal, std::string(number.name) + ", crystal");
    EnterAndCheck(kBaudBox, number.baud, std::string(number.name) + ", baud rate");
    if (HasFatalFailure()) {
      return;
    }
  }
}

// Characters that GBK has no form for become '?' as the program reads them,
// each as one character: their neighbours, and so the unit and the crystal
// text in the generated code, stay as they were. U+F8F5 has a form, the
// byte 0xFF, and comes back as itself in the code.
struct ForeignCharacterCase {
  const char* name;
  std::wstring_view crystal;
  std::wstring_view baud;
  std::wstring_view codeLine;  // the generated code's description line
};

constexpr std::array kForeignCharacterCases = {
    ForeignCharacterCase{"ThaiLetterBeforeTheUnit", L"11.0592\u0E01MHz", L"9600",
                         L"// 说明: 11.0592?MHZ晶震下初始化串口波特率为9600bps"},
    ForeignCharacterCase{"EmojiBeforeTheUnit", L"11.0592\U0001F600MHz", L"9600",
                         L"// 说明: 11.0592?MHZ晶震下初始化串口波特率为9600bps"},
    ForeignCharacterCase{"LoneHighSurrogateBeforeTheUnit", L"11.0592\xD83DMHz", L"9600",
                         L"// 说明: 11.0592?MHZ晶震下初始化串口波特率为9600bps"},
    ForeignCharacterCase{"LoneLowSurrogateAtTheEnd", L"11.0592MHz\xDE00", L"9600",
                         L"// 说明: 11.0592MHZ?晶震下初始化串口波特率为9600bps"},
    ForeignCharacterCase{"BetweenChineseCharacters", L"11.0592MHz晶\u0E01振", L"9600",
                         L"// 说明: 11.0592MHZ晶?振晶震下初始化串口波特率为9600bps"},
    ForeignCharacterCase{"PrivateUseCharacterForByteFF", L"11.0592MHz\uF8F5", L"9600",
                         L"// 说明: 11.0592MHZ\uF8F5晶震下初始化串口波特率为9600bps"},
    ForeignCharacterCase{"ArabicInTheBaudRate", L"11.0592MHz", L"9600\u0627",
                         L"// 说明: 11.0592MHZ晶震下初始化串口波特率为9600?bps"},
    ForeignCharacterCase{"EmojiInTheBaudRate", L"11.0592MHz", L"96\U0001F60000", L""},  // the rate reads as 96: no code
};

class HostileCharacterTest : public HostileInputTest, public ::testing::WithParamInterface<ForeignCharacterCase> {};

TEST_P(HostileCharacterTest, LeavesTheNeighboursIntact) {
  const ForeignCharacterCase& input = GetParam();
  EnterAndCheck(kCrystalBox, input.crystal, "crystal");
  EnterAndCheck(kBaudBox, input.baud, "baud rate");
  EXPECT_EQ(Utf8(Dialog().Text(kCrystalBox)), Utf8(input.crystal)) << "the crystal box changed the text";
  EXPECT_EQ(Utf8(Dialog().Text(kBaudBox)), Utf8(input.baud)) << "the baud box changed the text";
  const std::wstring output = Dialog().Text(control::kOutputBox);
  if (input.codeLine.empty()) {
    EXPECT_EQ(Utf8(output), "");
  } else {
    EXPECT_NE(output.find(std::wstring(input.codeLine) + L"\r\n"), std::wstring::npos)
        << "no line \"" << Utf8(input.codeLine) << "\" in \"" << Utf8(output.substr(0, 300)) << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(Characters, HostileCharacterTest, ::testing::ValuesIn(kForeignCharacterCases),
                         testing_support::CaseName());

// A long text, whose start is a valid input, and how it reaches a box.
enum class LongEntry {
  kPaste,                // Ctrl+V of the text over the box's whole text
  kSetByAnotherProgram,  // WM_SETTEXT from outside, then the user picks an entry in the other box
};

struct LongTextCase {
  const char* name;
  int boxId;
  std::wstring_view start;
  wchar_t filler;
  LongEntry entry;
};

constexpr std::array kLongTextCases = {
    LongTextCase{"DigitsPastedIntoTheCrystalBox", kCrystalBox, L"11.0592", L'0', LongEntry::kPaste},
    LongTextCase{"ChinesePastedIntoTheCrystalBox", kCrystalBox, L"12MHz", L'晶', LongEntry::kPaste},
    LongTextCase{"DigitsPastedIntoTheBaudBox", kBaudBox, L"9600", L'1', LongEntry::kPaste},
    LongTextCase{"LettersSetInTheCrystalBox", kCrystalBox, L"11.0592MHz", L'x', LongEntry::kSetByAnotherProgram},
    LongTextCase{"ChineseSetInTheCrystalBox", kCrystalBox, L"12MHz", L'晶', LongEntry::kSetByAnotherProgram},
    LongTextCase{"DigitsSetInTheBaudBox", kBaudBox, L"9600", L'7', LongEntry::kSetByAnotherProgram},
};

class HostileLongTextTest : public HostileInputTest, public ::testing::WithParamInterface<LongTextCase> {};

// A paste is cut to what the box shows (about 16 digits); a text set from
// outside stays whole, and the next update reads, calculates and generates
// code from all of it.
TEST_P(HostileLongTextTest, KeepsAnsweringAndShowsWhatTheEngineGives) {
  const LongTextCase& input = GetParam();
  const std::size_t length = input.entry == LongEntry::kPaste ? kLongTextLength : kSetTextLength;
  std::wstring text(input.start);
  text.resize(length, input.filler);
  switch (input.entry) {
    case LongEntry::kPaste:
      ASSERT_TRUE(PasteOverAll(Dialog(), Field(input.boxId), text)) << "the dialog stopped answering";
      break;
    case LongEntry::kSetByAnotherProgram: {
      ASSERT_TRUE(SetWindowTextW(Dialog().Control(input.boxId), text.c_str()));
      const bool crystal = input.boxId == kCrystalBox;
      ASSERT_TRUE(Dialog().ChooseInList(crystal ? kBaudBox : kCrystalBox, crystal ? L"9600" : L"11.0592MHz"))
          << "the dialog stopped answering";
      break;
    }
  }
  const int held = TextLength(Field(input.boxId));
  std::cout << "[          ] the box holds " << held << " of the " << length << " characters\n";
  ExpectDisplayFollowsTheBoxes("long text");
  EXPECT_EQ(Utf8(Dialog().Text(input.boxId).substr(0, input.start.size())), Utf8(input.start));
  if (input.entry == LongEntry::kSetByAnotherProgram) {
    EXPECT_EQ(static_cast<std::size_t>(held), length);
  }
}

INSTANTIATE_TEST_SUITE_P(LongTexts, HostileLongTextTest, ::testing::ValuesIn(kLongTextCases),
                         testing_support::CaseName());

// What the user does in an input box that another program has filled with a
// text wider than the box: a character that does not fit is not taken, a
// deletion is made, and the dialog shows the result.
enum class OverfullEdit {
  kTypeDigit,    // the key 5
  kBackspace,    // Backspace
  kDelete,       // Delete
  kPasteDigits,  // Ctrl+V of "22"
};

// The end of the box's text, wherever that is.
constexpr std::size_t kTextEnd = std::wstring::npos;

struct OverfullEditCase {
  const char* name;
  std::size_t length;  // of the text the other program sets
  std::size_t selectionStart;
  std::size_t selectionEnd;
  OverfullEdit edit;
  std::size_t removedFrom;  // the characters the edit removes
  std::size_t removedTo;
  std::wstring_view added;  // what the edit adds there
};

constexpr std::size_t kWiderThanTheBox = 40;

constexpr std::array kOverfullEditCases = {
    // The caret stays at the start after WM_SETTEXT: the first key typed.
    OverfullEditCase{"DigitTypedAtTheStart", kWiderThanTheBox, 0, 0, OverfullEdit::kTypeDigit, 0, 0, L""},
    OverfullEditCase{"DigitTypedAtTheEnd", kWiderThanTheBox, kTextEnd, kTextEnd, OverfullEdit::kTypeDigit, 0, 0, L""},
    OverfullEditCase{"DigitTypedIntoALongText", kSetTextLength, 0, 0, OverfullEdit::kTypeDigit, 0, 0, L""},
    OverfullEditCase{"BackspaceAtTheEnd", kWiderThanTheBox, kTextEnd, kTextEnd, OverfullEdit::kBackspace,
                     kWiderThanTheBox - 1, kWiderThanTheBox, L""},
    OverfullEditCase{"DeleteAtTheStart", kWiderThanTheBox, 0, 0, OverfullEdit::kDelete, 0, 1, L""},
    OverfullEditCase{"DeleteOfASelection", kWiderThanTheBox, 2, 4, OverfullEdit::kDelete, 2, 4, L""},
    OverfullEditCase{"PasteOverTooShortASelection", kWiderThanTheBox, 0, 2, OverfullEdit::kPasteDigits, 0, 2, L""},
    OverfullEditCase{"DigitTypedOverAllOfIt", kWiderThanTheBox, 0, kTextEnd, OverfullEdit::kTypeDigit, 0,
                     kWiderThanTheBox, L"5"},
};

class OverfullBoxTest : public HostileInputTest, public ::testing::WithParamInterface<OverfullEditCase> {};

TEST_P(OverfullBoxTest, TakesWhatFitsAndShowsWhatTheEngineGives) {
  const OverfullEditCase& input = GetParam();
  // Letters after the unit: Wine's edit control lays out a long run of
  // digits in the generated code a hundred times slower than letters.
  std::wstring text(L"11.0592MHz");
  text.resize(input.length, L'x');
  ASSERT_TRUE(SetWindowTextW(Dialog().Control(kCrystalBox), text.c_str()));
  // The box reports no change of a text set from outside: the display
  // follows at the next edit.
  HWND field = Field(kCrystalBox);
  const auto position = [&text](std::size_t offset) { return static_cast<int>(std::min(offset, text.size())); };
  ASSERT_TRUE(SelectRange(field, position(input.selectionStart), position(input.selectionEnd)));
  switch (input.edit) {
    case OverfullEdit::kTypeDigit:
      PostMessageW(field, WM_CHAR, L'5', 1);
      break;
    case OverfullEdit::kBackspace:
      PostMessageW(field, WM_CHAR, VK_BACK, KeyData(VK_BACK, false));
      break;
    case OverfullEdit::kDelete:
      PostKeyPress(field, VK_DELETE);
      break;
    case OverfullEdit::kPasteDigits:
      ASSERT_TRUE(PutOnClipboard(L"22"));
      PostMessageW(field, WM_PASTE, 0, 0);
      break;
  }
  ASSERT_TRUE(Dialog().Settle()) << "the dialog stopped answering";

  std::wstring expected = text;
  expected.replace(input.removedFrom, input.removedTo - input.removedFrom, input.added);
  EXPECT_TRUE(Dialog().Text(kCrystalBox) == expected)
      << "the box holds \"" << Utf8(Dialog().Text(kCrystalBox).substr(0, 60)) << "\"";
  ExpectDisplayFollowsTheBoxes("after the edit");
  EnterAndCheck(kBaudBox, L"4800", "an update after the edit");
}

INSTANTIATE_TEST_SUITE_P(OverfullBoxes, OverfullBoxTest, ::testing::ValuesIn(kOverfullEditCases),
                         testing_support::CaseName());

// 64 KiB pasted into the output box: the copy button copies all the box took,
// and the next update replaces it with the generated code.
TEST_F(HostileInputTest, LongTextInTheOutputBoxIsCopiedAndThenReplaced) {
  HWND outputBox = Dialog().Control(control::kOutputBox);
  const std::wstring text(kLongTextLength, L'晶');
  ASSERT_TRUE(PasteOverAll(Dialog(), outputBox, text)) << "the dialog stopped answering";
  const std::wstring held = Dialog().Text(control::kOutputBox);
  std::cout << "[          ] the output box holds " << held.size() << " of the " << kLongTextLength << " characters\n";
  ASSERT_FALSE(held.empty());

  ASSERT_TRUE(EmptyClipboardNow());
  ASSERT_TRUE(Dialog().ClickButton(control::kCopyButton));
  ASSERT_TRUE(Dialog().Settle());
  const std::optional<std::wstring> copied = ClipboardText();
  ASSERT_TRUE(copied.has_value()) << "no text on the clipboard";
  EXPECT_TRUE(*copied == held) << "copied " << copied->size() << " characters of " << held.size();

  EnterAndCheck(kBaudBox, L"4800", "an update after the long text");
}

}  // namespace
}  // namespace tesmirol::e2e
