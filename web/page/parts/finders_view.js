// The rates finder (tesmirol-cli --rates) and the clock finder
// (tesmirol-cli --find-clock): each a view opened by its button, computed
// only while it is open, on the page's target, UART, plan and link.

const finderViews = {
  rates: { toggle: "rates-finder-toggle", body: "rates-finder-body", key: null, answer: null },
  clock: { toggle: "clock-finder-toggle", body: "clock-finder-body", key: null, answer: null },
  table: { toggle: "table-view-toggle", body: "table-view-body", key: null, answer: null },
};

function finderViewOpen(view) {
  return $(finderViews[view].toggle).getAttribute("aria-expanded") === "true";
}

function setFinderViewOpen(view, open) {
  const { toggle, body } = finderViews[view];
  $(toggle).setAttribute("aria-expanded", String(open));
  $(toggle).dataset.text = open ? "view-hide" : "view-show";
  setText($(toggle), text($(toggle).dataset.text));
  setHidden($(body), !open);
}

// The rates finder's question: its texts, the page's target and UART, and
// whether it ranks by the page's link.
function ratesFinderQuestion() {
  const target = $("target").value;
  return { rates: $("rf-rates").value, maxError: $("rf-max-error").value, target,
    uart: target === "classic" ? "" : $("uart").value, rank: $("rf-rank").checked && linkTexts().peer !== "" };
}

// The clock finder's question: the page's target and UART with its rates,
// or, without rates, the page's plan (the UART and rate above and the
// UARTs added to it).
function clockFinderQuestion() {
  const rates = $("cf-rates").value;
  return { target: $("target").value, uart: rates === "" ? "" : $("uart").value, rates, range: $("cf-range").value,
    maxError: $("cf-max-error").value, limit: $("cf-limit").value,
    requests: rates === "" ? planRequests().map(({ uart, baud }) => ({ uart, baud })) : [] };
}

// The problem's words: a finder's input the module refused.
function finderProblemText(answer) {
  return text(`finders-${keyOf(answer.problem)}${answer.rangeProblem ? `-${keyOf(answer.rangeProblem)}` : ""}`);
}

function refreshRatesFinder() {
  const view = finderViews.rates;
  const question = ratesFinderQuestion();
  const key = JSON.stringify([question, linkTexts(), state.language]);
  if (view.key === key) return;
  view.key = key;
  view.answer = bridge.ratesFinder(question.rates, question.maxError, question.target, question.uart, question.rank);
  showRatesFinder(view.answer, question);
}

// A rate's setting as tesmirol-cli --rates writes it in its text rows.
function rateFitText(rate) {
  const generator = rate.target === null ? "" : `${rate.target} ${rate.clockText} `;
  return `${generator}SMOD=${rate.smod} ${rate.reloadText} ${rate.deviationText}%`;
}

function linkFitText(link) {
  const verdict = verdictText(link.verdict);
  return link.maxOwnTolerancePpm === null ? verdict : `${verdict}, ±${link.maxOwnTolerancePpm} ppm`;
}

function showRatesFinder(answer, question) {
  const table = $("rf-table");
  const crystals = answer.problem === null ? answer.crystals : [];
  const bauds = crystals[0]?.rates.map((rate) => rate.baud) ?? [];
  const linked = crystals.some((crystal) => crystal.link);
  const heads = [text("crystal-column"), ...bauds.map((baud) => `${baud} bps`), ...(linked ? [text("finder-link")] : [])];
  table.tHead.rows[0].replaceChildren(...heads.map((head) => Object.assign(document.createElement("th"),
    { scope: "col", textContent: head })));
  tableRows(table, crystals.length, heads.length).forEach((row, index) => {
    const crystal = crystals[index];
    while (row.cells.length < heads.length) row.insertCell();
    while (row.cells.length > heads.length) row.deleteCell(-1);
    setText(row.cells[0], crystal.crystal);
    crystal.rates.forEach((rate, column) => setCell(row.cells[column + 1], rateFitText(rate), undefined));
    if (linked) {
      const cell = row.cells[bauds.length + 1];
      setCell(cell, linkFitText(crystal.link), undefined);
      setVerdictClass(cell, crystal.link.verdict);
    }
  });
  const status = answer.problem !== null ? finderProblemText(answer)
    : text(crystals.length > 0 ? "rates-finder-found" : "rates-finder-none",
      { count: crystals.length, rates: question.rates, tolerance: question.maxError || "1" });
  setText($("rf-status"), status);
  $("rf-status").classList.toggle("bad", answer.problem !== null || crystals.length === 0);
}

function refreshClockFinder() {
  const view = finderViews.clock;
  const question = clockFinderQuestion();
  const key = JSON.stringify([question, state.language]);
  if (view.key === key) return;
  view.key = key;
  view.answer = bridge.clockFinder(question.target, question.uart, question.rates, question.range, question.maxError,
    question.limit, question.requests);
  showClockFinder(view.answer);
}

// One rate's (or a plan's UART's) setting at a clock, as tesmirol-cli's
// report writes it: the rate, the generator, its timer and clock, SMOD, the
// reload registers, the achieved rate and the deviation.
function clockSettingText(entry) {
  const { setting } = entry;
  const head = entry.uart ? `${entry.uart}  ${entry.baud}bps` : `${entry.baud}bps`;
  const exact = setting.achievedDenominator === "1" ? "" : ` (${setting.achievedText})`;
  const timer = /^timer(\d)$/.exec(entry.timer);
  const timerName = timer ? text("timer.number", { number: timer[1] }) : entry.timer.toUpperCase();
  return `${head}  ${entry.target}  ${timerName}  ${entry.clock}  SMOD=${setting.smod}  `
    + `${setting.registersText}  ${text("report.achieved")}${setting.achievedDecimalText}bps${exact}  `
    + `${deviationLabel(setting.deviationText)}${setting.outOfTolerance ? text("report.out-of-tolerance") : ""}`;
}

function commonClockText(common) {
  const kind = text(`clock.common-${keyOf(common.kind)}`);
  return common.distance === 0 ? text("clock.is-common", { kind })
    : text("clock.from-common", { distance: common.distance, kind, clock: common.text });
}

function showClockFinder(answer) {
  const clocks = answer.problem === null ? answer.clocks : [];
  tableRows($("cf-table"), clocks.length, 4).forEach((row, index) => {
    const clock = clocks[index];
    setText(row.cells[0], clock.text);
    setCell(row.cells[1], clock.exact ? text("clock.exact") : text("clock.worst", { deviation: clock.worstDeviationText }),
      clock.exact ? true : undefined);
    setText(row.cells[2], commonClockText(clock.common));
    setText(row.cells[3], (clock.rates ?? clock.plan).map(clockSettingText).join("\n"));
  });
  const status = answer.problem !== null ? finderProblemText(answer)
    : text(`clock-status-${keyOf(answer.status)}`, { count: clocks.length, exact: answer.exactCount });
  setText($("cf-status"), answer.nearSkipped ? `${status} ${text("clock-near-skipped")}` : status);
  $("cf-status").classList.toggle("bad", answer.problem !== null || answer.status !== "Found");
}

// Recomputes the open views whose question has changed.
function refreshFinderViews() {
  if (finderViewOpen("rates")) refreshRatesFinder();
  if (finderViewOpen("clock")) refreshClockFinder();
  if (finderViewOpen("table")) refreshTableView();
}

// The lookup table (tesmirol-cli --table): the classic Timer 1, the page's
// target on its UART, or the page's plan of several UARTs, over the crystal
// in the box at every preset rate or over every preset crystal (at every
// preset rate). Only the rows in view are asked of the module and drawn
// (the matrix has 4,284), between two spacers that keep the scroll bar
// true; the downloads are whole.
const lookup = { key: null, question: null, shown: null, rowHeight: 0 };

function lookupQuestion() {
  const target = $("target").value;
  const requests = target === "classic" ? [] : planRequests();
  const plan = requests.length > 1;
  return { crystal: plan || $("tv-axis").value === "matrix" ? "" : $("crystal").value, baud: plan ? $("baud").value : "",
    target, uart: target === "classic" ? "" : $("uart").value, also: requests.slice(1) };
}

function refreshTableView() {
  const question = lookupQuestion();
  const key = JSON.stringify([question, state.language]);
  if (lookup.key === key) return;
  lookup.key = key;
  lookup.question = question;
  lookup.shown = null;
  fillTableView();
}

// Asks the module for the rows the box shows, and some either side, and
// draws them.
function fillTableView() {
  if (!lookup.question) return;
  const box = $("tv-table").parentElement;
  const height = lookup.rowHeight || 30;
  const from = Math.max(Math.floor(box.scrollTop / height) - 8, 0);
  const to = from + Math.ceil(box.clientHeight / height) + 16;
  const shown = lookup.shown;
  if (shown && from >= shown.from && Math.min(to, shown.count) <= shown.to) return;
  const answer = bridge.lookupTable(lookup.question, from, to + 16, state.language);
  lookup.shown = { from: answer.first, to: answer.first + answer.cells.length, count: answer.count };
  showTableView(answer);
}

function showTableView(answer) {
  const table = $("tv-table");
  const columns = answer.headings.length;
  const head = table.tHead.rows[0];
  while (head.cells.length < columns) head.appendChild(document.createElement("th")).scope = "col";
  while (head.cells.length > columns) head.deleteCell(-1);
  answer.headings.forEach((heading, column) => setText(head.cells[column], heading));
  const body = table.tBodies[0];
  if (body.rows.length === 0) {
    for (let spacer = 0; spacer < 2; spacer += 1) Object.assign(body.insertRow(), { className: "spacer" }).insertCell();
  }
  const rows = Array.from(body.rows).slice(1, -1);
  while (rows.length < answer.cells.length) {
    const row = body.insertRow(body.rows.length - 1);
    row.appendChild(document.createElement("th")).scope = "row";
    rows.push(row);
  }
  rows.forEach((row, index) => setHidden(row, index >= answer.cells.length));
  answer.cells.forEach((cells, index) => {
    const row = rows[index];
    while (row.cells.length > columns) row.deleteCell(-1);
    while (row.cells.length < columns) row.insertCell();
    row.dataset.row = String(answer.first + index);
    cells.forEach(([content, colour], column) => setCell(row.cells[column], content, colour ? colour === "blue" : undefined));
  });
  // Every row is as high as the first drawn (the style sheet sets their height).
  lookup.rowHeight ||= answer.cells.length > 0 ? rows[0].offsetHeight : 0;
  const after = answer.count - answer.first - answer.cells.length;
  [answer.first, after].forEach((count, index) => {
    const spacer = body.rows[index === 0 ? 0 : body.rows.length - 1];
    spacer.cells[0].colSpan = columns;
    spacer.cells[0].style.height = `${count * (lookup.rowHeight || 30)}px`;
    setHidden(spacer, count === 0);
  });
  $("tv-axis").disabled = answer.kind === "plan";
  for (const id of ["tv-csv", "tv-markdown"]) $(id).disabled = answer.problem !== null;
  const { problem, request } = answer;
  const uart = request ? lookup.question.also[request - 1].uart : $("uart").value;
  setText($("tv-status"), problem === null ? text(`table-${answer.kind}`, { count: answer.count })
    : text(request === null ? keyOf(problem) : REQUEST_PROBLEMS[problem], { uart }));
  $("tv-status").classList.toggle("bad", problem !== null);
}

function downloadTable(markdown) {
  const bytes = bridge.lookupFile(lookupQuestion(), markdown, state.language);
  if (bytes.length > 0) saveFile(bytes, markdown ? "table.md" : "table.csv");
}

function setUpFinderViews() {
  for (const view of Object.keys(finderViews)) {
    $(finderViews[view].toggle).addEventListener("click", () => {
      setFinderViewOpen(view, !finderViewOpen(view));
      refreshFinderViews();
      scheduleUrl();
    });
  }
  for (const id of ["rf-rates", "rf-max-error", "cf-rates", "cf-range", "cf-max-error", "cf-limit"]) {
    $(id).addEventListener("input", () => {
      refreshFinderViews();
      scheduleUrl();
    });
  }
  $("tv-axis").addEventListener("change", () => {
    refreshFinderViews();
    scheduleUrl();
  });
  $("tv-table").parentElement.addEventListener("scroll", () => requestAnimationFrame(fillTableView), { passive: true });
  $("tv-csv").addEventListener("click", () => downloadTable(false));
  $("tv-markdown").addEventListener("click", () => downloadTable(true));
  $("rf-rank").addEventListener("change", () => {
    refreshFinderViews();
    scheduleUrl();
  });
}

// The views' state in the URL: which are open and their texts.
const FINDER_URL_KEYS = [["rf-rates", "rfRates"], ["rf-max-error", "rfMaxError"], ["cf-rates", "cfRates"],
  ["cf-range", "cfRange"], ["cf-max-error", "cfMaxError"], ["cf-limit", "cfLimit"], ["tv-axis", "tvAxis"]];

function writeFinderViewsUrl(params) {
  for (const view of Object.keys(finderViews)) {
    if (!finderViewOpen(view)) continue;
    params.append("open", view);
    for (const [id, key] of FINDER_URL_KEYS) if (id.startsWith(view[0])) params.set(key, $(id).value);
    if (view === "rates" && $("rf-rank").checked) params.set("rfRank", "link");
  }
}

function readFinderViewsUrl(params) {
  const open = params.getAll("open");
  for (const view of Object.keys(finderViews)) setFinderViewOpen(view, open.includes(view));
  for (const [id, key] of FINDER_URL_KEYS) if (params.has(key)) $(id).value = params.get(key);
  $("rf-rank").checked = params.get("rfRank") === "link";
}
