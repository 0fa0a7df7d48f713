// Entry of the end-to-end test program. It learns where Tesmirol.EXE is from
// the TESMIROL_EXE environment variable (CTest sets it), moves to a desktop of
// its own, and runs the tests; listing the tests needs neither.

#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <optional>
#include <string>

#include "e2e/private_desktop.h"
#include "e2e/program_path.h"
#include "e2e/program_under_test.h"

namespace tesmirol::e2e {
namespace {

ProgramUnderTest& Settings() {
  static ProgramUnderTest settings;
  return settings;
}

}  // namespace

const ProgramUnderTest& TheProgramUnderTest() { return Settings(); }

}  // namespace tesmirol::e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) {
    return RUN_ALL_TESTS();
  }

  using tesmirol::e2e::EnvironmentValue;
  const std::optional<std::wstring> program = EnvironmentValue(L"TESMIROL_EXE");
  if (!program) {
    std::cerr << "e2e: set TESMIROL_EXE to the path of Tesmirol.EXE\n";
    return 1;
  }
  const tesmirol::e2e::PrivateDesktop desktop;
  if (!desktop.IsReady()) {
    std::cerr << "e2e: cannot create a desktop for the dialogs under test\n";
    return 1;
  }
  // Window rectangles and screen pixels in the same physical units as the
  // program, which is aware of the monitor's DPI.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

  tesmirol::e2e::Settings() = {tesmirol::e2e::WindowsPath(*program), desktop.Name()};
  return RUN_ALL_TESTS();
}
