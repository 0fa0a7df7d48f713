#include "codegen/target_code_fragments.h"

#include <algorithm>
#include <cstddef>
#include <span>

// The bytes of codegen/target_sio_init_fragments.txt, compiled in by the build.
std::span<const unsigned char> EmbeddedTargetSioInitFragments();

namespace tesmirol {
namespace {

constexpr std::string_view kMarker = "@@@ ";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view AllFragments() {
  const std::span<const unsigned char> bytes = EmbeddedTargetSioInitFragments();
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the bytes are the file's characters
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

// Finds the marker line "@@@ name" at a line start and returns what follows
// it up to the next marker line.
std::string TargetCodeFragment(std::string_view name) {
  const std::string_view all = AllFragments();
  std::size_t lineStart = 0;
  while (lineStart < all.size()) {
    std::size_t lineEnd = all.find(kLineEnd, lineStart);
    if (lineEnd == std::string_view::npos) {
      lineEnd = all.size();
    }
    const std::string_view line = all.substr(lineStart, lineEnd - lineStart);
    const std::size_t next = lineEnd + kLineEnd.size();
    if (line.starts_with(kMarker) && line.substr(kMarker.size()) == name) {
      std::size_t pieceEnd = next;
      while (pieceEnd < all.size() && !all.substr(pieceEnd).starts_with(kMarker)) {
        const std::size_t end = all.find(kLineEnd, pieceEnd);
        pieceEnd = end == std::string_view::npos ? all.size() : end + kLineEnd.size();
      }
      return std::string(all.substr(next, pieceEnd - std::min(next, pieceEnd)));
    }
    lineStart = next;
  }
  return {};
}

std::string TargetCodeInline(std::string_view name) {
  std::string piece = TargetCodeFragment(name);
  if (piece.ends_with(kLineEnd)) {
    piece.resize(piece.size() - kLineEnd.size());
  }
  return piece;
}

}  // namespace tesmirol
