// The page's driver: every change recomputes what it touches and shows it;
// the lists filled at start; the code's download and copy; the test hooks.

// Recomputes and shows everything for the current inputs. The code view
// and the files downloaded speak the page's language, as tesmirol-cli
// --lang writes them. event: the input or change that asks, if any.
function update(event) {
  const crystal = $("crystal").value;
  const baud = $("baud").value;
  const target = $("target").value;
  refreshUartChoices();
  showFamilyParts();
  applyMode();
  if (isReloadMode()) {
    showReload(bridge.reload(crystal, $("reload-value").value, target === "classic" ? "" : target, $("uart").value,
      baud));
    announce(event?.type === "input");
    syncPreset($("crystal-preset"), crystal);
    syncPreset($("baud-preset"), baud);
    scheduleUrl();
    return;
  }
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
    showLink((state.answer.plan ?? []).map((uart) => ({ uart: uart.uart, link: uart.link })));
  } else {
    state.answer = bridge.solveTarget(crystal, baud, target, $("uart").value, state.language);
    showTargetSolution(state.answer);
    showLink([{ uart: "", link: state.answer.link }]);
  }
  showAsmButtons();
  // The finder and the driver, below the code, are computed when they are
  // on the screen; off it, the finder waits until it comes into view, and
  // while the user types the driver waits until the results are shown.
  const typing = event?.type === "input";
  if (typing) state.typedAt = performance.now();
  announce(typing);
  scheduleFinder(typing);
  if (nearScreen.driver || !typing) refreshDriver();
  else scheduleDriver();
  markFinderRow(crystal);
  refreshFinderViews();
  syncPreset($("crystal-preset"), crystal);
  syncPreset($("baud-preset"), baud);
  scheduleUrl();
}

// Tells a screen reader the results (the live region reads the announcer's
// text): at once after a choice, and once the typing pauses while the user
// types, so that it reads the result of the whole number rather than of
// every keystroke, and a keystroke lays out nothing for it.
function announce(typing) {
  clearTimeout(state.announceTimer);
  if (typing) state.announceTimer = setTimeout(() => setText($("announcer"), state.announced), FINDER_REST_MS);
  else setText($("announcer"), state.announced);
}

// Whether the finder's and the driver's sections are on the screen, as an
// IntersectionObserver last said.
const nearScreen = { finder: false, driver: false };

function watchSections() {
  const observer = new IntersectionObserver((entries) => {
    for (const entry of entries) nearScreen[entry.target.id] = entry.isIntersecting;
    // While the user types, the code growing or shrinking moves the finder
    // in and out of view: it then fills the rows in view, and every row
    // once the typing pauses, as for a keystroke.
    if (nearScreen.finder) scheduleFinder(performance.now() - state.typedAt < FINDER_REST_MS);
    if (nearScreen.driver) refreshDriver();
  });
  observer.observe($("finder"));
  observer.observe($("driver"));
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
  showPartStatus();
  $("target-families").label = text("family-group");
  $("target-generators").label = text("target-group");
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

// The assembly downloads belong to one UART of a target, whose init
// function, send and receive the text holds; they follow the code's.
function showAsmButtons() {
  for (const id of ["download-a51", "download-sdas"]) {
    setHidden($(id), state.view !== "target");
    setDisabled($(id), $("download").disabled);
  }
}

// The bytes of the assembly text (sdas: SDCC's sdas8051, else Keil's A51)
// as tesmirol-cli --target --asm writes it, in the code's encoding and
// line ends and the page's language, with the link's note; null without code.
function asmBytesFor({ crystal, baud, target, uart = "", sdas, gbk, lineFeeds }) {
  bridge.setLink(linkTexts());
  return bridge.asmBytes(crystal, baud, target, uart, sdas, gbk, lineFeeds, state.language);
}

// sio_init.a51 for Keil's A51, sio_init.asm for sdas8051, after the function.
function asmFileName(sdas) {
  return `${(state.answer.function ?? "SIO_Init").toLowerCase()}.${sdas ? "asm" : "a51"}`;
}

function downloadAsm(sdas) {
  const bytes = asmBytesFor({ crystal: $("crystal").value, baud: $("baud").value, target: $("target").value,
    uart: $("uart").value, sdas, gbk: $("encoding").value === "gbk", lineFeeds: $("line-ends").value === "lf" });
  if (bytes) saveFile(bytes, asmFileName(sdas));
}

// Hands the bytes to the browser as a download named name.
function saveFile(bytes, name) {
  const type = { h: "text/x-chdr", c: "text/x-csrc" }[name.split(".").pop()] ?? "text/plain";
  const url = URL.createObjectURL(new Blob([bytes], { type }));
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
    // the copy command, whose event is handed the code's text itself (a
    // selection of the code's lines would copy a line break between them).
    const putCode = (event) => {
      event.clipboardData.setData("text/plain", output);
      event.preventDefault();
    };
    document.addEventListener("copy", putCode, { once: true });
    done = document.execCommand("copy");
    document.removeEventListener("copy", putCode);
  }
  $("copy-status").textContent = text(done ? "copied" : "copy-failed");
}

async function start() {
  try {
    // A module that fails is reported in the page's language.
    bridge = await TesmirolBridge.load();
  } catch (error) {
    $("load-error").hidden = false;
    $("load-error").textContent = text("load-error", { reason: error.message });
    throw error;
  }
  const presets = bridge.presets();
  fillSelect($("crystal-preset"), presets.crystal, true);
  fillSelect($("baud-preset"), presets.baud, true);
  const listing = bridge.targets();
  state.targets = listing.targets;
  // Each chip family with its UARTs, in the catalogue's order.
  state.families = listing.familyNames.map((name) => ({ name, uarts: Object.keys(listing.familyUarts[name]) }));
  // The buffer sizes each space allows, from the generator's own rules.
  for (const space of ["idata", "xdata"]) {
    state.driverSizes[space] = bridge.driverFiles("", "", [], { polled: false, rxSize: 16, txSize: 16,
      xdata: space === "xdata" }).sizes;
  }
  fillDriverSizes();
  fillTargets();
  fillLinkChoices(bridge.linkChoices());
  state.crystalPresets = presets.crystal;
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
    // A target chosen from the list replaces the part number's choice.
    if (state.chipName !== null && state.chipName.name !== $("target").value) {
      $("part").value = "";
      state.chipName = null;
      showPartStatus();
    }
    applyTargetChoice();
    update();
  });
  $("part").addEventListener("input", () => {
    if (readPartBox()) update();
    else scheduleUrl();
  });
  for (const id of ["uart", "encoding", "line-ends", "driver-kind", "register-bank", "crlf"]) {
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
  for (const id of ["peer-chip", "tolerance", "rs485"]) $(id).addEventListener("input", update);
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
  $("finder-table").parentElement.addEventListener("scroll", fillFinderRowsInView, { passive: true });
  $("copy").addEventListener("click", copy);
  $("download").addEventListener("click", download);
  $("download-a51").addEventListener("click", () => downloadAsm(false));
  $("download-sdas").addEventListener("click", () => downloadAsm(true));
  $("mode").addEventListener("change", update);
  $("family-parts").addEventListener("toggle", showFamilyParts);
  $("reload-value").addEventListener("input", update);
  addEventListener("hashchange", () => {
    readUrl();
    applyLanguage();
    state.finderKey = null;
    update();
  });
  setUpFinderViews();
  watchSections();
  update();
  document.documentElement.dataset.ready = "true";
  performance.mark("tesmirol-first-result");
}

// For the browser tests and the benchmark: the page's own bridge, its
// update, its choices and its file bytes.
window.tesmirolPage = {
  ready: start(),
  get bridge() { return bridge; },
  get answer() { return state.answer; },
  update: () => update(),
  refreshFinder: () => refreshFinder(),
  // The lookup table's question as the page asks it, and its rows in view
  // drawn now, not at the next frame.
  get tableQuestion() { return lookupQuestion(); },
  fillTableView: () => fillTableView(),
  // The rates finder's and the clock finder's answers as their views show them.
  get ratesFinderAnswer() { return finderViews.rates.answer; },
  get clockFinderAnswer() { return finderViews.clock.answer; },
  choose,
  // Sets the link's choices as a user does ({peer: "", an adapter, "ideal"
  // or "8051"; peerChip; tolerance; frame, the first (8N1) unless given;
  // rank}); update shows them.
  chooseLink({ peer = "", peerChip, tolerance, frame, rank = false } = {}) {
    $("peer").value = peer;
    if (peerChip !== undefined) $("peer-chip").value = peerChip;
    if (tolerance !== undefined) $("tolerance").value = tolerance;
    if (frame === undefined) $("frame").selectedIndex = 0;
    else $("frame").value = frame;
    $("finder-rank").checked = rank;
  },
  codeFileBytes,
  codeFileName,
  asmFileName,
  // The bytes the assembly download would write for these inputs.
  asmBytesFor(crystal, baud, target, uart, sdas, gbk, lineFeeds) {
    return asmBytesFor({ crystal, baud, target, uart, sdas, gbk, lineFeeds });
  },
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
  // The driver's options as the page's controls give them.
  driverOptions,
  driverBytesFor(crystal, baud, target, uart, also, options, index, gbk, lineFeeds) {
    return driverBytesFor({ crystal, baud, target, uart, also, options, index, gbk, lineFeeds });
  },
};
