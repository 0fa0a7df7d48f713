// What the page's views share: its elements by id, the state of its inputs
// and results, and the bridge to the module once it has loaded.

const $ = (id) => document.getElementById(id);
const state = {
  language: "zh", answer: null, view: "classic", requests: [], finderKey: null, finderFrame: 0, urlTimer: 0,
  targets: [], families: [], planRows: [], nextRowId: 1, driverSizes: {}, driverSizesChosen: false,
  driverFiles: null, driverButtonsKey: null,
  linkPeer: null, linkKey: null,
};
let bridge = null;
