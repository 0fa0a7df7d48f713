// Text resources for builds without a resource section: the bytes of the
// resource files are compiled into the program at build time.

#include <cstddef>
#include <span>

#include "codegen/text_resource.h"

// The initialization-code template (GBK, CRLF), generated from
// codegen/sio_init_template.txt by the build.
std::span<const unsigned char> EmbeddedSioInitTemplate();

namespace tesmirol {

// Returns a fresh copy of the named resource's bytes, or an empty text for a
// type and name that the program does not carry.
std::string LoadTextResource(std::string_view type, std::string_view name) {
  if (type == "TXT" && name == "IDR_C_FILE") {
    const std::span<const unsigned char> bytes = EmbeddedSioInitTemplate();
    return {bytes.begin(), bytes.end()};
  }
  return {};
}

}  // namespace tesmirol
