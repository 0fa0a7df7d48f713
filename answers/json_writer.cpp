#include "answers/json_writer.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace tesmirol::answers {

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

// Quotes and backslashes escaped, the usual control characters by their
// short escapes and the others as \u00XX; everything else (valid UTF-8 from
// the GBK conversion) goes through as it is.
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
    m_text += '\\';
    switch (byte) {
      case '"':
      case '\\':
        m_text += static_cast<char>(byte);
        break;
      case '\b':
        m_text += 'b';
        break;
      case '\f':
        m_text += 'f';
        break;
      case '\n':
        m_text += 'n';
        break;
      case '\r':
        m_text += 'r';
        break;
      case '\t':
        m_text += 't';
        break;
      default:
        m_text += "u00";
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

void JsonWriter::Count(std::uint64_t value) {
  BeforeValue();
  if (ForPage()) {
    m_text += '"';
    m_text += std::to_string(value);
    m_text += '"';
  } else {
    m_text += std::to_string(value);
  }
}

void JsonWriter::Double(double value) {
  if (m_decimal == nullptr) {
    DoubleBits(value);
    return;
  }
  BeforeValue();
  m_text += m_decimal(value);
}

void JsonWriter::StringMember(std::string_view name, std::string_view utf8) {
  Key(name);
  String(utf8);
}

void JsonWriter::IntMember(std::string_view name, std::int64_t value) {
  Key(name);
  Int(value);
}

void JsonWriter::CountMember(std::string_view name, std::uint64_t value) {
  Key(name);
  Count(value);
}

void JsonWriter::BoolMember(std::string_view name, bool value) {
  Key(name);
  Bool(value);
}

void JsonWriter::DoubleMember(std::string_view name, double value) {
  Key(name);
  Double(value);
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

std::string PrettyJson(std::string_view compact) {
  std::string text;
  text.reserve(compact.size() * 2);
  std::size_t depth = 0;
  bool inString = false;
  const auto newLine = [&text, &depth] {
    text += '\n';
    text.append(depth * 2, ' ');
  };
  for (std::size_t pos = 0; pos < compact.size(); ++pos) {
    const char c = compact[pos];
    if (inString) {
      text += c;
      if (c == '\\' && pos + 1 < compact.size()) {
        text += compact[++pos];
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    const bool opens = c == '{' || c == '[';
    const bool closes = c == '}' || c == ']';
    if (opens && pos + 1 < compact.size() && (compact[pos + 1] == '}' || compact[pos + 1] == ']')) {
      text += c;  // empty: "{}", "[]"
      text += compact[++pos];
      continue;
    }
    if (closes) {
      --depth;
      newLine();
    }
    text += c;
    if (opens) {
      ++depth;
      newLine();
    } else if (c == ',') {
      newLine();
    } else if (c == ':') {
      text += ' ';
    } else if (c == '"') {
      inString = true;
    }
  }
  return text;
}

}  // namespace tesmirol::answers
