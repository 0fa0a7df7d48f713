// The user's texts: the page's language, each key's text with its
// placeholders filled, and the reports' labels before their numbers.

// The user's texts in both languages, from the text tables of res/texts/
// (written by the build into the page's script as TESMIROL_TEXTS):
// the page's own under "page.", the reports' labels under "report.", so
// that the page and tesmirol-cli's report say the same, the catalogue's
// under "target.".
const TABLES = TESMIROL_TEXTS;

const missingTexts = new Set();

function otherLanguage() {
  return state.language === "zh" ? "en" : "zh";
}

// The text of a key in the page's language with its placeholders filled
// ("{uart}"; "{{" and "}}" are braces): "page." is implied for a key
// without a dot. A key the table lacks shows as itself and is recorded
// (missingTexts), so that the tests find it.
function text(key, values) {
  const name = key.includes(".") ? key : `page.${key}`;
  const template = TABLES[state.language][name];
  if (template === undefined) {
    missingTexts.add(`${state.language}:${name}`);
    return name;
  }
  return template.replace(/\{\{|\}\}|\{(\w+)\}/g,
    (match, placeholder) => (placeholder ? String(values?.[placeholder] ?? "") : match[0]));
}

// "crystalNotGbk" -> "crystal-not-gbk", "SharedTimer" -> "shared-timer": a status of the module's answers
// as the part of the key of its text.
function keyOf(name) {
  return name.replace(/^[A-Z]/, (letter) => letter.toLowerCase()).replace(/[A-Z]/g, (letter) => `-${letter.toLowerCase()}`);
}

// The reports' labels before their numbers, as tesmirol-cli's report
// writes them (选用晶震：11059200 Hz, 最低：112bps  最高：57600bps).
function selectedCrystalText(hz) {
  return `${text("report.selected-crystal")}${hz} Hz`;
}

function rangeText(min, max) {
  return `${text("report.minimum")}${min}bps  ${text("report.maximum")}${max}bps`;
}

function deviationLabel(deviation) {
  return `${text("report.deviation")}${deviation}%`;
}

// "定时器2" / "Timer 2" for the catalogue's "timer2"; "BRT", "SBAUD1" as they are.
function timerText(timer) {
  const number = /^timer(\d)$/.exec(timer);
  return number ? text("timer-name", { n: number[1] }) : timer.toUpperCase();
}

// The reload cell's text: the reload, or why there is none.
function reloadText(mode) {
  if (mode.status === "TooLow") return text("report.too-low");
  if (mode.status === "TooHigh") return text("report.too-high");
  return `TH = ${mode.reloadText}`;
}

// The finder's reload cell: the bare reload, or why there is none.
function finderReload(mode) {
  return mode.status === "Ok" ? mode.reloadText : reloadText(mode);
}
