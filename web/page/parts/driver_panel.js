// The driver's options as chosen; the sizes belong to the interrupt-driven
// driver, the polled one has no buffers. The register bank, the RS-485 pin
// and "\r\n" go to either kind, as tesmirol-cli takes them with either.
function driverOptions() {
  const bank = $("register-bank").value;
  return { polled: $("driver-kind").value === "polled", rxSize: Number($("rx-size").value),
    txSize: Number($("tx-size").value), xdata: $("buffers").value === "xdata",
    registerBank: bank === "" ? null : Number(bank), rs485: $("rs485").value, crlf: $("crlf").checked };
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

// The driver's refresh when its section is off the screen: after the
// results are shown.
function scheduleDriver() {
  clearTimeout(state.driverTimer);
  state.driverTimer = setTimeout(refreshDriver, 0);
}

// The driver for the UART shown, or the UARTs planned: what can be
// downloaded, or why nothing can.
function refreshDriver() {
  clearTimeout(state.driverTimer);
  const classic = $("target").value === "classic";
  const polled = $("driver-kind").value === "polled";
  setHidden($("driver-options"), classic);
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
  // A refusal (the chip's, or a pin that names no port bit) in tesmirol-cli's words.
  setText($("driver-note"), answer?.message ? answer.message[state.language] : text(note, answer));
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
