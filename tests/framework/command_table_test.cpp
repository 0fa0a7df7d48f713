#include "framework/command_table.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "support/case_name.h"

namespace tesmirol {
namespace {

// Stands in for a dialog: each handler notes that it ran.
class Recorder {
 public:
  void OnFirst() { calls += "first;"; }
  void OnSecond() { calls += "second;"; }
  void OnShared() { calls += "shared;"; }

  std::string calls;
};

// Control 10 sends codes 1 and 2; controls 11 and 12 share one handler, as
// the two input boxes of the dialog share their edit handler; a later row
// for an earlier route never runs.
constexpr std::array<CommandHandler<Recorder>, 5> kTable{{
    {10, 1, &Recorder::OnFirst},
    {10, 2, &Recorder::OnSecond},
    {11, 5, &Recorder::OnShared},
    {12, 5, &Recorder::OnShared},
    {10, 1, &Recorder::OnSecond},
}};

struct RouteCase {
  const char* name;
  int controlId;
  unsigned int notifyCode;
  bool routed;
  const char* calls;
};

void PrintTo(const RouteCase& c, std::ostream* os) { *os << c.name; }

class CommandRouting : public testing::TestWithParam<RouteCase> {};

TEST_P(CommandRouting, RunsTheHandlerOfTheFirstMatchingRowOnly) {
  Recorder recorder;
  const bool routed = RouteCommand(recorder, kTable, GetParam().controlId, GetParam().notifyCode);
  EXPECT_EQ(routed, GetParam().routed);
  EXPECT_EQ(recorder.calls, GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandRouting,
                         testing::Values(RouteCase{"ControlAndCode", 10, 1, true, "first;"},
                                         RouteCase{"SameControlOtherCode", 10, 2, true, "second;"},
                                         RouteCase{"SharedHandlerFirstControl", 11, 5, true, "shared;"},
                                         RouteCase{"SharedHandlerSecondControl", 12, 5, true, "shared;"},
                                         RouteCase{"KnownControlUnknownCode", 10, 3, false, ""},
                                         RouteCase{"KnownCodeOtherControl", 13, 5, false, ""},
                                         RouteCase{"CodeOfAnotherControl", 11, 1, false, ""}),
                         testing_support::CaseName());

TEST(CommandRouting, FindsNothingInAnEmptyTable) { EXPECT_FALSE(FindCommandHandler<Recorder>({}, 10, 1).has_value()); }

TEST(CommandRouting, LookupIsAvailableAtCompileTime) {
  static_assert(FindCommandHandler<Recorder>(kTable, 10, 2) == &Recorder::OnSecond);
  static_assert(!FindCommandHandler<Recorder>(kTable, 99, 0).has_value());
}

}  // namespace
}  // namespace tesmirol
