// The URL follows the inputs a moment after the last change: browsers
// ignore history updates that come faster than a few a second, and each
// costs a millisecond or two that would hold up the next keystroke.
function scheduleUrl() {
  clearTimeout(state.urlTimer);
  state.urlTimer = setTimeout(writeUrl, 400);
}

function writeUrl() {
  const params = new URLSearchParams({ crystal: $("crystal").value, baud: $("baud").value, target: $("target").value });
  if (isReloadMode()) {
    params.set("mode", "reload");
    params.set("reload", $("reload-value").value);
  }
  if ($("target").value !== "classic") params.set("uart", $("uart").value);
  if ($("part").value.trim() !== "") params.set("part", $("part").value);
  for (const entry of state.planRows) {
    const peer = entry.peer.value === "" ? "" : `:${entry.peer.value}`;
    params.append("also", `${entry.select.value}:${entry.input.value}${peer}`);
  }
  params.set("lang", state.language);
  if ($("peer").value !== "") {
    params.set("peer", $("peer").value);
    if ($("peer").value === "8051") params.set("peerChip", $("peer-chip").value);
    params.set("tolerance", $("tolerance").value);
    if ($("finder-rank").checked) params.set("rank", "link");
  }
  // The frame is the link's and the code's; the first, 8N1, goes without saying.
  if ($("peer").value !== "" || $("frame").selectedIndex !== 0) params.set("frame", $("frame").value);
  writeFinderViewsUrl(params);
  params.set("encoding", $("encoding").value);
  params.set("lineEnds", $("line-ends").value);
  if ($("target").value !== "classic") {
    params.set("driver", $("driver-kind").value);
    if ($("driver-kind").value === "interrupt") {
      params.set("rx", $("rx-size").value);
      params.set("tx", $("tx-size").value);
      params.set("buffers", $("buffers").value);
    }
    if ($("register-bank").value !== "") params.set("bank", $("register-bank").value);
    if ($("rs485").value !== "") params.set("rs485", $("rs485").value);
    if ($("crlf").checked) params.set("crlf", "1");
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
  $("mode").value = params.get("mode") === "reload" ? "reload" : "calculate";
  if (params.has("reload")) $("reload-value").value = params.get("reload");
  if (params.get("lang") === "en" || params.get("lang") === "zh") state.language = params.get("lang");
  $("register-bank").value = "";
  for (const [id, key] of [["encoding", "encoding"], ["line-ends", "lineEnds"], ["target", "target"],
    ["driver-kind", "driver"], ["buffers", "buffers"], ["register-bank", "bank"]]) {
    selectIfOffered($(id), params.get(key));
  }
  // A part number as printed stands for its family, as --target takes it.
  const target = params.get("target");
  if (target !== null && $("target").value !== target) {
    const chip = bridge.chipName(target);
    if (["Target", "Family", "Part"].includes(chip.kind)) selectIfOffered($("target"), chip.name);
  }
  fillDriverSizes({ rx: params.get("rx") ?? undefined, tx: params.get("tx") ?? undefined });
  state.driverSizesChosen = params.has("rx") || params.has("tx");
  $("rs485").value = params.get("rs485") ?? "";
  $("crlf").checked = params.get("crlf") === "1";
  $("peer").value = "";
  $("frame").selectedIndex = 0;
  for (const [id, key] of [["peer", "peer"], ["frame", "frame"]]) selectIfOffered($(id), params.get(key));
  for (const [id, key] of [["peer-chip", "peerChip"], ["tolerance", "tolerance"]]) {
    if (params.has(key)) $(id).value = params.get(key);
  }
  $("finder-rank").checked = params.get("rank") === "link";
  readFinderViewsUrl(params);
  // also=UART:RATE[:PEER], the row's own other end after the rate.
  choose($("target").value, params.get("uart"), params.getAll("also").map((also) => {
    const [uart, baud = "", peer = ""] = also.split(":");
    return [uart, baud, peer];
  }));
  // The part number as the user typed it; the target above is the family
  // it chose then, so it is only read again here, not chosen again.
  $("part").value = params.get("part") ?? "";
  state.chipName = $("part").value.trim() === "" ? null : bridge.chipName($("part").value.trim());
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
