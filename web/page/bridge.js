// The page's link to the WebAssembly module: the engine and the generator
// compiled from the same C++ as the desktop program. Texts go in as UTF-16
// code units; answers come back as JSON text or as file bytes. Nothing here
// calculates: every number and byte is the module's.
"use strict";

(function (global) {
  const BRIDGE_VERSION = 15;
  const REQUIRED_EXPORTS = [
    "memory", "_initialize", "tesmirol_bridge_version", "tesmirol_input", "tesmirol_input_lengths",
    "tesmirol_output_data", "tesmirol_output_size", "tesmirol_calculate", "tesmirol_crystal_table",
    "tesmirol_presets", "tesmirol_report_labels", "tesmirol_code_bytes", "tesmirol_targets", "tesmirol_chip_name",
    "tesmirol_solve_target", "tesmirol_target_table", "tesmirol_target_code_bytes", "tesmirol_plan",
    "tesmirol_plan_code_bytes", "tesmirol_driver_files", "tesmirol_driver_bytes", "tesmirol_link",
    "tesmirol_rates_finder", "tesmirol_clock_finder",
    "tesmirol_reload", "tesmirol_asm_bytes", "tesmirol_part_listing",
    "tesmirol_lookup_table", "tesmirol_lookup_file",
  ];

  // A double from the 16 hexadecimal digits of its bits, as the bridge writes
  // doubles: exactly the engine's value.
  function doubleFromBits(hex) {
    bitsView.setUint32(0, parseInt(hex.slice(0, 8), 16));
    bitsView.setUint32(4, parseInt(hex.slice(8), 16));
    return bitsView.getFloat64(0);
  }

  // The eight bytes doubleFromBits reads through, made once.
  const bitsView = new DataView(new ArrayBuffer(8));

  // A link's doubles (both ends' rates, each sense's worst mismatch, limit
  // and margin, the link's margin, the second 8051's setting), read from
  // their bits.
  function readLinkDoubles(link) {
    if (link?.status !== "Checked") return;
    link.margin = doubleFromBits(link.margin);
    for (const rate of [link.ownRate, link.peerRate]) rate.value = doubleFromBits(rate.value);
    for (const direction of [link.ownToPeer, link.peerToOwn]) {
      for (const sense of [direction.fast, direction.slow]) {
        for (const key of ["worstPercent", "limitPercent", "marginPercent"]) sense[key] = doubleFromBits(sense[key]);
      }
    }
    readSettingDoubles(link.peerSetting);
  }

  // A finder row's link margin, read from its bits.
  function readRowLink(row) {
    if (row.link?.status === "Checked") row.link.margin = doubleFromBits(row.link.margin);
    return row;
  }

  // The calculation's doubles, read from their bits.
  function readDoubles(answer) {
    const calculation = answer.calculation;
    if (calculation) {
      readLinkDoubles(calculation.link);
      calculation.frequency = doubleFromBits(calculation.frequency);
      for (const mode of calculation.modes) {
        mode.deviation = doubleFromBits(mode.deviation);
        mode.deviationAbs = doubleFromBits(mode.deviationAbs);
      }
    }
    return answer;
  }

  function readSettingDoubles(setting) {
    if (setting) {
      setting.achieved = doubleFromBits(setting.achieved);
      setting.deviation = doubleFromBits(setting.deviation);
    }
  }

  // The targets' solutions with their doubles read from their bits.
  function readSolutionDoubles(answer) {
    for (const solution of answer.solutions ?? []) {
      solution.minRate = doubleFromBits(solution.minRate);
      solution.maxRate = doubleFromBits(solution.maxRate);
      for (const mode of solution.modes) mode.tried.forEach(readSettingDoubles);
      readSettingDoubles(solution.best);
    }
    readLinkDoubles(answer.link);
    return answer;
  }

  // A reload's reports with their doubles read from their bits.
  function readReloadDoubles(answer) {
    for (const report of answer.reports ?? []) {
      if (report.frequency !== undefined) report.frequency = doubleFromBits(report.frequency);
      for (const mode of report.modes ?? []) {
        if (typeof mode.achieved === "string") mode.achieved = doubleFromBits(mode.achieved);
        if (mode.deviation !== undefined) mode.deviation = doubleFromBits(mode.deviation);
      }
    }
    return answer;
  }

  // A plan with its tolerance and its settings' doubles read from their bits.
  function readPlanDoubles(answer) {
    if (answer.status === "ok") answer.tolerance = doubleFromBits(answer.tolerance);
    for (const uart of answer.plan ?? []) {
      readSettingDoubles(uart.setting);
      readLinkDoubles(uart.link);
    }
    return answer;
  }

  // The plan's texts in the order the module reads them: the crystal, the
  // target, then each UART, its rate and its own other end ("" for the
  // link's).
  function planTexts(crystal, target, requests) {
    return [crystal, target, ...requests.flatMap(({ uart, baud, peer = "" }) => [uart, baud, peer])];
  }

  // The language of the generated code's comments ("zh" or "en", the page's
  // own codes) as the module's functions take it: 1 for English.
  function englishFlag(language) {
    return language === "en" ? 1 : 0;
  }

  // The driver's options as the module's functions take them: the register
  // bank -1 for none.
  function driverArguments({ polled, rxSize, txSize, xdata, registerBank = null, crlf = false }) {
    return [polled ? 1 : 0, rxSize, txSize, xdata ? 1 : 0, registerBank ?? -1, crlf ? 1 : 0];
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

    // Writes the texts and their lengths, for the questions with any number
    // of texts.
    writeTexts(texts) {
      this.writeInput(...texts);
      const pointer = this.exports.tesmirol_input_lengths(texts.length);
      new Uint32Array(this.exports.memory.buffer, pointer, texts.length).set(texts.map((text) => text.length));
    }

    outputBytes() {
      const pointer = this.exports.tesmirol_output_data();
      const size = this.exports.tesmirol_output_size();
      return new Uint8Array(this.exports.memory.buffer, pointer, size).slice();
    }

    outputJson() {
      return JSON.parse(this.decoder.decode(this.outputBytes()));
    }

    // {status, calculation}: what the page shows for the two texts, the
    // generated output's comments in the language ("zh" or "en").
    calculate(crystal, baud, language = "zh") {
      this.writeInput(crystal, baud);
      this.exports.tesmirol_calculate(crystal.length, baud.length, englishFlag(language));
      return readDoubles(this.outputJson());
    }

    // The crystal finder: every crystal preset against the baud text, ranked
    // by the link's margin when rank is true.
    crystalTable(baud, rank = false) {
      this.writeInput(baud);
      this.exports.tesmirol_crystal_table(baud.length, rank ? 1 : 0);
      return this.outputJson().map(readRowLink);
    }

    // The lookup table's texts in the order the module reads them: the
    // crystal and the baud text ("" for every preset), the target
    // ("classic" for the classic Timer 1) and its UART, then each other UART
    // of the plan ([{uart, baud}]) and its rate.
    writeLookup({ crystal, baud, target, uart, also = [] }) {
      this.writeTexts([crystal, baud, target, uart, ...also.flatMap((other) => [other.uart, other.baud])]);
    }

    // {kind, problem, request, count, headings, first, rows, cells}: the
    // lookup table's shown rows from up to to (tesmirol-cli --table's),
    // each row as tesmirol-cli --table --format json writes it with its
    // doubles read from their bits, each shown row's cells as the text
    // table writes them in the language, with their colours.
    lookupTable(question, from, to, language = "zh") {
      this.writeLookup(question);
      this.exports.tesmirol_lookup_table(from, to, englishFlag(language));
      const answer = this.outputJson();
      for (const row of answer.rows) {
        for (const mode of row.modes ?? []) mode.deviation = doubleFromBits(mode.deviation);
        readSettingDoubles(row.best);
        for (const uart of row.plan ?? []) readSettingDoubles(uart.setting);
      }
      return answer;
    }

    // The bytes of the whole lookup table as tesmirol-cli --table --format
    // csv (markdown false) or markdown writes them, in the language.
    lookupFile(question, markdown, language = "zh") {
      this.writeLookup(question);
      this.exports.tesmirol_lookup_file(markdown ? 1 : 0, englishFlag(language));
      return this.outputBytes();
    }

    // tesmirol-cli --list-presets --json's {crystal, baud}.
    presets() {
      this.exports.tesmirol_presets();
      return this.outputJson();
    }

    // The bytes of the generated code as tesmirol-cli --code writes them, or
    // null when the texts give no code; comments in the language.
    codeBytes(crystal, baud, gbk, lineFeeds, language = "zh") {
      this.writeInput(crystal, baud);
      const size = this.exports.tesmirol_code_bytes(crystal.length, baud.length, gbk ? 1 : 0, lineFeeds ? 1 : 0,
        englishFlag(language));
      return size < 0 ? null : this.outputBytes();
    }

    // {status, uart, solutions, bestTarget, shown, function, outcome, output}:
    // the targets of a target's or family's name that drive the UART ("" for
    // the chip's first), solved; the output's comments in the language.
    solveTarget(crystal, baud, target, uart = "", language = "zh") {
      this.writeInput(crystal, baud, target, uart);
      this.exports.tesmirol_solve_target(crystal.length, baud.length, target.length, uart.length,
        englishFlag(language));
      return readSolutionDoubles(this.outputJson());
    }

    // The crystal finder on the targets of a name and UART, ranked by the
    // link's margin when rank is true.
    targetTable(baud, target, uart = "", rank = false) {
      this.writeInput(baud, target, uart);
      this.exports.tesmirol_target_table(baud.length, target.length, uart.length, rank ? 1 : 0);
      return this.outputJson().map(readRowLink);
    }

    // The serial link every later answer checks and notes in its code: the
    // other end ("" for none: "ideal", an adapter's name, or
    // "TARGET@CRYSTAL[,TOLERANCE]"), this end's clock tolerance and the
    // frame.
    // The module keeps the link until it is set again, so the same texts
    // are not sent twice.
    setLink({ peer = "", tolerance = "", frame = "" } = {}) {
      const key = `${peer}\n${tolerance}\n${frame}`;
      if (key === this.linkKey) return;
      this.linkKey = key;
      this.writeInput(peer, tolerance, frame);
      this.exports.tesmirol_link(peer.length, tolerance.length, frame.length);
    }

    // {peers, frames}: the other ends and the frames the module knows (the
    // link set to none on the way).
    linkChoices() {
      this.setLink();
      return this.outputJson();
    }

    // The bytes of the best target's code as tesmirol-cli --target --code
    // writes them, or null; comments in the language.
    targetCodeBytes(crystal, baud, target, uart, gbk, lineFeeds, language = "zh") {
      this.writeInput(crystal, baud, target, uart);
      const size = this.exports.tesmirol_target_code_bytes(crystal.length, baud.length, target.length, uart.length,
        gbk ? 1 : 0, lineFeeds ? 1 : 0, englishFlag(language));
      return size < 0 ? null : this.outputBytes();
    }

    // {status, then tesmirol-cli --uart --json's report: target, crystalText,
    // crystalHz, tolerance, uarts, plan, conflict, outcome, output}: the
    // requests ([{uart, baud}]) planned together on the family's (or
    // target's) chip; the output's comments in the language.
    plan(crystal, target, requests, language = "zh") {
      this.writeTexts(planTexts(crystal, target, requests));
      this.exports.tesmirol_plan(englishFlag(language));
      return readPlanDoubles(this.outputJson());
    }

    // The bytes of the plan's code, or null when there is no plan; comments
    // in the language.
    planCodeBytes(crystal, target, requests, gbk, lineFeeds, language = "zh") {
      this.writeTexts(planTexts(crystal, target, requests));
      const size = this.exports.tesmirol_plan_code_bytes(gbk ? 1 : 0, lineFeeds ? 1 : 0, englishFlag(language));
      return size < 0 ? null : this.outputBytes();
    }

    // {status, files, oneFile, sizes}: the serial driver's files for the
    // requests ([{uart, baud}]: one UART alone, or several planned together)
    // and the options ({polled, rxSize, txSize, xdata, registerBank: 0 to 3
    // or null, rs485: "P3.7", "!P3.7" or "", crlf}); a refusal's reasons
    // in message {zh, en}.
    driverFiles(crystal, target, requests, options) {
      this.writeTexts([...planTexts(crystal, target, requests), options.rs485 ?? ""]);
      this.exports.tesmirol_driver_files(...driverArguments(options));
      return this.outputJson();
    }

    // The bytes of the driver's file at index in driverFiles' list (-1: the
    // one-file form) as tesmirol-cli --driver writes them, or null; comments
    // in the language.
    driverBytes(crystal, target, requests, options, index, gbk, lineFeeds, language = "zh") {
      this.writeTexts([...planTexts(crystal, target, requests), options.rs485 ?? ""]);
      const size = this.exports.tesmirol_driver_bytes(index, ...driverArguments(options), gbk ? 1 : 0,
        lineFeeds ? 1 : 0, englishFlag(language));
      return size < 0 ? null : this.outputBytes();
    }

    // {problem, tolerance, crystals}: the crystal presets on which every rate
    // of the list ("9600,115200") comes within maxError ("" for 1 %), on the
    // target's UART ("classic" for the dialog's calculation), ranked by the
    // link when rank is true; each crystal as tesmirol-cli --rates --json.
    ratesFinder(rates, maxError, target, uart, rank = false) {
      this.writeTexts([rates, maxError, target, uart]);
      this.exports.tesmirol_rates_finder(rank ? 1 : 0);
      const answer = this.outputJson();
      if (answer.problem === null) {
        answer.tolerance = doubleFromBits(answer.tolerance);
        for (const crystal of answer.crystals) {
          for (const rate of crystal.rates) rate.deviation = doubleFromBits(rate.deviation);
        }
      }
      return answer;
    }

    // {problem, ...tesmirol-cli --find-clock --json}: the clocks that give
    // every rate of the list on the target's UART, or, without rates, at
    // which the requests ([{uart, baud}]) can be planned; range ("" for the
    // chip's clock steps), maxError and limit as the command line takes them.
    clockFinder(target, uart, rates, range, maxError, limit, requests = []) {
      this.writeTexts([target, uart, rates, range, maxError, limit,
        ...requests.flatMap(({ uart: name, baud }) => [name, baud])]);
      this.exports.tesmirol_clock_finder();
      const answer = this.outputJson();
      if (answer.problem === null) {
        answer.tolerance = doubleFromBits(answer.tolerance);
        for (const clock of answer.clocks) {
          clock.worstDeviation = doubleFromBits(clock.worstDeviation);
          for (const entry of clock.rates ?? clock.plan) readSettingDoubles(entry.setting);
        }
      }
      return answer;
    }

    // {status, uart, reports}: the rates the reload ("0xFD" or "253") gives
    // the crystal on the classic Timer 1 (target "") or on each generator
    // of the target's UART, each compared with the baud text, as
    // tesmirol-cli --reload TH1 CRYSTAL BAUD gives them.
    reload(crystal, reload, target = "", uart = "", baud = "") {
      this.writeInput(crystal, reload, target, uart, baud);
      this.exports.tesmirol_reload(crystal.length, reload.length, target.length, uart.length, baud.length);
      return readReloadDoubles(this.outputJson());
    }

    // The bytes of the best target's assembly text (sdas: SDCC's sdas8051,
    // else Keil's A51) as tesmirol-cli --target --asm writes them, or null;
    // comments in the language.
    asmBytes(crystal, baud, target, uart, sdas, gbk, lineFeeds, language = "zh") {
      this.writeInput(crystal, baud, target, uart);
      const size = this.exports.tesmirol_asm_bytes(crystal.length, baud.length, target.length, uart.length,
        sdas ? 1 : 0, gbk ? 1 : 0, lineFeeds ? 1 : 0, englishFlag(language));
      return size < 0 ? null : this.outputBytes();
    }

    // {targets, families}: the engine's catalogue.
    // tesmirol-cli --list-targets --json's {targets, families, familyUarts},
    // with familyNames (the families in the catalogue's order).
    targets() {
      this.exports.tesmirol_targets();
      return this.outputJson();
    }

    // tesmirol-cli --list-targets --parts FAMILY --json's {family, supported,
    // records: [{source, names, parts}]}.
    partListing(family) {
      this.writeInput(family);
      this.exports.tesmirol_part_listing(family.length);
      return this.outputJson();
    }

    // {kind, name, part, source, nearest}: what a name typed for the chip
    // stands for (a target, a family, a part number as printed).
    chipName(name) {
      this.writeInput(name);
      this.exports.tesmirol_chip_name(name.length);
      return this.outputJson();
    }

    // The labels the reports put before their numbers (the dialog's, in
    // Chinese).
    reportLabels() {
      this.exports.tesmirol_report_labels();
      return this.outputJson();
    }
  }

  // The C library in the module can name system calls (writing to a file,
  // ending the process) that the page never makes it take; each answers
  // "not supported" (ENOSYS), and ending the process stops with an error.
  function systemImports(module) {
    const imports = {};
    for (const { module: name, name: field, kind } of WebAssembly.Module.imports(module)) {
      if (kind !== "function") continue;
      imports[name] ??= {};
      imports[name][field] = field === "proc_exit"
        ? (code) => { throw new Error(`Tesmirol bridge: the module ended with status ${code}`); }
        : () => 52;
    }
    return imports;
  }

  // The module's GBK characters, read by the browser's own GBK decoder at
  // the module's first conversion (text/gbk_table_browser.cpp): count pairs
  // of bytes at pairs, each one character, written as UTF-16 at codes.
  function decodeGbkPairs(memory, pairs, count, codes) {
    const characters = new TextDecoder("gbk", { fatal: true }).decode(new Uint8Array(memory.buffer, pairs, count * 2));
    if (characters.length !== count) {
      throw new Error("Tesmirol bridge: this browser's GBK decoder does not read the module's characters");
    }
    const view = new Uint16Array(memory.buffer, codes, count);
    for (let i = 0; i < count; i += 1) view[i] = characters.charCodeAt(i);
    return count;
  }

  // Instantiates the embedded module and checks that it is the bridge this
  // page was written for; a missing export or another version is an error
  // that says so, never a page that silently shows nothing.
  async function loadBridge() {
    // The page's loader (loader.js) has begun unpacking it.
    if (!global.TesmirolModuleBytes) {
      throw new Error("Tesmirol bridge: the WebAssembly module (tesmirol-wasm.js) is missing");
    }
    const module = await WebAssembly.compile(await global.TesmirolModuleBytes);
    const imports = systemImports(module);
    let memory = null;
    imports.tesmirol_host = { decode_gbk_pairs: (pairs, count, codes) => decodeGbkPairs(memory, pairs, count, codes) };
    const instance = await WebAssembly.instantiate(module, imports);
    const exports = instance.exports;
    memory = exports.memory;
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
