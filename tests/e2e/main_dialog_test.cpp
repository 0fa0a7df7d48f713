// End-to-end tests of Tesmirol's main dialog: the real program under Wine,
// driven by the messages a user's clicks and keys produce, judged by the
// texts it shows, the colours it paints and what it leaves on the clipboard.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/clipboard_text.h"
#include "e2e/dialog_fixture.h"
#include "e2e/main_dialog.h"
#include "e2e/message_param.h"
#include "e2e/program_under_test.h"
#include "e2e/utf8_text.h"
#include "e2e/window_capture.h"
#include "support/case_name.h"
#include "text/encoding.h"

// The complete generated text for 11.0592MHz / 9600 in GBK, compiled in from
// tests/codegen/golden/sio_init_11.0592MHz_9600.c.
std::span<const unsigned char> EmbeddedGoldenSioInit();

namespace tesmirol::e2e {
namespace {

using control::kBaudBox;
using control::kCrystalBox;

constexpr DWORD kExitTimeoutMs = 10000;
constexpr std::wstring_view kWarningText = L"生成的波特率存在偏差，不建议使用该方案！";

// The golden file, decoded from GBK the way the dialog shows it.
std::wstring GoldenText() {
  const std::span<const unsigned char> golden = EmbeddedGoldenSioInit();
  const std::string gbk(golden.begin(), golden.end());
  const std::optional<std::u16string> utf16 = text::GbkToUtf16(gbk);
  return utf16 ? std::wstring(utf16->begin(), utf16->end()) : L"<golden file is not GBK>";
}

// The text's lines without their CR LF.
std::vector<std::wstring> Lines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      lines.emplace_back(text.substr(start));
      return lines;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
}

bool HasLine(std::wstring_view text, std::wstring_view line) {
  return std::ranges::any_of(Lines(text), [line](const std::wstring& each) { return each == line; });
}

// One result label: the text it must show and the colour it must paint it in.
struct LabelState {
  int id;
  std::wstring_view text;
  TextColour colour;
};

// What the user does, step by step.
struct Step {
  enum class Action { kChoose, kArrowDown, kType } action;
  int boxId;
  std::wstring_view text;
};
using Action = Step::Action;

class MainDialogTest : public DialogFixture<> {
 protected:
  // Performs the user's steps; false when the dialog stops answering.
  bool Perform(const std::vector<Step>& steps) {
    return std::ranges::all_of(steps, [this](const Step& step) {
      switch (step.action) {
        case Action::kChoose:
          return Dialog().ChooseInList(step.boxId, step.text);
        case Action::kArrowDown:
          return Dialog().ArrowDownTo(step.boxId, step.text);
        case Action::kType:
          return Dialog().TypeInto(step.boxId, step.text);
      }
      return false;
    });
  }

  void ExpectLabels(const std::vector<LabelState>& labels) {
    for (const LabelState& label : labels) {
      SCOPED_TRACE("control " + std::to_string(label.id));
      EXPECT_EQ(Utf8(Dialog().Text(label.id)), Utf8(label.text));
      EXPECT_EQ(WaitForTextColour(Dialog().Control(label.id), label.colour), label.colour);
    }
  }

  // The painted colour of each of the five result labels.
  std::vector<TextColour> LabelColours() {
    std::vector<TextColour> colours;
    for (const int id : {control::kRange, control::kReloadSmod0, control::kDeviationSmod0, control::kReloadSmod1,
                         control::kDeviationSmod1}) {
      const std::optional<Capture> capture = CaptureWindow(Dialog().Control(id));
      colours.push_back(capture ? TextColourIn(*capture) : TextColour::kNone);
    }
    return colours;
  }
};

TEST_F(MainDialogTest, StartsWithTheDefaultCrystalAndBaudRate) {
  EXPECT_EQ(Utf8(Dialog().Text(kCrystalBox)), "11.0592MHz");
  EXPECT_EQ(Utf8(Dialog().Text(kBaudBox)), "9600");
  EXPECT_EQ(Utf8(Dialog().Text(control::kSelectedCrystal)), "选用晶震：11059200 Hz");
  ExpectLabels({
      {control::kRange, L"最低：112bps  最高：57600bps", TextColour::kYellow},
      {control::kReloadSmod0, L"TH = 0xFD", TextColour::kBlue},
      {control::kDeviationSmod0, L"偏差：0.00%", TextColour::kBlue},
      {control::kReloadSmod1, L"TH = 0xFA", TextColour::kBlue},
      {control::kDeviationSmod1, L"偏差：0.00%", TextColour::kBlue},
  });
  EXPECT_EQ(Session().FocusedWindow(), Dialog().EditFieldOf(kCrystalBox)) << "the focus starts in the crystal box";

  const std::wstring output = Dialog().Text(control::kOutputBox);
  const std::vector<std::wstring> lines = Lines(output);
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(Utf8(lines[0]), std::string(74, '/'));
  EXPECT_EQ(Utf8(lines[2]), "// 说明: 11.0592MHZ晶震下初始化串口波特率为9600bps");
  EXPECT_TRUE(HasLine(output, L"\tTH1 = 0xFD;"));
  EXPECT_TRUE(HasLine(output, L"\tPCON &= 0x7F;"));
  EXPECT_TRUE(output == GoldenText()) << "the output box differs from tests/codegen/golden";
}

// A new input, chosen from a list or typed, and everything it must show.
enum class Output { kEmpty, kWarning, kCode };

struct InputCase {
  const char* name;
  std::vector<Step> steps;
  std::wstring_view crystalBox;
  std::wstring_view baudBox;
  std::wstring_view selectedCrystal;
  std::vector<LabelState> labels;
  Output output;
  std::vector<std::wstring_view> codeLines;  // lines the generated code must have
};

std::vector<LabelState> TwelveMegahertzLabels() {
  return {
      {control::kRange, L"最低：122bps  最高：62500bps", TextColour::kYellow},
      {control::kReloadSmod0, L"TH = 0xFC", TextColour::kBlue},
      {control::kDeviationSmod0, L"偏差：-18.63%", TextColour::kRed},
      {control::kReloadSmod1, L"TH = 0xF9", TextColour::kBlue},
      {control::kDeviationSmod1, L"偏差：-7.00%", TextColour::kRed},
  };
}

std::vector<LabelState> TooLowLabels() {
  return {
      {control::kRange, L"最低：112bps  最高：57600bps", TextColour::kYellow},
      {control::kReloadSmod0, L"波特率太低", TextColour::kRed},
      {control::kDeviationSmod0, L"偏差：0.00%", TextColour::kBlue},
      {control::kReloadSmod1, L"波特率太低", TextColour::kRed},
      {control::kDeviationSmod1, L"偏差：0.00%", TextColour::kBlue},
  };
}

std::vector<InputCase> InputCases() {
  return {
      {.name = "TwelveMegahertzClickedInTheCrystalList",
       .steps = {{Action::kChoose, kCrystalBox, L"12MHz"}},
       .crystalBox = L"12MHz",
       .baudBox = L"9600",
       .selectedCrystal = L"选用晶震：12000000 Hz",
       .labels = TwelveMegahertzLabels(),
       .output = Output::kWarning,
       .codeLines = {}},
      {.name = "TwelveMegahertzReachedWithTheDownArrow",
       .steps = {{Action::kArrowDown, kCrystalBox, L"12MHz"}},
       .crystalBox = L"12MHz",
       .baudBox = L"9600",
       .selectedCrystal = L"选用晶震：12000000 Hz",
       .labels = TwelveMegahertzLabels(),
       .output = Output::kWarning,
       .codeLines = {}},
      {.name = "OneHundredTenChosenInTheBaudList",
       .steps = {{Action::kChoose, kBaudBox, L"110"}},
       .crystalBox = L"11.0592MHz",
       .baudBox = L"110",
       .selectedCrystal = L"选用晶震：11059200 Hz",
       .labels = TooLowLabels(),
       .output = Output::kEmpty,
       .codeLines = {}},
      {.name = "NegativeBaudRateTyped",
       .steps = {{Action::kType, kBaudBox, L"-9600"}},
       .crystalBox = L"11.0592MHz",
       .baudBox = L"-9600",
       .selectedCrystal = L"选用晶震：11059200 Hz",
       .labels = TooLowLabels(),
       .output = Output::kEmpty,
       .codeLines = {}},
      {.name = "GigahertzCrystalAnd57600Typed",
       .steps = {{Action::kType, kCrystalBox, L"1880MHz"}, {Action::kType, kBaudBox, L"57600"}},
       .crystalBox = L"1880MHz",
       .baudBox = L"57600",
       .selectedCrystal = L"选用晶震：1880000000 Hz",
       .labels = {{control::kRange, L"最低：19124bps  最高：9791666bps", TextColour::kYellow},
                  {control::kReloadSmod0, L"TH = 0xAB", TextColour::kBlue},
                  {control::kDeviationSmod0, L"偏差：-0.00%", TextColour::kBlue},
                  {control::kReloadSmod1, L"TH = 0x56", TextColour::kBlue},
                  {control::kDeviationSmod1, L"偏差：-0.00%", TextColour::kBlue}},
       .output = Output::kCode,
       .codeLines = {L"// 说明: 1880MHZ晶震下初始化串口波特率为57600bps", L"\tTH1 = 0xAB;", L"\tPCON &= 0x7F;"}},
  };
}

class MainDialogInputTest : public MainDialogTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(MainDialogInputTest, ShowsTheResultsOfTheNewInput) {
  const InputCase& input = GetParam();
  ASSERT_TRUE(Perform(input.steps)) << "the dialog stopped answering";
  EXPECT_EQ(Utf8(Dialog().Text(kCrystalBox)), Utf8(input.crystalBox));
  EXPECT_EQ(Utf8(Dialog().Text(kBaudBox)), Utf8(input.baudBox));
  EXPECT_EQ(Utf8(Dialog().Text(control::kSelectedCrystal)), Utf8(input.selectedCrystal));
  ExpectLabels(input.labels);

  const std::wstring output = Dialog().Text(control::kOutputBox);
  switch (input.output) {
    case Output::kEmpty:
      EXPECT_EQ(Utf8(output), "");
      break;
    case Output::kWarning:
      EXPECT_EQ(Utf8(output), Utf8(kWarningText));
      break;
    case Output::kCode:
      for (const std::wstring_view line : input.codeLines) {
        EXPECT_TRUE(HasLine(output, line)) << "no line \"" << Utf8(line) << "\"";
      }
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, MainDialogInputTest, ::testing::ValuesIn(InputCases()), testing_support::CaseName());

// An input from which nothing can be calculated leaves every result as the
// last good input left it.
struct UnreadableInputCase {
  const char* name;
  std::vector<Step> before;
  Step unreadable;
};

std::vector<UnreadableInputCase> UnreadableInputCases() {
  return {
      {"CrystalTextWithoutANumber", {}, {Action::kType, kCrystalBox, L"MHz"}},
      {"EmptiedCrystalBox", {}, {Action::kType, kCrystalBox, L""}},
      {"EmptiedBaudBox", {}, {Action::kType, kBaudBox, L""}},
      {"EmptiedBaudBoxAfterAWarning", {{Action::kChoose, kCrystalBox, L"12MHz"}}, {Action::kType, kBaudBox, L""}},
  };
}

class MainDialogUnreadableInputTest : public MainDialogTest,
                                      public ::testing::WithParamInterface<UnreadableInputCase> {};

TEST_P(MainDialogUnreadableInputTest, ChangesNothingOnScreen) {
  const UnreadableInputCase& input = GetParam();
  ASSERT_TRUE(Perform(input.before)) << "the dialog stopped answering";
  ShownTexts expected = Dialog().Shown();
  const std::vector<TextColour> coloursBefore = LabelColours();

  ASSERT_TRUE(Perform({input.unreadable})) << "the dialog stopped answering";
  // Only the box that was typed in shows something new.
  (input.unreadable.boxId == kCrystalBox ? expected.crystalBox : expected.baudBox) = input.unreadable.text;
  EXPECT_EQ(Dialog().Shown(), expected);
  EXPECT_EQ(LabelColours(), coloursBefore);
}

INSTANTIATE_TEST_SUITE_P(Inputs, MainDialogUnreadableInputTest, ::testing::ValuesIn(UnreadableInputCases()),
                         testing_support::CaseName());

// The copy button puts exactly what the output box holds on the clipboard.
struct CopyCase {
  const char* name;
  std::vector<Step> before;
  std::wstring_view typedIntoOutput;  // the user's own edit of the output box
};

std::vector<CopyCase> CopyCases() {
  return {
      {"GeneratedCode", {}, L""},
      {"Warning", {{Action::kChoose, kCrystalBox, L"12MHz"}}, L""},
      {"UsersOwnEdit", {}, L"// checked"},
  };
}

class MainDialogCopyTest : public MainDialogTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(MainDialogCopyTest, PutsTheOutputBoxTextOnTheClipboard) {
  const CopyCase& copy = GetParam();
  ASSERT_TRUE(Perform(copy.before)) << "the dialog stopped answering";
  HWND outputBox = Dialog().Control(control::kOutputBox);
  for (const wchar_t character : copy.typedIntoOutput) {
    PostMessageW(outputBox, WM_CHAR, character, 1);
  }
  ASSERT_TRUE(Dialog().Settle());
  const std::wstring shown = Dialog().Text(control::kOutputBox);
  ASSERT_FALSE(shown.empty());
  ASSERT_NE(shown.find(copy.typedIntoOutput), std::wstring::npos) << "the typed text is not in the output box";

  ASSERT_TRUE(EmptyClipboardNow());
  ASSERT_TRUE(Dialog().ClickButton(control::kCopyButton));
  ASSERT_TRUE(Dialog().Settle());

  const std::optional<std::wstring> copied = ClipboardText();
  ASSERT_TRUE(copied.has_value()) << "no text on the clipboard";
  EXPECT_TRUE(*copied == shown) << "copied " << copied->size() << " characters: \"" << Utf8(copied->substr(0, 60))
                                << "\"";
  // The whole text stays selected.
  DWORD start = 1;
  DWORD end = 0;
  SendMessageW(outputBox, EM_GETSEL, static_cast<WPARAM>(PointerParam(&start)), PointerParam(&end));
  EXPECT_EQ(start, 0U);
  EXPECT_EQ(end, shown.size());
}

INSTANTIATE_TEST_SUITE_P(Output, MainDialogCopyTest, ::testing::ValuesIn(CopyCases()), testing_support::CaseName());

// Return in an input box is the dialog's OK command, which does nothing.
struct ReturnCase {
  const char* name;
  int boxId;
};

constexpr std::array kReturnCases = {
    ReturnCase{"CrystalBox", kCrystalBox},
    ReturnCase{"BaudBox", kBaudBox},
};

class MainDialogReturnTest : public MainDialogTest, public ::testing::WithParamInterface<ReturnCase> {};

TEST_P(MainDialogReturnTest, KeepsTheDialogOpenAndUnchanged) {
  HWND field = Dialog().EditFieldOf(GetParam().boxId);
  // The user clicks into the box first, which gives it the focus.
  PostMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ASSERT_TRUE(Dialog().Settle());
  ASSERT_EQ(Session().FocusedWindow(), field);
  const ShownTexts before = Dialog().Shown();

  PostKeyPress(field, VK_RETURN);
  ASSERT_TRUE(Dialog().Settle()) << "the dialog closed or stopped answering";
  EXPECT_TRUE(Session().IsRunning());
  EXPECT_TRUE(IsWindowVisible(Session().Dialog()));
  EXPECT_EQ(Dialog().Shown(), before);
}

INSTANTIATE_TEST_SUITE_P(Keys, MainDialogReturnTest, ::testing::ValuesIn(kReturnCases), testing_support::CaseName());

// Each way of closing the dialog ends the program.
enum class Closing { kEscape, kExitButton, kCloseBox };

struct CloseCase {
  const char* name;
  Closing closing;
};

constexpr std::array kCloseCases = {
    CloseCase{"EscapeKey", Closing::kEscape},
    CloseCase{"ExitButton", Closing::kExitButton},
    CloseCase{"CloseBox", Closing::kCloseBox},
};

class MainDialogCloseTest : public MainDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(MainDialogCloseTest, EndsTheProgram) {
  switch (GetParam().closing) {
    case Closing::kEscape:
      ASSERT_NE(Session().FocusedWindow(), nullptr);
      PostKeyPress(Session().FocusedWindow(), VK_ESCAPE);
      break;
    case Closing::kExitButton:
      PostMessageW(Dialog().Control(control::kExitButton), BM_CLICK, 0, 0);
      break;
    case Closing::kCloseBox:
      PostMessageW(Session().Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
  EXPECT_TRUE(Session().WaitForExit(kExitTimeoutMs)) << "the program is still running";
}

INSTANTIATE_TEST_SUITE_P(Closing, MainDialogCloseTest, ::testing::ValuesIn(kCloseCases), testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::e2e
