#pragma once
// Tesmirol's dialog started afresh for every test, and a bounded question to
// one of its windows.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "e2e/dialog_session.h"
#include "e2e/main_dialog.h"
#include "e2e/program_under_test.h"
#include "e2e/utf8_text.h"

namespace tesmirol::e2e {

// A message's answer, bounded so that a hung program fails the test instead
// of hanging it; 0 when no answer came.
inline LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  constexpr UINT kAnswerTimeoutMs = 10000;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, kAnswerTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

// Starts the program under test on the tests' desktop before each test;
// the session ends the program after it. Base is ::testing::Test or a
// ::testing::TestWithParam.
template <class Base = ::testing::Test>
class DialogFixture : public Base {
 protected:
  void SetUp() override {
    std::wstring failure;
    m_session = DialogSession::Start(TheProgramUnderTest().program, TheProgramUnderTest().desktop, failure);
    ASSERT_TRUE(m_session.has_value()) << Utf8(failure);
    m_dialog.emplace(*m_session);
  }

  MainDialog& Dialog() { return *m_dialog; }
  const DialogSession& Session() { return *m_session; }

 private:
  std::optional<DialogSession> m_session;
  std::optional<MainDialog> m_dialog;
};

}  // namespace tesmirol::e2e
