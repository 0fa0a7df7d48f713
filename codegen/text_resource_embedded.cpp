// Text resources for builds without a resource section: the bytes of the
// resource files are compiled into the program at build time.

#include <cstddef>
#include <span>

#include "codegen/text_resource.h"

// The initialization-code template (GBK, CRLF) and its English twin
// (ASCII, CRLF), generated from codegen/sio_init_template.txt and
// codegen/sio_init_template.en.txt by the build.
std::span<const unsigned char> EmbeddedSioInitTemplate();
std::span<const unsigned char> EmbeddedSioInitTemplateEnglish();

namespace tesmirol {

// Returns a fresh copy of the named resource's bytes, or an empty text for a
// type and name that the program does not carry.
std::string LoadTextResource(std::string_view type, std::string_view name) {
  if (type != "TXT") {
    return {};
  }
  if (name == "IDR_C_FILE") {
    const std::span<const unsigned char> bytes = EmbeddedSioInitTemplate();
    return {bytes.begin(), bytes.end()};
  }
  if (name == "IDR_C_FILE_EN") {
    const std::span<const unsigned char> bytes = EmbeddedSioInitTemplateEnglish();
    return {bytes.begin(), bytes.end()};
  }
  return {};
}

}  // namespace tesmirol
