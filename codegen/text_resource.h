#pragma once
// Text resources carried inside the program.

#include <string>
#include <string_view>

namespace tesmirol {

// Returns the bytes of the named resource, read afresh on every call, or an
// empty text when there is no such resource. On Windows they come from the
// running executable's resources; elsewhere from bytes compiled in at build
// time from the same files. Known resources: type "TXT", name "IDR_C_FILE",
// the template of the generated initialization function (GBK, CRLF), and
// name "IDR_C_FILE_EN", its English twin (ASCII, CRLF), which on Windows
// only the executables that offer English code carry.
std::string LoadTextResource(std::string_view type, std::string_view name);

}  // namespace tesmirol
