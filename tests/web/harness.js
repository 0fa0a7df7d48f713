// What the browser tests share: the page served on 127.0.0.1, headless
// Chromium, the command-line program that gives the expected values, and the
// page's own view of a calculation, read back from what it shows.
"use strict";

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

// tesmirol-cli's answers, the expected values.
let presetTable = null;
const cli = {
  // Every crystal preset against every rate preset, from one run.
  table() {
    presetTable ??= JSON.parse(execFileSync(config.cli, ["--table", "all", "all", "--format", "json"],
      { encoding: "utf8", maxBuffer: 64 << 20 }));
    return presetTable;
  },
  // The crystal finder on a target for one rate.
  targetTable(target, baud) {
    return JSON.parse(execFileSync(config.cli, ["--target", target, "--table", "all", baud, "--format", "json"],
      { encoding: "utf8" }));
  },
  targetNames() {
    return JSON.parse(execFileSync(config.cli, ["--list-targets", "--json"], { encoding: "utf8" })).targets
      .map((target) => target.name);
  },
  // {status, report}: the --json report (null for no result) and the exit
  // status; with a target, the report of --target.
  json(crystal, baud, target) {
    const run = spawnSync(config.cli, [...(target ? ["--target", target] : []), "--json", "--", crystal, baud],
      { encoding: "utf8" });
    return { status: run.status, report: run.status <= 1 ? JSON.parse(run.stdout) : undefined };
  },
  // The bytes --code writes, or null when it writes none.
  code(crystal, baud, { encoding = "utf-8", lineFeeds = false, target } = {}) {
    const args = [...(target ? ["--target", target] : []), "--code", "--encoding", encoding,
      ...(lineFeeds ? ["--lf"] : []), "--", crystal, baud];
    const run = spawnSync(config.cli, args);
    return run.status === 0 ? run.stdout : null;
  },
};

// Runs in the page: shows each pair through the page's own update (the one an
// input event runs) and reads back what the page shows. Without pairs, reads
// what the page shows now.
function showPairsInPage(pairs) {
  const read = (selector) => document.querySelector(selector);
  const colour = (element) => (element.classList.contains("good") ? "good" : element.classList.contains("bad") ? "bad" : "");
  return (pairs ?? [null]).map((pair) => {
    if (pair) {
      read("#crystal").value = pair[0];
      read("#baud").value = pair[1];
      read("#target").value = pair[2] ?? "classic";
      window.tesmirolPage.update();
    }
    const modes = [0, 1].map((smod) => {
      const row = read(`#smod${smod}`);
      return {
        hidden: row.hidden,
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
