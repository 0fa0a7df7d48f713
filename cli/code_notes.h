#pragma once
// Note lines in the generated code's header comments: the line recording
// the serial link's verdict, put where the code generator keeps room for
// such notes, right before a function header's returns line ("// 返回:").
// The generator takes such notes itself once it has a parameter for them;
// until then the command line puts them in.

#include <span>
#include <string>

namespace tesmirol::cli {

// The GBK code with notes[i] as a comment line "// " + notes[i] (CR LF)
// before the i-th function header's returns line; a note without a header
// to go to is left out, an empty note adds nothing.
std::string InsertCodeNotes(std::string code, std::span<const std::string> notes);

}  // namespace tesmirol::cli
