// The part-number box: a name as printed on the chip ("STC8H8K64U-45I-LQFP64",
// "AT89S52-24PU") chooses its family in the target list; a part of a family
// with no generator yet, or an unknown name with the nearest known names,
// is said beside the box. The module resolves the name; the page only shows it.

// Reads the box; chooses the family or target when the name stands for one.
// Returns whether the target choice changed.
function readPartBox() {
  const given = $("part").value.trim();
  if (given === "") {
    state.chipName = null;
    showPartStatus();
    return false;
  }
  state.chipName = bridge.chipName(given);
  showPartStatus();
  const { kind, name } = state.chipName;
  if (!["Target", "Family", "Part"].includes(kind) || $("target").value === name) return false;
  choose(name, "");
  return true;
}

// What the box's name stands for, in the page's language.
function showPartStatus() {
  const chip = state.chipName;
  const status = $("part-status");
  if (chip === null) {
    setText(status, "");
    status.className = "";
    return;
  }
  const given = $("part").value.trim();
  let message;
  if (chip.kind === "Part") message = text("part-family", { part: chip.part, family: chip.name });
  else if (chip.kind === "Target" || chip.kind === "Family") message = text("part-named", { name: chip.name });
  else if (chip.kind === "UnsupportedPart") message = text("part-unsupported", { part: chip.part, family: chip.name });
  else if (chip.nearest.length > 0) message = text("part-unknown-nearest", { given, nearest: chip.nearest.join(text("separator")) });
  else message = text("part-unknown", { given });
  setText(status, message);
  status.className = ["UnsupportedPart", "Unknown"].includes(chip.kind) ? "bad" : "";
  status.title = chip.source;
}
