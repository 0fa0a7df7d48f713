#include "e2e/clipboard_text.h"

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

namespace tesmirol::e2e {
namespace {

// Another program may hold the clipboard for a moment (Wine's own clipboard
// manager does when it mirrors a change to X); try again for a while.
bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr) != FALSE) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// Closes the clipboard at the end of the scope.
class OpenedClipboard {
 public:
  OpenedClipboard() : m_open(OpenClipboardPatiently()) {}
  ~OpenedClipboard() {
    if (m_open) {
      CloseClipboard();
    }
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  OpenedClipboard(OpenedClipboard&&) = delete;
  OpenedClipboard& operator=(OpenedClipboard&&) = delete;

  [[nodiscard]] bool IsOpen() const noexcept { return m_open; }

 private:
  bool m_open;
};

// Keeps a global memory block locked until the end of the scope.
class LockedMemory {
 public:
  explicit LockedMemory(HGLOBAL memory) noexcept : m_memory(memory), m_data(GlobalLock(memory)) {}
  ~LockedMemory() {
    if (m_data != nullptr) {
      GlobalUnlock(m_memory);
    }
  }
  LockedMemory(const LockedMemory&) = delete;
  LockedMemory& operator=(const LockedMemory&) = delete;
  LockedMemory(LockedMemory&&) = delete;
  LockedMemory& operator=(LockedMemory&&) = delete;

  [[nodiscard]] const void* Data() const noexcept { return m_data; }

 private:
  HGLOBAL m_memory;
  void* m_data;
};

}  // namespace

bool EmptyClipboardNow() {
  const OpenedClipboard clipboard;
  return clipboard.IsOpen() && EmptyClipboard() != FALSE;
}

std::optional<std::wstring> ClipboardText() {
  const OpenedClipboard clipboard;
  if (!clipboard.IsOpen()) {
    return std::nullopt;
  }
  auto* memory = static_cast<HGLOBAL>(GetClipboardData(CF_UNICODETEXT));
  if (memory == nullptr) {
    return std::nullopt;
  }
  const LockedMemory locked(memory);
  if (locked.Data() == nullptr) {
    return std::nullopt;
  }
  // The text ends at its terminating zero, which may come before the end of
  // the block.
  const std::size_t capacity = GlobalSize(memory) / sizeof(wchar_t);
  const auto* text = static_cast<const wchar_t*>(locked.Data());
  std::size_t length = 0;
  while (length < capacity && text[length] != L'\0') {  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic)
    ++length;
  }
  return std::wstring(text, length);
}

}  // namespace tesmirol::e2e
