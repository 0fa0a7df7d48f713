// What the result views share: cells refilled only where their text
// changes, rows made as needed, the table shown, the problem and the code.

// A target's achieved rate as the report writes it, the exact fraction
// in the cell's title where it is not whole.
function setAchieved(cell, setting) {
  setCell(cell, setting ? `${setting.achievedDecimalText} bps` : "", undefined);
  const title = setting && setting.achievedDenominator !== "1" ? `${setting.achievedText} bps` : "";
  if (cell.title !== title) cell.title = title;
}

function setCell(cell, content, good) {
  setText(cell, content);
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
  const rows = Array.from(body.rows);
  rows.forEach((row, index) => setHidden(row, index >= count));
  return rows.slice(0, count);
}

// The table the answer fills, the others hidden; the heading of the code.
function showView(view, codeHeading) {
  state.view = view;
  setHidden($("modes"), view !== "classic");
  setHidden($("target-modes"), view !== "target");
  setHidden($("plan"), view !== "plan");
  setHidden($("reload-modes"), view !== "reload");
  setText($("code-heading"), codeHeading);
}

function showProblem(message) {
  const problem = $("problem");
  setHidden(problem, message === "");
  setText(problem, message);
}

// The code, one block per line, so that a keystroke which changes a few
// lines (the reload, a comment's figures) lays out those lines alone, not
// the whole text again. Each line keeps its line feed: the box's text is
// the code exactly, for copying and reading back.
function showOutput(output, hasCode) {
  const lines = output.match(/[^\n]*\n|[^\n]+$/g) ?? [];
  const box = $("output");
  while (box.children.length > lines.length) box.lastChild.remove();
  lines.forEach((line, index) => {
    const block = box.children[index] ?? box.appendChild(document.createElement("div"));
    setText(block, line);
  });
  setDisabled($("copy"), output === "");
  setDisabled($("download"), !hasCode);
}
