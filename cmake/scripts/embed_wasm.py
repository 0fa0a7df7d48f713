#!/usr/bin/env python3
"""Writes a script that hands the page the bytes of its WebAssembly module.

Browsers refuse to fetch a .wasm file from a page opened straight from disk
(file://), but they run scripts from there; so the module travels inside a
script, gzip-compressed (by zopfli, whose gzip streams are some 4 % smaller
than zlib's at its best) and the page unpacks it with the browser's
DecompressionStream.

The compressed bytes are written seven bits to a character, as one string of
ASCII: base64 would carry six bits in each byte of the script, this seven,
an eighth less. The four characters a string literal cannot hold as they are
(the quote, the backslash, line feed and carriage return) are escaped.
The seven-bit groups run from the first byte's high bit on; the last group
is filled with zero bits, and the page takes floor(7 * characters / 8)
bytes. Being ASCII, the script reads the same whatever encoding a host
declares for it. The same module gives the same script.

    embed_wasm.py ZOPFLI MODULE.wasm OUTPUT.js
"""
import subprocess
import sys

ESCAPES = {ord('"'): '\\"', ord("\\"): "\\\\", ord("\n"): "\\n", ord("\r"): "\\r"}


def seven_bit_text(data):
    """The bytes as a string literal's body, seven bits to a character."""
    characters = []
    bits = 0
    count = 0
    for byte in data:
        bits = bits << 8 | byte
        count += 8
        while count >= 7:
            count -= 7
            characters.append((bits >> count) & 0x7F)
            bits &= (1 << count) - 1
    if count > 0:
        characters.append((bits << (7 - count)) & 0x7F)
    return "".join(ESCAPES.get(code, chr(code)) for code in characters)


def main():
    zopfli, module, output = sys.argv[1:]
    compressed = subprocess.run([zopfli, "-c", "--gzip", module], check=True, capture_output=True).stdout
    script = ("// Generated from the page's WebAssembly module; do not edit.\n"
              f'self.TESMIROL_WASM_GZIP_7BIT = "{seven_bit_text(compressed)}";\n')
    with open(output, "w", encoding="ascii", newline="\n") as written:
        written.write(script)


if __name__ == "__main__":
    main()
