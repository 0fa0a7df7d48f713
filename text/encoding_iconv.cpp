// Conversions to and from GBK through iconv (Linux, macOS).
//
// The GBK side is iconv's "CP936": glibc's table for the Windows code page,
// which agrees with Windows on the double-byte characters the program's texts
// use and, like Windows, reads the single byte 0x80 as the euro sign. Where
// the two systems' tables differ (user-defined areas, the byte 0xFF) iconv
// reports the bytes as invalid, which gives no result rather than a guess.
//
// The UTF-16 side is UTF-16 in the machine's own byte order, so that a
// std::u16string's code units go through unchanged and no byte-order mark is
// read or written.

#include "text/encoding.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tesmirol::text {
namespace {

constexpr const char* kGbkName = "CP936";
constexpr const char* kUtf8Name = "UTF-8";
constexpr const char* kUtf16Name = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
// What iconv returns when it fails: (size_t) -1, as its manual writes it.
constexpr std::size_t kIconvFailed = static_cast<std::size_t>(-1);

// One iconv descriptor for one direction, opened on first use and closed when
// its thread ends. Upper-casing converts each double-byte character of the
// crystal text, so opening a descriptor per call would dominate its cost.
class IconvConverter {
 public:
  IconvConverter(const char* toName, const char* fromName) noexcept : m_descriptor(iconv_open(toName, fromName)) {}

  ~IconvConverter() {
    if (IsOpen()) {
      iconv_close(m_descriptor);
    }
  }

  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;
  IconvConverter(IconvConverter&&) = delete;
  IconvConverter& operator=(IconvConverter&&) = delete;

  // Converts the bytes in full, or gives no result when iconv cannot: an
  // invalid or truncated input sequence, a character the target lacks, or
  // any conversion iconv itself counts as not reversible.
  [[nodiscard]] std::optional<std::string> Convert(std::string_view input) const {
    if (!IsOpen()) {
      return std::nullopt;
    }
    // Forget any shift state a failed earlier call may have left behind.
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);

    std::string output;
    // Every conversion here needs at most four output bytes per input
    // byte; growing on E2BIG covers anything unforeseen.
    output.resize(input.size() * 4 + 4);

    // iconv's interface takes a non-const input pointer but never writes
    // through it.
    char* in = const_cast<char*>(input.data());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
    std::size_t inLeft = input.size();
    std::size_t used = 0;
    while (true) {
      char* out = output.data() + used;
      std::size_t outLeft = output.size() - used;
      const std::size_t result = iconv(m_descriptor, &in, &inLeft, &out, &outLeft);
      used = output.size() - outLeft;
      if (result != kIconvFailed) {
        if (result != 0) {
          return std::nullopt;
        }
        break;
      }
      if (errno != E2BIG) {
        return std::nullopt;
      }
      output.resize(output.size() * 2);
    }

    // Flush any final shift sequence (none for these encodings, but the
    // call is how iconv finishes a conversion).
    while (true) {
      char* out = output.data() + used;
      std::size_t outLeft = output.size() - used;
      const std::size_t result = iconv(m_descriptor, nullptr, nullptr, &out, &outLeft);
      used = output.size() - outLeft;
      if (result != kIconvFailed) {
        break;
      }
      if (errno != E2BIG) {
        return std::nullopt;
      }
      output.resize(output.size() * 2);
    }

    output.resize(used);
    return output;
  }

 private:
  [[nodiscard]] bool IsOpen() const noexcept { return m_descriptor != reinterpret_cast<iconv_t>(-1); }  // NOLINT

  iconv_t m_descriptor;
};

// True when the text holds a Unicode tag character (U+E0000 to U+E007F).
// glibc's iconv drops these without a word instead of reporting them as
// characters GBK lacks, so they are refused before conversion: a dropped
// character would change the user's text behind their back.
bool HoldsTagCharacter(std::string_view utf8) noexcept {
  // UTF-8 of U+E0000..U+E007F: F3 A0 80 80 .. F3 A0 81 BF.
  for (std::size_t pos = utf8.find("\xF3\xA0"); pos != std::string_view::npos; pos = utf8.find("\xF3\xA0", pos + 1)) {
    if (pos + 2 < utf8.size() && (utf8[pos + 2] == '\x80' || utf8[pos + 2] == '\x81')) {
      return true;
    }
  }
  return false;
}

// The same for UTF-16: the surrogate pairs DB40 DC00 .. DB40 DC7F.
bool HoldsTagCharacter(std::u16string_view utf16) noexcept {
  for (std::size_t pos = utf16.find(u'\xDB40'); pos != std::u16string_view::npos;
       pos = utf16.find(u'\xDB40', pos + 1)) {
    if (pos + 1 < utf16.size() && utf16[pos + 1] >= u'\xDC00' && utf16[pos + 1] <= u'\xDC7F') {
      return true;
    }
  }
  return false;
}

// The descriptors of the calling thread, one per direction.
struct ThreadConverters {
  IconvConverter utf8ToGbk{kGbkName, kUtf8Name};
  IconvConverter gbkToUtf8{kUtf8Name, kGbkName};
  IconvConverter utf16ToGbk{kGbkName, kUtf16Name};
  IconvConverter gbkToUtf16{kUtf16Name, kGbkName};
};

// The calling thread's converters; each thread has its own because an iconv
// descriptor carries conversion state and must not be shared.
ThreadConverters& Converters() {
  thread_local ThreadConverters converters;
  return converters;
}

}  // namespace

// UTF-8 (command-line arguments) to GBK.
std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  if (utf8.empty()) {
    return std::string();
  }
  if (HoldsTagCharacter(utf8)) {
    return std::nullopt;
  }
  return Converters().utf8ToGbk.Convert(utf8);
}

// GBK to UTF-8 (terminal output).
std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) {
    return std::string();
  }
  return Converters().gbkToUtf8.Convert(gbk);
}

// UTF-16 code units to GBK.
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16) {
  if (utf16.empty()) {
    return std::string();
  }
  if (HoldsTagCharacter(utf16)) {
    return std::nullopt;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(utf16.data()),  // NOLINT
                               utf16.size() * sizeof(char16_t));
  return Converters().utf16ToGbk.Convert(bytes);
}

// GBK to UTF-16 code units.
std::optional<std::u16string> GbkToUtf16(std::string_view gbk) {
  if (gbk.empty()) {
    return std::u16string();
  }
  const std::optional<std::string> bytes = Converters().gbkToUtf16.Convert(gbk);
  if (!bytes || bytes->size() % sizeof(char16_t) != 0) {
    return std::nullopt;
  }
  std::u16string utf16(bytes->size() / sizeof(char16_t), u'\0');
  std::memcpy(utf16.data(), bytes->data(), bytes->size());
  return utf16;
}

}  // namespace tesmirol::text
