// Unpacks the page's script (the bridge, the views and the user's texts,
// gzip-compressed in one stream by cmake/scripts/join_page.py) and runs it.
// It starts unpacking the module at once too, so that both unpack side by
// side. It is the only part of the page stored as plain text.
"use strict";

(function (global) {
  // The bytes (so many) from a packed script's text, fifteen bits to a
  // character from the first byte's high bit on
  // (cmake/scripts/packed_script.py).
  function decodeFifteenBits({ bytes: byteCount, text }) {
    const bytes = new Uint8Array(byteCount);
    let bits = 0;
    let count = 0;
    let size = 0;
    for (let i = 0; i < text.length; i += 1) {
      bits = (bits << 15) | text.charCodeAt(i);
      count += 15;
      while (count >= 8 && size < byteCount) {
        count -= 8;
        bytes[size] = bits >> count;
        size += 1;
        bits &= (1 << count) - 1;
      }
    }
    return bytes;
  }

  // A packed script's bytes, gzip-compressed, unpacked by the browser.
  function unpack(packed) {
    const stream = new Blob([decodeFifteenBits(packed)]).stream().pipeThrough(new DecompressionStream("gzip"));
    return new Response(stream).arrayBuffer();
  }

  global.TesmirolUnpack = unpack;
  if (typeof global.TESMIROL_WASM_GZIP?.text === "string") global.TesmirolModuleBytes = unpack(global.TESMIROL_WASM_GZIP);
  unpack(global.TESMIROL_PAGE_GZIP)
    .then((bytes) => Function(new TextDecoder().decode(bytes))())
    .catch((error) => {
      const box = document.getElementById("load-error");
      box.hidden = false;
      box.textContent = error.message;
    });
})(self);
