#pragma once
// Replacing a file so that a reader never sees half of it.

#include <optional>
#include <string>
#include <string_view>

#include "engine/language.h"

namespace tesmirol::cli {

// Replaces the file at path (UTF-8) with the bytes in one step: they go into
// a temporary file in the same folder, are flushed to the disk, and the
// temporary file is renamed over the target. A run that fails or is
// interrupted leaves the old file (or none) as it was, and a failure removes
// the temporary file. Returns what went wrong (in the language, with the
// system's own reason), or nothing when the file was written.
std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes, Language language);

// Makes the folder at path (UTF-8) and the folders above it that are
// missing, as a compiler's output folder is made. Returns what went wrong
// (in the language, with the system's own reason), or nothing when the
// folder is there.
std::optional<std::string> CreateFolders(const std::string& path, Language language);

}  // namespace tesmirol::cli
