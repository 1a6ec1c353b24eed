// The web tier's browser: Debian's Chromium, headless, WebGL on SwiftShader, driven through
// puppeteer-core; pages served from the build's folder by a small static server on the
// loopback address, or opened from disk.
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const kChromium = process.env.TAVIK_CHROMIUM || "/usr/bin/chromium";

// Chromium with a fresh profile; without the network flags it reaches for services that this
// closed network refuses, and logs errors.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tavik-chromium-"));
  const args = ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--no-first-run", "--disable-background-networking", "--disable-component-update",
    "--disable-sync", `--user-data-dir=${profile}`];
  if (process.getuid && process.getuid() === 0) {
    args.push("--no-sandbox");
  }
  const browser = await puppeteer.launch({executablePath: kChromium, headless: true, args});
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, {recursive: true, force: true, maxRetries: 10});
  };
  return browser;
}

const kTypes = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
  ".css": "text/css", ".png": "image/png", ".txt": "text/plain"};

// Serves the files of root on 127.0.0.1 at a free port; resolves to {url, close}.
function serve(root) {
  const server = http.createServer((request, response) => {
    const name = path.join(root, decodeURIComponent(new URL(request.url, "http://x").pathname));
    if (!name.startsWith(root) || !fs.existsSync(name) || !fs.statSync(name).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {"Content-Type": kTypes[path.extname(name)] || "application/octet-stream"});
    fs.createReadStream(name).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => server.close(done)),
  })));
}

// A page of width x height CSS pixels at one device pixel each, recording what the console
// and the page report as errors in page.errors.
async function openPage(browser, width, height) {
  const page = await browser.newPage();
  await page.setViewport({width, height, deviceScaleFactor: 1});
  page.errors = [];
  page.on("console", (message) => {
    if (message.type() === "error") {
      page.errors.push(message.text());
    }
  });
  page.on("pageerror", (error) => page.errors.push(String(error)));
  page.on("requestfailed", (request) => page.errors.push(`failed: ${request.url()}`));
  page.on("response", (response) => {
    if (response.status() >= 400) {
      page.errors.push(`${response.status()}: ${response.url()}`);
    }
  });
  return page;
}

// The snapshot page's query from tavik-snapshot's arguments ("--size 320x240 --key 0:? ...").
function snapshotQuery(toolArguments) {
  const words = toolArguments.trim().split(/\s+/);
  const query = new URLSearchParams();
  for (let i = 0; i + 1 < words.length; i += 2) {
    query.append(words[i].replace(/^--/, ""), words[i + 1]);
  }
  return query.toString();
}

// Loads snapshot.html with the query and waits for its title to say it is done; throws with
// the page's reason otherwise.
async function loadSnapshot(page, base, query) {
  await page.goto(`${base}snapshot.html?${query}`);
  await page.waitForFunction(() => document.title === "done" || document.title.startsWith("error"),
    {timeout: 120000});
  const title = await page.title();
  if (title !== "done") {
    throw new Error(`snapshot.html?${query}: ${title}`);
  }
}

// The page's top-left width x height pixels as the browser shows them, as PNG.
function screenshot(page, width, height) {
  return page.screenshot({type: "png", clip: {x: 0, y: 0, width, height}});
}

// The pixels of an image source in the page (a canvas, or a PNG given as bytes, which the
// browser decodes) as {width, height, data: RGBA bytes}, handed over as base64.
async function pixelsIn(page, png) {
  const {width, height, base64} = await page.evaluate(async (encoded) => {
    let source = document.querySelector("canvas");
    if (encoded) {
      source = new Image();
      source.src = `data:image/png;base64,${encoded}`;
      await source.decode();
    }
    const canvas = new OffscreenCanvas(source.width, source.height);
    const context = canvas.getContext("2d");
    context.drawImage(source, 0, 0);
    const bytes = context.getImageData(0, 0, source.width, source.height).data;
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return {width: source.width, height: source.height, base64: btoa(text)};
  }, png ? Buffer.from(png).toString("base64") : null);
  return {width, height, data: Buffer.from(base64, "base64")};
}

// A PNG's pixels, decoded by the browser.
function decodePng(page, png) {
  return pixelsIn(page, png);
}

// What the page's canvas holds now (its drawing buffer, kept between frames).
function canvasPixels(page) {
  return pixelsIn(page, null);
}

module.exports = {launch, serve, openPage, snapshotQuery, loadSnapshot, screenshot, decodePng,
  canvasPixels};
