#pragma once
// The manual: a compiled HTML help document carried in the executable's
// resources, opened from a file beside the executable with whatever program
// the system associates with such documents.

#include <optional>
#include <string>

namespace tesmirol {

// The manual's file, in the executable's directory.
inline constexpr const wchar_t* kManualFileName = L"QuelvanHelp.chm";

// The resource that holds the manual's bytes.
inline constexpr const wchar_t* kManualResourceType = L"CHM";
inline constexpr const wchar_t* kManualResourceName = L"IDR_CHM_HELP";

// The drive and directory of the running executable, ending in the path
// separator, or no result when the system cannot give its path.
std::optional<std::wstring> GetModuleDirectory();

// Asks the system shell to open file with its default action, with no owner
// window; parameters and directory may be empty. True when the shell started
// something for it.
bool OpenWithShell(const std::wstring& file, int showCommand, const std::wstring& parameters,
                   const std::wstring& directory) noexcept;

// Writes the bytes of the named resource of the running executable to the
// file at path, creating or truncating it. False when the resource is missing
// or empty, or when the file cannot be opened (nothing is shown), or when the
// write fails: then the framework's file-error box is shown and the partial
// file is removed.
bool ExtractResourceToFile(const std::wstring& path, const wchar_t* type, const wchar_t* name);

}  // namespace tesmirol
