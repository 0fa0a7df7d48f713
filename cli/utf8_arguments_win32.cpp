#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>

#include "cli/utf8_arguments.h"

namespace tesmirol::cli {
namespace {

// Frees the array that CommandLineToArgvW allocates.
struct LocalFreeDeleter {
  void operator()(LPWSTR* memory) const noexcept { LocalFree(static_cast<void*>(memory)); }
};

// One argument converted from UTF-16 to UTF-8. A lone surrogate becomes
// U+FFFD, which no GBK character matches, so the argument is refused later
// with its name rather than silently changed.
std::string ToUtf8(const wchar_t* wide) {
  const int needed = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 1) {
    return {};
  }
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), needed, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  if (wide == nullptr) {
    // Without the wide command line the ANSI arguments are all there is.
    const std::span<char*> all(argv, static_cast<std::size_t>(argc));
    const auto arguments = all.subspan(all.empty() ? 0 : 1);
    return {arguments.begin(), arguments.end()};
  }
  const std::span<LPWSTR> all(wide.get(), static_cast<std::size_t>(count));
  const auto arguments = all.subspan(all.empty() ? 0 : 1);
  std::vector<std::string> utf8(arguments.size());
  std::transform(arguments.begin(), arguments.end(), utf8.begin(), ToUtf8);
  return utf8;
}

}  // namespace tesmirol::cli
