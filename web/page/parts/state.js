// What the page's views share: its elements by id, the state of its inputs
// and results, and the bridge to the module once it has loaded.

const $ = (id) => document.getElementById(id);
const state = {
  language: "zh", answer: null, view: "classic", requests: [], finderKey: null, finderFrame: 0, urlTimer: 0,
  targets: [], families: [], planRows: [], nextRowId: 1, driverSizes: {}, driverSizesChosen: false,
  driverFiles: null, driverButtonsKey: null,
  linkPeer: null, linkKey: null, uartChoicesKey: null, chipName: null, typedAt: -Infinity, announced: "",
  crystalPresets: [], driverTimer: 0, finderRestTimer: 0, announceTimer: 0,
};
let bridge = null;

// How long typing pauses before the crystal finder fills every row, not
// only those in view, and the results are announced (milliseconds).
const FINDER_REST_MS = 250;

// A text or a visibility is written only when it changes: writing the same
// again would still make the browser check the element's layout.
// A text already there is changed in place, which is cheaper than a new one.
function setText(element, content) {
  const node = element.firstChild;
  if (node !== null && node === element.lastChild && node.nodeType === Node.TEXT_NODE && content !== "") {
    if (node.data !== content) node.data = content;
  } else if (element.textContent !== content) {
    element.textContent = content;
  }
}

function setHidden(element, hidden) {
  if (element.hidden !== hidden) element.hidden = hidden;
}

function setDisabled(element, disabled) {
  if (element.disabled !== disabled) element.disabled = disabled;
}
