// bench/web-frame-cost's work: node web-frame-cost.js WEB_DIR TAVIK_BENCH FRAMES WARMUP. Each
// case runs natively (tavik-bench, on its private Xvfb) and then in the browser straight
// after, so that both halves of a row see the same load on a shared machine.
"use strict";
const {execFileSync} = require("child_process");
const fs = require("fs");
const path = require("path");
const {launch, serve, openPage, loadSnapshot} = require("../tests/web/browser");

// The cases of tavik-bench, by the keys typed before the first frame.
const kCases = [["default", ""], ["tess50", ">*30"], ["help", "?"], ["points", "w*2"]];
// tavik-bench runs 20 frames with its allocation counter between the warm-up and the timed
// frames; the browser's timed frames start on the same clock.
const kCountedFrames = 20;
const kLiveSeconds = 5;
const kBrowserRate = 60;  // Chromium's requestAnimationFrame rate here

// The rate over the frames' sum and nearest-rank percentiles, as tavik-bench reports them.
function summarise(times) {
  const sorted = [...times].sort((a, b) => a - b);
  const rank = (share) => sorted[Math.min(Math.max(Math.ceil(share * sorted.length - 1e-6), 1), sorted.length) - 1];
  const total = sorted.reduce((sum, t) => sum + t, 0);
  return {fps: 1000 * sorted.length / total, median: rank(0.5), p95: rank(0.95)};
}

// The WebGL calls that make the browser draw pixels, replaced by nothing: the page's own work
// (WebAssembly, JavaScript, state and uploads) stays.
function skipDrawing() {
  for (const name of ["drawArrays", "drawElements", "clear"]) {
    WebGLRenderingContext.prototype[name] = function () {};
  }
}

async function timeCase(browser, base, keys, frames, warmup, drawing, antialias = true) {
  const page = await openPage(browser, 640, 480);
  if (!drawing) {
    await page.evaluateOnNewDocument(skipDrawing);
  }
  const first = warmup + kCountedFrames;
  // Multisampled, as the live page and tavik-bench's window are, unless asked.
  const query = new URLSearchParams({size: "640x480", timed: "1", antialias: antialias ? "1" : "0",
    frame: String(first + frames - 1)});
  if (keys) {
    query.append("key", `0:${keys}`);
  }
  await loadSnapshot(page, base, query.toString());
  const times = (await page.evaluate(() => window.tavikFrameTimes)).slice(first);
  await page.close();
  return summarise(times);
}

// Animation frames of the live page over some seconds, after the case's keys and two seconds.
async function liveRate(browser, base, keys) {
  const page = await openPage(browser, 640, 480);
  await page.evaluateOnNewDocument(() => {
    window.tavikAnimationFrames = 0;
    const request = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = (callback) => request((time) => {
      ++window.tavikAnimationFrames;
      callback(time);
    });
  });
  await page.goto(`${base}index.html`);
  const [key, times] = keys ? keys.split("*") : ["", "1"];
  await page.keyboard.type(key.repeat(Number(times || 1)));
  await new Promise((resolve) => setTimeout(resolve, 2000));
  const before = await page.evaluate(() => window.tavikAnimationFrames);
  await new Promise((resolve) => setTimeout(resolve, kLiveSeconds * 1000));
  const frames = (await page.evaluate(() => window.tavikAnimationFrames)) - before;
  await page.close();
  return frames / kLiveSeconds;
}

// tavik-bench's table for one case: the header lines and its row's figures.
function runNative(tavikBench, name, frames, warmup) {
  const table = execFileSync(tavikBench, ["--xvfb", "--size", "640x480", "--frames", String(frames),
    "--warmup", String(warmup), "--preset", name], {encoding: "utf8", stdio: ["ignore", "pipe", "ignore"]});
  const cells = table.split("\n").find((line) => line.startsWith("640x480")).trim().split(/\s+/);
  return {header: table.split("\n").slice(0, 2).join("\n"),
    fps: Number(cells[2]), median: Number(cells[3]), p95: Number(cells[4])};
}

function downloadBytes(webDir) {
  const page = ["index.html", ...fs.readdirSync(webDir).filter((name) => /^tavik.*\.(js|wasm|css)$/.test(name))];
  return page.reduce((sum, name) => sum + fs.statSync(path.join(webDir, name)).size, 0);
}

async function main([webDir, tavikBench, framesText, warmupText]) {
  const frames = Number(framesText);
  const warmup = Number(warmupText);
  let nativeHeader = "";
  const server = await serve(path.resolve(webDir));
  const browser = await launch();
  const version = await browser.version();
  const lines = [];
  try {
    for (const [name, keys] of kCases) {
      process.stderr.write(`web-frame-cost: ${name}\n`);
      const drawn = await timeCase(browser, server.url, keys, frames, warmup, true);
      const skipped = await timeCase(browser, server.url, keys, frames, warmup, false);
      const single = await timeCase(browser, server.url, keys, frames, warmup, true, false);
      const own = runNative(tavikBench, name, frames, warmup);
      nativeHeader = own.header;
      lines.push([name, own.fps.toFixed(1), own.median.toFixed(3), own.p95.toFixed(3),
        drawn.fps.toFixed(1), drawn.median.toFixed(3), drawn.p95.toFixed(3),
        (drawn.fps / own.fps).toFixed(2), skipped.median.toFixed(3),
        `${(100 * skipped.median / drawn.median).toFixed(0)}%`, single.fps.toFixed(1),
        (single.fps / own.fps).toFixed(2),
        own.fps < kBrowserRate ? (await liveRate(browser, server.url, keys)).toFixed(1) : "-"]);
    }
    const live = await liveRate(browser, server.url, "");
    console.log(nativeHeader);
    console.log(`browser:     ${version}, WebGL on SwiftShader (headless), ${frames} timed frames ` +
      `after ${warmup + kCountedFrames} on the same clock\n`);
    const header = ["case", "native_fps", "native_med", "native_p95", "web_fps", "web_med",
      "web_p95", "web/native", "page_med", "page_share", "1x_fps", "1x/native", "live_fps"];
    for (const row of [header, ...lines]) {
      console.log(row.map((cell, i) => (i === 0 ? cell.padEnd(9) : cell.padStart(11))).join(""));
    }
    console.log(`\nfloor: web/native at least 0.33 (frame rates from the frame costs)`);
    console.log(`page_med: the median frame with drawArrays, drawElements and clear skipped ` +
      `(the page's own work); page_share: its part of web_med`);
    console.log(`web_*: multisampled, as the live page and tavik-bench's window are; ` +
      `1x_*: one sample per pixel, as the golden references are drawn`);
    console.log(`live_fps: the live page's animation frames a second (index.html after the ` +
      `case's keys) where native is under ${kBrowserRate}; default case: ${live.toFixed(1)}`);
    console.log(`download (index.html and tavik.*): ${(downloadBytes(webDir) / 1048576).toFixed(2)} MiB`);
  } finally {
    await browser.close();
    await server.close();
  }
}

main(process.argv.slice(2)).catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
