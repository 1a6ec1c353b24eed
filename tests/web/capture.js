// Captures snapshot.html's pictures for the web golden test:
//   node capture.js WEB_DIR OUT_DIR NAME 'TOOL ARGUMENTS' [NAME 'TOOL ARGUMENTS'...]
// writes OUT_DIR/NAME-web.png for each scene, drawn with tavik-snapshot's arguments as the
// page's query, and prints any console error. Exits non-zero when a page fails.
"use strict";
const fs = require("fs");
const path = require("path");
const {launch, serve, openPage, snapshotQuery, loadSnapshot, screenshot} = require("./browser");

async function main([webDir, outDir, ...scenes]) {
  const server = await serve(path.resolve(webDir));
  const browser = await launch();
  let failed = false;
  try {
    for (let i = 0; i + 1 < scenes.length; i += 2) {
      const query = snapshotQuery(scenes[i + 1]);
      const [width, height] = new URLSearchParams(query).get("size").split("x").map(Number);
      const page = await openPage(browser, width, height);
      try {
        await loadSnapshot(page, server.url, query);
        fs.writeFileSync(path.join(outDir, `${scenes[i]}-web.png`),
          await screenshot(page, width, height));
      } catch (error) {
        console.error(`${scenes[i]}: ${error.message}`);
        failed = true;
      }
      for (const error of page.errors) {
        console.error(`${scenes[i]}: console: ${error}`);
        failed = true;
      }
      await page.close();
    }
  } finally {
    await browser.close();
    await server.close();
  }
  process.exitCode = failed ? 1 : 0;
}

main(process.argv.slice(2)).catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
