// Stands in for the program that the system associates with the manual: the
// end-to-end tests register it for .chm files, and it appends the document it
// was asked to open, one UTF-8 line per start, to the file named by the
// TESMIROL_OPEN_LOG environment variable. It shows nothing.

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace {

// Frees what CommandLineToArgvW allocated.
struct LocalMemoryFree {
  void operator()(wchar_t** memory) const noexcept { LocalFree(static_cast<void*>(memory)); }
};

// The value of an environment variable, or empty.
std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value(MAX_PATH, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  value.resize(length < value.size() ? length : 0);
  return value;
}

// The text in UTF-8.
std::string Utf8(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  const std::wstring logPath = EnvironmentValue(L"TESMIROL_OPEN_LOG");
  if (logPath.empty()) {
    return 2;
  }
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalMemoryFree> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  const std::span<wchar_t*> argumentList(arguments.get(), arguments ? static_cast<std::size_t>(count) : 0);
  const std::wstring document = argumentList.size() > 1 ? std::wstring(argumentList[1]) : std::wstring();

  HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) {
    return 3;
  }
  const std::string line = Utf8(document) + "\n";
  DWORD written = 0;
  const BOOL ok = WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return ok != FALSE && written == line.size() ? 0 : 3;
}
