#include "framework/window_subclass.h"

#include <unordered_map>

namespace tesmirol {
namespace {

// What the hook of one window calls: our procedure and its context, or, once
// the hook only passes messages on, no procedure; and the window's own.
struct Hook {
  WNDPROC original = nullptr;
  WindowSubclass::Procedure procedure = nullptr;
  void* context = nullptr;
  const WindowSubclass* owner = nullptr;
};

// The hooked windows of this thread. A window's messages are handled in the
// thread that created it, and only that thread hooks it.
std::unordered_map<HWND, Hook>& HooksOfThisThread() {
  thread_local std::unordered_map<HWND, Hook> hooks;
  return hooks;
}

// The window procedure of every hooked window. The hook is copied before the
// call, as the procedure may unhook the window; after WM_NCDESTROY the
// window is gone and its handle may come again for another window.
LRESULT CALLBACK HookedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::unordered_map<HWND, Hook>& hooks = HooksOfThisThread();
  const auto found = hooks.find(hwnd);
  if (found == hooks.end()) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  const Hook hook = found->second;
  const LRESULT result = hook.procedure != nullptr ? hook.procedure(hwnd, message, wParam, lParam, hook.context)
                                                   : CallWindowProcW(hook.original, hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    hooks.erase(hwnd);
  }
  return result;
}

// A procedure as the value of a window's GWLP_WNDPROC.
LONG_PTR ValueFromProcedure(WNDPROC procedure) noexcept {
  return reinterpret_cast<LONG_PTR>(procedure);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// A window procedure value as a procedure.
WNDPROC ProcedureFromValue(LONG_PTR value) noexcept {
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
  return reinterpret_cast<WNDPROC>(value);
}

}  // namespace

// The table learns of the hook before the window does, so that no message
// finds the hook in place and the table without it.
WindowSubclass::WindowSubclass(HWND hwnd, Procedure procedure, void* context) noexcept : m_hwnd(hwnd) {
  if (hwnd == nullptr || procedure == nullptr || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
    return;
  }
  std::unordered_map<HWND, Hook>& hooks = HooksOfThisThread();
  if (hooks.contains(hwnd)) {
    return;
  }
  const WNDPROC original = ProcedureFromValue(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (original == nullptr) {
    return;
  }
  hooks.emplace(hwnd, Hook{original, procedure, context, this});
  SetLastError(ERROR_SUCCESS);
  if (SetWindowLongPtrW(hwnd, GWLP_WNDPROC, ValueFromProcedure(&HookedWindowProc)) == 0 &&
      GetLastError() != ERROR_SUCCESS) {
    hooks.erase(hwnd);
    return;
  }
  m_original = original;
}

WindowSubclass::~WindowSubclass() {
  if (m_original == nullptr) {
    return;
  }
  std::unordered_map<HWND, Hook>& hooks = HooksOfThisThread();
  const auto found = hooks.find(m_hwnd);
  if (found == hooks.end() || found->second.owner != this) {
    return;  // the window is gone, and its handle may be another's now
  }
  if (GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC) == ValueFromProcedure(&HookedWindowProc)) {
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, ValueFromProcedure(m_original));
    hooks.erase(found);
    return;
  }
  found->second.procedure = nullptr;
  found->second.context = nullptr;
  found->second.owner = nullptr;
}

// The procedure the hook replaced, through CallWindowProcW, which also
// converts the message for a procedure that takes ANSI texts.
LRESULT WindowSubclass::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
  return CallWindowProcW(m_original, m_hwnd, message, wParam, lParam);
}

}  // namespace tesmirol
