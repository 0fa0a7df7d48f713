// What the browser tests share: the page served on 127.0.0.1, headless
// Chromium, the command-line program that gives the expected values, and the
// page's own view of a calculation, read back from what it shows.
"use strict";

const assert = require("node:assert/strict");
const { execFileSync, spawnSync } = require("node:child_process");
const fs = require("node:fs");
const http = require("node:http");
const os = require("node:os");
const path = require("node:path");

// Set by web/CMakeLists.txt for ctest: the assembled page, the native
// tesmirol-cli, Chromium and the folder npm installed puppeteer-core into.
const config = {
  pageDir: process.env.TESMIROL_PAGE_DIR,
  cli: process.env.TESMIROL_CLI,
  chromium: process.env.TESMIROL_CHROMIUM || "/usr/bin/chromium",
  modules: process.env.TESMIROL_NODE_MODULES,
};
for (const [name, value] of Object.entries(config)) {
  if (!value || !fs.existsSync(value)) {
    throw new Error(`browser tests: ${name} (${value}) is missing; run them through ctest --preset wasm`);
  }
}
const puppeteer = require(path.join(config.modules, "puppeteer-core"));

const CONTENT_TYPES = { ".html": "text/html; charset=utf-8", ".css": "text/css", ".js": "text/javascript" };

// Serves the page's folder as a static host does; resolves to the server and
// its address.
function servePage(root = config.pageDir) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname).replace(/^\/$/, "/index.html");
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": CONTENT_TYPES[path.extname(file)] || "application/octet-stream" });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => {
    server.listen(0, "127.0.0.1", () => resolve({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

// Headless Chromium in a fresh profile of its own; closeBrowser removes it.
async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tesmirol-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: config.chromium,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
      "--disable-sync", "--no-first-run", `--user-data-dir=${profile}`],
  });
  browser.profileDir = profile;
  return browser;
}

async function closeBrowser(browser) {
  await browser.close();
  fs.rmSync(browser.profileDir, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
}

// Opens the page and waits until it has shown its first result; a page whose
// module did not load fails with the page's own message.
async function openPage(browser, url, viewport = { width: 1000, height: 900 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(url);
  try {
    await page.waitForSelector("html[data-ready=true]", { timeout: 10000 });
  } catch {
    const shown = await page.$eval("#load-error", (element) => element.textContent).catch(() => "");
    throw new Error(`the page did not start: ${shown || errors.join("; ") || "no message"}`);
  }
  return page;
}

// tesmirol-cli's answers, the expected values, asked for in Chinese, the
// language of the page's code and texts (the JSON is the same in both).
const chinese = ["--lang", "zh"];
let presetTable = null;
let catalogue = null;
const reports = new Map();
const cli = {
  // Every crystal preset against every rate preset, from one run.
  table() {
    presetTable ??= JSON.parse(execFileSync(config.cli, [...chinese, "--table", "all", "all", "--format", "json"],
      { encoding: "utf8", maxBuffer: 64 << 20 }));
    return presetTable;
  },
  // The crystal finder on a target (or a family's UART) for one rate, as
  // JSON or CSV rows; every preset crystal, or the one given.
  targetTable(target, baud, uart, format = "json", crystal = "all") {
    const output = execFileSync(config.cli, [...chinese, "--target", target, ...(uart ? ["--uart", uart] : []),
      "--table", crystal, baud, "--format", format], { encoding: "utf8" });
    if (format === "json") return JSON.parse(output);
    const [head, ...lines] = output.trim().split("\n").map((line) => line.split(","));
    return lines.map((line) => Object.fromEntries(head.map((name, index) => [name, line[index]])));
  },
  // The catalogue: {targets, families, familyUarts}.
  listing() {
    catalogue ??= JSON.parse(execFileSync(config.cli, [...chinese, "--list-targets", "--json"], { encoding: "utf8" }));
    return catalogue;
  },
  // The preset lists: {crystal, baud}.
  presets() {
    return JSON.parse(execFileSync(config.cli, [...chinese, "--list-presets", "--json"], { encoding: "utf8" }));
  },
  targetNames() {
    return cli.listing().targets.map((target) => target.name);
  },
  // The clock choice's text as tesmirol-cli's listing names it ("12T", "/128").
  clockText(target, clockIndex) {
    return cli.listing().targets.find((entry) => entry.name === target).clocks[clockIndex].clock;
  },
  // {status, report}: the --json report (null for no result) and the exit
  // status; with a target, the report of --target.
  // The same question twice is answered from memory.
  json(crystal, baud, target) {
    const key = JSON.stringify([crystal, baud, target]);
    if (!reports.has(key)) {
      const run = spawnSync(config.cli, [...chinese, ...(target ? ["--target", target] : []), "--json", "--", crystal,
        baud], { encoding: "utf8" });
      reports.set(key, { status: run.status, report: run.status <= 1 ? JSON.parse(run.stdout) : undefined });
    }
    return structuredClone(reports.get(key));
  },
  // The bytes --code writes, or null when it writes none.
  code(crystal, baud, { encoding = "utf-8", lineFeeds = false, target, language = "zh" } = {}) {
    const args = [...(target ? ["--target", target] : []), "--code", "--encoding", encoding,
      ...(lineFeeds ? ["--lf"] : []), "--", crystal, baud];
    const run = spawnSync(config.cli, ["--lang", language, ...args]);
    return run.status === 0 ? run.stdout : null;
  },
  // The --uart arguments of a plan: the first UART at BAUD, the others each
  // at its own rate.
  planArguments(target, [first, ...others]) {
    return ["--target", target, "--uart", first[0], ...others.flatMap(([uart, baud]) => ["--uart", `${uart}:${baud}`]),
      ...others.filter(([, , peer]) => peer).flatMap(([uart, , peer]) => ["--peer", `${uart}=${peer}`])];
  },
  // {status, report}: the plan's --json report (a conflict ends with status
  // 3 and still reports) for the UARTs ([uart, baud] pairs).
  plan(crystal, target, uarts) {
    const run = spawnSync(config.cli, [...chinese, ...cli.planArguments(target, uarts), "--json", "--", crystal, uarts[0][1]],
      { encoding: "utf8" });
    return { status: run.status, report: run.stdout ? JSON.parse(run.stdout) : undefined };
  },
  // The serial driver for the target arguments (["--target", name] or a
  // plan's planArguments): {status, files: {name: bytes} as --driver-dir
  // writes them, one: the bytes --driver writes as one file, error: what it
  // says on stderr}; the options are the page's ({polled, rxSize, txSize,
  // xdata, registerBank, rs485, crlf}), the polled driver without sizes, as
  // the command line wants it.
  driver(targetArguments, crystal, baud,
    { polled = false, rxSize = 16, txSize = 16, xdata = false, registerBank = null, rs485 = "", crlf = false } = {},
    { encoding = "utf-8", lineFeeds = false, language = "zh" } = {}) {
    const args = ["--lang", language, ...targetArguments, "--driver", polled ? "polled" : "interrupt",
      ...(polled ? [] : ["--rx-size", String(rxSize), "--tx-size", String(txSize), "--buffers", xdata ? "xdata" : "idata"]),
      ...(registerBank === null ? [] : ["--register-bank", String(registerBank)]), ...(rs485 ? ["--rs485", rs485] : []),
      ...(crlf ? ["--crlf"] : []), "--encoding", encoding, ...(lineFeeds ? ["--lf"] : [])];
    const one = spawnSync(config.cli, [...args, "--", crystal, baud]);
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tesmirol-driver-"));
    try {
      const run = spawnSync(config.cli, [...args, "--driver-dir", folder, "--", crystal, baud]);
      assert(run.status === one.status, `--driver-dir ended with ${run.status}, --driver with ${one.status}`);
      const files = Object.fromEntries(fs.readdirSync(folder).sort().map((name) => [name,
        fs.readFileSync(path.join(folder, name))]));
      return { status: one.status, files, one: one.status === 0 ? one.stdout : null, error: one.stderr.toString() };
    } finally {
      fs.rmSync(folder, { recursive: true, force: true });
    }
  },
  // The link's options of tesmirol-cli for the page's link choices ({peer:
  // an adapter, "ideal" or "8051" with peerChip; tolerance; frame}).
  linkArguments({ peer, peerChip, tolerance, frame }) {
    return [...(peer ? ["--peer", peer === "8051" ? peerChip : peer] : []),
      ...(tolerance ? ["--clock-tolerance", tolerance] : []),
      ...(frame ? ["--frame", frame] : [])];
  },
  // Whether this tesmirol-cli checks serial links (--peer).
  checksLinks() {
    return spawnSync(config.cli, ["--help"], { encoding: "utf8" }).stdout.includes("--peer");
  },
  // {status, report}: the --json report with the link's choices, for the
  // classic calculation, a target, or a plan when also names more UARTs.
  link({ crystal, baud, target, uart, also = [], link }) {
    const targetArguments = also.length > 0 ? cli.planArguments(target, [[uart, baud], ...also])
      : [...(target ? ["--target", target] : []), ...(uart ? ["--uart", uart] : [])];
    const run = spawnSync(config.cli, ["--lang", "zh", ...targetArguments, ...cli.linkArguments(link), "--json", "--",
      crystal, baud], { encoding: "utf8" });
    return { status: run.status, report: run.stdout ? JSON.parse(run.stdout) : undefined, error: run.stderr };
  },
  // The bytes --code writes with the link's choices (Chinese, UTF-8, CR LF),
  // or null.
  linkCode({ crystal, baud, target, uart, also = [], link }) {
    const targetArguments = also.length > 0 ? cli.planArguments(target, [[uart, baud], ...also])
      : [...(target ? ["--target", target] : []), ...(uart ? ["--uart", uart] : [])];
    const run = spawnSync(config.cli, ["--lang", "zh", ...targetArguments, ...cli.linkArguments(link), "--code",
      "--encoding", "utf-8", "--", crystal, baud]);
    return run.status === 0 ? run.stdout : null;
  },
  // The bytes of the plan's code, or null when there is none.
  planCode(crystal, target, uarts, { encoding = "utf-8", lineFeeds = false } = {}) {
    const run = spawnSync(config.cli, [...chinese, ...cli.planArguments(target, uarts), "--code", "--encoding", encoding,
      ...(lineFeeds ? ["--lf"] : []), "--", crystal, uarts[0][1]]);
    return run.status === 0 ? run.stdout : null;
  },
};

// Runs in the page: shows each case through the page's own choices and
// update (the ones the URL and the input events run) and reads back what the
// page shows. A case is [crystal, baud, target, uart, also], also the UARTs
// planned with it as [uart, baud] pairs; without a target, the classic
// calculation. Without cases, reads what the page shows now.
function showPairsInPage(pairs) {
  const read = (selector) => document.querySelector(selector);
  const colour = (element) => (element.classList.contains("good") ? "good" : element.classList.contains("bad") ? "bad" : "");
  const shownRows = (selector) => Array.from(document.querySelectorAll(`${selector} tbody tr`))
    .filter((row) => !row.hidden && !row.closest("table").hidden)
    .map((row) => Array.from(row.cells, (cell) => ({ text: cell.textContent, colour: colour(cell) })));
  return (pairs ?? [null]).map((pair) => {
    if (pair) {
      read("#crystal").value = pair[0];
      read("#baud").value = pair[1];
      window.tesmirolPage.choose(pair[2] ?? "classic", pair[3] ?? "", pair[4] ?? []);
      window.tesmirolPage.update();
    }
    const modes = [0, 1].map((smod) => {
      const row = read(`#smod${smod}`);
      return {
        hidden: row.hidden || read("#modes").hidden,
        reload: row.querySelector(".reload").textContent, reloadColour: colour(row.querySelector(".reload")),
        achieved: row.querySelector(".achieved").textContent,
        deviation: row.querySelector(".deviation").textContent, deviationColour: colour(row.querySelector(".deviation")),
      };
    });
    return {
      // Through JSON, which has no negative zero: -0 travels as a string.
      answer: JSON.stringify(window.tesmirolPage.answer, (key, value) => (Object.is(value, -0) ? "-0" : value)),
      problem: read("#problem").hidden ? "" : read("#problem").textContent,
      selectedCrystal: read("#selected-crystal").textContent,
      range: read("#range").textContent,
      modes,
      targetRows: shownRows("#target-modes"),
      planRows: shownRows("#plan"),
      codeHeading: read("#code-heading").textContent,
      output: read("#output").textContent,
    };
  });
}

// The answers as the page holds them, negative zeros restored.
async function showPairs(page, pairs) {
  const shown = await page.evaluate(showPairsInPage, pairs);
  for (const entry of shown) entry.answer = JSON.parse(entry.answer, (key, value) => (value === "-0" ? -0 : value));
  return shown;
}

module.exports = { config, servePage, launchBrowser, closeBrowser, openPage, cli, showPairs };
