// Seeded odd inputs: numbers in every spelling the reader must cope with,
// units, white space, characters GBK holds and characters it lacks. The same
// seed gives the same texts on every run, so a failure can be repeated.
"use strict";

const NUMBERS = [
  "0", "-0", "1", "-1", "12", "-9600", "9600", "11.0592", "22.1184", "1e3", "1E-3", "2.5e6", "3.4e38", "1e39",
  "2147483647", "2147483648", "-2147483648", "4294967296", "4294967297", "99999999999", ".5", "5.", "00012",
  " 12", "\t7", "+12", "1.2.3", "", "e5", "0x1F", "１２", "1,5", "1_000", "0.0000001", "-0.5", "100000000",
];
const UNITS = ["", "", "MHz", "M", "K", "k", "m", "KHz", "mhz", "Hz", "ｍ", "Ｍ", "ｋ", "兆", "千赫", "MKM", "K M", "€", "ⅿ", "α"];
const NOISE = ["", "", "", " ", "晶振", "😀", "한", "\u{E0041}", "ß", "é", "ä", "\u00A0", "™", "\u3000", "ⅱ", "ё", "Ω", "\u200B", "¥",
  // Characters the browser's GBK decoder reads but the command line's code page refuses: the page must refuse them
  // too (a user-defined area, a character added to GB18030 since).
  "\uE000", "\uFE10"];

// mulberry32: a small, well-known seeded generator.
function generator(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// count pairs [crystal, baud].
function oddPairs(count, seed = 20261208) {
  const random = generator(seed);
  const pick = (list) => list[Math.floor(random() * list.length)];
  const pairs = [];
  for (let i = 0; i < count; i += 1) {
    const crystal = random() < 0.2 ? pick(NOISE) + pick(NUMBERS) + pick(UNITS) : pick(NUMBERS) + pick(UNITS) + pick(NOISE);
    const baud = pick(NUMBERS) + (random() < 0.3 ? pick(NOISE) : "");
    pairs.push([crystal, baud]);
  }
  return pairs;
}

module.exports = { oddPairs };
