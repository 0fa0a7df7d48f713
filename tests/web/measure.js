// The page's performance figures in headless Chromium (a benchmark, not a
// test): input event to every result and the code shown (without a link,
// with a link to an adapter, and a family's UART with a link to a second
// 8051), page load to the first full result from a local server, and the
// size of the page's files.
//
//   node measure.js [LOADS [ROUNDS]]   (environment as for page_test.js)
"use strict";

const fs = require("node:fs");
const path = require("node:path");
const { config, servePage, launchBrowser, closeBrowser, openPage } = require("./harness.js");

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const format = (ms) => `${ms.toFixed(3)} ms`;

// Installed in the page: after the page's own input handler has updated
// everything, forces style and layout and records the time since the
// keystroke's event was made.
function recordInputTimes() {
  window.inputTimes = [];
  document.addEventListener("input", (event) => {
    document.documentElement.getBoundingClientRect();
    window.inputTimes.push({ box: event.target.id, ms: performance.now() - event.timeStamp });
  });
}

async function measureTyping(page, rounds) {
  await page.evaluate(recordInputTimes);
  const inputs = [["#crystal", "11.0592MHz"], ["#baud", "115200"], ["#crystal", "22.1184M"], ["#baud", "9600"]];
  for (let round = 0; round < rounds; round += 1) {
    for (const [selector, text] of inputs) {
      await page.click(selector, { clickCount: 3 });
      await page.keyboard.press("Backspace");
      await page.type(selector, text);
    }
  }
  return page.evaluate(() => window.inputTimes);
}

async function main() {
  const loads = Number(process.argv[2] || 15);
  const rounds = Number(process.argv[3] || 10);
  const served = await servePage();
  const browser = await launchBrowser();
  try {
    const loadTimes = [];
    for (let i = 0; i < loads; i += 1) {
      const page = await openPage(browser, served.url);
      loadTimes.push(await page.evaluate(() => performance.getEntriesByName("tesmirol-first-result")[0].startTime));
      await page.close();
    }
    // The classic calculation alone, then with the serial link checked
    // against an adapter, and a family's UART against a second 8051 (whose
    // own generator is solved at every keystroke too).
    const SCENES = [
      ["no link", ""],
      ["link to a CH340", "#peer=ch340&tolerance=100ppm&frame=8N1"],
      ["stc8 UART1, link to a second 8051", "#target=stc8&uart=UART1&peer=8051&peerChip=stc15%4024MHz&tolerance=1%25&frame=8N1"],
    ];
    for (const [scene, hash] of SCENES) {
      const page = await openPage(browser, served.url + hash);
      const times = await measureTyping(page, rounds);
      const ofBox = (box) => times.filter((entry) => entry.box === box).map((entry) => entry.ms);
      console.log(`${scene}: input event to every result shown, median of ${times.length} keystrokes: ${format(median(times.map((t) => t.ms)))}`);
      console.log(`  in the crystal box (${ofBox("crystal").length}): ${format(median(ofBox("crystal")))}`);
      console.log(`  in the baud box, which refills the crystal finder too (${ofBox("baud").length}): ${format(median(ofBox("baud")))}`);
      await page.close();
    }
    const files = fs.readdirSync(config.pageDir).map((name) => [name, fs.statSync(path.join(config.pageDir, name)).size]);

    console.log(`page load to the first full result, median of ${loads} loads from 127.0.0.1: ${format(median(loadTimes))}`);
    console.log(`the page's files (${files.length}): ${files.reduce((sum, [, size]) => sum + size, 0)} bytes`);
    for (const [name, size] of files) console.log(`  ${name}: ${size} bytes`);
  } finally {
    await closeBrowser(browser);
    served.server.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
