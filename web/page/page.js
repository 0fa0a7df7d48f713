// The page: reads the inputs, asks the bridge, shows the answers. Every
// keystroke recomputes everything, as the dialog does; the state lives in the
// URL's fragment, so a link reproduces the calculation. Nothing here
// calculates: numbers, texts of numbers and the code come from the module.
"use strict";

(function () {
  // The labels before the numbers in Chinese (选用晶震：, 最低：, 偏差： ...)
  // are the reports' own, taken from the module at start (useReportLabels),
  // so that the page and tesmirol-cli's report say the same.
  const TEXTS = {
    zh: {
      title: "Tesmirol 串口波特率计算", switchTo: "English", crystal: "晶振频率", crystalPresets: "常用晶振",
      baud: "波特率", baudPresets: "常用波特率", target: "目标", results: "计算结果", reload: "重装值",
      achieved: "实际波特率", deviation: "偏差", copy: "复制到剪切板", copied: "已复制",
      copyFailed: "无法复制", encoding: "编码", lineEnds: "换行", download: "下载", finder: "晶振查找",
      finderNote: "各常用晶振在当前波特率下的结果。", crystalColumn: "晶振", rateColumn: "波特率",
      codeColumn: "代码", custom: "（自定义）", noResult: "无结果：晶振须以数字开头，波特率不能为 0，晶振须低于 2147483648 Hz。",
      crystalNotGbk: "晶振文本含有 GBK 字符集无法表示的字符。", baudNotGbk: "波特率文本含有 GBK 字符集无法表示的字符。",
      warning: "警告", nothing: "无", none: "无结果", announce: "SMOD=0：{r0}，{d0}；SMOD=1：{r1}，{d1}",
      target_classic: "经典计算（与对话框相同）", targetNoResult: "无结果：该目标需要大于 0 的晶振（精确到 1 Hz 的十亿分之一）和大于 0 的波特率。",
      unknownTarget: "目录中没有这个目标。", unknownUart: "芯片没有串口 {uart}。",
      uart: "串口", addUart: "添加串口", planUarts: "同时规划的串口", removeUart: "移除", removeUartLabel: "移除 {uart}",
      familyGroup: "芯片系列（可同时规划多个串口）", targetGroup: "单个波特率发生器", family: "{name}（{uarts}）",
      generator: "发生器", clock: "时钟", note: "备注", timer: "定时器", reloadRegisters: "重装寄存器", why: "原因",
      best: "最佳", codeOf: "生成的 {function}", codePlan: "生成的初始化代码（每个串口一个函数）", codeMade: "生成",
      timerName: "定时器{n}", separator: "、",
      announceTarget: "最佳：{target}，{clock}，SMOD={smod}，{reload}，{deviation}",
      announcePlan: "{uart}：{target}，{deviation}", announceSeparator: "；",
      reasonOnly: "该串口只有这一个发生器", reasonBest: "单独计算时误差最小",
      reasonShared: "与 {others} 共用{timer}，一个设置同时满足", reasonAlsoShared: "；与 {others} 共用{timer}",
      reasonTaken: "单独最佳的 {best} 要用{timer}，而{timer}已由 {holder} 使用",
      conflictNoGenerator: "无法规划：芯片没有 {uarts}。",
      conflictOutOfReach: "无法规划：没有发生器能使 {uarts} 的波特率偏差在 1% 以内。",
      conflictSharedTimer: "无法规划：{uarts} 都要用{timer}，而{timer}没有一个设置能使它们的偏差同时在 1% 以内。",
      planNoResult: "无结果：晶振须是大于 0 的频率（精确到 1 Hz 的十亿分之一）。",
      uartTwice: "{uart} 在规划中出现了两次。", requestBaudNotGbk: "{uart} 的波特率文本含有 GBK 字符集无法表示的字符。",
      rateNoResult: "{uart} 的波特率须是大于 0 的数。",
      driver: "串口驱动", driverKind: "方式", interrupt: "中断，环形缓冲区", polled: "查询，不用中断",
      rxSize: "接收缓冲区", txSize: "发送缓冲区", buffers: "缓冲区位于",
      driverFilesNote: "每个串口一对头文件和源文件，或全部在一个文件中；编码和换行与上面的代码相同。第一个串口的源文件含 printf 所用的 putchar 和 getchar（Keil C51 为 _getkey）。",
      driverClassic: "串口驱动是为目标芯片的串口写的：请先在上面选择芯片系列或波特率发生器。",
      driverNoCode: "这些输入没有生成代码，因而也没有驱动。",
      driverBadSize: "缓冲区大小须从列表中选择。",
      driverIdataBudget: "缓冲区共 {bytes} 字节，超过驱动在 idata 中可用的 {budget} 字节：请选小一些的缓冲区，或把缓冲区放在 xdata。",
      oneFile: "{name}（一个文件）", downloadFile: "下载 {name}", downloadOneFile: "下载 {name}，全部驱动在一个文件中",
    },
    en: {
      title: "Tesmirol serial baud-rate calculator", switchTo: "中文", crystal: "Crystal", crystalPresets: "Crystal presets",
      baud: "Baud rate", baudPresets: "Baud rate presets", target: "Target", results: "Results", reload: "Reload",
      achieved: "Achieved rate", deviation: "Deviation", copy: "Copy to clipboard",
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
      unknownTarget: "The catalogue has no such target.", unknownUart: "The chip has no UART {uart}.",
      uart: "UART", addUart: "Add a UART", planUarts: "UARTs planned together", removeUart: "Remove",
      removeUartLabel: "Remove {uart}", familyGroup: "Chip families (several UARTs can be planned together)",
      targetGroup: "Single baud-rate generators", family: "{name} ({uarts})",
      generator: "Generator", clock: "Clock", note: "Note", timer: "Timer", reloadRegisters: "Reload registers",
      why: "Why", best: "best", codeOf: "Generated {function}", codePlan: "Generated init code (one function per UART)",
      codeMade: "code", timerName: "Timer {n}", separator: ", ",
      announceTarget: "Best: {target}, {clock}, SMOD={smod}, {reload}, {deviation}",
      announcePlan: "{uart}: {target}, {deviation}", announceSeparator: "; ",
      reasonOnly: "the only generator this UART has", reasonBest: "the least error of its generators",
      reasonShared: "shares {timer} with {others}: one setting serves them all",
      reasonAlsoShared: "; shares {timer} with {others}",
      reasonTaken: "its best alone, {best}, needs {timer}, which {holder} uses",
      conflictNoGenerator: "No plan: the chip has no {uarts}.",
      conflictOutOfReach: "No plan: no generator gives {uarts} the rate within 1 %.",
      conflictSharedTimer: "No plan: {uarts} all need {timer}, and no one setting of {timer} keeps them all within 1 %.",
      planNoResult: "No result: the crystal must be a frequency above 0 (to a billionth of a hertz).",
      uartTwice: "{uart} is in the plan twice.",
      requestBaudNotGbk: "The rate of {uart} holds a character the GBK character set cannot represent.",
      rateNoResult: "The rate of {uart} must be a number above 0.",
      driver: "Serial driver", driverKind: "Kind", interrupt: "interrupt, ring buffers", polled: "polled, no interrupt",
      rxSize: "Receive buffer", txSize: "Send buffer", buffers: "Buffers in",
      driverFilesNote: "A header and a source per UART, or everything in one file; encoding and line ends as for the code above. The first UART's source holds putchar and getchar (_getkey for Keil C51), which printf uses.",
      driverClassic: "The serial driver is written for a target chip's UART: choose a chip family or a baud-rate generator above first.",
      driverNoCode: "These inputs give no code, so there is no driver either.",
      driverBadSize: "Choose the buffer sizes from the lists.",
      driverIdataBudget: "The buffers take {bytes} bytes, more than the {budget} bytes of idata the driver may use: choose smaller buffers, or put them in xdata.",
      oneFile: "{name} (one file)", downloadFile: "Download {name}", downloadOneFile: "Download {name}, the whole driver in one file",
    },
  };

  // The plan's statuses for one request, each with the text that names it.
  const REQUEST_PROBLEMS = {
    unknownUart: "unknownUart", uartTwice: "uartTwice", baudNotGbk: "requestBaudNotGbk", rateNoResult: "rateNoResult",
  };

  const $ = (id) => document.getElementById(id);
  const state = {
    language: "zh", answer: null, view: "classic", requests: [], finderKey: null, finderFrame: 0, urlTimer: 0,
    targets: [], families: [], planRows: [], nextRowId: 1, driverSizes: {}, driverFiles: null, driverButtonsKey: null,
  };
  let bridge = null;
  let finderRows = [];

  function text(key, values) {
    const template = TEXTS[state.language][key] ?? TEXTS.zh[key] ?? key;
    return template.replace(/\{(\w+)\}/g, (_, name) => String(values?.[name] ?? ""));
  }

  // The Chinese labels of the reports, as the module holds them.
  function useReportLabels(labels) {
    Object.assign(TEXTS.zh, {
      selectedCrystal: `${labels.selectedCrystal}{hz} Hz`, range: `${labels.minimum}{min}bps  ${labels.maximum}{max}bps`,
      tooLow: labels.tooLow, tooHigh: labels.tooHigh, deviationLabel: `${labels.deviation}{text}%`,
    });
  }

  // "定时器2" / "Timer 2" for the catalogue's "timer2"; "BRT", "SBAUD1" as they are.
  function timerText(timer) {
    const number = /^timer(\d)$/.exec(timer);
    return number ? text("timerName", { n: number[1] }) : timer.toUpperCase();
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

  // A target's achieved rate as the report writes it, the exact fraction
  // in the cell's title where it is not whole.
  function setAchieved(cell, setting) {
    setCell(cell, setting ? `${setting.achievedDecimalText} bps` : "", undefined);
    cell.title = setting && setting.achievedDenominator !== "1" ? `${setting.achievedText} bps` : "";
  }

  function setCell(cell, content, good) {
    if (cell.textContent !== content) cell.textContent = content;
    cell.classList.toggle("good", good === true);
    cell.classList.toggle("bad", good === false);
  }

  function codeText(row) {
    if (row.outcome === null || row.outcome === undefined || row.status === null) return text("none");
    if (row.outcome === "Code") return row.chosenSmod === undefined ? text("codeMade") : `SMOD=${row.chosenSmod}`;
    return text(row.outcome === "Warning" ? "warning" : "nothing");
  }

  // Rows of a result table are made as needed and refilled on every change;
  // each row starts with a row header.
  function tableRows(table, count, columns) {
    const body = table.tBodies[0];
    while (body.rows.length < count) {
      const row = body.insertRow();
      row.appendChild(document.createElement("th")).scope = "row";
      for (let column = 1; column < columns; column += 1) row.insertCell();
    }
    Array.from(body.rows).forEach((row, index) => { row.hidden = index >= count; });
    return Array.from(body.rows).slice(0, count);
  }

  // The table the answer fills, the others hidden; the heading of the code.
  function showView(view, codeHeading) {
    state.view = view;
    $("modes").hidden = view !== "classic";
    $("target-modes").hidden = view !== "target";
    $("plan").hidden = view !== "plan";
    $("code-heading").textContent = codeHeading;
  }

  function showProblem(message) {
    const problem = $("problem");
    problem.hidden = message === "";
    problem.textContent = message;
  }

  function showOutput(output, hasCode) {
    if ($("output").textContent !== output) $("output").textContent = output;
    $("copy").disabled = output === "";
    $("download").disabled = !hasCode;
  }

  // The results of one calculation, as the dialog's labels show them.
  function showCalculation(answer) {
    const calculation = answer.status === "ok" ? answer.calculation : null;
    showView("classic", text("codeOf", { function: "SIO_Init" }));
    showProblem(calculation ? "" : text(answer.status === "ok" ? "noResult" : answer.status));
    $("selected-crystal").textContent = calculation ? text("selectedCrystal", { hz: calculation.crystalHz }) : "";
    $("range").textContent = calculation ? text("range", { min: calculation.minBps, max: calculation.maxBps }) : "";
    $("range").hidden = !calculation;
    const announced = {};
    for (const smod of [0, 1]) {
      const row = $(`smod${smod}`);
      const mode = calculation?.modes[smod];
      setCell(row.querySelector(".reload"), mode ? reloadText(mode) : "", mode ? mode.status === "Ok" : undefined);
      setCell(row.querySelector(".achieved"), mode ? `${mode.achieved} bps` : "", undefined);
      const deviation = mode ? text("deviationLabel", { text: mode.deviationText }) : "";
      setCell(row.querySelector(".deviation"), deviation, mode ? !mode.outOfTolerance : undefined);
      announced[`r${smod}`] = mode ? reloadText(mode) : "";
      announced[`d${smod}`] = deviation;
    }
    showOutput(calculation && calculation.outcome !== "Nothing" ? calculation.output : "", calculation?.outcome === "Code");
    $("announcer").textContent = calculation ? text("announce", announced) : $("problem").textContent;
  }

  function isBest(solution, setting, answer) {
    const best = solution.best;
    return solution.target === answer.bestTarget && best !== null && setting.clockIndex === best.clockIndex
      && setting.smod === best.smod && setting.reload === best.reload;
  }

  // The results for one UART on a target or a chip family: each target that
  // drives the UART, each of its clock choices and SMOD settings with the
  // best neighbour, the setting the code uses marked.
  function showTargetSolution(answer) {
    const ok = answer.status === "ok";
    showView("target", text("codeOf", { function: ok ? answer.function : "SIO_Init" }));
    const uart = $("uart").value;
    showProblem(ok ? "" : text(answer.status === "noResult" ? "targetNoResult" : answer.status, { uart }));
    const shown = ok ? answer.solutions[answer.shown] : null;
    $("selected-crystal").textContent = ok ? text("selectedCrystal", { hz: answer.crystalHzText }) : "";
    $("range").textContent = shown ? text("range", { min: shown.minRateText, max: shown.maxRateText }) : "";
    $("range").hidden = !shown;
    const lines = ok ? answer.solutions.flatMap((solution) => solution.modes.map((mode) => ({ solution, mode }))) : [];
    let announced = "";
    tableRows($("target-modes"), lines.length, 7).forEach((row, index) => {
      const { solution, mode } = lines[index];
      const setting = mode.status === "Ok" ? mode.tried[mode.bestTried] : null;
      const cells = row.cells;
      const best = setting !== null && isBest(solution, setting, answer);
      row.classList.toggle("best", best);
      setCell(cells[0], solution.target, undefined);
      setCell(cells[1], mode.clockText, undefined);
      setCell(cells[2], String(mode.smod), undefined);
      const reload = setting ? `${setting.reloadLabel} = ${setting.reloadText}` : reloadText(mode);
      setCell(cells[3], reload, setting !== null);
      setAchieved(cells[4], setting);
      const deviation = setting ? text("deviationLabel", { text: setting.deviationText }) : "";
      setCell(cells[5], deviation, setting ? !setting.outOfTolerance : undefined);
      setCell(cells[6], best ? text("best") : "", undefined);
      if (best) {
        announced = text("announceTarget", { target: solution.target, clock: mode.clockText,
          smod: mode.smod, reload, deviation });
      }
    });
    showOutput(ok && answer.outcome !== "Nothing" ? answer.output : "", answer.outcome === "Code");
    $("announcer").textContent = ok ? announced || $("range").textContent : $("problem").textContent;
  }

  function uartList(indices) {
    return indices.map((index) => state.requests[index]?.uart ?? "").join(text("separator"));
  }

  // Why a UART of the plan got its generator, in the page's language.
  function reasonText(uart, plan) {
    const others = uart.sharedWith.map((index) => plan.uarts[index].uart).join(text("separator"));
    const timer = timerText(uart.timer);
    let reason = {
      OnlyGenerator: () => text("reasonOnly"),
      BestAlone: () => text("reasonBest"),
      SharedTimer: () => text("reasonShared", { timer, others }),
      TimerTaken: () => text("reasonTaken", { best: uart.bestAlone, timer: timerText(uart.bestAloneTimer),
        holder: plan.uarts[uart.takenBy]?.uart ?? "" }),
    }[uart.reason]();
    if (uart.reason !== "SharedTimer" && uart.sharedWith.length > 0) reason += text("reasonAlsoShared", { timer, others });
    return reason;
  }

  function planProblem(answer) {
    if (answer.status in REQUEST_PROBLEMS) {
      return text(REQUEST_PROBLEMS[answer.status], { uart: state.requests[answer.request]?.uart ?? "" });
    }
    if (answer.status !== "ok") return text(answer.status === "noResult" ? "planNoResult" : answer.status);
    if (!answer.conflict) return "";
    const { kind, requests, timer } = answer.conflict;
    return text(`conflict${kind}`, { uarts: uartList(requests), timer: timerText(timer) });
  }

  // The plan of several UARTs: per UART its generator, timer, clock, SMOD,
  // reload registers, achieved rate, deviation and why; or the conflict.
  function showPlan(answer) {
    showView("plan", text("codePlan"));
    showProblem(planProblem(answer));
    $("selected-crystal").textContent = answer.status === "ok" ? text("selectedCrystal", { hz: answer.crystalHzText }) : "";
    $("range").textContent = "";
    $("range").hidden = true;
    const uarts = answer.plan?.uarts ?? [];
    const announced = [];
    tableRows($("plan"), uarts.length, 10).forEach((row, index) => {
      const uart = uarts[index];
      const { setting } = uart;
      const cells = row.cells;
      setCell(cells[0], uart.uart, undefined);
      setCell(cells[1], uart.baudText, undefined);
      setCell(cells[2], uart.target, undefined);
      setCell(cells[3], timerText(uart.timer), undefined);
      setCell(cells[4], setting.clockText, undefined);
      setCell(cells[5], String(setting.smod), undefined);
      setCell(cells[6], setting.registersText, true);
      setAchieved(cells[7], setting);
      setCell(cells[8], `${setting.deviationText}%`, !setting.outOfTolerance);
      setCell(cells[9], reasonText(uart, answer.plan), undefined);
      const deviation = text("deviationLabel", { text: setting.deviationText });
      announced.push(text("announcePlan", { uart: uart.uart, target: uart.target, deviation }));
    });
    showOutput(answer.status === "ok" && answer.outcome !== "Nothing" ? answer.output : "", answer.outcome === "Code");
    $("announcer").textContent = uarts.length > 0 ? announced.join(text("announceSeparator")) : $("problem").textContent;
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
    const target = $("target").value;
    return target === "classic" ? `classic\n${$("baud").value}` : `${target}\n${$("uart").value}\n${$("baud").value}`;
  }

  // Refills the finder for the rate in the box, the target and the UART,
  // when any has changed.
  function refreshFinder() {
    cancelAnimationFrame(state.finderFrame);
    state.finderFrame = 0;
    if (state.finderKey !== finderKey()) {
      const baud = $("baud").value;
      const target = $("target").value;
      if (target === "classic") {
        showFinder(bridge.crystalTable(baud));
      } else {
        showTargetFinder(bridge.targetTable(baud, target, $("uart").value));
      }
      state.finderKey = finderKey();
      markFinderRow($("crystal").value);
    }
  }

  function markFinderRow(crystal) {
    for (const { row, cells } of finderRows) row.classList.toggle("current", cells[0].textContent === crystal);
  }

  function showFinderHead(classic) {
    $("finder-head-classic").hidden = !classic;
    $("finder-head-target").hidden = classic;
  }

  function hideFinderRowsFrom(count) {
    for (let index = count; index < finderRows.length; index += 1) finderRows[index].row.hidden = true;
  }

  // The classic finder: each crystal's reload, rate and deviation for
  // SMOD = 0 and 1, and the setting the code would use.
  function showFinder(rows) {
    showFinderHead(true);
    rows.forEach((entry, index) => {
      const { row, cells } = finderRows[index];
      row.hidden = false;
      setCell(cells[0], entry.crystal, undefined);
      for (const smod of [0, 1]) {
        const mode = entry.modes?.[smod];
        const base = 1 + smod * 3;
        setCell(cells[base], mode ? finderReload(mode) : "-", mode ? mode.status === "Ok" : undefined);
        setCell(cells[base + 1], mode ? String(mode.achieved) : "-", undefined);
        setCell(cells[base + 2], mode ? `${mode.deviationText}%` : "-", mode ? !mode.outOfTolerance : undefined);
      }
      setCell(cells[7], codeText(entry), undefined);
    });
    hideFinderRowsFrom(rows.length);
  }

  // The finder on targets: each crystal's best generator and setting, as
  // tesmirol-cli --target --table gives them.
  function showTargetFinder(rows) {
    showFinderHead(false);
    rows.forEach((entry, index) => {
      const { row, cells } = finderRows[index];
      row.hidden = false;
      setCell(cells[0], entry.crystal, undefined);
      const best = entry.best ?? null;
      setCell(cells[1], best ? entry.target : "-", undefined);
      setCell(cells[2], best ? best.clockText : "-", undefined);
      setCell(cells[3], best ? String(best.smod) : "-", undefined);
      const verdict = entry.status === null ? "-" : finderReload({ status: entry.status, reloadText: best?.reloadText });
      setCell(cells[4], verdict, entry.status === null ? undefined : best !== null);
      setCell(cells[5], best ? best.achievedDecimalText : "-", undefined);
      setCell(cells[6], best ? `${best.deviationText}%` : "-", best ? !best.outOfTolerance : undefined);
      setCell(cells[7], codeText(entry), undefined);
    });
    hideFinderRowsFrom(rows.length);
  }

  // The driver's options as chosen; the sizes belong to the interrupt-driven
  // driver, the polled one has no buffers.
  function driverOptions() {
    return { polled: $("driver-kind").value === "polled", rxSize: Number($("rx-size").value),
      txSize: Number($("tx-size").value), xdata: $("buffers").value === "xdata" };
  }

  // The size lists offer what the buffers' space allows, the chosen size
  // kept where it is allowed (else the driver's default, 16).
  function fillDriverSizes(wanted = {}) {
    const sizes = state.driverSizes[$("buffers").value].map(String);
    for (const [id, key] of [["rx-size", "rx"], ["tx-size", "tx"]]) {
      const select = $(id);
      const keep = wanted[key] ?? select.value;
      if (select.options.length !== sizes.length) select.replaceChildren(...sizes.map((size) => new Option(size, size)));
      select.value = sizes.includes(keep) ? keep : "16";
    }
  }

  // The driver's file buttons, made again only when the files or the
  // language change, so that a focused button stays.
  function showDriverButtons(files) {
    const key = files ? JSON.stringify([state.language, files.files, files.oneFile]) : "";
    if (key === state.driverButtonsKey) return;
    state.driverButtonsKey = key;
    const buttons = (files?.files ?? []).map((name, index) => {
      const button = Object.assign(document.createElement("button"), { type: "button", textContent: name });
      button.dataset.file = String(index);
      button.setAttribute("aria-label", text("downloadFile", { name }));
      return button;
    });
    if (files) {
      const one = Object.assign(document.createElement("button"), { type: "button",
        textContent: text("oneFile", { name: files.oneFile }) });
      one.dataset.file = "-1";
      one.setAttribute("aria-label", text("downloadOneFile", { name: files.oneFile }));
      buttons.push(one);
    }
    $("driver-files").replaceChildren(...buttons);
  }

  // The driver for the UART shown, or the UARTs planned: what can be
  // downloaded, or why nothing can.
  function refreshDriver() {
    const classic = $("target").value === "classic";
    const polled = $("driver-kind").value === "polled";
    $("driver-options").hidden = classic;
    for (const id of ["rx-size", "tx-size", "buffers"]) $(id).disabled = polled;
    const answer = classic ? null
      : bridge.driverFiles($("crystal").value, $("target").value, planRequests(), driverOptions());
    state.driverFiles = answer?.status === "ok" ? answer : null;
    const note = {
      ok: "driverFilesNote", noCode: "driverNoCode", badSize: "driverBadSize", idataBudget: "driverIdataBudget",
    }[answer?.status] ?? "driverClassic";
    $("driver-note").textContent = text(note, answer);
    $("driver-note").classList.toggle("bad", answer !== null && answer.status !== "ok" && answer.status !== "noCode");
    showDriverButtons(state.driverFiles);
  }

  // The bytes of a driver file (index in the files; -1 the one-file form)
  // for these inputs, exactly as tesmirol-cli --driver writes it; null when
  // there is none.
  function driverBytesFor({ crystal, baud, target, uart, also = [], options, index, gbk, lineFeeds }) {
    const requests = [[uart, baud], ...also].map(([name, rate]) => ({ uart: name, baud: rate }));
    return bridge.driverBytes(crystal, target, requests, options, index, gbk, lineFeeds);
  }

  function downloadDriverFile(index) {
    const files = state.driverFiles;
    if (!files) return;
    const bytes = bridge.driverBytes($("crystal").value, $("target").value, planRequests(), driverOptions(), index,
      $("encoding").value === "gbk", $("line-ends").value === "lf");
    if (bytes) saveFile(bytes, index < 0 ? files.oneFile : files.files[index]);
  }

  // The preset choice shows the preset the text equals, or "custom".
  function syncPreset(select, value) {
    const match = Array.from(select.options).find((option) => option.value === value && option.value !== "");
    select.value = match ? value : "";
  }

  // The UARTs the target choice offers: a family's every UART, a target's
  // own, none for the classic calculation.
  function uartsOf(name) {
    const family = state.families.find((entry) => entry.name === name);
    if (family) return family.uarts;
    const target = state.targets.find((entry) => entry.name === name);
    return target ? [target.uart] : [];
  }

  function isFamily(name) {
    return state.families.some((entry) => entry.name === name);
  }

  function fillOptions(select, values) {
    const kept = select.value;
    select.replaceChildren(...values.map((value) => new Option(value, value)));
    if (values.includes(kept)) select.value = kept;
  }

  // Every UART choice offers the UARTs no other row has taken; the add
  // button stays while the family has a UART left.
  function refreshUartChoices() {
    const selects = [$("uart"), ...state.planRows.map((entry) => entry.select)];
    for (const select of selects) {
      const taken = new Set(selects.filter((other) => other !== select).map((other) => other.value));
      for (const option of select.options) option.disabled = taken.has(option.value);
    }
    const uarts = uartsOf($("target").value);
    $("add-uart").disabled = !isFamily($("target").value) || selects.length >= uarts.length;
    $("plan-uarts").hidden = state.planRows.length === 0;
    for (const entry of state.planRows) {
      entry.remove.setAttribute("aria-label", text("removeUartLabel", { uart: entry.select.value }));
    }
  }

  // Adds a UART to plan with the first UART no row has taken and a rate.
  function addPlanRow(uart, baud) {
    const id = state.nextRowId;
    state.nextRowId += 1;
    const row = document.createElement("div");
    row.className = "field plan-row";
    const uartLabel = Object.assign(document.createElement("label"), { htmlFor: `plan-uart-${id}` });
    uartLabel.dataset.text = "uart";
    const select = Object.assign(document.createElement("select"), { id: `plan-uart-${id}`, className: "plan-uart" });
    const baudLabel = Object.assign(document.createElement("label"), { htmlFor: `plan-baud-${id}` });
    baudLabel.dataset.text = "baud";
    const input = Object.assign(document.createElement("input"), { id: `plan-baud-${id}`, className: "plan-baud",
      type: "text", inputMode: "numeric", spellcheck: false, value: baud });
    const remove = Object.assign(document.createElement("button"), { type: "button", className: "remove-uart" });
    remove.dataset.text = "removeUart";
    for (const element of [uartLabel, baudLabel, remove]) element.textContent = text(element.dataset.text);
    row.append(uartLabel, select, baudLabel, input, remove);
    $("plan-rows").append(row);
    const entry = { row, select, input, remove };
    state.planRows.push(entry);
    const taken = new Set([$("uart").value, ...state.planRows.map((other) => other.select.value)]);
    const uarts = uartsOf($("target").value);
    fillOptions(select, uarts);
    select.value = uarts.includes(uart) && !taken.has(uart) ? uart : uarts.find((name) => !taken.has(name));
    select.addEventListener("change", update);
    input.addEventListener("input", update);
    remove.addEventListener("click", () => {
      removePlanRow(entry);
      $("add-uart").focus();  // a UART is free again, so the button is there
      update();
    });
    refreshUartChoices();
    return entry;
  }

  function removePlanRow(entry) {
    entry.row.remove();
    state.planRows = state.planRows.filter((other) => other !== entry);
    refreshUartChoices();
  }

  // After the target changes: its UARTs in the UART choice (the UART kept
  // when the new target has it), and the planned rows it cannot serve gone.
  function applyTargetChoice() {
    const target = $("target").value;
    const uarts = uartsOf(target);
    $("uart-field").hidden = target === "classic";
    fillOptions($("uart"), uarts);
    $("uart").disabled = uarts.length < 2;
    for (const entry of [...state.planRows]) {
      if (!isFamily(target) || !uarts.includes(entry.select.value)) removePlanRow(entry);
    }
    refreshUartChoices();
  }

  // The UARTs asked for: the UART choice with the rate box, then each row.
  function planRequests() {
    return [{ uart: $("uart").value, baud: $("baud").value },
      ...state.planRows.map((entry) => ({ uart: entry.select.value, baud: entry.input.value }))];
  }

  // The URL follows the inputs a moment after the last change: browsers
  // ignore history updates that come faster than a few a second.
  function scheduleUrl() {
    clearTimeout(state.urlTimer);
    state.urlTimer = setTimeout(writeUrl, 150);
  }

  function writeUrl() {
    const params = new URLSearchParams({ crystal: $("crystal").value, baud: $("baud").value, target: $("target").value });
    if ($("target").value !== "classic") params.set("uart", $("uart").value);
    for (const entry of state.planRows) params.append("also", `${entry.select.value}:${entry.input.value}`);
    params.set("lang", state.language);
    params.set("encoding", $("encoding").value);
    params.set("lineEnds", $("line-ends").value);
    if ($("target").value !== "classic") {
      params.set("driver", $("driver-kind").value);
      if ($("driver-kind").value === "interrupt") {
        params.set("rx", $("rx-size").value);
        params.set("tx", $("tx-size").value);
        params.set("buffers", $("buffers").value);
      }
    }
    history.replaceState(null, "", `#${params}`);
  }

  function selectIfOffered(select, value) {
    if (Array.from(select.options).some((option) => option.value === value)) select.value = value;
  }

  function readUrl() {
    const params = new URLSearchParams(location.hash.slice(1));
    if (params.has("crystal")) $("crystal").value = params.get("crystal");
    if (params.has("baud")) $("baud").value = params.get("baud");
    if (params.get("lang") === "en" || params.get("lang") === "zh") state.language = params.get("lang");
    for (const [id, key] of [["encoding", "encoding"], ["line-ends", "lineEnds"], ["target", "target"],
      ["driver-kind", "driver"], ["buffers", "buffers"]]) {
      selectIfOffered($(id), params.get(key));
    }
    fillDriverSizes({ rx: params.get("rx") ?? undefined, tx: params.get("tx") ?? undefined });
    choose($("target").value, params.get("uart"), params.getAll("also").map((also) => {
      const colon = also.indexOf(":");
      return colon < 0 ? [also, ""] : [also.slice(0, colon), also.slice(colon + 1)];
    }));
  }

  // Sets the target, the UART and the UARTs planned with it ([uart, rate]
  // pairs), as the URL or a user's choices do.
  function choose(target, uart, also = []) {
    selectIfOffered($("target"), target);
    for (const entry of [...state.planRows]) removePlanRow(entry);
    applyTargetChoice();
    if (uart) selectIfOffered($("uart"), uart);
    if (isFamily($("target").value)) {
      const uarts = uartsOf($("target").value);
      for (const [name, baud] of also) {
        const taken = [$("uart").value, ...state.planRows.map((entry) => entry.select.value)];
        if (uarts.includes(name) && !taken.includes(name)) addPlanRow(name, baud);
      }
    }
    refreshUartChoices();
  }

  // Recomputes and shows everything for the current inputs. The code view
  // speaks the page's language; the files downloaded are the command line's
  // (Chinese comments) until it takes a language too.
  function update() {
    const crystal = $("crystal").value;
    const baud = $("baud").value;
    const target = $("target").value;
    refreshUartChoices();
    if (target === "classic") {
      state.answer = bridge.calculate(crystal, baud, state.language);
      showCalculation(state.answer);
    } else if (state.planRows.length > 0) {
      state.requests = planRequests();
      state.answer = bridge.plan(crystal, target, state.requests, state.language);
      showPlan(state.answer);
    } else {
      state.answer = bridge.solveTarget(crystal, baud, target, $("uart").value, state.language);
      showTargetSolution(state.answer);
    }
    // The finder depends on the rate, the target and the UART alone, and a
    // new rate refills some six hundred cells: that waits for the next
    // frame, after the results and the code are on the screen.
    if (state.finderKey !== finderKey() && !state.finderFrame) {
      state.finderFrame = requestAnimationFrame(refreshFinder);
    }
    refreshDriver();
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
      const family = state.families.find((entry) => entry.name === option.value);
      const target = state.targets.find((entry) => entry.name === option.value);
      if (option.value === "classic") option.textContent = text("target_classic");
      else if (family) option.textContent = text("family", { name: family.name, uarts: family.uarts.join(text("separator")) });
      else option.textContent = `${target.name}: ${target.chips}`;
    }
    $("target-families").label = text("familyGroup");
    $("target-generators").label = text("targetGroup");
    refreshUartChoices();
  }

  function fillSelect(select, values, withCustom) {
    if (withCustom) select.add(new Option("", ""));
    for (const value of values) select.add(new Option(value, value));
  }

  // The target choice: the classic calculation, the chip families, then
  // every generator of the catalogue.
  function fillTargets() {
    const select = $("target");
    select.add(new Option("", "classic"));
    const families = Object.assign(document.createElement("optgroup"), { id: "target-families" });
    families.append(...state.families.map((family) => new Option(family.name, family.name)));
    const generators = Object.assign(document.createElement("optgroup"), { id: "target-generators" });
    generators.append(...state.targets.map((target) => new Option(target.name, target.name)));
    select.append(families, generators);
  }

  // The bytes of the code the download writes for these inputs: the
  // classic SIO_Init, a target's init function or the plan's code, with the
  // chosen encoding and line ends, exactly as tesmirol-cli writes them;
  // null when there is no code.
  function codeBytesFor({ crystal, baud, target = "classic", uart = "", also = [], gbk, lineFeeds }) {
    if (target === "classic") return bridge.codeBytes(crystal, baud, gbk, lineFeeds);
    if (also.length === 0) return bridge.targetCodeBytes(crystal, baud, target, uart, gbk, lineFeeds);
    const requests = [[uart, baud], ...also].map(([name, rate]) => ({ uart: name, baud: rate }));
    return bridge.planCodeBytes(crystal, target, requests, gbk, lineFeeds);
  }

  function codeFileBytes() {
    return codeBytesFor({
      crystal: $("crystal").value, baud: $("baud").value, target: $("target").value, uart: $("uart").value,
      also: state.planRows.map((entry) => [entry.select.value, entry.input.value]),
      gbk: $("encoding").value === "gbk", lineFeeds: $("line-ends").value === "lf",
    });
  }

  // sio_init.c, sio2_init.c ... after the function; uart_init.c for a plan.
  function codeFileName() {
    if (state.view === "plan") return "uart_init.c";
    return state.view === "target" && state.answer.function ? `${state.answer.function.toLowerCase()}.c` : "sio_init.c";
  }

  function download() {
    const bytes = codeFileBytes();
    if (bytes) saveFile(bytes, codeFileName());
  }

  // Hands the bytes to the browser as a download named name.
  function saveFile(bytes, name) {
    const url = URL.createObjectURL(new Blob([bytes], { type: name.endsWith(".h") ? "text/x-chdr" : "text/x-csrc" }));
    const link = document.createElement("a");
    link.href = url;
    link.download = name;
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
    useReportLabels(bridge.reportLabels());
    const presets = bridge.presets();
    fillSelect($("crystal-preset"), presets.crystals, true);
    fillSelect($("baud-preset"), presets.bauds, true);
    ({ targets: state.targets, families: state.families } = bridge.targets());
    // The buffer sizes each space allows, from the generator's own rules.
    for (const space of ["idata", "xdata"]) {
      state.driverSizes[space] = bridge.driverFiles("", "", [], { polled: false, rxSize: 16, txSize: 16,
        xdata: space === "xdata" }).sizes;
    }
    fillDriverSizes();
    fillTargets();
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
    $("target").addEventListener("change", () => {
      applyTargetChoice();
      update();
    });
    for (const id of ["uart", "encoding", "line-ends", "driver-kind", "rx-size", "tx-size"]) {
      $(id).addEventListener("change", update);
    }
    $("buffers").addEventListener("change", () => {
      fillDriverSizes();
      update();
    });
    $("driver-files").addEventListener("click", (event) => {
      const button = event.target.closest("button[data-file]");
      if (button) downloadDriverFile(Number(button.dataset.file));
    });
    $("add-uart").addEventListener("click", () => {
      addPlanRow("", "9600").input.focus();
      update();
    });
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
  // update, its choices and its file bytes.
  window.tesmirolPage = {
    ready: start(),
    get bridge() { return bridge; },
    get answer() { return state.answer; },
    update,
    refreshFinder,
    choose,
    codeFileBytes,
    codeFileName,
    // The bytes the download would write for these inputs, the page left as it is.
    codeFileBytesFor(crystal, baud, gbk, lineFeeds, target = "classic", uart = "", also = []) {
      return codeBytesFor({ crystal, baud, target, uart, also, gbk, lineFeeds });
    },
    // The driver's files ({status, files, oneFile, sizes}) and the bytes of
    // one of them for these inputs, the page left as it is.
    driverFilesFor(crystal, baud, target, uart, also, options) {
      const requests = [[uart, baud], ...also].map(([name, rate]) => ({ uart: name, baud: rate }));
      return bridge.driverFiles(crystal, target, requests, options);
    },
    driverBytesFor(crystal, baud, target, uart, also, options, index, gbk, lineFeeds) {
      return driverBytesFor({ crystal, baud, target, uart, also, options, index, gbk, lineFeeds });
    },
  };
})();
