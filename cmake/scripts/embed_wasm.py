#!/usr/bin/env python3
"""Writes a script that hands the page the bytes of its WebAssembly module.

Browsers refuse to fetch a .wasm file from a page opened straight from disk
(file://), but they run scripts from there; so the module travels inside a
script, gzip-compressed (most of it is the GBK table and code, which shrink
by a third) and base64-encoded, and the page unpacks it with the browser's
DecompressionStream. The gzip header carries no time stamp, so the same
module gives the same script.

    embed_wasm.py MODULE.wasm OUTPUT.js
"""
import base64
import gzip
import sys

with open(sys.argv[1], "rb") as module:
    encoded = base64.b64encode(gzip.compress(module.read(), compresslevel=9, mtime=0)).decode("ascii")
with open(sys.argv[2], "w", encoding="ascii") as output:
    output.write("// Generated from the page's WebAssembly module; do not edit.\n")
    output.write(f'self.TESMIROL_WASM_GZIP_BASE64 = "{encoded}";\n')
