#pragma once
// The one writer of the JSON text the command line and the page read. It
// serves two faces of the same answers:
//  - the page's: doubles as the 16 hexadecimal digits of their bits, so the
//    page reads back exactly the value the engine computed, and 64-bit
//    counts as decimal strings, which JavaScript's numbers cannot all hold;
//  - the command line's: doubles as decimal digits that read back to the
//    identical double, written as tesmirol-cli's --json always wrote them
//    ("115200.0", "0.04", "1e-05"), and 64-bit counts as numbers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesmirol::answers {

// Which reader the text is for.
enum class JsonFace {
  CommandLine,
  Page,
};

class JsonWriter {
 public:
  // The page's face.
  JsonWriter() noexcept = default;
  // Either face. The command line's decimal numbers live in their own file
  // (json_decimal.cpp) with this constructor, so a program that only
  // writes the page's face (the page's module) does not carry them.
  explicit JsonWriter(JsonFace face) noexcept;

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next member of the current object.
  void Key(std::string_view name);
  // UTF-8 text.
  void String(std::string_view utf8);
  void Int(std::int64_t value);
  // A 64-bit count (a divisor, a fraction's numerator): a number for the
  // command line, a decimal string for the page.
  void Count(std::uint64_t value);
  void Bool(bool value);
  void Null();
  // A double in the face's form (bits for the page, decimal for the command line).
  void Double(double value);
  // A double as the 16 hexadecimal digits of its bits, whatever the face.
  void DoubleBits(double value);
  // A member of the current object: its name and a value of one kind.
  void StringMember(std::string_view name, std::string_view utf8);
  void IntMember(std::string_view name, std::int64_t value);
  void CountMember(std::string_view name, std::uint64_t value);
  void BoolMember(std::string_view name, bool value);
  void DoubleMember(std::string_view name, double value);

  [[nodiscard]] JsonFace Face() const noexcept { return m_face; }
  [[nodiscard]] bool ForPage() const noexcept { return m_face == JsonFace::Page; }
  [[nodiscard]] const std::string& Text() const noexcept { return m_text; }

 private:
  // A comma before every value but the first of its array or object.
  void BeforeValue();

  JsonFace m_face = JsonFace::Page;
  std::string (*m_decimal)(double) = nullptr;  // the command line's decimal numbers; none for the page
  std::string m_text;
  std::vector<bool> m_firstInLevel;
  bool m_afterKey = false;
};

// A double as the command line writes it: nlohmann's digits, which read back
// to the same double (the shortest such digits but for about one number in
// six hundred), in fixed notation with ".0" for whole values from 1e-4 up to
// below 1e15, else in exponent notation ("1e-05", "1.5e+20"); "null" for
// what JSON cannot hold (NaN, infinities).
std::string DecimalJsonNumber(double value);

// Compact JSON text from the writer laid out as the command line prints its
// documents: two spaces a level, one member or element a line, "key": value,
// empty objects and arrays as {} and [].
std::string PrettyJson(std::string_view compact);

}  // namespace tesmirol::answers
