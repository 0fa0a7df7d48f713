#include "web/bridge/json_writer.h"

#include <array>
#include <bit>

namespace tesmirol::web {

void JsonWriter::BeforeValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (!m_firstInLevel.empty()) {
    if (!m_firstInLevel.back()) {
      m_text += ',';
    }
    m_firstInLevel.back() = false;
  }
}

void JsonWriter::BeginObject() {
  BeforeValue();
  m_text += '{';
  m_firstInLevel.push_back(true);
}

void JsonWriter::EndObject() {
  m_text += '}';
  m_firstInLevel.pop_back();
}

void JsonWriter::BeginArray() {
  BeforeValue();
  m_text += '[';
  m_firstInLevel.push_back(true);
}

void JsonWriter::EndArray() {
  m_text += ']';
  m_firstInLevel.pop_back();
}

void JsonWriter::Key(std::string_view name) {
  String(name);
  m_text += ':';
  m_afterKey = true;
}

// Quotes and backslashes escaped, control characters as \u00XX; everything
// else (valid UTF-8 from the GBK conversion) goes through as it is.
void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  constexpr std::string_view kHex = "0123456789abcdef";
  m_text += '"';
  // Runs of characters that need no escape go in whole.
  std::size_t runStart = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte >= 0x20 && byte != '"' && byte != '\\') {
      continue;
    }
    m_text.append(utf8.substr(runStart, pos - runStart));
    runStart = pos + 1;
    if (byte >= 0x20) {
      m_text += '\\';
      m_text += static_cast<char>(byte);
    } else {
      m_text += "\\u00";
      m_text += kHex[byte >> 4U];
      m_text += kHex[byte & 0xFU];
    }
  }
  m_text.append(utf8.substr(runStart));
  m_text += '"';
}

void JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  m_text += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  m_text += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeforeValue();
  m_text += "null";
}

void JsonWriter::DoubleBits(double value) {
  BeforeValue();
  constexpr std::string_view kHex = "0123456789abcdef";
  const auto bits = std::bit_cast<std::uint64_t>(value);
  std::array<char, 16> digits{};
  for (std::size_t index = 0; index < digits.size(); ++index) {
    digits.at(index) = kHex[(bits >> (60U - 4U * index)) & 0xFU];
  }
  m_text += '"';
  m_text.append(digits.data(), digits.size());
  m_text += '"';
}

}  // namespace tesmirol::web
