// The reload look-up: the rates a reload value gives the crystal on the
// classic Timer 1 (SMOD = 0 and 1) or on each generator of the target's
// UART (each clock choice and SMOD setting), as tesmirol-cli --reload
// gives them; and the inputs and sections the mode shows.

function isReloadMode() {
  return $("mode").value === "reload";
}

// The inputs of the mode chosen: the reload beside the rate it is compared
// with; no link, plan, code, driver or finder, which belong to a rate's
// setting.
function applyMode() {
  const reload = isReloadMode();
  setHidden($("reload-field"), !reload);
  setHidden($("add-uart"), reload);
  if (reload) setHidden($("plan-uarts"), true);
  for (const id of ["link-inputs", "code", "driver", "finder"]) setHidden($(id), reload);
  if (reload) setHidden($("link-result"), true);
}

// Why the look-up has no rates, in the page's language.
function reloadProblem(answer, uart) {
  if (answer.status === "noResult") return text($("target").value === "classic" ? "reload-no-result" : "plan-no-result");
  if (answer.status === "tooWide") return text("reload-too-wide", { bits: answer.reloadBits });
  return text(keyOf(answer.status), { uart });
}

// The rows of the reports: per generator (none for the classic Timer 1),
// clock choice and SMOD setting, the reload in its register, the rate it
// gives and its deviation from the baud box's rate; a generator whose
// register is too narrow says so.
function reloadRows(reports) {
  return reports.flatMap((report) => {
    if (report.status !== "ok") return [{ report, mode: null }];
    return report.modes.map((mode) => ({ report, mode }));
  });
}

function showReload(answer) {
  state.answer = answer;
  showView("reload", "");
  const ok = answer.status === "ok";
  showProblem(ok ? "" : reloadProblem(answer, $("uart").value));
  const first = ok ? answer.reports.find((report) => report.status === "ok") : undefined;
  setText($("selected-crystal"), first ? selectedCrystalText(first.crystalHzText ?? String(first.crystalHz)) : "");
  setHidden($("range"), true);
  const lines = ok ? reloadRows(answer.reports) : [];
  let announced = "";
  tableRows($("reload-modes"), lines.length, 6).forEach((row, index) => {
    const { report, mode } = lines[index];
    const cells = row.cells;
    setCell(cells[0], report.target ?? "", undefined);
    setCell(cells[1], mode?.clockText ?? "", undefined);
    setCell(cells[2], mode ? String(mode.smod) : "", undefined);
    const reload = mode ? `${report.reloadLabel} = ${report.reloadText}`
      : text("reload-too-wide", { bits: report.reloadBits });
    setCell(cells[3], reload, mode !== null);
    const rate = mode ? `${mode.achievedDecimalText ?? mode.achieved} bps` : "";
    setCell(cells[4], rate, undefined);
    cells[4].title = mode && mode.achievedDenominator !== undefined && mode.achievedDenominator !== "1"
      ? `${mode.achievedText} bps` : "";
    const deviation = mode?.deviationText !== undefined ? deviationLabel(mode.deviationText) : "";
    setCell(cells[5], deviation, deviation ? !mode.outOfTolerance : undefined);
    if (mode && announced === "") {
      announced = text("announce-reload", { reload, clock: mode.clockText ?? "", smod: mode.smod, rate, deviation });
    }
  });
  state.announced = ok ? announced : $("problem").textContent;
}
