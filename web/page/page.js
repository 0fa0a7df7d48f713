// The page: reads the inputs, asks the bridge, shows the answers. Every
// keystroke recomputes everything, as the dialog does; the state lives in the
// URL's fragment, so a link reproduces the calculation. Nothing here
// calculates: numbers, texts of numbers and the code come from the module.
"use strict";

(function () {
  // The labels before the numbers in Chinese (选用晶震：, 最低：, 偏差： ...)
  // are the reports' own, taken from the module at start (useReportLabels),
  // so that the page and tesmirol-cli's report say the same.
  // The user's texts in both languages, the text tables of res/texts/
  // (tesmirol-texts.js, written by the build): the page's own under "page.",
  // the reports' labels under "report.", the catalogue's under "target.".
  const TABLES = self.TESMIROL_TEXTS ?? { zh: {}, en: {} };

  // The plan's statuses for one request, each with the text that names it.
  const REQUEST_PROBLEMS = {
    unknownUart: "unknown-uart", uartTwice: "uart-twice", baudNotGbk: "request-baud-not-gbk",
    rateNoResult: "rate-no-result",
  };

  const $ = (id) => document.getElementById(id);
  const state = {
    language: "zh", answer: null, view: "classic", requests: [], finderKey: null, finderFrame: 0, urlTimer: 0,
    targets: [], families: [], planRows: [], nextRowId: 1, driverSizes: {}, driverSizesChosen: false,
    driverFiles: null, driverButtonsKey: null,
    linkPeer: null, linkKey: null,
  };
  let bridge = null;
  let finderRows = [];
  const missingTexts = new Set();

  function otherLanguage() {
    return state.language === "zh" ? "en" : "zh";
  }

  // The text of a key in the page's language with its placeholders filled
  // ("{uart}"; "{{" and "}}" are braces): "page." is implied for a key
  // without a dot. A key the table lacks shows as itself and is recorded
  // (missingTexts), so that the tests find it.
  function text(key, values) {
    const name = key.includes(".") ? key : `page.${key}`;
    const template = TABLES[state.language][name];
    if (template === undefined) {
      missingTexts.add(`${state.language}:${name}`);
      return name;
    }
    return template.replace(/\{\{|\}\}|\{(\w+)\}/g,
      (match, placeholder) => (placeholder ? String(values?.[placeholder] ?? "") : match[0]));
  }

  // "crystalNotGbk" -> "crystal-not-gbk", "SharedTimer" -> "shared-timer": a status of the module's answers
  // as the part of the key of its text.
  function keyOf(name) {
    return name.replace(/^[A-Z]/, (letter) => letter.toLowerCase()).replace(/[A-Z]/g, (letter) => `-${letter.toLowerCase()}`);
  }

  // The reports' labels before their numbers, as tesmirol-cli's report
  // writes them (选用晶震：11059200 Hz, 最低：112bps  最高：57600bps).
  function selectedCrystalText(hz) {
    return `${text("report.selected-crystal")}${hz} Hz`;
  }

  function rangeText(min, max) {
    return `${text("report.minimum")}${min}bps  ${text("report.maximum")}${max}bps`;
  }

  function deviationLabel(deviation) {
    return `${text("report.deviation")}${deviation}%`;
  }

  // "定时器2" / "Timer 2" for the catalogue's "timer2"; "BRT", "SBAUD1" as they are.
  function timerText(timer) {
    const number = /^timer(\d)$/.exec(timer);
    return number ? text("timer-name", { n: number[1] }) : timer.toUpperCase();
  }

  // The reload cell's text: the reload, or why there is none.
  function reloadText(mode) {
    if (mode.status === "TooLow") return text("report.too-low");
    if (mode.status === "TooHigh") return text("report.too-high");
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
    if (row.outcome === "Code") return row.chosenSmod === undefined ? text("code-made") : `SMOD=${row.chosenSmod}`;
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
    showView("classic", text("code-of", { function: "SIO_Init" }));
    showProblem(calculation ? "" : text(answer.status === "ok" ? "no-result" : keyOf(answer.status)));
    $("selected-crystal").textContent = calculation ? selectedCrystalText(calculation.crystalHz) : "";
    $("range").textContent = calculation ? rangeText(calculation.minBps, calculation.maxBps) : "";
    $("range").hidden = !calculation;
    const announced = {};
    for (const smod of [0, 1]) {
      const row = $(`smod${smod}`);
      const mode = calculation?.modes[smod];
      setCell(row.querySelector(".reload"), mode ? reloadText(mode) : "", mode ? mode.status === "Ok" : undefined);
      setCell(row.querySelector(".achieved"), mode ? `${mode.achieved} bps` : "", undefined);
      const deviation = mode ? deviationLabel(mode.deviationText) : "";
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
    showView("target", text("code-of", { function: ok ? answer.function : "SIO_Init" }));
    const uart = $("uart").value;
    showProblem(ok ? "" : text(answer.status === "noResult" ? "target-no-result" : keyOf(answer.status), { uart }));
    const shown = ok ? answer.solutions[answer.shown] : null;
    $("selected-crystal").textContent = ok ? selectedCrystalText(answer.crystalHzText) : "";
    $("range").textContent = shown ? rangeText(shown.minRateText, shown.maxRateText) : "";
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
      const deviation = setting ? deviationLabel(setting.deviationText) : "";
      setCell(cells[5], deviation, setting ? !setting.outOfTolerance : undefined);
      setCell(cells[6], best ? text("best") : "", undefined);
      if (best) {
        announced = text("announce-target", { target: solution.target, clock: mode.clockText,
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
      OnlyGenerator: () => text("reason-only"),
      BestAlone: () => text("reason-best"),
      SharedTimer: () => text("reason-shared", { timer, others }),
      TimerTaken: () => text("reason-taken", { best: uart.bestAlone, timer: timerText(uart.bestAloneTimer),
        holder: plan.uarts[uart.takenBy]?.uart ?? "" }),
    }[uart.reason]();
    if (uart.reason !== "SharedTimer" && uart.sharedWith.length > 0) reason += text("reason-also-shared", { timer, others });
    return reason;
  }

  function planProblem(answer) {
    if (answer.status in REQUEST_PROBLEMS) {
      return text(REQUEST_PROBLEMS[answer.status], { uart: state.requests[answer.request]?.uart ?? "" });
    }
    if (answer.status !== "ok") return text(answer.status === "noResult" ? "plan-no-result" : keyOf(answer.status));
    if (!answer.conflict) return "";
    const { kind, requests, timer } = answer.conflict;
    return text(`conflict-${keyOf(kind)}`, { uarts: uartList(requests), timer: timerText(timer) });
  }

  // The plan of several UARTs: per UART its generator, timer, clock, SMOD,
  // reload registers, achieved rate, deviation and why; or the conflict.
  function showPlan(answer) {
    showView("plan", text("code-plan"));
    showProblem(planProblem(answer));
    $("selected-crystal").textContent = answer.status === "ok" ? selectedCrystalText(answer.crystalHzText) : "";
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
      const deviation = deviationLabel(setting.deviationText);
      announced.push(text("announce-plan", { uart: uart.uart, target: uart.target, deviation }));
    });
    showOutput(answer.status === "ok" && answer.outcome !== "Nothing" ? answer.output : "", answer.outcome === "Code");
    $("announcer").textContent = uarts.length > 0 ? announced.join(text("announce-separator")) : $("problem").textContent;
  }

  // The crystal finder's rows are made once and refilled on every change.
  function buildFinder(crystals) {
    const body = $("finder-table").tBodies[0];
    finderRows = crystals.map(() => {
      const row = body.insertRow();
      const cells = [];
      for (let column = 0; column < 9; column += 1) {
        cells.push(column === 0 ? row.appendChild(document.createElement("th")) : row.insertCell());
      }
      cells[0].scope = "row";
      cells[8].className = "link-column";
      return { row, cells };
    });
  }

  // What the finder depends on: the rate, the target and its UART, the link
  // and whether it ranks by the link.
  function finderKey() {
    const target = $("target").value;
    const link = JSON.stringify([linkTexts(), rankByLink()]);
    return target === "classic" ? `classic\n${$("baud").value}\n${link}`
      : `${target}\n${$("uart").value}\n${$("baud").value}\n${link}`;
  }

  function rankByLink() {
    return $("finder-rank").checked && linkTexts().peer !== "";
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
        showFinder(bridge.crystalTable(baud, rankByLink()));
      } else {
        showTargetFinder(bridge.targetTable(baud, target, $("uart").value, rankByLink()));
      }
      $("finder-table").classList.toggle("no-link", linkTexts().peer === "");
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
      setFinderLink(cells[8], entry.link);
    });
    hideFinderRowsFrom(rows.length);
  }

  // The finder's link cell: the margin in the verdict's colour, "-" where
  // the link could not be checked, empty without a link.
  function setFinderLink(cell, link) {
    setCell(cell, !link ? "" : link.status === "Checked" ? `${link.marginText}%` : "-", undefined);
    setVerdictClass(cell, link?.verdict);
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
      setFinderLink(cells[8], entry.link);
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
      button.setAttribute("aria-label", text("download-file", { name }));
      return button;
    });
    if (files) {
      const one = Object.assign(document.createElement("button"), { type: "button",
        textContent: text("one-file", { name: files.oneFile }) });
      one.dataset.file = "-1";
      one.setAttribute("aria-label", text("download-one-file", { name: files.oneFile }));
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
    let answer = classic ? null
      : bridge.driverFiles($("crystal").value, $("target").value, planRequests(), driverOptions());
    // Until the user picks the sizes, they follow the chip: 8 where internal
    // RAM is 128 bytes, 16 beside more.
    const chipSize = String(answer?.defaultSize ?? "");
    if (!state.driverSizesChosen && !polled && $("buffers").value === "idata" && chipSize
        && ($("rx-size").value !== chipSize || $("tx-size").value !== chipSize)) {
      fillDriverSizes({ rx: chipSize, tx: chipSize });
      answer = bridge.driverFiles($("crystal").value, $("target").value, planRequests(), driverOptions());
    }
    state.driverFiles = answer?.status === "ok" ? answer : null;
    const note = {
      ok: "driver-files-note", noCode: "driver-no-code", badSize: "driver-bad-size",
    }[answer?.status] ?? "driver-classic";
    $("driver-note").textContent = answer?.status === "refused" ? answer.message[state.language] : text(note, answer);
    $("driver-note").classList.toggle("bad", answer !== null && answer.status !== "ok" && answer.status !== "noCode");
    showDriverButtons(state.driverFiles);
  }

  // The bytes of a driver file (index in the files; -1 the one-file form)
  // for these inputs, exactly as tesmirol-cli --driver writes it; null when
  // there is none.
  function driverBytesFor({ crystal, baud, target, uart, also = [], options, index, gbk, lineFeeds }) {
    const requests = [[uart, baud], ...also].map(([name, rate, peer = ""]) => ({ uart: name, baud: rate, peer }));
    return bridge.driverBytes(crystal, target, requests, options, index, gbk, lineFeeds, state.language);
  }

  function downloadDriverFile(index) {
    const files = state.driverFiles;
    if (!files) return;
    const bytes = bridge.driverBytes($("crystal").value, $("target").value, planRequests(), driverOptions(), index,
      $("encoding").value === "gbk", $("line-ends").value === "lf", state.language);
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
      entry.remove.setAttribute("aria-label", text("remove-uart-label", { uart: entry.select.value }));
    }
  }

  // The other ends a planned UART may name: the link's ("" as chosen above),
  // the adapters and an ideal end.
  function planPeerValues() {
    return ["", ...Array.from($("peer").options).map((option) => option.value).filter((value) => value !== ""
      && value !== "8051")];
  }

  function planPeerText(value) {
    if (value === "") return text("plan-peer-link");
    return value === "ideal" ? text("peer-ideal") : text("peer-adapter", { name: value });
  }

  // Adds a UART to plan with the first UART no row has taken, a rate and
  // its own other end ("" for the link's).
  function addPlanRow(uart, baud, peer = "") {
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
    const peerLabel = Object.assign(document.createElement("label"), { htmlFor: `plan-peer-${id}` });
    peerLabel.dataset.text = "plan-peer";
    const peerSelect = Object.assign(document.createElement("select"), { id: `plan-peer-${id}`, className: "plan-peer" });
    for (const value of planPeerValues()) peerSelect.add(new Option(planPeerText(value), value));
    selectIfOffered(peerSelect, peer);
    const remove = Object.assign(document.createElement("button"), { type: "button", className: "remove-uart" });
    remove.dataset.text = "remove-uart";
    for (const element of [uartLabel, baudLabel, peerLabel, remove]) element.textContent = text(element.dataset.text);
    row.append(uartLabel, select, baudLabel, input, peerLabel, peerSelect, remove);
    $("plan-rows").append(row);
    const entry = { row, select, input, peer: peerSelect, remove };
    state.planRows.push(entry);
    const taken = new Set([$("uart").value, ...state.planRows.map((other) => other.select.value)]);
    const uarts = uartsOf($("target").value);
    fillOptions(select, uarts);
    select.value = uarts.includes(uart) && !taken.has(uart) ? uart : uarts.find((name) => !taken.has(name));
    select.addEventListener("change", update);
    input.addEventListener("input", update);
    peerSelect.addEventListener("change", update);
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

  // The UARTs asked for: the UART choice with the rate box (its other end
  // the link's), then each row with its own.
  function planRequests() {
    return [{ uart: $("uart").value, baud: $("baud").value, peer: "" },
      ...state.planRows.map((entry) => ({ uart: entry.select.value, baud: entry.input.value, peer: entry.peer.value }))];
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
    for (const entry of state.planRows) {
      const peer = entry.peer.value === "" ? "" : `:${entry.peer.value}`;
      params.append("also", `${entry.select.value}:${entry.input.value}${peer}`);
    }
    params.set("lang", state.language);
    if ($("peer").value !== "") {
      params.set("peer", $("peer").value);
      if ($("peer").value === "8051") params.set("peerChip", $("peer-chip").value);
      params.set("tolerance", $("tolerance").value);
      params.set("frame", $("frame").value);
      if ($("finder-rank").checked) params.set("rank", "link");
    }
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
    state.driverSizesChosen = params.has("rx") || params.has("tx");
    $("peer").value = "";
    for (const [id, key] of [["peer", "peer"], ["frame", "frame"]]) selectIfOffered($(id), params.get(key));
    for (const [id, key] of [["peer-chip", "peerChip"], ["tolerance", "tolerance"]]) {
      if (params.has(key)) $(id).value = params.get(key);
    }
    $("finder-rank").checked = params.get("rank") === "link";
    // also=UART:RATE[:PEER], the row's own other end after the rate.
    choose($("target").value, params.get("uart"), params.getAll("also").map((also) => {
      const [uart, baud = "", peer = ""] = also.split(":");
      return [uart, baud, peer];
    }));
  }

  // Sets the target, the UART and the UARTs planned with it ([uart, rate,
  // other end]), as the URL or a user's choices do.
  function choose(target, uart, also = []) {
    selectIfOffered($("target"), target);
    for (const entry of [...state.planRows]) removePlanRow(entry);
    applyTargetChoice();
    if (uart) selectIfOffered($("uart"), uart);
    if (isFamily($("target").value)) {
      const uarts = uartsOf($("target").value);
      for (const [name, baud, peer] of also) {
        const taken = [$("uart").value, ...state.planRows.map((entry) => entry.select.value)];
        if (uarts.includes(name) && !taken.includes(name)) addPlanRow(name, baud, peer);
      }
    }
    refreshUartChoices();
  }

  // The link's texts as the module reads them: the other end (a second
  // 8051's CHIP@CRYSTAL from its box), this end's tolerance and the frame.
  function linkTexts() {
    const peer = $("peer").value === "8051" ? $("peer-chip").value : $("peer").value;
    return { peer, tolerance: $("tolerance").value, frame: $("frame").value };
  }

  // The link choices: the second 8051's box only for a second 8051, the
  // tolerance and frame only with another end (the link's, or a planned
  // UART's own); the finder ranks only with the link's.
  function refreshLinkChoices() {
    const peer = $("peer").value;
    const anyPeer = peer !== "" || state.planRows.some((entry) => entry.peer.value !== "");
    const key = `${peer}|${anyPeer}`;
    if (key === state.linkPeer) return;
    state.linkPeer = key;
    $("peer-chip").hidden = peer !== "8051";
    $("peer-chip-label").hidden = peer !== "8051";
    for (const id of ["tolerance", "frame"]) $(id).disabled = !anyPeer;
    $("finder-rank").disabled = peer === "";
  }

  // The verdict's colour: blue when the link works, amber when marginal,
  // red when it fails.
  function setVerdictClass(element, verdict) {
    element.classList.toggle("good", verdict === "Works");
    element.classList.toggle("marginal", verdict === "Marginal");
    element.classList.toggle("bad", verdict === "Fails");
  }

  function verdictText(verdict) {
    return text(`link.verdict-${verdict.toLowerCase()}`);
  }

  // Why a UART's link could not be checked, in the page's language.
  function linkProblem(link, prefix) {
    const key = link.status === "PeerCannot" ? `link-${link.peerKind}-cannot` : `link-${keyOf(link.status)}`;
    return text(key, { uart: prefix, peer: link.peer, baud: link.baud, frame: $("frame").value });
  }

  // The link beside the results: per UART (one, or each of a plan) the
  // verdict, each direction's worst mismatch (the sense nearer its limit),
  // the receiver's limit and the margin, the largest tolerance this end's
  // clock may have, and the second 8051's setting; or why it is unchecked.
  // links: [{uart, link}], uart "" for the single UART.
  function showLink(links) {
    const shown = links.filter((entry) => entry.link);
    // Without a link there is nothing to refill, keystroke after keystroke.
    if (shown.length === 0 && $("link-result").hidden) return;
    $("link-result").hidden = shown.length === 0;
    const verdict = $("link-verdict");
    const parts = [];
    const rows = [];
    const notes = [];
    const problems = [];
    for (const { uart, link } of shown) {
      const prefix = uart ? text("link-uart-prefix", { uart }) : "";
      if (link.verdict) parts.push({ text: `${prefix}${verdictText(link.verdict)}`, verdict: link.verdict });
      if (link.status !== "Checked") {
        problems.push(linkProblem(link, prefix));
        continue;
      }
      for (const [key, direction] of [["link-own-to-peer", link.ownToPeer], ["link-peer-to-own", link.peerToOwn]]) {
        rows.push({ uart, direction: text(key), sense: direction[direction.binding], binding: direction.binding,
          verdict: direction.verdict });
      }
      notes.push(link.maxOwnTolerancePpm === null ? text("link-no-tolerance", { uart: prefix })
        : text("link-max-tolerance", { uart: prefix, ppm: link.maxOwnTolerancePpm }));
      const peer = link.peerSetting;
      if (peer) {
        notes.push(text("link-peer-setting", { uart: prefix, target: link.peerTarget, clock: peer.clockText,
          smod: peer.smod, reload: `${peer.reloadLabel} = ${peer.reloadText}`, rate: peer.achievedDecimalText }));
      }
    }
    // The verdict line and the notes are made again only when they change.
    const key = JSON.stringify([state.language, parts, notes]);
    if (key !== state.linkKey) {
      state.linkKey = key;
      const spans = parts.map((part, index) => {
        const span = document.createElement("span");
        span.textContent = part.text;
        setVerdictClass(span, part.verdict);
        return index === 0 ? [span] : [text("announce-separator"), span];
      }).flat();
      verdict.replaceChildren(...(spans.length > 0 ? [text("link-verdict", { verdict: "" }), ...spans] : []));
      verdict.hidden = spans.length === 0;
      const list = $("link-notes");
      list.replaceChildren(...notes.map((note) => Object.assign(document.createElement("li"), { textContent: note })));
      list.hidden = notes.length === 0;
    }
    if ($("link-problem").textContent !== problems.join(" ")) $("link-problem").textContent = problems.join(" ");
    // The verdict (or why there is none) is announced after the results.
    const said = [verdict.hidden ? "" : verdict.textContent, problems.join(" ")].filter((part) => part !== "");
    if (said.length > 0) $("announcer").textContent += text("announce-separator") + said.join(text("announce-separator"));
    $("link-problem").hidden = problems.length === 0;
    $("link-table").hidden = rows.length === 0;
    // One UART alone needs no UART column.
    $("link-table").classList.toggle("single", !links.some((entry) => entry.uart));
    tableRows($("link-table"), rows.length, 6).forEach((row, index) => {
      const entry = rows[index];
      const cells = row.cells;
      setCell(cells[0], entry.uart, undefined);
      setCell(cells[1], entry.direction, undefined);
      setCell(cells[2], text(`link-${entry.binding}`, { percent: entry.sense.worstText }), undefined);
      setCell(cells[3], `${entry.sense.limitText}%`, undefined);
      setCell(cells[4], `${entry.sense.marginText}%`, undefined);
      setCell(cells[5], verdictText(entry.verdict), undefined);
      setVerdictClass(cells[5], entry.verdict);
    });
  }

  // Recomputes and shows everything for the current inputs. The code view
  // and the files downloaded speak the page's language, as tesmirol-cli
  // --lang writes them.
  function update() {
    const crystal = $("crystal").value;
    const baud = $("baud").value;
    const target = $("target").value;
    refreshUartChoices();
    refreshLinkChoices();
    bridge.setLink(linkTexts());
    if (target === "classic") {
      state.answer = bridge.calculate(crystal, baud, state.language);
      showCalculation(state.answer);
      showLink([{ uart: "", link: state.answer.calculation?.link }]);
    } else if (state.planRows.length > 0) {
      state.requests = planRequests();
      state.answer = bridge.plan(crystal, target, state.requests, state.language);
      showPlan(state.answer);
      showLink((state.answer.plan?.uarts ?? []).map((uart) => ({ uart: uart.uart, link: uart.link })));
    } else {
      state.answer = bridge.solveTarget(crystal, baud, target, $("uart").value, state.language);
      showTargetSolution(state.answer);
      showLink([{ uart: "", link: state.answer.link }]);
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
    switcher.textContent = TABLES[otherLanguage()]["page.language-name"];
    switcher.lang = otherLanguage() === "zh" ? "zh-CN" : "en";
    for (const select of [$("crystal-preset"), $("baud-preset")]) select.options[0].textContent = text("custom");
    for (const option of $("peer").options) {
      option.textContent = { "": text("peer-none"), ideal: text("peer-ideal"), 8051: text("peer-target") }[option.value]
        ?? text("peer-adapter", { name: option.value });
    }
    for (const entry of state.planRows) {
      for (const option of entry.peer.options) option.textContent = planPeerText(option.value);
    }
    for (const option of $("target").options) {
      const family = state.families.find((entry) => entry.name === option.value);
      const target = state.targets.find((entry) => entry.name === option.value);
      if (option.value === "classic") option.textContent = text("target-classic");
      else if (family) option.textContent = text("family", { name: family.name, uarts: family.uarts.join(text("separator")) });
      else option.textContent = `${target.name}: ${text(`target.${target.name}.chips`)}`;
    }
    $("target-families").label = text("family-group");
    $("target-generators").label = text("target-group");
    refreshUartChoices();
  }

  function fillSelect(select, values, withCustom) {
    if (withCustom) select.add(new Option("", ""));
    for (const value of values) select.add(new Option(value, value));
  }

  // The link's choices as the module offers them: no other end, each
  // adapter, an ideal one and a second 8051; every frame the UART carries.
  function fillLinkChoices({ peers, frames }) {
    const adapters = peers.filter((name) => name !== "ideal");
    for (const value of ["", ...adapters, "ideal", "8051"]) $("peer").add(new Option(value, value));
    for (const frame of frames) $("frame").add(new Option(frame, frame));
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
  // chosen encoding and line ends and the chosen link's note, exactly as
  // tesmirol-cli writes them in the page's language; null when there is no
  // code.
  function codeBytesFor({ crystal, baud, target = "classic", uart = "", also = [], gbk, lineFeeds }) {
    bridge.setLink(linkTexts());
    const language = state.language;
    if (target === "classic") return bridge.codeBytes(crystal, baud, gbk, lineFeeds, language);
    if (also.length === 0) return bridge.targetCodeBytes(crystal, baud, target, uart, gbk, lineFeeds, language);
    const requests = [[uart, baud], ...also].map(([name, rate, peer = ""]) => ({ uart: name, baud: rate, peer }));
    return bridge.planCodeBytes(crystal, target, requests, gbk, lineFeeds, language);
  }

  function codeFileBytes() {
    return codeBytesFor({
      crystal: $("crystal").value, baud: $("baud").value, target: $("target").value, uart: $("uart").value,
      also: state.planRows.map((entry) => [entry.select.value, entry.input.value, entry.peer.value]),
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
    $("copy-status").textContent = text(done ? "copied" : "copy-failed");
  }

  async function start() {
    try {
      if (!self.TESMIROL_TEXTS) throw new Error("Tesmirol page: its texts (tesmirol-texts.js) are missing");
      bridge = await TesmirolBridge.load();
    } catch (error) {
      $("load-error").hidden = false;
      $("load-error").textContent = self.TESMIROL_TEXTS ? text("load-error", { reason: error.message }) : error.message;
      throw error;
    }
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
    fillLinkChoices(bridge.linkChoices());
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
    for (const id of ["uart", "encoding", "line-ends", "driver-kind"]) {
      $(id).addEventListener("change", update);
    }
    for (const id of ["rx-size", "tx-size"]) {
      $(id).addEventListener("change", () => {
        state.driverSizesChosen = true;
        update();
      });
    }
    $("buffers").addEventListener("change", () => {
      fillDriverSizes();
      update();
    });
    $("driver-files").addEventListener("click", (event) => {
      const button = event.target.closest("button[data-file]");
      if (button) downloadDriverFile(Number(button.dataset.file));
    });
    for (const id of ["peer", "frame", "finder-rank"]) $(id).addEventListener("change", update);
    for (const id of ["peer-chip", "tolerance"]) $(id).addEventListener("input", update);
    $("add-uart").addEventListener("click", () => {
      addPlanRow("", "9600").input.focus();
      update();
    });
    $("language").addEventListener("click", () => {
      state.language = otherLanguage();
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
    // Sets the link's choices as a user does ({peer: "", an adapter, "ideal"
    // or "8051"; peerChip; tolerance; frame; rank}); update shows them.
    chooseLink({ peer = "", peerChip, tolerance, frame, rank = false } = {}) {
      $("peer").value = peer;
      if (peerChip !== undefined) $("peer-chip").value = peerChip;
      if (tolerance !== undefined) $("tolerance").value = tolerance;
      if (frame !== undefined) $("frame").value = frame;
      $("finder-rank").checked = rank;
    },
    codeFileBytes,
    codeFileName,
    // The keys ("zh:page.crystal") the page has asked for and its tables lack.
    get missingTexts() { return [...missingTexts]; },
    // The bytes the download would write for these inputs, the page left as it is.
    codeFileBytesFor(crystal, baud, gbk, lineFeeds, target = "classic", uart = "", also = []) {
      return codeBytesFor({ crystal, baud, target, uart, also, gbk, lineFeeds });
    },
    // The driver's files ({status, files, oneFile, sizes}) and the bytes of
    // one of them for these inputs, the page left as it is.
    driverFilesFor(crystal, baud, target, uart, also, options) {
      const requests = [[uart, baud], ...also].map(([name, rate, peer = ""]) => ({ uart: name, baud: rate, peer }));
      return bridge.driverFiles(crystal, target, requests, options);
    },
    driverBytesFor(crystal, baud, target, uart, also, options, index, gbk, lineFeeds) {
      return driverBytesFor({ crystal, baud, target, uart, also, options, index, gbk, lineFeeds });
    },
  };
})();
