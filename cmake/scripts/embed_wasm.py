#!/usr/bin/env python3
"""Writes a script that hands the page the bytes of its WebAssembly module.

Browsers refuse to fetch a .wasm file from a page opened straight from disk
(file://), but they run scripts from there; so the module travels inside a
script, gzip-compressed (by zopfli, whose gzip streams are some 4 % smaller
than zlib's at its best) and the page unpacks it with the browser's
DecompressionStream.

The compressed bytes are written fifteen bits to a character, as one string
in a script stored as UTF-16 (little-endian, with a byte order mark): two
bytes of script carry fifteen bits, where base64 in ASCII carries twelve.
Browsers read a script by its byte order mark before anything a host
declares, so it reads the same from disk and from any server. Fifteen bits
never make a surrogate; the characters a string literal cannot hold as
they are (the quote, the backslash, the line ends) are escaped. The
fifteen-bit groups run from the first byte's high bit on; the last group is
filled with zero bits, which may make a byte more: the script gives the
number of bytes beside the text.
The same module gives the same script.

    embed_wasm.py ZOPFLI MODULE.wasm OUTPUT.js
"""
import subprocess
import sys

BITS = 15
ESCAPES = {0x22: '\\"', 0x5C: "\\\\", 0x0A: "\\n", 0x0D: "\\r", 0x2028: "\\u2028", 0x2029: "\\u2029"}


def packed_text(data):
    """The bytes as a string literal's body, fifteen bits to a character."""
    characters = []
    bits = 0
    count = 0
    for byte in data:
        bits = bits << 8 | byte
        count += 8
        if count >= BITS:
            count -= BITS
            characters.append(bits >> count)
            bits &= (1 << count) - 1
    if count > 0:
        characters.append(bits << (BITS - count))
    return "".join(ESCAPES.get(code, chr(code)) for code in characters)


def main():
    zopfli, module, output = sys.argv[1:]
    compressed = subprocess.run([zopfli, "-c", "--gzip", module], check=True, capture_output=True).stdout
    script = ("// Generated from the page's WebAssembly module; do not edit.\n"
              f'self.TESMIROL_WASM_GZIP = {{ bytes: {len(compressed)}, text: "{packed_text(compressed)}" }};\n')
    with open(output, "wb") as written:
        written.write(b"\xff\xfe" + script.encode("utf-16-le"))


if __name__ == "__main__":
    main()
