// The web page's first load in headless chromium, with nothing cached: the bytes it fetches
// and the time from the request until the first solve's report stands in the result area (the
// engine fetched, compiled and started, the sample solved). The median of several runs.
//   node bench/web_firstload.mjs SITE NPM_DIR CHROMIUM [RUNS]
import { mkdtempSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { serveSite } from "../tests/web/servers.mjs";

const [site, npm, chromium, runsText = "7"] = process.argv.slice(2);
const puppeteer = createRequire(join(resolve(npm), "package.json"))("puppeteer-core");
const served = await serveSite(resolve(site));
const times = [];
let bytes = 0;
for (let run = 0; run < Number(runsText); run++) {
  const profile = mkdtempSync(join(tmpdir(), "trevana-load-"));
  const browser = await puppeteer.launch({
    executablePath: chromium, headless: true, userDataDir: profile,
    args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
  });
  const page = await browser.newPage();
  served.served.bytes = 0;
  const start = Date.now();
  await page.goto(served.url, { waitUntil: "domcontentloaded" });
  await page.waitForFunction(() => {
    // Clicked until it takes: a click before the page has wired its buttons does nothing.
    if (/Item\[4\]/.test(document.getElementById("MemoResult").textContent)) return true;
    if (!document.body.classList.contains("busy")) document.getElementById("BitBtn1").click();
    return false;
  }, { polling: 5, timeout: 30000 });
  times.push(Date.now() - start);
  await page.waitForNetworkIdle({ idleTime: 300 }).catch(() => {});
  bytes = served.served.bytes;
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
await served.close();
times.sort((a, b) => a - b);
console.log(`web page first load: ${times[times.length >> 1]} ms to the first report (median of ${times.length}: ${times.join(" ")}); ${bytes} bytes fetched`);
