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
  showProblem(ok ? "" : text(answer.status === "noResult" ? "target-no-result" : keyOf(answer.status),
    { uart, frame: $("frame").value, target: $("target").value }));
  const shown = ok ? answer.solutions[answer.shown] : null;
  setText($("selected-crystal"), ok ? selectedCrystalText(answer.crystalHzText) : "");
  setText($("range"), shown ? rangeText(shown.minRateText, shown.maxRateText) : "");
  setHidden($("range"), !shown);
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
  state.announced = ok ? announced || $("range").textContent : $("problem").textContent;
}
