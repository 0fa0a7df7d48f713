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

// The part numbers of the chosen family and the ordering tables they come
// from, under the chip choice; asked of the module only while the disclosure
// is open, and again when the family or the language changes.
function showFamilyParts() {
  const box = $("family-parts");
  const family = $("target").value;
  setHidden(box, !isFamily(family));
  const key = `${family}\n${state.language}`;
  if (!box.open || box.hidden || box.dataset.shown === key) return;
  box.dataset.shown = key;
  const { records } = bridge.partListing(family);
  const items = records.map((record) => {
    const item = document.createElement("li");
    item.textContent = text("family-parts-record", { parts: record.parts.join(text("separator")), source: record.source });
    return item;
  });
  if (items.length === 0) {
    items.push(document.createElement("li"));
    items[0].textContent = text("family-parts-none");
  }
  $("family-parts-list").replaceChildren(...items);
}
