// The output box after every update: the generated text byte for byte, and
// the box left as a replacement of its whole text leaves it (the caret at
// the start, nothing selected, scrolled to the top, nothing to undo, not
// modified), its pixels those that a full repaint paints. The box lays out
// only the lines that changed, so these are the cases that way could get
// wrong: from the warning to code and back, from nothing to code, a box the
// user scrolled, and a box the user edited.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/box_edits.h"
#include "e2e/dialog_fixture.h"
#include "e2e/expected_display.h"
#include "e2e/main_dialog.h"
#include "e2e/program_under_test.h"
#include "e2e/utf8_text.h"
#include "e2e/window_capture.h"
#include "support/case_name.h"

namespace tesmirol::e2e {
namespace {

using control::kBaudBox;
using control::kCrystalBox;
using control::kOutputBox;

// What the user does, step by step.
enum class Action {
  kType,          // a new text typed into an input box
  kScrollOutput,  // two pages down in the output box
  kEditOutput,    // the text replaces the output box's characters 100 to 140
};

struct Step {
  Action action;
  int boxId;
  std::wstring_view text;
};

struct OutputCase {
  const char* name;
  std::vector<Step> steps;
};

class OutputBoxTest : public DialogFixture<::testing::TestWithParam<OutputCase>> {
 protected:
  HWND Box() { return Dialog().Control(kOutputBox); }

  // Does one step; false when the dialog stops answering.
  bool Perform(const Step& step) {
    switch (step.action) {
      case Action::kType:
        return Dialog().TypeInto(step.boxId, step.text);
      case Action::kScrollOutput:
        Ask(Box(), WM_VSCROLL, SB_PAGEDOWN);
        Ask(Box(), WM_VSCROLL, SB_PAGEDOWN);
        return Dialog().Settle();
      case Action::kEditOutput:
        return SelectRange(Box(), 100, 140) && ReplaceSelection(Dialog(), Box(), step.text);
    }
    return false;
  }

  // The box's text, state and pixels after an update.
  void ExpectBoxAsAfterAWholeReplacement() {
    const std::optional<ResultDisplay> expected = ExpectedDisplay(Dialog().Text(kCrystalBox), Dialog().Text(kBaudBox));
    ASSERT_TRUE(expected.has_value());
    const std::wstring shown = Dialog().Text(kOutputBox);
    EXPECT_TRUE(shown == expected->output)
        << "the box holds " << shown.size() << " characters, \"" << Utf8(shown.substr(0, 120)) << "\"";
    EXPECT_EQ(Ask(Box(), EM_GETSEL), 0) << "caret or selection not at the start";
    EXPECT_EQ(Ask(Box(), EM_GETFIRSTVISIBLELINE), 0) << "not scrolled to the top";
    EXPECT_EQ(Ask(Box(), EM_CANUNDO), 0) << "something to undo";
    EXPECT_EQ(Ask(Box(), EM_GETMODIFY), 0) << "marked as modified";

    const std::optional<Capture> painted = CaptureWindow(Box());
    RedrawWindow(Box(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    ASSERT_TRUE(Dialog().Settle());
    const std::optional<Capture> repainted = CaptureWindow(Box());
    ASSERT_TRUE(painted.has_value() && repainted.has_value());
    EXPECT_TRUE(painted->pixels == repainted->pixels) << "the box shows other pixels than a full repaint";
  }
};

TEST_P(OutputBoxTest, ShowsTheTextAsAWholeReplacementWould) {
  const std::vector<Step>& steps = GetParam().steps;
  for (std::size_t index = 0; index < steps.size(); ++index) {
    SCOPED_TRACE("step " + std::to_string(index + 1));
    ASSERT_TRUE(Perform(steps[index])) << "the dialog stopped answering";
    if (steps[index].action == Action::kType) {
      ExpectBoxAsAfterAWholeReplacement();
    }
  }
}

const std::vector<OutputCase>& OutputCases() {
  static const std::vector<OutputCase> cases = {
      // 12MHz gives the warning, 110 bps nothing (an empty box), and a
      // typed-in crystal the code with its own description line.
      {"WarningCodeAndNothing",
       {{Action::kType, kCrystalBox, L"12MHz"},
        {Action::kType, kCrystalBox, L"11.0592MHz"},
        {Action::kType, kBaudBox, L"110"},
        {Action::kType, kBaudBox, L"9600"},
        {Action::kType, kCrystalBox, L"12MHz"}}},
      {"ScrolledBox",
       {{Action::kScrollOutput, 0, L""},
        {Action::kType, kCrystalBox, L"22.1184MHz"},
        {Action::kScrollOutput, 0, L""},
        {Action::kType, kBaudBox, L"19200"}}},
      {"UsersOwnEdit",
       {{Action::kEditOutput, 0, L"the user's own text\r\nover two lines"},
        {Action::kType, kBaudBox, L"4800"},
        {Action::kEditOutput, 0, L""},
        {Action::kType, kCrystalBox, L"22.1184MHz"}}},
  };
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Updates, OutputBoxTest, ::testing::ValuesIn(OutputCases()), testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::e2e
