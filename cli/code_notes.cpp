#include "cli/code_notes.h"

#include <cstddef>
#include <string_view>

namespace tesmirol::cli {
namespace {

// "// 返回:" in GBK: the header's returns line.
constexpr std::string_view kReturnsLine = "// \xB7\xB5\xBB\xD8:";

}  // namespace

std::string InsertCodeNotes(std::string code, std::span<const std::string> notes) {
  std::size_t from = 0;
  for (const std::string& note : notes) {
    std::size_t at = code.find(kReturnsLine, from);
    while (at != std::string::npos && at != 0 && code[at - 1] != '\n') {
      at = code.find(kReturnsLine, at + 1);
    }
    if (at == std::string::npos) {
      break;
    }
    std::string line;
    if (!note.empty()) {
      line = "// ";
      for (const char ch : note) {
        line += ch == '\r' || ch == '\n' ? ' ' : ch;  // a note never leaves the comment
      }
      line += "\r\n";
    }
    code.insert(at, line);
    from = at + line.size() + kReturnsLine.size();
  }
  return code;
}

}  // namespace tesmirol::cli
