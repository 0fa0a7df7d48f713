// The plan's statuses for one request, each with the text that names it.
const REQUEST_PROBLEMS = {
  unknownUart: "unknown-uart", uartTwice: "uart-twice", baudNotGbk: "request-baud-not-gbk",
  rateNoResult: "rate-no-result",
};

// Why a UART of the plan got its generator, in the page's language.
function reasonText(uart) {
  const others = uart.sharedWith.join(text("separator"));
  const timer = timerText(uart.timer);
  const bestAloneTimer = state.targets.find((target) => target.name === uart.bestAlone)?.timer ?? "";
  let reason = {
    OnlyGenerator: () => text("reason-only"),
    BestAlone: () => text("reason-best"),
    SharedTimer: () => text("reason-shared", { timer, others }),
    TimerTaken: () => text("reason-taken", { best: uart.bestAlone, timer: timerText(bestAloneTimer),
      holder: uart.takenBy ?? "" }),
  }[uart.reason]();
  if (uart.reason !== "SharedTimer" && uart.sharedWith.length > 0) reason += text("reason-also-shared", { timer, others });
  return reason;
}

function planProblem(answer) {
  if (answer.status in REQUEST_PROBLEMS) {
    return text(REQUEST_PROBLEMS[answer.status], { uart: state.requests[answer.request]?.uart ?? "" });
  }
  if (answer.status !== "ok") {
    return text(answer.status === "noResult" ? "plan-no-result" : keyOf(answer.status),
      { frame: $("frame").value, target: $("target").value });
  }
  if (!answer.conflict) return "";
  const { kind, uarts, timer } = answer.conflict;
  return text(`conflict-${keyOf(kind)}`, { uarts: uarts.join(text("separator")), timer: timerText(timer ?? "") });
}

// The plan of several UARTs: per UART its generator, timer, clock, SMOD,
// reload registers, achieved rate, deviation and why; or the conflict.
function showPlan(answer) {
  showView("plan", text("code-plan"));
  showProblem(planProblem(answer));
  setText($("selected-crystal"), answer.status === "ok" ? selectedCrystalText(answer.crystalHzText) : "");
  setText($("range"), "");
  setHidden($("range"), true);
  const uarts = answer.plan ?? [];
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
    setCell(cells[9], reasonText(uart), undefined);
    const deviation = deviationLabel(setting.deviationText);
    announced.push(text("announce-plan", { uart: uart.uart, target: uart.target, deviation }));
  });
  showOutput(answer.status === "ok" && answer.outcome !== "Nothing" ? answer.output : "", answer.outcome === "Code");
  state.announced = uarts.length > 0 ? announced.join(text("announce-separator")) : $("problem").textContent;
}
