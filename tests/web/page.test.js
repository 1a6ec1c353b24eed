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
const {launch, serve, openPage, decodePng, canvasPixels} = require("./browser");

const kWebBuild = process.env.TAVIK_WEB_BUILD;
const kWidth = 640;
const kHeight = 480;
let browser;
let server;
// The native references (tests/golden) whose text the live page must show: the first message
// (default), the help page (help, 640 x 480), the messages of the W and L keys.
const reference = {};

before(async () => {
  browser = await launch();
  server = await serve(kWebBuild);
  const page = await browser.newPage();
  for (const name of ["default", "help", "wireframe", "points", "letterbox6"]) {
    const file = path.join(process.env.TAVIK_TEST_DATA, "golden", `${name}.png`);
    reference[name] = await decodePng(page, fs.readFileSync(file));
  }
  await page.close();
});
after(async () => {
  await browser.close();
  await server.close();
});

// ---- Pictures -------------------------------------------------------------------------------

const pixel = (picture, x, y) => {
  const at = (y * picture.width + x) * 4;
  return [picture.data[at], picture.data[at + 1], picture.data[at + 2]];
};
// The glyphs' white and light grey (the faintest edges left out).
const isText = ([r, g, b]) => Math.min(r, g, b) >= 120;
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

// Changes between red and not red along the rows: few on a solid torus, many on its lines or
// points.
function redEdges(picture) {
  let n = 0;
  for (let y = 0; y < picture.height; ++y) {
    for (let x = 1; x < picture.width; ++x) {
      n += isRed(pixel(picture, x, y)) !== isRed(pixel(picture, x - 1, y)) ? 1 : 0;
    }
  }
  return n;
}

// The share of the reference's text pixels in the rectangle that have text within one pixel
// in the picture.
function textFound(expected, picture, [x0, y0, x1, y1]) {
  let wanted = 0;
  let found = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      if (!isText(pixel(expected, x, y))) {
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

const kStatusLine = [0, 0, 240, 20];         // the message line, as in every reference
const kReadout = [480, 0, kWidth, 22];       // the frame-rate readout, at the top right
const kHelpText = [0, 24, kWidth, kHeight];  // the help page below the message line
// The message line shows the reference's message.
const shows = (name) => (p) => textFound(reference[name], p, kStatusLine) >= 0.9;

// Pictures of the canvas until accept(picture) holds or the time runs out; the last one.
async function waitForPicture(page, accept, timeoutMs = 8000) {
  const end = Date.now() + timeoutMs;
  let last = await canvasPixels(page);
  while (!accept(last) && Date.now() < end) {
    await new Promise((resolve) => setTimeout(resolve, 50));
    last = await canvasPixels(page);
  }
  return last;
}

async function openDemo(url) {
  const page = await openPage(browser, kWidth, kHeight);
  await page.goto(url);
  const first = await waitForPicture(page, shows("default"));
  return {page, first};
}

// ---- Tests ----------------------------------------------------------------------------------

for (const [how, url] of [["served", () => `${server.url}index.html`],
  ["from disk", () => `file://${path.resolve(kWebBuild, "index.html")}`]]) {
  test(`${how}, the page loads without console errors and draws the first message in glyphs`,
    async () => {
      const {page, first} = await openDemo(url());
      assert.strictEqual(await page.title(), "Tavik");
      const found = textFound(reference.default, first, kStatusLine);
      assert.ok(found >= 0.9, `${(100 * found).toFixed(1)} % of the first message's glyph pixels`);
      // White blocks (no font) would cover far more of the line than the glyphs do.
      const lit = count(first, kStatusLine, isText);
      const glyphs = count(reference.default, kStatusLine, isText);
      assert.ok(lit <= 1.3 * glyphs, `${lit} text pixels in the line, the glyphs have ${glyphs}`);
      assert.deepStrictEqual(page.errors, []);
      await page.close();
    });
}

test("keys: C shows the readout, ? the help page, W lines then points, L the letterbox",
  async () => {
    const {page, first} = await openDemo(`${server.url}index.html`);
    assert.ok(count(first, kReadout, isText) < 20, "a readout before C");
    await page.keyboard.type("c");
    const readout = await waitForPicture(page, (p) => count(p, kReadout, isText) >= 100);
    assert.ok(count(readout, kReadout, isText) >= 100, "no readout after C");

    await page.keyboard.type("?");
    const help = await waitForPicture(page, (p) => textFound(reference.help, p, kHelpText) >= 0.85);
    const found = textFound(reference.help, help, kHelpText);
    assert.ok(found >= 0.85, `${(100 * found).toFixed(1)} % of the help page's text drawn`);
    await page.keyboard.type("?");
    // The key clears the canvas at once; the next frame draws the scene again.
    const drawn = (p) => count(p, [0, 0, kWidth, kHeight], isRed) > 1000;
    const solid = await waitForPicture(page, (p) => textFound(reference.help, p, kHelpText) < 0.3 && drawn(p));

    await page.keyboard.type("w");
    const isLines = (p) => shows("wireframe")(p) && redEdges(p) > 3 * redEdges(solid);
    const lines = await waitForPicture(page, isLines);
    assert.ok(shows("wireframe")(lines), "no lines message after W");
    assert.ok(redEdges(lines) > 3 * redEdges(solid),
      `lines: ${redEdges(lines)} red edges against ${redEdges(solid)} when solid`);
    await page.keyboard.type("w");
    const isPoints = (p) => shows("points")(p) && redEdges(p) > 3 * redEdges(solid);
    const points = await waitForPicture(page, isPoints);
    assert.ok(shows("points")(points), "no points message after the second W");
    assert.ok(redEdges(points) > 3 * redEdges(solid),
      `points: ${redEdges(points)} red edges against ${redEdges(solid)} when solid`);
    await page.keyboard.type("w");

    // Letterbox 6 blacks out about three tenths of the height at the top (below the message
    // line) and at the bottom.
    const bands = (p) => Math.max(...[[0, 60, kWidth, 120], [0, 360, kWidth, kHeight]].map(
      (band) => count(p, band, ([r, g, b]) => Math.max(r, g, b) > 8)));
    assert.ok(bands(solid) > 0, "the bands are black before L");
    await page.keyboard.type("llllll");
    const boxed = await waitForPicture(page, (p) => shows("letterbox6")(p) && bands(p) === 0);
    assert.ok(shows("letterbox6")(boxed), "no letterbox 6 message after L six times");
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
    for (let i = 0; i < 200 && (await state()) === "running"; ++i) {
      fading.push(lit(await canvasPixels(page)));
    }
    assert.strictEqual(await state(), "ended");
    assert.ok(fading.length >= 5, `the fade-out lasted ${fading.length} pictures`);
    const half = fading[Math.floor(fading.length / 2)];
    assert.ok(half < 0.8 * start, `half way: ${half} lit pixels of ${start}`);
    assert.ok(Math.min(...fading) < 0.05 * start, `darkest: ${Math.min(...fading)} of ${start}`);
    const notice = await page.$eval("#ended", (e) => getComputedStyle(e).display !== "none" && e.innerText);
    assert.match(notice || "", /ended/i);

    await page.keyboard.type("x");
    await page.waitForFunction(() => document.documentElement.dataset.tavik === "running");
    const again = await waitForPicture(page, shows("default"));
    assert.ok(shows("default")(again), "no first message after the restart");
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  });
