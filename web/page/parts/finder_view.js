let finderRows = [];

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
    return { row, cells, shownCrystal: null };
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

// The finder's answer for its inputs: the rows the module gave, whether
// they are the classic finder's, and which of them are filled in.
let finderAnswer = null;

// The finder's refill after a change waits for the next frame, after the
// results and the code are on the screen. While the user types it fills
// the rows in view alone, and nothing when the finder is off the screen
// (laying out the table again costs some 0.2 ms a row, some 40 ms for
// every crystal, which would hold up the next keystroke); the other rows
// are filled when they scroll into view, or when the typing pauses.
function scheduleFinder(typing) {
  clearTimeout(state.finderRestTimer);
  if (typing) state.finderRestTimer = setTimeout(() => refreshFinder(), FINDER_REST_MS);
  if (state.finderKey !== finderKey() && !state.finderFrame && (nearScreen.finder || !typing)) {
    state.finderFrame = requestAnimationFrame(() => refreshFinder(!typing));
  }
}

// Refills the finder for the rate in the box, the target and the UART,
// when any has changed: every row, or only those in view; its rows are
// made the first time.
function refreshFinder(everyRow = true) {
  cancelAnimationFrame(state.finderFrame);
  if (everyRow) clearTimeout(state.finderRestTimer);
  state.finderFrame = 0;
  if (finderRows.length === 0) buildFinder(state.crystalPresets);
  if (state.finderKey !== finderKey()) {
    const baud = $("baud").value;
    const target = $("target").value;
    const classic = target === "classic";
    const rows = classic ? bridge.crystalTable(baud, rankByLink())
      : bridge.targetTable(baud, target, $("uart").value, rankByLink());
    finderAnswer = { classic, rows, filled: new Uint8Array(rows.length) };
    showFinderHead(classic);
    hideFinderRowsFrom(rows.length);
    $("finder-table").classList.toggle("no-link", linkTexts().peer === "");
    state.finderKey = finderKey();
  }
  if (everyRow) fillFinderRows(0, finderAnswer.rows.length);
  else fillFinderRowsInView();
}

// Fills the rows the finder's box shows (and one either side) that are
// not filled yet.
function fillFinderRowsInView() {
  if (!finderAnswer || finderRows.length === 0) return;
  const box = $("finder-table").parentElement;
  const height = finderRows[0].row.offsetHeight || 1;
  fillFinderRows(Math.floor(box.scrollTop / height) - 1, Math.ceil((box.scrollTop + box.clientHeight) / height) + 1);
}

function fillFinderRows(from, to) {
  const { classic, rows, filled } = finderAnswer;
  const crystal = $("crystal").value;
  for (let index = Math.max(from, 0); index < Math.min(to, rows.length); index += 1) {
    if (filled[index]) continue;
    filled[index] = 1;
    (classic ? showFinderRow : showTargetFinderRow)(finderRows[index], rows[index]);
  }
  markedRow?.classList.remove("current");
  markedRow = null;
  markFinderRow(crystal);
}

// The row of the crystal in the box, marked; the mark moves only when the
// crystal or the rows change.
let markedRow = null;

function markFinderRow(crystal) {
  const row = finderRows.find((entry) => entry.shownCrystal === crystal)?.row ?? null;
  if (row === markedRow) return;
  markedRow?.classList.remove("current");
  row?.classList.add("current");
  markedRow = row;
}

function showFinderHead(classic) {
  setHidden($("finder-head-classic"), !classic);
  setHidden($("finder-head-target"), classic);
}

function hideFinderRowsFrom(count) {
  for (let index = count; index < finderRows.length; index += 1) {
    setHidden(finderRows[index].row, true);
    finderRows[index].shownCrystal = null;
    finderRows[index].row.classList.remove("current");
  }
}

// A row of the classic finder: the crystal's reload, rate and deviation
// for SMOD = 0 and 1, and the setting the code would use.
function showFinderRow(finderRow, entry) {
  const { row, cells } = finderRow;
  setHidden(row, false);
  finderRow.shownCrystal = entry.crystal;
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
}

// The finder's link cell: the margin in the verdict's colour, "-" where
// the link could not be checked, empty without a link.
function setFinderLink(cell, link) {
  setCell(cell, !link ? "" : link.status === "Checked" ? `${link.marginText}%` : "-", undefined);
  setVerdictClass(cell, link?.verdict);
}

// A row of the finder on targets: the crystal's best generator and
// setting, as tesmirol-cli --target --table gives them.
function showTargetFinderRow(finderRow, entry) {
  const { row, cells } = finderRow;
  setHidden(row, false);
  finderRow.shownCrystal = entry.crystal;
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
}
