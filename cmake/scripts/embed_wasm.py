#!/usr/bin/env python3
"""Writes a script that hands the page the bytes of its WebAssembly module.

Browsers refuse to fetch a .wasm file from a page opened straight from disk
(file://), but they run scripts from there; so the module travels inside a
script (packed_script.py), gzip-compressed by zopfli, whose gzip streams are
some 4 % smaller than zlib's at its best. The same module gives the same
script.

    embed_wasm.py ZOPFLI MODULE.wasm OUTPUT.js
"""
import subprocess
import sys

from packed_script import write_packed_script


def main():
    zopfli, module, output = sys.argv[1:]
    compressed = subprocess.run([zopfli, "-c", "--gzip", module], check=True, capture_output=True).stdout
    write_packed_script(output, "the page's WebAssembly module", "TESMIROL_WASM_GZIP", compressed)


if __name__ == "__main__":
    main()
