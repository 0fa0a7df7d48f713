#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

#include "answers/json_writer.h"

// The command line's face of the JSON writer, apart from the writer itself:
// its decimal numbers come from the C++ library's shortest formatting, whose
// tables (some 100 KB) the page's module, writing doubles as bits, leaves out
// by never naming this constructor.

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
  if (value == 0.0) {
    return std::signbit(value) ? "-0.0" : "0.0";
  }
  // The shortest digits and their exponent: "-d.ddde+XX".
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific);
  const std::string_view scientific(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  const std::size_t e = scientific.find('e');
  std::string text(value < 0 ? "-" : "");
  std::string digits;
  for (const char c : scientific.substr(0, e)) {
    if (c >= '0' && c <= '9') {
      digits += c;
    }
  }
  // The exponent after "e": to_chars writes its sign, which from_chars takes only as "-".
  std::string_view exponentText = scientific.substr(e + 1);
  if (exponentText.front() == '+') {
    exponentText.remove_prefix(1);
  }
  int exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  const int count = static_cast<int>(digits.size());
  const int point = exponent + 1;  // where the decimal point goes among the digits
  constexpr int kLowestFixed = -3;
  constexpr int kHighestFixed = 15;
  const auto size = [](int length) { return static_cast<std::size_t>(length); };
  if (count <= point && point <= kHighestFixed) {
    text.append(digits).append(size(point - count), '0').append(".0");
  } else if (point > 0 && point <= kHighestFixed) {
    text.append(digits, 0, size(point)).append(1, '.').append(digits, size(point));
  } else if (point >= kLowestFixed && point <= 0) {
    text.append("0.").append(size(-point), '0').append(digits);
  } else {
    text.append(1, digits.front());
    if (count > 1) {
      text.append(1, '.').append(digits, 1);
    }
    const int shown = point - 1;
    text.append(shown < 0 ? "e-" : "e+");
    const int magnitude = shown < 0 ? -shown : shown;
    if (magnitude < 10) {
      text.append(1, '0');
    }
    text.append(std::to_string(magnitude));
  }
  return text;
}

}  // namespace tesmirol::answers
