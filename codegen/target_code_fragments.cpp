#include "codegen/target_code_fragments.h"

#include <algorithm>
#include <cstddef>
#include <span>

// The bytes of codegen/target_sio_init_fragments.txt and of its English twin
// target_sio_init_fragments.en.txt, compiled in by the build.
std::span<const unsigned char> EmbeddedTargetSioInitFragments();
std::span<const unsigned char> EmbeddedTargetSioInitFragmentsEnglish();

namespace tesmirol {
namespace {

constexpr std::string_view kMarker = "@@@ ";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view AsText(std::span<const unsigned char> bytes) {
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the bytes are the file's characters
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::string TargetCodeFragment(std::string_view name, Language language) {
  static const FragmentTable chinese(AsText(EmbeddedTargetSioInitFragments()));
  static const FragmentTable english(AsText(EmbeddedTargetSioInitFragmentsEnglish()));
  return std::string((language == Language::English ? english : chinese).Find(name));
}

FragmentTable::FragmentTable(std::string_view all) {
  std::size_t lineStart = 0;
  std::string_view name;
  std::size_t pieceStart = 0;
  while (lineStart < all.size()) {
    std::size_t lineEnd = all.find(kLineEnd, lineStart);
    if (lineEnd == std::string_view::npos) {
      lineEnd = all.size();
    }
    const std::string_view line = all.substr(lineStart, lineEnd - lineStart);
    const std::size_t next = std::min(all.size(), lineEnd + kLineEnd.size());
    if (line.starts_with(kMarker)) {
      if (!name.empty()) {
        m_pieces.emplace(std::string(name), all.substr(pieceStart, lineStart - pieceStart));
      }
      name = line.substr(kMarker.size());
      pieceStart = next;
    }
    lineStart = next;
  }
  if (!name.empty()) {
    m_pieces.emplace(std::string(name), all.substr(pieceStart));
  }
}

std::string_view FragmentTable::Find(std::string_view name) const {
  const auto piece = m_pieces.find(name);
  return piece == m_pieces.end() ? std::string_view{} : piece->second;
}

std::string TargetCodeInline(std::string_view name, Language language) {
  std::string piece = TargetCodeFragment(name, language);
  if (piece.ends_with(kLineEnd)) {
    piece.resize(piece.size() - kLineEnd.size());
  }
  return piece;
}

std::string FillText(std::string_view piece, const TextFills& fills) {
  std::string out;
  std::size_t pos = 0;
  while (pos < piece.size()) {
    const std::size_t open = piece.find('<', pos);
    if (open == std::string_view::npos) {
      break;
    }
    const std::size_t close = piece.find('>', open + 1);
    if (close == std::string_view::npos) {
      break;
    }
    const auto fill = fills.find(piece.substr(open + 1, close - open - 1));
    if (fill == fills.end()) {
      out.append(piece.substr(pos, open + 1 - pos));
      pos = open + 1;
      continue;
    }
    out.append(piece.substr(pos, open - pos)).append(fill->second);
    pos = close + 1;
  }
  out.append(piece.substr(pos));
  return out;
}

}  // namespace tesmirol
