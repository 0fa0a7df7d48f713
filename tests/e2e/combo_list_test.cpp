// The lists of the two input boxes while the user types: the box brings the
// first entry that starts with the text to the top of its list, with nothing
// selected, and the list and the result labels, once painted, show the
// pixels that a full repaint of the dialog paints. The list makes these
// changes after the keystroke with its drawing held, and the labels are
// repainted together, so these cases catch an entry, a scroll position, a
// scroll bar or a label left unpainted.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/dialog_fixture.h"
#include "e2e/main_dialog.h"
#include "e2e/message_param.h"
#include "e2e/program_under_test.h"
#include "e2e/utf8_text.h"
#include "e2e/window_capture.h"
#include "support/case_name.h"

namespace tesmirol::e2e {
namespace {

using control::kBaudBox;
using control::kCrystalBox;

// The windows whose pixels are compared with a full repaint, besides the
// list: the result labels (the input boxes' edit fields show a blinking
// caret).
constexpr std::array kResultLabels{control::kSelectedCrystal, control::kRange,       control::kReloadSmod0,
                                   control::kDeviationSmod0,  control::kReloadSmod1, control::kDeviationSmod1};

struct ListCase {
  const char* name;
  int boxId;
  // Typed one after the other, each replacing the box's text.
  std::vector<std::wstring_view> texts;
};

// The top entry the box gives its list for the text: the first entry that
// starts with it, as far down as the list scrolls, or the first entry.
LRESULT ExpectedTop(HWND list, const std::wstring& text) {
  const LRESULT found = Ask(list, LB_FINDSTRING, static_cast<WPARAM>(-1), PointerParam(text.c_str()));
  if (found < 0) {
    return 0;
  }
  RECT client{};
  GetClientRect(list, &client);
  const LRESULT itemHeight = std::max<LRESULT>(Ask(list, LB_GETITEMHEIGHT), 1);
  const LRESULT rows = std::max<LRESULT>((client.bottom - client.top) / itemHeight, 1);
  const LRESULT lastTop = std::max<LRESULT>(Ask(list, LB_GETCOUNT) - rows, 0);
  return std::min(found, lastTop);
}

class ComboListTest : public DialogFixture<::testing::TestWithParam<ListCase>> {
 protected:
  // The list and the result labels show what a repaint of the whole dialog
  // paints.
  void ExpectPaintedAsAFullRepaint(HWND list) {
    std::vector<HWND> windows{list};
    for (const int id : kResultLabels) {
      windows.push_back(Dialog().Control(id));
    }
    std::vector<std::optional<Capture>> painted;
    painted.reserve(windows.size());
    for (HWND window : windows) {
      painted.push_back(CaptureWindow(window));
    }
    RedrawWindow(Session().Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    ASSERT_TRUE(Dialog().Settle());
    for (std::size_t index = 0; index < windows.size(); ++index) {
      const std::optional<Capture> repainted = CaptureWindow(windows[index]);
      ASSERT_TRUE(painted[index].has_value() && repainted.has_value());
      EXPECT_TRUE(painted[index]->pixels == repainted->pixels)
          << (index == 0 ? std::string("the list") : "result label " + std::to_string(index))
          << " shows other pixels than a full repaint";
    }
  }
};

TEST_P(ComboListTest, FollowsTheTypedTextAndShowsWhatAFullRepaintShows) {
  const ListCase& listCase = GetParam();
  HWND list = FindWindowExW(Dialog().Control(listCase.boxId), nullptr, L"ComboLBox", nullptr);
  ASSERT_NE(list, nullptr) << "the box shows no list";
  LRESULT previousTop = Ask(list, LB_GETTOPINDEX);
  bool scrolled = false;
  for (const std::wstring_view text : listCase.texts) {
    SCOPED_TRACE("typed \"" + Utf8(std::wstring(text)) + "\"");
    ASSERT_TRUE(Dialog().TypeInto(listCase.boxId, text)) << "the dialog stopped answering";
    const LRESULT top = Ask(list, LB_GETTOPINDEX);
    EXPECT_EQ(top, ExpectedTop(list, std::wstring(text)));
    EXPECT_EQ(Ask(list, LB_GETCURSEL), LB_ERR) << "an entry is selected";
    scrolled = scrolled || top != previousTop;
    previousTop = top;

    ExpectPaintedAsAFullRepaint(list);
  }
  EXPECT_TRUE(scrolled) << "the case never scrolls the list";
}

// Down the long crystal list, to a text no entry starts with, back to the
// top and to the end; the baud list, shorter, to its end and back.
INSTANTIATE_TEST_SUITE_P(
    Typing, ComboListTest,
    ::testing::Values(ListCase{"CrystalList", kCrystalBox, {L"455", L"3.6", L"no such entry", L"6MHz", L"40", L"32"}},
                      ListCase{"BaudList", kBaudBox, {L"1", L"56000", L"x", L"9600", L"2"}}),
    testing_support::CaseName());

}  // namespace
}  // namespace tesmirol::e2e
