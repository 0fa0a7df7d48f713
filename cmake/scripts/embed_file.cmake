# Writes OUTPUT, a C++ source whose function SYMBOL() returns the bytes of
# INPUT.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}"
"// Generated from ${INPUT}; do not edit.
#include <array>
#include <span>

std::span<const unsigned char> ${SYMBOL}();

namespace {
const std::array<unsigned char, ${size}> kBytes = {
    ${bytes}
};
}  // namespace

std::span<const unsigned char> ${SYMBOL}() { return kBytes; }
")
