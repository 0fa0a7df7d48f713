// What the result views share: cells refilled only where their text
// changes, rows made as needed, the table shown, the problem and the code.

// A target's achieved rate as the report writes it, the exact fraction
// in the cell's title where it is not whole.
function setAchieved(cell, setting) {
  setCell(cell, setting ? `${setting.achievedDecimalText} bps` : "", undefined);
  cell.title = setting && setting.achievedDenominator !== "1" ? `${setting.achievedText} bps` : "";
}

function setCell(cell, content, good) {
  if (cell.textContent !== content) cell.textContent = content;
  cell.classList.toggle("good", good === true);
  cell.classList.toggle("bad", good === false);
}

function codeText(row) {
  if (row.outcome === null || row.outcome === undefined || row.status === null) return text("none");
  if (row.outcome === "Code") return row.chosenSmod === undefined ? text("code-made") : `SMOD=${row.chosenSmod}`;
  return text(row.outcome === "Warning" ? "warning" : "nothing");
}

// Rows of a result table are made as needed and refilled on every change;
// each row starts with a row header.
function tableRows(table, count, columns) {
  const body = table.tBodies[0];
  while (body.rows.length < count) {
    const row = body.insertRow();
    row.appendChild(document.createElement("th")).scope = "row";
    for (let column = 1; column < columns; column += 1) row.insertCell();
  }
  Array.from(body.rows).forEach((row, index) => { row.hidden = index >= count; });
  return Array.from(body.rows).slice(0, count);
}

// The table the answer fills, the others hidden; the heading of the code.
function showView(view, codeHeading) {
  state.view = view;
  $("modes").hidden = view !== "classic";
  $("target-modes").hidden = view !== "target";
  $("plan").hidden = view !== "plan";
  $("code-heading").textContent = codeHeading;
}

function showProblem(message) {
  const problem = $("problem");
  problem.hidden = message === "";
  problem.textContent = message;
}

function showOutput(output, hasCode) {
  if ($("output").textContent !== output) $("output").textContent = output;
  $("copy").disabled = output === "";
  $("download").disabled = !hasCode;
}
