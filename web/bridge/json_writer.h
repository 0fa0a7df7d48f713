#pragma once
// A small writer of JSON text for the bridge's answers to the page. Doubles
// are written as the 16 hexadecimal digits of their bits, so the page reads
// back exactly the value the engine computed (no decimal rounding on either
// side, and no float-printing code in the module).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesmirol::web {

class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next member of the current object.
  void Key(std::string_view name);
  // UTF-8 text.
  void String(std::string_view utf8);
  void Int(std::int64_t value);
  void Bool(bool value);
  void Null();
  void DoubleBits(double value);

  [[nodiscard]] const std::string& Text() const noexcept { return m_text; }

 private:
  // A comma before every value but the first of its array or object.
  void BeforeValue();

  std::string m_text;
  std::vector<bool> m_firstInLevel;
  bool m_afterKey = false;
};

}  // namespace tesmirol::web
