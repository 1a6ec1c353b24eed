// The page as a person meets it, in headless Chromium at 640 x 480: it loads with no console
// error, served or opened from disk, and draws the first message in the font's glyphs; the
// keys change the picture as on the desktop; Escape fades to black and the end state follows.
// The live page runs on the real clock, so pictures are judged by what must be there (text
// where the reference has text, black bands, fewer lit pixels), not pixel for pixel.
"use strict";
const assert = require("node:assert");
const fs = require("node:fs");
const path = require("node:path");
const {after, before, test} = require("node:test");
const {launch, serve, openPage, screenshot, decodePng} = require("./browser");

const kWebBuild = process.env.TAVIK_WEB_BUILD;
const kHelpReference = path.join(process.env.TAVIK_TEST_DATA, "golden", "help.png");
const kWidth = 640;
const kHeight = 480;
let browser;
let server;
let helpPage;  // tests/golden/help.png's pixels: the first message and the help page, 640 x 480

before(async () => {
  browser = await launch();
  server = await serve(kWebBuild);
  const page = await browser.newPage();
  helpPage = await decodePng(page, fs.readFileSync(kHelpReference));
  await page.close();
});
after(async () => {
  await browser.close();
  await server.close();
});

// ---- Pictures -------------------------------------------------------------------------------

const pixel = (picture, x, y) => picture.data.slice((y * picture.width + x) * 4, (y * picture.width + x) * 4 + 3);
// The white of the font's glyphs (anti-aliased edges left out).
const isText = ([r, g, b]) => Math.min(r, g, b) >= 170;
const isRed = ([r, g, b]) => r >= 80 && r > 2 * g && r > 2 * b;

// Pixels of the rectangle [x0, x1) x [y0, y1) for which test holds.
function count(picture, [x0, y0, x1, y1], test) {
  let n = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      n += test(pixel(picture, x, y)) ? 1 : 0;
    }
  }
  return n;
}

// The share of the reference's text pixels in the rectangle that have text within one pixel
// in the picture.
function textFound(reference, picture, [x0, y0, x1, y1]) {
  let wanted = 0;
  let found = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      if (!isText(pixel(reference, x, y))) {
        continue;
      }
      ++wanted;
      let near = false;
      for (let dy = -1; dy <= 1 && !near; ++dy) {
        for (let dx = -1; dx <= 1 && !near; ++dx) {
          const nx = Math.min(Math.max(x + dx, 0), picture.width - 1);
          const ny = Math.min(Math.max(y + dy, 0), picture.height - 1);
          near = isText(pixel(picture, nx, ny));
        }
      }
      found += near ? 1 : 0;
    }
  }
  return wanted === 0 ? 0 : found / wanted;
}

const kStatusLine = [0, 0, 320, 22];        // "Press ? key for Help Screen"
const kReadout = [480, 0, kWidth, 22];      // the frame-rate readout, at the top right
const kHelpText = [0, 24, kWidth, kHeight];  // the help page below the status line

async function picture(page) {
  return decodePng(page, await screenshot(page, kWidth, kHeight));
}

// Takes pictures until accept(picture) holds or the time runs out; the last picture.
async function waitForPicture(page, accept, timeoutMs = 8000) {
  const end = Date.now() + timeoutMs;
  let last = await picture(page);
  while (!accept(last) && Date.now() < end) {
    await new Promise((resolve) => setTimeout(resolve, 100));
    last = await picture(page);
  }
  return last;
}

async function openDemo(url) {
  const page = await openPage(browser, kWidth, kHeight);
  await page.goto(url);
  const first = await waitForPicture(page, (p) => textFound(helpPage, p, kStatusLine) >= 0.9);
  return {page, first};
}

// ---- Tests ----------------------------------------------------------------------------------

for (const [how, url] of [["served", () => `${server.url}index.html`],
  ["from disk", () => `file://${path.resolve(kWebBuild, "index.html")}`]]) {
  test(`${how}, the page loads without console errors and draws the first message in glyphs`,
    async () => {
      const {page, first} = await openDemo(url());
      assert.strictEqual(await page.title(), "Tavik");
      const found = textFound(helpPage, first, kStatusLine);
      assert.ok(found >= 0.9, `${(100 * found).toFixed(1)} % of the first message's glyph pixels drawn`);
      // White blocks (no font) would cover far more of the line than the glyphs do.
      const lit = count(first, kStatusLine, isText);
      assert.ok(lit <= 1.5 * count(helpPage, kStatusLine, isText), `${lit} text pixels in the line`);
      assert.deepStrictEqual(page.errors, []);
      await page.close();
    });
}

test("keys: C shows the readout, ? the help page, W lines then points, L the letterbox",
  async () => {
    const {page, first} = await openDemo(`${server.url}index.html`);
    assert.ok(count(first, kReadout, isText) < 20, "a readout before C");
    await page.keyboard.type("c");
    await waitForPicture(page, (p) => count(p, kReadout, isText) >= 100);
    assert.ok(count(await picture(page), kReadout, isText) >= 100, "no readout after C");

    await page.keyboard.type("?");
    const help = await waitForPicture(page, (p) => textFound(helpPage, p, kHelpText) >= 0.85);
    const found = textFound(helpPage, help, kHelpText);
    assert.ok(found >= 0.85, `${(100 * found).toFixed(1)} % of the help page's text drawn`);
    await page.keyboard.type("?");
    await waitForPicture(page, (p) => textFound(helpPage, p, kHelpText) < 0.3);

    const whole = [0, 0, kWidth, kHeight];
    const filled = count(await picture(page), whole, isRed);
    await page.keyboard.type("w");
    const lines = count(await waitForPicture(page, (p) => count(p, whole, isRed) < 0.6 * filled), whole, isRed);
    assert.ok(lines < 0.6 * filled, `lines: ${lines} red pixels against ${filled} filled`);
    await page.keyboard.type("w");
    const points = count(await waitForPicture(page, (p) => count(p, whole, isRed) < 0.5 * lines), whole, isRed);
    assert.ok(points < 0.5 * lines, `points: ${points} red pixels against ${lines} in lines`);
    await page.keyboard.type("w");

    // Letterbox 6 blacks out about three tenths of the height at the top (below the status
    // line) and at the bottom.
    const bands = (p) => Math.max(...[[0, 60, kWidth, 120], [0, 360, kWidth, kHeight]].map(
      (band) => count(p, band, ([r, g, b]) => Math.max(r, g, b) > 8)));
    assert.ok(bands(await picture(page)) > 0, "the bands are black before L");
    await page.keyboard.type("llllll");
    const boxed = await waitForPicture(page, (p) => bands(p) === 0);
    assert.strictEqual(bands(boxed), 0, "lit pixels in the letterbox bands");
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  });

test("Escape fades to black, the page says Tavik has ended, and a key starts it again",
  async () => {
    const {page, first} = await openDemo(`${server.url}index.html`);
    const state = () => page.evaluate(() => document.documentElement.dataset.tavik);
    const lit = (p) => count(p, [0, 0, kWidth, kHeight], (rgb) => Math.max(...rgb) > 40);
    const start = lit(first);
    await page.keyboard.press("Escape");
    const fading = [];
    for (let i = 0; i < 100 && (await state()) === "running"; ++i) {
      fading.push(lit(await picture(page)));
    }
    assert.strictEqual(await state(), "ended");
    assert.ok(fading.length >= 5, `the fade-out lasted ${fading.length} pictures`);
    assert.ok(fading[Math.floor(fading.length / 2)] < 0.8 * start, `half way: ${fading} of ${start}`);
    assert.ok(Math.min(...fading) < 0.05 * start, `darkest: ${Math.min(...fading)} of ${start}`);
    const notice = await page.$eval("#ended", (e) => getComputedStyle(e).display !== "none" && e.innerText);
    assert.match(notice || "", /ended/i);

    await page.keyboard.type("x");
    await page.waitForFunction(() => document.documentElement.dataset.tavik === "running");
    const again = await waitForPicture(page, (p) => textFound(helpPage, p, kStatusLine) >= 0.9);
    assert.ok(textFound(helpPage, again, kStatusLine) >= 0.9, "no first message after the restart");
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  });
