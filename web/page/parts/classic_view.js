// The results of one calculation, as the dialog's labels show them.
function showCalculation(answer) {
  const calculation = answer.status === "ok" ? answer.calculation : null;
  showView("classic", text("code-of", { function: "SIO_Init" }));
  showProblem(calculation ? "" : text(answer.status === "ok" ? "no-result" : keyOf(answer.status),
    { frame: $("frame").value }));
  setText($("selected-crystal"), calculation ? selectedCrystalText(calculation.crystalHz) : "");
  setText($("range"), calculation ? rangeText(calculation.minBps, calculation.maxBps) : "");
  setHidden($("range"), !calculation);
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
  state.announced = calculation ? text("announce", announced) : $("problem").textContent;
}
