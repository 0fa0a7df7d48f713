"""Writes gzip-compressed bytes as a script the page reads from disk.

The bytes are written fifteen bits to a character, as one string in a script
stored as UTF-16 (little-endian, with a byte order mark): two bytes of
script carry fifteen bits, where base64 in ASCII carries twelve. Browsers
read a script by its byte order mark before anything a host declares, so it
reads the same from disk and from any server. Fifteen bits never make a
surrogate; the characters a string literal cannot hold as they are (the
quote, the backslash, the line ends) are escaped. The fifteen-bit groups run
from the first byte's high bit on; the last group is filled with zero bits,
which may make a byte more, so the script gives the number of bytes beside
the text: self.NAME = { bytes: N, text: "..." }. The page unpacks them with
the browser's DecompressionStream (web/page/loader.js, unpack).
"""

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


def write_packed_script(path, source, name, compressed, after=""):
    """Writes the script setting self.<name> to the gzip stream compressed,
    then the script after, if it differs from what is there; source says what
    it was made from."""
    script = (f"// Generated from {source}; do not edit.\n"
              f'self.{name} = {{ bytes: {len(compressed)}, text: "{packed_text(compressed)}" }};\n{after}')
    content = b"\xff\xfe" + script.encode("utf-16-le")
    try:
        with open(path, "rb") as existing:
            if existing.read() == content:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as written:
        written.write(content)
