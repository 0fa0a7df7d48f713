#include <array>
#include <cmath>
#include <string>

#include <nlohmann/detail/conversions/to_chars.hpp>

#include "answers/json_writer.h"

// The command line's face of the JSON writer, apart from the writer itself:
// its decimal numbers come from nlohmann's formatting, whose tables the
// page's module, writing doubles as bits, leaves out by never naming this
// constructor.

namespace tesmirol::answers {

JsonWriter::JsonWriter(JsonFace face) noexcept : m_face(face) {
  if (face == JsonFace::CommandLine) {
    m_decimal = &DecimalJsonNumber;
  }
}

std::string DecimalJsonNumber(double value) {
  if (!std::isfinite(value)) {
    return "null";
  }
  // nlohmann's own digits and layout: tesmirol-cli --json has always printed
  // its doubles with them. The shortest digits of the C++ library differ
  // from them in one number of some six hundred (a seventeenth digit half way
  // between two that both read back, rounded the other way; or a digit
  // fewer), which would change the bytes of documents users compare.
  std::array<char, 64> buffer{};
  char* end = nlohmann::detail::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return {buffer.data(), end};
}

}  // namespace tesmirol::answers
