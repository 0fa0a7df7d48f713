#pragma once
// The pieces the generated SIO_Init of a target is put together from, read
// from codegen/target_sio_init_fragments.txt (GBK, CR LF, Chinese comments)
// or its English twin target_sio_init_fragments.en.txt (ASCII, CR LF),
// which the build compiles in. A line "@@@ name" starts the piece called
// name; both files hold the same pieces with the same code lines.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "engine/language.h"

namespace tesmirol {

// The named piece in the language, with its line ends, or an empty text for
// an unknown name.
std::string TargetCodeFragment(std::string_view name, Language language = Language::Chinese);

// The named piece without its last line end, for texts that fill in a line.
std::string TargetCodeInline(std::string_view name, Language language = Language::Chinese);

// The pieces of a text in the same form (GBK, CR LF, "@@@ name" lines) by name, found once: looking a piece up is then
// a search of the names, not of the text.
class FragmentTable {
 public:
  explicit FragmentTable(std::string_view all);
  // The named piece with its line ends, or an empty text.
  [[nodiscard]] std::string_view Find(std::string_view name) const;

 private:
  std::map<std::string, std::string_view, std::less<>> m_pieces;
};

// What each "<NAME>" of a piece is replaced with.
using TextFills = std::map<std::string, std::string, std::less<>>;

// Replaces every "<NAME>" whose NAME has a fill, in one pass: text that a
// fill brings in (a crystal typed as "<RELOAD>") is never filled again, and
// other angle brackets ("<8051.h>") stay as they are.
std::string FillText(std::string_view piece, const TextFills& fills);

}  // namespace tesmirol
