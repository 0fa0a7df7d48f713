// The page's link to the WebAssembly module: the engine and the generator
// compiled from the same C++ as the desktop program. Texts go in as UTF-16
// code units; answers come back as JSON text or as file bytes. Nothing here
// calculates: every number and byte is the module's.
"use strict";

(function (global) {
  const BRIDGE_VERSION = 1;
  const REQUIRED_EXPORTS = [
    "memory", "_initialize", "tesmirol_bridge_version", "tesmirol_input", "tesmirol_output_data",
    "tesmirol_output_size", "tesmirol_calculate", "tesmirol_crystal_table", "tesmirol_presets",
    "tesmirol_code_bytes", "tesmirol_targets",
  ];

  function decodeBase64(text) {
    const binary = atob(text);
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; i += 1) {
      bytes[i] = binary.charCodeAt(i);
    }
    return bytes;
  }

  // A double from the 16 hexadecimal digits of its bits, as the bridge writes
  // doubles: exactly the engine's value.
  function doubleFromBits(hex) {
    const view = new DataView(new ArrayBuffer(8));
    view.setUint32(0, parseInt(hex.slice(0, 8), 16));
    view.setUint32(4, parseInt(hex.slice(8), 16));
    return view.getFloat64(0);
  }

  // The calculation's doubles, read from their bits.
  function readDoubles(answer) {
    const calculation = answer.calculation;
    if (calculation) {
      calculation.frequency = doubleFromBits(calculation.frequency);
      for (const mode of calculation.modes) {
        mode.deviation = doubleFromBits(mode.deviation);
        mode.deviationAbs = doubleFromBits(mode.deviationAbs);
      }
    }
    return answer;
  }

  class Bridge {
    constructor(exports) {
      this.exports = exports;
      this.decoder = new TextDecoder("utf-8", { fatal: true });
    }

    // Writes the texts one after the other into the module's input buffer.
    writeInput(...texts) {
      const units = texts.reduce((sum, text) => sum + text.length, 0);
      const pointer = this.exports.tesmirol_input(units);
      const view = new Uint16Array(this.exports.memory.buffer, pointer, units);
      let offset = 0;
      for (const text of texts) {
        for (let i = 0; i < text.length; i += 1) {
          view[offset + i] = text.charCodeAt(i);
        }
        offset += text.length;
      }
    }

    outputBytes() {
      const pointer = this.exports.tesmirol_output_data();
      const size = this.exports.tesmirol_output_size();
      return new Uint8Array(this.exports.memory.buffer, pointer, size).slice();
    }

    outputJson() {
      return JSON.parse(this.decoder.decode(this.outputBytes()));
    }

    // {status, calculation}: what the page shows for the two texts.
    calculate(crystal, baud) {
      this.writeInput(crystal, baud);
      this.exports.tesmirol_calculate(crystal.length, baud.length);
      return readDoubles(this.outputJson());
    }

    // The crystal finder: every crystal preset against the baud text.
    crystalTable(baud) {
      this.writeInput(baud);
      this.exports.tesmirol_crystal_table(baud.length);
      return this.outputJson();
    }

    presets() {
      this.exports.tesmirol_presets();
      return this.outputJson();
    }

    // The bytes of the generated code as tesmirol-cli --code writes them, or
    // null when the texts give no code.
    codeBytes(crystal, baud, gbk, lineFeeds) {
      this.writeInput(crystal, baud);
      const size = this.exports.tesmirol_code_bytes(crystal.length, baud.length, gbk ? 1 : 0, lineFeeds ? 1 : 0);
      return size < 0 ? null : this.outputBytes();
    }

    // The targets the engine offers, for the target choice.
    targets() {
      this.exports.tesmirol_targets();
      return this.outputJson();
    }
  }

  // Instantiates the embedded module and checks that it is the bridge this
  // page was written for; a missing export or another version is an error
  // that says so, never a page that silently shows nothing.
  async function loadBridge() {
    if (typeof global.TESMIROL_WASM_BASE64 !== "string") {
      throw new Error("Tesmirol bridge: the WebAssembly module (tesmirol-wasm.js) is missing");
    }
    const { instance } = await WebAssembly.instantiate(decodeBase64(global.TESMIROL_WASM_BASE64), {});
    const exports = instance.exports;
    const missing = REQUIRED_EXPORTS.filter((name) => !(name in exports));
    if (missing.length > 0) {
      throw new Error(`Tesmirol bridge: the WebAssembly module lacks ${missing.join(", ")}`);
    }
    exports._initialize();
    const version = exports.tesmirol_bridge_version();
    if (version !== BRIDGE_VERSION) {
      throw new Error(`Tesmirol bridge: the module speaks version ${version}, the page version ${BRIDGE_VERSION}`);
    }
    return new Bridge(exports);
  }

  global.TesmirolBridge = { load: loadBridge };
})(self);
