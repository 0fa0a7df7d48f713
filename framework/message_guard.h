#pragma once
// The boundary between Win32 and the program's message handlers: nothing may
// unwind into the system's code that called the window procedure.

#include <windows.h>

#include <utility>

namespace tesmirol {

// Puts the window right after a handler failed and shows the out-of-memory
// box: a failed paint is validated first, so that the same paint is not asked
// for again behind the box.
void RecoverFromFailedMessage(HWND hwnd, UINT message) noexcept;

// Runs the handling of one message and returns its result; when it throws
// (the program throws nothing of its own, so that is memory running out in
// the standard library), reports it and returns fallback. The program keeps
// running.
template <class Work>
auto GuardMessage(HWND hwnd, UINT message, decltype(std::declval<Work>()()) fallback, Work&& work) noexcept {
  try {
    return std::forward<Work>(work)();
  } catch (...) {
    RecoverFromFailedMessage(hwnd, message);
    return fallback;
  }
}

}  // namespace tesmirol
