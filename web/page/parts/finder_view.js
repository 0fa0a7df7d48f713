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
  setCell(cell, !link ? "" : link.status === "ok" ? `${link.marginText}%` : "-", undefined);
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
