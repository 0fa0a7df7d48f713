#pragma once
// Where the programs under test are: the build names them with Linux paths,
// and the Windows side needs drive paths.

#include <optional>
#include <string>

namespace tesmirol::e2e {

// The value of an environment variable, or no result when it is unset or empty.
std::optional<std::wstring> EnvironmentValue(const wchar_t* name);

// The Windows form of a path: under Wine an absolute Linux path ("/home/me/...")
// becomes the drive path that Wine maps it to; any other path stays as it is.
std::wstring WindowsPath(const std::wstring& path);

}  // namespace tesmirol::e2e
