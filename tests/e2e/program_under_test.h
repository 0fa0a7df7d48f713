#pragma once
// Which program the end-to-end tests start, and on which desktop; set once by
// the test program's main before any test runs.

#include <string>

namespace tesmirol::e2e {

struct ProgramUnderTest {
  std::wstring program;  // Windows path of Tesmirol.EXE
  std::wstring desktop;  // the test's own desktop, passed to each start
};

const ProgramUnderTest& TheProgramUnderTest();

}  // namespace tesmirol::e2e
