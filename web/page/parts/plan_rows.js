// The preset choice shows the preset the text equals, or "custom".
function syncPreset(select, value) {
  if (!presetValues.has(select)) presetValues.set(select, new Set(Array.from(select.options, (option) => option.value)));
  const shown = value !== "" && presetValues.get(select).has(value) ? value : "";
  if (select.value !== shown) select.value = shown;
}

// Each preset list's values, read once.
const presetValues = new WeakMap();

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
  // Typing in the boxes changes none of this; the look-up hides the plan.
  const key = JSON.stringify([$("target").value, state.language, isReloadMode(), selects.map((select) => select.value)]);
  if (key === state.uartChoicesKey) return;
  state.uartChoicesKey = key;
  for (const select of selects) {
    const taken = new Set(selects.filter((other) => other !== select).map((other) => other.value));
    for (const option of select.options) option.disabled = taken.has(option.value);
  }
  const uarts = uartsOf($("target").value);
  $("add-uart").disabled = !isFamily($("target").value) || selects.length >= uarts.length;
  setHidden($("plan-uarts"), state.planRows.length === 0);
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
  setHidden($("uart-field"), target === "classic");
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
