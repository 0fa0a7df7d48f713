// The page: reads the inputs, asks the bridge, shows the answers. Every
// keystroke recomputes everything, as the dialog does; the state lives in the
// URL's fragment, so a link reproduces the calculation. Nothing here
// calculates: numbers, texts of numbers and the code come from the module.
"use strict";

(function () {
  const TEXTS = {
    zh: {
      title: "Tesmirol 串口波特率计算", switchTo: "English", crystal: "晶振频率", crystalPresets: "常用晶振",
      baud: "波特率", baudPresets: "常用波特率", target: "目标", results: "计算结果", reload: "重装值",
      achieved: "实际波特率", deviation: "偏差", code: "生成的 SIO_Init", copy: "复制到剪切板", copied: "已复制",
      copyFailed: "无法复制", encoding: "编码", lineEnds: "换行", download: "下载", finder: "晶振查找",
      finderNote: "各常用晶振在当前波特率下的结果。", crystalColumn: "晶振", rateColumn: "波特率",
      codeColumn: "代码", custom: "（自定义）", selectedCrystal: "选用晶震：{hz} Hz",
      range: "最低：{min}bps  最高：{max}bps", tooLow: "波特率太低", tooHigh: "波特率太高",
      deviationLabel: "偏差：{text}%", noResult: "无结果：晶振须以数字开头，波特率不能为 0，晶振须低于 2147483648 Hz。",
      crystalNotGbk: "晶振文本含有 GBK 字符集无法表示的字符。", baudNotGbk: "波特率文本含有 GBK 字符集无法表示的字符。",
      warning: "警告", nothing: "无", none: "无结果", announce: "SMOD=0：{r0}，{d0}；SMOD=1：{r1}，{d1}",
      target_classic: "经典计算（与对话框相同）", targetNoResult: "无结果：该目标需要大于 0 的晶振（精确到 1 Hz 的十亿分之一）和大于 0 的波特率。",
      unknownTarget: "目录中没有这个目标。",
    },
    en: {
      title: "Tesmirol serial baud-rate calculator", switchTo: "中文", crystal: "Crystal", crystalPresets: "Crystal presets",
      baud: "Baud rate", baudPresets: "Baud rate presets", target: "Target", results: "Results", reload: "Reload",
      achieved: "Achieved rate", deviation: "Deviation", code: "Generated SIO_Init", copy: "Copy to clipboard",
      copied: "Copied", copyFailed: "Could not copy", encoding: "Encoding", lineEnds: "Line ends", download: "Download",
      finder: "Crystal finder", finderNote: "Every preset crystal at the current baud rate.", crystalColumn: "Crystal",
      rateColumn: "Rate", codeColumn: "Code", custom: "(custom)", selectedCrystal: "Crystal used: {hz} Hz",
      range: "Lowest: {min} bps  Highest: {max} bps", tooLow: "Rate too low", tooHigh: "Rate too high",
      deviationLabel: "Deviation: {text}%",
      noResult: "No result: the crystal must start with a number, the rate must not be 0, the crystal must be below 2147483648 Hz.",
      crystalNotGbk: "The crystal text holds a character the GBK character set cannot represent.",
      baudNotGbk: "The baud text holds a character the GBK character set cannot represent.",
      warning: "warning", nothing: "nothing", none: "no result", announce: "SMOD=0: {r0}, {d0}; SMOD=1: {r1}, {d1}",
      target_classic: "Classic calculation (as the dialog)",
      targetNoResult: "No result: this target needs a crystal above 0 (to a billionth of a hertz) and a rate above 0.",
      unknownTarget: "The catalogue has no such target.",
    },
  };

  const $ = (id) => document.getElementById(id);
  const state = { language: "zh", answer: null, finderKey: null, finderFrame: 0, urlTimer: 0, targets: [] };
  let bridge = null;
  let finderRows = [];

  function text(key, values) {
    const template = TEXTS[state.language][key] ?? TEXTS.zh[key] ?? key;
    return template.replace(/\{(\w+)\}/g, (_, name) => String(values?.[name] ?? ""));
  }

  // The reload cell's text: the reload, or why there is none.
  function reloadText(mode) {
    if (mode.status === "TooLow") return text("tooLow");
    if (mode.status === "TooHigh") return text("tooHigh");
    return `TH = ${mode.reloadText}`;
  }

  // The finder's reload cell: the bare reload, or why there is none.
  function finderReload(mode) {
    return mode.status === "Ok" ? mode.reloadText : reloadText(mode);
  }

  function setCell(cell, content, good) {
    if (cell.textContent !== content) cell.textContent = content;
    cell.classList.toggle("good", good === true);
    cell.classList.toggle("bad", good === false);
  }

  function codeText(row) {
    if (row.outcome === null || row.outcome === undefined || row.status === null) return text("none");
    if (row.outcome === "Code") return `SMOD=${row.chosenSmod}`;
    return text(row.outcome === "Warning" ? "warning" : "nothing");
  }

  // The results of one calculation, as the dialog's labels show them.
  function showCalculation(answer) {
    const calculation = answer.status === "ok" ? answer.calculation : null;
    const problem = $("problem");
    problem.hidden = calculation !== null;
    problem.textContent = calculation ? "" : text(answer.status === "ok" ? "noResult" : answer.status);
    $("selected-crystal").textContent = calculation ? text("selectedCrystal", { hz: calculation.crystalHz }) : "";
    $("range").textContent = calculation ? text("range", { min: calculation.minBps, max: calculation.maxBps }) : "";
    $("range").hidden = !calculation;
    const announced = {};
    for (const smod of [0, 1]) {
      const row = $(`smod${smod}`);
      row.hidden = false;
      const mode = calculation?.modes[smod];
      setCell(row.querySelector(".reload"), mode ? reloadText(mode) : "", mode ? mode.status === "Ok" : undefined);
      setCell(row.querySelector(".achieved"), mode ? `${mode.achieved} bps` : "", undefined);
      const deviation = mode ? text("deviationLabel", { text: mode.deviationText }) : "";
      setCell(row.querySelector(".deviation"), deviation, mode ? !mode.outOfTolerance : undefined);
      announced[`r${smod}`] = mode ? reloadText(mode) : "";
      announced[`d${smod}`] = deviation;
    }
    const output = calculation && calculation.outcome !== "Nothing" ? calculation.output : "";
    if ($("output").textContent !== output) $("output").textContent = output;
    const hasCode = calculation?.outcome === "Code";
    $("copy").disabled = output === "";
    $("download").disabled = !hasCode;
    $("announcer").textContent = calculation ? text("announce", announced) : problem.textContent;
  }

  // A rate with up to two decimals, as the command line writes rates.
  function rateText(rate) {
    return String(Math.round(rate * 100) / 100);
  }

  // The results of one target of the catalogue: the best neighbour of each
  // SMOD setting the target offers, in the rows the classic calculation uses.
  function showTargetSolution(answer) {
    const solution = answer.status === "ok" ? answer.solution : null;
    const problem = $("problem");
    problem.hidden = solution !== null;
    problem.textContent = solution ? "" : text(answer.status === "noResult" ? "targetNoResult" : answer.status);
    $("selected-crystal").textContent = solution ? text("selectedCrystal", { hz: solution.crystalHzText }) : "";
    $("range").textContent = solution
      ? text("range", { min: rateText(solution.minRate), max: rateText(solution.maxRate) }) : "";
    $("range").hidden = !solution;
    const announced = {};
    for (const smod of [0, 1]) {
      const row = $(`smod${smod}`);
      const mode = solution?.modes[smod];
      row.hidden = solution !== null && !mode;
      const setting = mode && mode.status === "Ok" ? mode.tried[mode.bestTried] : null;
      const reload = !mode ? "" : setting ? `${setting.reloadLabel} = ${setting.reloadText}` : reloadText(mode);
      setCell(row.querySelector(".reload"), reload, mode ? setting !== null : undefined);
      setCell(row.querySelector(".achieved"), setting ? `${setting.achievedText} bps` : "", undefined);
      const deviation = setting ? text("deviationLabel", { text: setting.deviationText }) : "";
      setCell(row.querySelector(".deviation"), deviation, setting ? !setting.outOfTolerance : undefined);
      announced[`r${smod}`] = reload;
      announced[`d${smod}`] = deviation;
    }
    const output = solution && answer.outcome !== "Nothing" ? answer.output : "";
    if ($("output").textContent !== output) $("output").textContent = output;
    $("copy").disabled = output === "";
    $("download").disabled = answer.outcome !== "Code";
    $("announcer").textContent = solution ? text("announce", announced) : problem.textContent;
  }

  // The crystal finder's rows are made once and refilled on every change.
  function buildFinder(crystals) {
    const body = $("finder-table").tBodies[0];
    finderRows = crystals.map(() => {
      const row = body.insertRow();
      const cells = [];
      for (let column = 0; column < 8; column += 1) {
        cells.push(column === 0 ? row.appendChild(document.createElement("th")) : row.insertCell());
      }
      cells[0].scope = "row";
      return { row, cells };
    });
  }

  function finderKey() {
    return `${$("target").value}\n${$("baud").value}`;
  }

  // Refills the finder for the rate in the box and the target, when either
  // has changed.
  function refreshFinder() {
    cancelAnimationFrame(state.finderFrame);
    state.finderFrame = 0;
    if (state.finderKey !== finderKey()) {
      const baud = $("baud").value;
      const target = $("target").value;
      showFinder(target === "classic" ? bridge.crystalTable(baud) : bridge.targetTable(baud, target));
      state.finderKey = finderKey();
      markFinderRow($("crystal").value);
    }
  }

  function markFinderRow(crystal) {
    for (const { row, cells } of finderRows) row.classList.toggle("current", cells[0].textContent === crystal);
  }

  function showFinder(rows) {
    rows.forEach((entry, index) => {
      const { row, cells } = finderRows[index];
      row.hidden = false;
      setCell(cells[0], entry.crystal, undefined);
      for (const smod of [0, 1]) {
        const mode = entry.modes?.[smod];
        const base = 1 + smod * 3;
        const inRange = mode?.deviationText !== undefined;  // a target's setting out of range has no numbers
        setCell(cells[base], mode ? finderReload(mode) : "-", mode ? mode.status === "Ok" : undefined);
        setCell(cells[base + 1], inRange ? String(mode.achieved ?? mode.achievedText) : "-", undefined);
        setCell(cells[base + 2], inRange ? `${mode.deviationText}%` : "-", inRange ? !mode.outOfTolerance : undefined);
      }
      setCell(cells[7], codeText(entry), undefined);
    });
    for (let index = rows.length; index < finderRows.length; index += 1) finderRows[index].row.hidden = true;
  }

  // The preset choice shows the preset the text equals, or "custom".
  function syncPreset(select, value) {
    const match = Array.from(select.options).find((option) => option.value === value && option.value !== "");
    select.value = match ? value : "";
  }

  // The URL follows the inputs a moment after the last change: browsers
  // ignore history updates that come faster than a few a second.
  function scheduleUrl() {
    clearTimeout(state.urlTimer);
    state.urlTimer = setTimeout(writeUrl, 150);
  }

  function writeUrl() {
    const params = new URLSearchParams({
      crystal: $("crystal").value, baud: $("baud").value, target: $("target").value, lang: state.language,
      encoding: $("encoding").value, lineEnds: $("line-ends").value,
    });
    history.replaceState(null, "", `#${params}`);
  }

  function readUrl() {
    const params = new URLSearchParams(location.hash.slice(1));
    if (params.has("crystal")) $("crystal").value = params.get("crystal");
    if (params.has("baud")) $("baud").value = params.get("baud");
    if (params.get("lang") === "en" || params.get("lang") === "zh") state.language = params.get("lang");
    for (const [id, key] of [["encoding", "encoding"], ["line-ends", "lineEnds"], ["target", "target"]]) {
      const select = $(id);
      if (Array.from(select.options).some((option) => option.value === params.get(key))) select.value = params.get(key);
    }
  }

  // Recomputes and shows everything for the current inputs.
  function update() {
    const crystal = $("crystal").value;
    const baud = $("baud").value;
    const target = $("target").value;
    if (target === "classic") {
      state.answer = bridge.calculate(crystal, baud);
      showCalculation(state.answer);
    } else {
      state.answer = bridge.solveTarget(crystal, baud, target);
      showTargetSolution(state.answer);
    }
    // The finder depends on the rate and the target alone, and a new rate
    // refills some six hundred cells: that waits for the next frame, after
    // the results and the code are on the screen.
    if (state.finderKey !== finderKey() && !state.finderFrame) {
      state.finderFrame = requestAnimationFrame(refreshFinder);
    }
    markFinderRow(crystal);
    syncPreset($("crystal-preset"), crystal);
    syncPreset($("baud-preset"), baud);
    scheduleUrl();
  }

  function applyLanguage() {
    document.documentElement.lang = state.language === "zh" ? "zh-CN" : "en";
    document.title = text("title");
    for (const element of document.querySelectorAll("[data-text]")) element.textContent = text(element.dataset.text);
    const switcher = $("language");
    switcher.textContent = text("switchTo");
    switcher.lang = state.language === "zh" ? "en" : "zh-CN";
    for (const select of [$("crystal-preset"), $("baud-preset")]) select.options[0].textContent = text("custom");
    for (const option of $("target").options) {
      const target = state.targets.find((entry) => entry.name === option.value);
      option.textContent = option.value === "classic" ? text("target_classic") : `${target.name}: ${target.chips}`;
    }
  }

  function fillSelect(select, values, withCustom) {
    if (withCustom) select.add(new Option("", ""));
    for (const value of values) select.add(new Option(value, value));
  }

  // The code file's bytes, exactly as tesmirol-cli --code writes them with
  // the chosen encoding and line ends; null when there is no code.
  function codeFileBytes() {
    const gbk = $("encoding").value === "gbk";
    const lineFeeds = $("line-ends").value === "lf";
    const target = $("target").value;
    return target === "classic" ? bridge.codeBytes($("crystal").value, $("baud").value, gbk, lineFeeds)
      : bridge.targetCodeBytes($("crystal").value, $("baud").value, target, gbk, lineFeeds);
  }

  function download() {
    const bytes = codeFileBytes();
    if (!bytes) return;
    const url = URL.createObjectURL(new Blob([bytes], { type: "text/x-csrc" }));
    const link = document.createElement("a");
    link.href = url;
    link.download = "sio_init.c";
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  async function copy() {
    const output = $("output").textContent;
    let done = false;
    try {
      await navigator.clipboard.writeText(output);
      done = true;
    } catch {
      // Without the asynchronous clipboard (some pages opened from disk):
      // the selection and the copy command.
      const range = document.createRange();
      range.selectNodeContents($("output"));
      getSelection().removeAllRanges();
      getSelection().addRange(range);
      done = document.execCommand("copy");
      getSelection().removeAllRanges();
    }
    $("copy-status").textContent = text(done ? "copied" : "copyFailed");
  }

  async function start() {
    try {
      bridge = await TesmirolBridge.load();
    } catch (error) {
      $("load-error").hidden = false;
      $("load-error").textContent = error.message;
      throw error;
    }
    const presets = bridge.presets();
    fillSelect($("crystal-preset"), presets.crystals, true);
    fillSelect($("baud-preset"), presets.bauds, true);
    state.targets = bridge.targets();
    fillSelect($("target"), state.targets.map((target) => target.name), false);
    buildFinder(presets.crystals);
    readUrl();
    applyLanguage();

    for (const id of ["crystal", "baud"]) $(id).addEventListener("input", update);
    for (const [select, input] of [["crystal-preset", "crystal"], ["baud-preset", "baud"]]) {
      $(select).addEventListener("change", () => {
        if ($(select).value === "") return;
        $(input).value = $(select).value;
        update();
      });
    }
    for (const id of ["target", "encoding", "line-ends"]) $(id).addEventListener("change", update);
    $("language").addEventListener("click", () => {
      state.language = state.language === "zh" ? "en" : "zh";
      applyLanguage();
      state.finderKey = null;  // its texts change language too
      update();
    });
    $("copy").addEventListener("click", copy);
    $("download").addEventListener("click", download);
    addEventListener("hashchange", () => {
      readUrl();
      applyLanguage();
      state.finderKey = null;
      update();
    });
    update();
    refreshFinder();
    document.documentElement.dataset.ready = "true";
    performance.mark("tesmirol-first-result");
  }

  // For the browser tests and the benchmark: the page's own bridge, its
  // update and its file bytes.
  window.tesmirolPage = {
    ready: start(),
    get bridge() { return bridge; },
    get answer() { return state.answer; },
    update,
    refreshFinder,
    codeFileBytes,
    // The bytes the download would write for these inputs, the page left as it is.
    codeFileBytesFor(crystal, baud, gbk, lineFeeds, target = "classic") {
      return target === "classic" ? bridge.codeBytes(crystal, baud, gbk, lineFeeds)
        : bridge.targetCodeBytes(crystal, baud, target, gbk, lineFeeds);
    },
  };
})();
