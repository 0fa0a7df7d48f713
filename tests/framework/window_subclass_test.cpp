#include "framework/window_subclass.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tesmirol {
namespace {

// What our procedure saw; it passes every message on.
struct Seen {
  std::vector<UINT> messages;
  std::optional<WindowSubclass> hook;
};

LRESULT Record(HWND /*hwnd*/, UINT message, WPARAM wParam, LPARAM lParam, void* context) {
  auto* seen = static_cast<Seen*>(context);
  seen->messages.push_back(message);
  return seen->hook->CallOriginal(message, wParam, lParam);
}

// A static control, which stores its text itself, on no screen.
HWND NewWindow() {
  return CreateWindowExW(0, L"Static", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::wstring TextOf(HWND window) {
  std::wstring text(64, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool Saw(const Seen& seen, UINT message) {
  return std::find(seen.messages.begin(), seen.messages.end(), message) != seen.messages.end();
}

// A second, foreign hook set with SetWindowLongPtrW above ours.
WNDPROC g_belowForeign = nullptr;
int g_foreignCalls = 0;
LRESULT CALLBACK ForeignHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_foreignCalls;
  return CallWindowProcW(g_belowForeign, hwnd, message, wParam, lParam);
}

TEST(WindowSubclass, SeesTheMessagesFirstAndPassesThemOn) {
  HWND window = NewWindow();
  ASSERT_NE(window, nullptr);
  const auto own = GetWindowLongPtrW(window, GWLP_WNDPROC);
  Seen seen;
  seen.hook.emplace(window, &Record, &seen);
  ASSERT_TRUE(seen.hook->Installed());
  EXPECT_FALSE(WindowSubclass(window, &Record, &seen).Installed()) << "a second hook on the same window";

  SetWindowTextW(window, L"stored");
  EXPECT_TRUE(Saw(seen, WM_SETTEXT));
  EXPECT_EQ(TextOf(window), L"stored") << "the window's own procedure did not get the text";

  seen.hook.reset();
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), own) << "the window's own procedure is not back";
  seen.messages.clear();
  SetWindowTextW(window, L"again");
  EXPECT_TRUE(seen.messages.empty());
  EXPECT_EQ(TextOf(window), L"again");
  DestroyWindow(window);
}

// Our hook goes while a foreign one sits above it: the chain stays whole,
// our procedure sees nothing more, and the window's end clears our part.
TEST(WindowSubclass, PassesMessagesOnWhenUnhookedBelowAnotherHook) {
  HWND window = NewWindow();
  ASSERT_NE(window, nullptr);
  Seen seen;
  seen.hook.emplace(window, &Record, &seen);
  ASSERT_TRUE(seen.hook->Installed());
  g_belowForeign =
      reinterpret_cast<WNDPROC>(  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
          SetWindowLongPtrW(
              window, GWLP_WNDPROC,
              reinterpret_cast<LONG_PTR>(&ForeignHook)));  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
  seen.hook.reset();
  seen.messages.clear();
  g_foreignCalls = 0;

  SetWindowTextW(window, L"through the chain");
  EXPECT_GT(g_foreignCalls, 0);
  EXPECT_TRUE(seen.messages.empty());
  EXPECT_EQ(TextOf(window), L"through the chain");
  EXPECT_TRUE(DestroyWindow(window));
}

// The window is destroyed under the hook: the procedure sees the end, and
// the hook, dying later, touches nothing; a new window is hooked afresh.
TEST(WindowSubclass, OutlivesItsWindow) {
  Seen seen;
  HWND window = NewWindow();
  ASSERT_NE(window, nullptr);
  seen.hook.emplace(window, &Record, &seen);
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(Saw(seen, WM_NCDESTROY));
  seen.hook.reset();

  HWND next = NewWindow();
  ASSERT_NE(next, nullptr);
  Seen nextSeen;
  nextSeen.hook.emplace(next, &Record, &nextSeen);
  EXPECT_TRUE(nextSeen.hook->Installed());
  SetWindowTextW(next, L"x");
  EXPECT_TRUE(Saw(nextSeen, WM_SETTEXT));
  nextSeen.hook.reset();
  DestroyWindow(next);
}

TEST(WindowSubclass, DoesNotHookAWindowOfAnotherThread) {
  HWND window = NewWindow();
  ASSERT_NE(window, nullptr);
  bool installed = true;
  std::thread([&] {
    Seen seen;
    installed = WindowSubclass(window, &Record, &seen).Installed();
  }).join();
  EXPECT_FALSE(installed);
  DestroyWindow(window);
}

}  // namespace
}  // namespace tesmirol
