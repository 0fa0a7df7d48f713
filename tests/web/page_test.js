// The page in headless Chromium, compared with tesmirol-cli: every preset
// pair and seeded odd texts through the page's own update and bridge, a
// representative few typed and chosen as a user does, and the page's
// behaviour (colours, copy, download, URL, language, keyboard, phone size,
// a module that does not belong to the page).
"use strict";

const assert = require("node:assert/strict");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { after, before, describe, test } = require("node:test");
const { pathToFileURL } = require("node:url");
const zlib = require("node:zlib");

const { config, servePage, launchBrowser, closeBrowser, openPage, cli, showPairs } = require("./harness.js");
const { oddPairs } = require("./odd_texts.js");

const BLUE = "rgb(11, 63, 207)";
const RED = "rgb(196, 13, 30)";

let browser;
let served;
let page;

before(async () => {
  served = await servePage();
  browser = await launchBrowser();
  page = await openPage(browser, served.url);
});

after(async () => {
  if (browser) await closeBrowser(browser);
  served?.server.close();
});

// What the page must show (in Chinese) for a calculation tesmirol-cli reports.
function expectedModeTexts(mode) {
  const reload = { TooLow: "波特率太低", TooHigh: "波特率太高" }[mode.status]
    ?? `TH = 0x${(mode.reload >>> 0).toString(16).toUpperCase()}`;
  return {
    reload, reloadColour: mode.status === "Ok" ? "good" : "bad", achieved: `${mode.achieved} bps`,
    deviation: `偏差：${mode.deviationText}%`, deviationColour: mode.outOfTolerance ? "bad" : "good",
  };
}

// Every field tesmirol-cli reports must be in the page's answer with the same
// value (doubles bit for bit).
function assertSameFields(actual, expected, where) {
  for (const [key, value] of Object.entries(expected)) {
    if (key === "modes" && Array.isArray(value)) {
      value.forEach((mode, smod) => assertSameFields(actual.modes[smod], mode, `${where} SMOD=${smod}`));
    } else if (key !== "crystal" && key !== "baud") {
      assert.ok(Object.is(actual[key], value), `${where}: ${key} is ${actual[key]}, tesmirol-cli says ${value}`);
    }
  }
}

function assertShown(shown, report, where) {
  assert.deepEqual(shown.modes, report.modes.map((mode) => ({ hidden: false, ...expectedModeTexts(mode) })), where);
  assert.equal(shown.selectedCrystal, `选用晶震：${report.crystalHz} Hz`, where);
  if (report.minBps !== undefined) {
    assert.equal(shown.range, `最低：${report.minBps}bps  最高：${report.maxBps}bps`, where);
    assert.equal(shown.output, report.outcome === "Nothing" ? "" : report.output, where);
  }
}

async function setLanguage(language) {
  if ((await page.$eval("html", (html) => html.lang)) !== (language === "zh" ? "zh-CN" : "en")) {
    await page.click("#language");
  }
}

describe("the page computes what tesmirol-cli computes", () => {
  test("every preset pair", async () => {
    await setLanguage("zh");
    // Rate by rate, as the finder follows the rate.
    const rows = cli.table().filter((row) => row.crystalHz !== null).sort((a, b) => a.baud.localeCompare(b.baud));
    const shown = await showPairs(page, rows.map((row) => [row.crystal, row.baud]));
    assert.equal(shown.length, 4284);
    rows.forEach((row, index) => {
      const where = `${row.crystal} / ${row.baud}`;
      assert.equal(shown[index].answer.status, "ok", where);
      assertSameFields(shown[index].answer.calculation, row, where);
      assertShown(shown[index], row, where);
    });
  });

  test("seeded odd texts, and the bytes of every code file", async () => {
    await setLanguage("zh");
    const pairs = oddPairs(300);
    const shown = await showPairs(page, pairs);
    const variants = [{ encoding: "gbk" }, { encoding: "utf-8" }, { encoding: "gbk", lineFeeds: true },
      { encoding: "utf-8", lineFeeds: true }];
    const files = await page.evaluate((pairList, variantList) => pairList.map(([crystal, baud], index) => {
      const variant = variantList[index % variantList.length];
      const bytes = window.tesmirolPage.bridge.codeBytes(crystal, baud, variant.encoding === "gbk", !!variant.lineFeeds);
      return bytes && Array.from(bytes);
    }), pairs, variants);
    const statuses = { ok: 0, noResult: 0, notGbk: 0 };
    pairs.forEach(([crystal, baud], index) => {
      const where = JSON.stringify([crystal, baud]);
      const expected = cli.json(crystal, baud);
      const { answer } = shown[index];
      if (expected.status === 2) {
        assert.match(answer.status, /NotGbk$/, where);
        statuses.notGbk += 1;
      } else if (expected.report === null) {
        assert.equal(answer.status, "noResult", where);
        assert.equal(shown[index].problem !== "", true, where);
        statuses.noResult += 1;
      } else {
        assert.equal(answer.status, "ok", where);
        assertSameFields(answer.calculation, expected.report, where);
        assertShown(shown[index], expected.report, where);
        statuses.ok += 1;
      }
      const code = cli.code(crystal, baud, variants[index % variants.length]);
      assert.deepEqual(files[index], code && Array.from(code), `${where}: code file bytes`);
    });
    // The seed must reach every kind of outcome.
    assert.ok(Object.values(statuses).every((count) => count >= 20), JSON.stringify(statuses));
  });

  test("the crystal finder shows tesmirol-cli's table for each preset rate", async () => {
    const table = cli.table();
    const bauds = [...new Set(table.map((row) => row.baud))];
    const finders = await page.evaluate((rates) => rates.map((baud) => {
      document.querySelector("#baud").value = baud;
      window.tesmirolPage.update();
      window.tesmirolPage.refreshFinder();
      return Array.from(document.querySelectorAll("#finder-table tbody tr:not([hidden])"),
        (row) => Array.from(row.cells, (cell) => cell.textContent));
    }), bauds);
    bauds.forEach((baud, index) => {
      const expected = table.filter((row) => row.baud === baud).map((row) => [row.crystal,
        ...row.modes.flatMap((mode) => [
          { TooLow: "波特率太低", TooHigh: "波特率太高" }[mode.status] ?? mode.reloadText, String(mode.achieved),
          `${mode.deviationText}%`]),
        row.outcome === "Code" ? `SMOD=${row.chosenSmod}` : { Warning: "警告", Nothing: "无" }[row.outcome]]);
      assert.deepEqual(finders[index], expected, `finder at ${baud}`);
    });
  });
});

// What the page must show for a target's solution tesmirol-cli reports: the
// best neighbour of each SMOD setting the target offers.
function expectedTargetModeTexts(solution, smod) {
  const mode = solution.modes[smod];
  if (!mode) return { hidden: true, reload: "", reloadColour: "", achieved: "", deviation: "", deviationColour: "" };
  if (mode.status !== "Ok") {
    return { hidden: false, reload: mode.status === "TooLow" ? "波特率太低" : "波特率太高", reloadColour: "bad",
      achieved: "", deviation: "", deviationColour: "" };
  }
  const setting = mode.tried[mode.bestTried];
  const rate = setting.achievedDenominator === 1 ? `${setting.achievedNumerator}`
    : `${setting.achievedNumerator}/${setting.achievedDenominator}`;
  return {
    hidden: false, reload: `${Object.keys(setting.registers).join(",")} = ${setting.reloadText}`, reloadColour: "good",
    achieved: `${rate} bps`, deviation: `偏差：${setting.deviationText}%`,
    deviationColour: setting.outOfTolerance ? "bad" : "good",
  };
}

// A target's setting as the page holds it and as tesmirol-cli reports it.
function assertSameSetting(actual, expected, where) {
  for (const key of ["smod", "reload", "reloadText", "achieved", "deviation", "deviationText", "outOfTolerance"]) {
    assert.ok(Object.is(actual[key], expected[key]), `${where}: ${key} is ${actual[key]}, tesmirol-cli says ${expected[key]}`);
  }
  for (const key of ["divisor", "achievedNumerator", "achievedDenominator"]) {
    assert.equal(Number(actual[key]), expected[key], `${where}: ${key}`);
  }
}

describe("the targets of the catalogue: the page solves what tesmirol-cli --target solves", () => {
  const PAIRS = [
    ["11.0592MHz", "9600"], ["22.1184MHz", "115200"], ["12MHz", "4800"], ["24MHz", "19200"], ["6MHz", "300"],
    ["40MHz", "2400"], ["1MHz", "115200"], ["33MHz", "57600"], ["7.3728MHz", "110"], ["3.579545MHz", "1200"],
    ["12m", "-1"], ["11.0592MHz", "96😀"], ["0MHz", "9600"], ["1.5E3K", "300"],
  ];

  test("every target on preset and odd inputs, and the bytes of every code file", async () => {
    await setLanguage("zh");
    const cases = cli.targetNames().flatMap((target) => PAIRS.map(([crystal, baud]) => [crystal, baud, target]));
    const shown = await showPairs(page, cases);
    const variants = [{ encoding: "gbk" }, { encoding: "utf-8", lineFeeds: true }];
    const files = await page.evaluate((list, variantList) => list.map(([crystal, baud, target], index) => {
      const variant = variantList[index % variantList.length];
      const bytes = window.tesmirolPage.codeFileBytesFor(crystal, baud, variant.encoding === "gbk", !!variant.lineFeeds,
        target);
      return bytes && Array.from(bytes);
    }), cases, variants);
    const outcomes = new Set();
    cases.forEach(([crystal, baud, target], index) => {
      const where = JSON.stringify([crystal, baud, target]);
      const expected = cli.json(crystal, baud, target);
      const { answer } = shown[index];
      if (expected.status === 2) {
        assert.match(answer.status, /NotGbk$/, where);
      } else if (expected.report === null) {
        assert.equal(answer.status, "noResult", where);
        assert.notEqual(shown[index].problem, "", where);
      } else {
        const solution = expected.report.solutions[0];
        assert.equal(answer.status, "ok", where);
        const actual = answer.solution;
        for (const key of ["crystalText", "baudText", "baud"]) assert.equal(actual[key], expected.report[key], `${where} ${key}`);
        assert.equal(Number(actual.crystalNumerator), expected.report.crystalHz.numerator, where);
        assert.equal(Number(actual.crystalDenominator), expected.report.crystalHz.denominator, where);
        for (const key of ["status", "minRate", "maxRate"]) assert.ok(Object.is(actual[key], solution[key]), `${where} ${key}`);
        assert.equal(actual.modes.length, solution.modes.length, where);
        solution.modes.forEach((mode, smod) => {
          assert.equal(actual.modes[smod].status, mode.status, where);
          assert.equal(actual.modes[smod].bestTried, mode.bestTried, where);
          assert.equal(actual.modes[smod].tried.length, mode.tried.length, where);
          mode.tried.forEach((setting, i) => assertSameSetting(actual.modes[smod].tried[i], setting, `${where} SMOD=${smod}`));
        });
        if (solution.best) assertSameSetting(actual.best, solution.best, `${where} best`);
        else assert.equal(actual.best, null, where);
        assert.equal(answer.outcome, expected.report.outcome, where);
        assert.equal(answer.output, expected.report.output, where);
        assert.deepEqual(shown[index].modes, [0, 1].map((smod) => expectedTargetModeTexts(solution, smod)), where);
        const { numerator, denominator } = expected.report.crystalHz;
        assert.equal(shown[index].selectedCrystal,
          `选用晶震：${denominator === 1 ? numerator : `${numerator}/${denominator}`} Hz`, where);
        assert.equal(shown[index].output, expected.report.outcome === "Nothing" ? "" : expected.report.output, where);
        outcomes.add(expected.report.outcome);
      }
      const code = cli.code(crystal, baud, { ...variants[index % variants.length], target });
      assert.deepEqual(files[index], code && Array.from(code), `${where}: code file bytes`);
    });
    assert.deepEqual([...outcomes].sort(), ["Code", "Nothing", "Warning"]);
  });

  test("the crystal finder on a target shows each crystal's best setting and outcome", async () => {
    const CASES = [["stc-t2-1t", "9600"], ["t1-12t", "115200"], ["stc12-brt-1t", "300"], ["t2-6t", "57600"]];
    for (const [target, baud] of CASES) {
      const rows = await page.evaluate((name, rate) => {
        document.querySelector("#target").value = name;
        document.querySelector("#baud").value = rate;
        window.tesmirolPage.update();
        window.tesmirolPage.refreshFinder();
        return Array.from(document.querySelectorAll("#finder-table tbody tr:not([hidden])"),
          (row) => Array.from(row.cells, (cell) => cell.textContent));
      }, target, baud);
      const expected = cli.targetTable(target, baud);
      assert.equal(rows.length, expected.length, target);
      expected.forEach((row, index) => {
        const where = `${target} ${row.crystal} ${baud}`;
        const cells = rows[index];
        assert.equal(cells[0], row.crystal, where);
        const code = { code: `SMOD=${row.best?.smod}`, warning: "警告", "too low": "无", "too high": "无", "no result": "无结果" };
        assert.equal(cells[7], code[row.outcome], where);
        if (row.best) {
          const base = 1 + row.best.smod * 3;
          const rate = row.best.achievedDenominator === 1 ? `${row.best.achievedNumerator}`
            : `${row.best.achievedNumerator}/${row.best.achievedDenominator}`;
          assert.deepEqual(cells.slice(base, base + 3), [row.best.reloadText, rate, `${row.best.deviationText}%`], where);
        }
      });
    }
    await page.select("#target", "classic");
  });

  test("choosing a target from the list and reading its results", async () => {
    await typeInto("#crystal", "11.0592MHz");
    await typeInto("#baud", "115200");
    await page.focus("#target");
    await page.select("#target", "stc-t2-1t");
    const [shown] = await showPairs(page, null);
    const expected = cli.json("11.0592MHz", "115200", "stc-t2-1t").report;
    assert.deepEqual(shown.modes, [0, 1].map((smod) => expectedTargetModeTexts(expected.solutions[0], smod)));
    assert.equal(shown.output, expected.output);
    await page.waitForFunction(() => new URLSearchParams(location.hash.slice(1)).get("target") === "stc-t2-1t");
    await page.select("#target", "classic");
  });
});

// Clears the box and types the text key by key, as a user does.
async function typeInto(selector, text) {
  await page.click(selector, { clickCount: 3 });
  await page.keyboard.press("Backspace");
  await page.type(selector, text);
}

describe("a user types and chooses", () => {
  const TYPED = [
    ["11.0592MHz", "9600"], ["12MHz", "9600"], ["22.1184M", "115200"], ["32.768KHz", "110"], ["1MHz", "115200"],
    ["晶振12m", "4800"], ["11.0592ｍ", "19200"], ["-12MHz", "-9600"], ["1e39", "1"], ["12MHz", "0"],
    ["12MHz", "96😀"], ["2147483647", "2400"], ["  3.6864MHz", "57600"], ["", "9600"],
  ];
  for (const [crystal, baud] of TYPED) {
    test(`typed ${JSON.stringify(crystal)} and ${JSON.stringify(baud)}`, async () => {
      await setLanguage("zh");
      await typeInto("#crystal", crystal);
      await typeInto("#baud", baud);
      const [shown] = await showPairs(page, null);
      const expected = cli.json(crystal, baud);
      if (expected.report) {
        assertShown(shown, expected.report, crystal);
      } else {
        assert.notEqual(shown.problem, "", `${crystal} / ${baud} must say why there is no result`);
      }
    });
  }

  test("choosing presets from the lists by keyboard", async () => {
    await page.focus("#crystal-preset");
    await page.select("#crystal-preset", "24MHz");
    await page.focus("#baud-preset");
    await page.keyboard.press("End");  // the last rate of the list
    const chosen = await page.evaluate(() => [document.querySelector("#crystal").value, document.querySelector("#baud").value]);
    const lastRate = cli.table().at(-1).baud;
    assert.deepEqual(chosen, ["24MHz", lastRate]);
    const [shown] = await showPairs(page, [chosen]);
    assertShown(shown, cli.json(...chosen).report, chosen.join(" / "));
  });
});

describe("the page's behaviour", () => {
  test("colours: blue within 1 %, red beyond or out of range, the range in amber", async () => {
    const CASES = [
      { pair: ["11.0592MHz", "9600"], reload: [BLUE, BLUE], deviation: [BLUE, BLUE] },
      { pair: ["12MHz", "9600"], reload: [BLUE, BLUE], deviation: [RED, RED] },
      { pair: ["11.0592MHz", "110"], reload: [RED, RED], deviation: [BLUE, BLUE] },
    ];
    for (const { pair, reload, deviation } of CASES) {
      await typeInto("#crystal", pair[0]);
      await typeInto("#baud", pair[1]);
      const colours = await page.evaluate(() => ({
        reload: [0, 1].map((smod) => getComputedStyle(document.querySelector(`#smod${smod} .reload`)).color),
        deviation: [0, 1].map((smod) => getComputedStyle(document.querySelector(`#smod${smod} .deviation`)).color),
        range: getComputedStyle(document.querySelector("#range")).backgroundColor,
      }));
      assert.deepEqual(colours.reload, reload, pair.join(" / "));
      assert.deepEqual(colours.deviation, deviation, pair.join(" / "));
      assert.equal(colours.range, "rgb(255, 239, 194)");
    }
  });

  test("copy puts the shown code on the clipboard", async () => {
    await browser.defaultBrowserContext().overridePermissions(served.url, ["clipboard-read", "clipboard-write",
      "clipboard-sanitized-write"]);
    await typeInto("#crystal", "22.1184MHz");
    await typeInto("#baud", "19200");
    await page.click("#copy");
    await page.waitForFunction(() => document.querySelector("#copy-status").textContent === "已复制");
    const clipboard = await page.evaluate(() => navigator.clipboard.readText());
    const expected = cli.code("22.1184MHz", "19200", { lineFeeds: true }).toString("utf8");
    assert.equal(clipboard.replace(/\r\n/g, "\n"), expected);
  });

  test("download writes tesmirol-cli's bytes in the chosen encoding and line ends", async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tesmirol-download-"));
    const session = await page.createCDPSession();
    await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: folder });
    await typeInto("#crystal", "11.0592MHz");
    await typeInto("#baud", "4800");
    for (const [encoding, lineEnds] of [["gbk", "crlf"], ["utf-8", "lf"]]) {
      await page.select("#encoding", encoding);
      await page.select("#line-ends", lineEnds);
      const file = path.join(folder, "sio_init.c");
      fs.rmSync(file, { force: true });
      await page.click("#download");
      for (let waited = 0; !fs.existsSync(file) && waited < 5000; waited += 50) {
        await new Promise((resolve) => setTimeout(resolve, 50));
      }
      const expected = cli.code("11.0592MHz", "4800", { encoding, lineFeeds: lineEnds === "lf" });
      assert.deepEqual(fs.readFileSync(file), expected, `${encoding} ${lineEnds}`);
    }
    fs.rmSync(folder, { recursive: true, force: true });
  });

  test("the URL carries the state: a link reproduces the calculation", async () => {
    await typeInto("#crystal", "18.432MHz");
    await typeInto("#baud", "38400");
    await page.select("#encoding", "utf-8");
    await page.select("#line-ends", "lf");
    await setLanguage("en");
    await page.waitForFunction(() => {
      const params = new URLSearchParams(location.hash.slice(1));
      return params.get("lang") === "en" && params.get("baud") === "38400" && params.get("lineEnds") === "lf";
    });
    const link = page.url();
    const read = () => ({
      crystal: document.querySelector("#crystal").value, baud: document.querySelector("#baud").value,
      encoding: document.querySelector("#encoding").value, lineEnds: document.querySelector("#line-ends").value,
      lang: document.documentElement.lang, results: document.querySelector("#results").innerText,
      output: document.querySelector("#output").textContent,
    });
    const before = await page.evaluate(read);
    const fileLink = pathToFileURL(path.join(config.pageDir, "index.html")).href + new URL(link).hash;
    for (const url of [link, fileLink]) {
      const other = await openPage(browser, url);
      assert.deepEqual(await other.evaluate(read), before, url);
      await other.close();
    }
    await setLanguage("zh");
  });

  test("the language switch changes the page's texts, never the code", async () => {
    await setLanguage("zh");
    const zh = await page.evaluate(() => [document.querySelector("label[for=crystal]").textContent,
      document.querySelector("#output").textContent]);
    await page.click("#language");
    const en = await page.evaluate(() => [document.querySelector("label[for=crystal]").textContent,
      document.querySelector("#output").textContent, document.documentElement.lang]);
    assert.deepEqual(zh.slice(0, 1), ["晶振频率"]);
    assert.deepEqual(en, ["Crystal", zh[1], "en"]);
    await page.click("#language");
  });

  test("the keyboard reaches every control in reading order; inputs are labelled; results are announced", async () => {
    await typeInto("#crystal", "11.0592MHz");
    await typeInto("#baud", "9600");
    await page.focus("#language");
    const order = ["language"];
    for (let i = 0; i < 11; i += 1) {
      await page.keyboard.press("Tab");
      order.push(await page.evaluate(() => document.activeElement.id || document.activeElement.className));
    }
    assert.deepEqual(order, ["language", "crystal", "crystal-preset", "baud", "baud-preset", "target", "output",
      "copy", "encoding", "line-ends", "download", "table-scroll"]);
    const unlabelled = await page.evaluate(() => Array.from(document.querySelectorAll("input, select"))
      .filter((control) => control.labels.length === 0).map((control) => control.id));
    assert.deepEqual(unlabelled, []);
    await page.focus("#baud");
    await page.keyboard.press("End");
    await page.keyboard.press("Backspace");
    const announced = await page.$eval("#announcer", (element) => [element.textContent, element.getAttribute("aria-live")]);
    assert.match(announced[0], /^SMOD=0：/);
    assert.equal(announced[1], "polite");
  });

  test("the page asks its host for its own files and nothing else", async () => {
    const tab = await browser.newPage();
    const requested = [];
    tab.on("request", (request) => requested.push(request.url()));
    await tab.goto(served.url);
    await tab.waitForSelector("html[data-ready=true]");
    await tab.type("#baud", "0");
    await tab.close();
    assert.deepEqual(requested.map((url) => url.replace(served.url, "")).sort(),
      ["", "bridge.js", "page.js", "style.css", "tesmirol-wasm.js"]);
  });

  test("a phone-sized screen shows the page without sideways scrolling", async () => {
    const phone = await openPage(browser, served.url, { width: 360, height: 740, isMobile: true, hasTouch: true });
    const widths = await phone.evaluate(() => [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
    assert.ok(widths[0] <= widths[1], `page ${widths[0]} px wide on a ${widths[1]} px screen`);
    await phone.close();
  });

  test("a module that does not belong to the page stops it with a message saying why", async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tesmirol-broken-"));
    for (const name of fs.readdirSync(config.pageDir)) fs.copyFileSync(path.join(config.pageDir, name), path.join(folder, name));
    const embedded = fs.readFileSync(path.join(config.pageDir, "tesmirol-wasm.js"), "utf8");
    const module = zlib.gunzipSync(Buffer.from(embedded.match(/"([A-Za-z0-9+/=]+)"/)[1], "base64"));
    const CASES = [
      { from: "tesmirol_presets", to: "tesmirol_presetz", message: /lacks tesmirol_presets/ },
    ];
    for (const { from, to, message } of CASES) {
      const broken = Buffer.from(module.toString("latin1").replace(from, to), "latin1");
      fs.writeFileSync(path.join(folder, "tesmirol-wasm.js"),
        `self.TESMIROL_WASM_GZIP_BASE64 = "${zlib.gzipSync(broken).toString("base64")}";\n`);
      const tab = await browser.newPage();
      await tab.goto(pathToFileURL(path.join(folder, "index.html")).href);
      await tab.waitForFunction(() => !document.querySelector("#load-error").hidden, { timeout: 5000 });
      assert.match(await tab.$eval("#load-error", (element) => element.textContent), message);
      await tab.close();
    }
    fs.rmSync(folder, { recursive: true, force: true });
  });
});
