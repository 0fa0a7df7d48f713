#pragma once
// The running executable's path and the names derived from it: the caption
// of the framework's message boxes and the path of the help file.

#include <optional>
#include <string>
#include <string_view>

namespace tesmirol {

// The file name of a path without its directory and without its extension:
// "C:\\Tools\\Tesmirol.EXE" gives "Tesmirol". A dot that begins the name is
// part of the name, not an extension.
std::wstring_view FileBaseName(std::wstring_view path) noexcept;

// The drive and directory of a path, ending in its separator:
// "C:\\Tools\\Tesmirol.EXE" gives "C:\\Tools\\". A path with no directory
// gives its drive ("C:") or nothing.
std::wstring_view FileDirectory(std::wstring_view path) noexcept;

// The path with its file's extension replaced by extension (which includes
// its dot), or with extension appended when the file has none.
std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view extension);

// The full path of the running executable, or no result when the system
// cannot give it.
std::optional<std::wstring> ExecutablePath();

}  // namespace tesmirol
