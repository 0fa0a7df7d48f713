#pragma once
// The pieces the generated SIO_Init of a target is put together from, read
// from codegen/target_sio_init_fragments.txt (GBK, CR LF), which the build
// compiles in. A line "@@@ name" starts the piece called name.

#include <string>
#include <string_view>

namespace tesmirol {

// The named piece with its line ends, or an empty text for an unknown name.
std::string TargetCodeFragment(std::string_view name);

// The named piece without its last line end, for texts that fill in a line.
std::string TargetCodeInline(std::string_view name);

}  // namespace tesmirol
