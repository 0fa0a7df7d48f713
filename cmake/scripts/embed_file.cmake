# Writes OUTPUT, a C++ source holding the bytes of INPUT as the array SYMBOL.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n  " bytes "${bytes}")
if(size EQUAL 0)
  set(bytes "0x00")
endif()
file(WRITE "${OUTPUT}"
"// Generated from ${INPUT}; do not edit.
#include <cstddef>

extern const unsigned char ${SYMBOL}[];
extern const std::size_t ${SYMBOL}Size;

const unsigned char ${SYMBOL}[] = {
  ${bytes}
};
const std::size_t ${SYMBOL}Size = ${size};
")
