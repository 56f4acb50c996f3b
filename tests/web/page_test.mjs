// The web page in a real browser (Debian's chromium, headless, driven by puppeteer-core) as a
// person uses it, checked against the native bagsolve and the window's codec:
// each button on a typed problem, a bad header line, the language after a reload, opening a
// GBK file, saving the problem and the report byte for byte, printing, a 9999-item problem
// while the page stays responsive, stopping the best packing, the keyboard alone (with a focus
// outline that stands out), axe-core's rules, a phone's screen and a 1280 x 800 window during a
// long solve, no request outside the site, and the page offline after the first visit.
//   node page_test.mjs --site build/web --bagsolve B --textcodec T --chromium C --npm build/npm --out DIR
import { spawnSync } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { Checks, parseArguments, randomSource } from "./support.mjs";
import { serveSite } from "./servers.mjs";

const args = parseArguments(["site", "bagsolve", "textcodec", "chromium", "npm", "out"]);
const puppeteer = createRequire(join(args.npm, "package.json"))("puppeteer-core");
const checks = new Checks("web page");
const random = randomSource(360);
const work = mkdtempSync(join(tmpdir(), "trevana-web-page-"));
const downloads = join(work, "downloads");
mkdirSync(downloads);
mkdirSync(args.out, { recursive: true });

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// ---- The references ----

function bagsolve(fileOrText, variant, encoding = "utf-8") {
  let file = fileOrText;
  if (!existsSync(fileOrText)) {
    file = join(work, "problem.txt");
    writeFileSync(file, Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), Buffer.from(fileOrText, "utf8")]));
  }
  const result = spawnSync(args.bagsolve, ["--variant", variant, "--encoding", encoding, file]);
  return { stdout: result.stdout, lines: result.stdout.toString("utf8").split("\n").slice(0, -1), error: result.stderr.toString("utf8").trim() };
}

// The window's codec: text to bytes in a format (0 GBK, 1 UTF-8, 2 UTF-16 LE, 3 UTF-16 BE).
function windowEncode(text, encoding, byteOrderMark) {
  const head = Buffer.alloc(6);
  head.writeUInt8(encoding, 0);
  head.writeUInt8(byteOrderMark ? 1 : 0, 1);
  head.writeUInt32LE(text.length, 2);
  const result = spawnSync(args.textcodec, ["encode"], { input: Buffer.concat([head, Buffer.from(text, "utf16le")]) });
  return result.stdout.subarray(4);
}

// ---- The browser ----

const site = await serveSite(args.site);
const browser = await puppeteer.launch({
  executablePath: args.chromium,
  headless: true,
  userDataDir: join(work, "profile"),
  args: [
    "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync",
    // Nothing reaches beyond the machine; what the page asks for is watched below.
    "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
  ],
});
// Every request of the page, its workers and its service worker.
const requests = [];
const watch = async (session) => {
  session.on("Network.requestWillBeSent", (event) => requests.push(event.request.url));
  await session.send("Network.enable");
};
browser.on("targetcreated", async (target) => {
  if (target.type() === "service_worker") await watch(await target.createCDPSession());
});
const page = await browser.newPage();
page.on("request", (request) => requests.push(request.url()));
page.on("workercreated", (worker) => watch(worker.client).catch(() => {}));
const pageErrors = [];
page.on("pageerror", (error) => pageErrors.push(error.message));
page.on("console", (message) => message.type() === "error" && pageErrors.push(message.text()));
const cdp = await page.createCDPSession();
await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });

async function open(width = 1280, height = 800, mobile = false) {
  await page.setViewport({ width, height, isMobile: mobile, hasTouch: mobile, deviceScaleFactor: mobile ? 2 : 1 });
  await page.goto(site.url, { waitUntil: "load" });
  // The service worker takes the page over on the first visit.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
}

const value = (id) => page.$eval(`#${id}`, (element) => element.value);
const text = (id) => page.$eval(`#${id}`, (element) => element.textContent);
// The result area's lines, from the blocks that hold them.
const resultLines = () =>
  page.$eval("#MemoResult", (box) => Array.from(box.children, (block) => block.textContent.split("\n")).flat());
const idle = () => page.waitForFunction(() => !document.body.classList.contains("busy"), { timeout: 60000 });

async function setProblem(problem) {
  await page.$eval("#MemoSrc", (element, problem) => {
    element.value = problem;
  }, problem);
}

async function solve(buttonId) {
  await page.click(`#${buttonId}`);
  await sleep(50);
  await idle();
}

const BUTTONS = { BitBtn1: "solve", BtnSolveMax: "max", BtnCalcMaxWith1Data: "max1", BtnBestPacking: "best" };

// axe-core's rules on the page as it stands; serious and critical findings fail, and so do
// the landmark and name rules the page once broke.
const axeSource = readFileSync(join(args.npm, "node_modules", "axe-core", "axe.min.js"), "utf8");
async function accessibility(what) {
  if (!(await page.evaluate(() => typeof window.axe === "object"))) await page.evaluate(axeSource);
  const result = await page.evaluate(async () => {
    const run = await window.axe.run(document, { resultTypes: ["violations"] });
    return run.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target.join(" ")) }));
  });
  const named = ["landmark-unique", "label-content-name-mismatch"];
  for (const v of result) console.log(`axe (${what}): ${v.impact} ${v.id} on ${v.nodes.join(", ")}`);
  checks.equal(result.filter((v) => ["serious", "critical"].includes(v.impact) || named.includes(v.id)), [], `axe-core finds nothing serious ${what}`);
}

// Where a control stands in the window, and how far the page scrolls.
const placeOf = (id) =>
  page.$eval(`#${id}`, (element) => {
    const r = element.getBoundingClientRect();
    return { top: r.top, bottom: r.bottom, height: window.innerHeight, scrollHeight: document.documentElement.scrollHeight };
  });
const onScreen = (place) => place.top >= 0 && place.bottom <= place.height;

async function errorBox() {
  const open = await page.$eval("#ErrorBox", (box) => box.open);
  return open ? { caption: await text("ErrorCaption"), message: await text("ErrorText") } : null;
}

async function download(buttonId, name) {
  const file = join(downloads, name);
  rmSync(file, { force: true });
  await page.click(`#${buttonId}`);
  for (let i = 0; i < 100 && !existsSync(file); i++) await sleep(50);
  await sleep(100);
  return existsSync(file) ? readFileSync(file) : Buffer.alloc(0);
}

// ---- At first: the sample, Chinese captions; every button against bagsolve ----

await open();
// The first visit: the page, and everything the service worker keeps for offline use.
await page.evaluate(() => navigator.serviceWorker.ready);
await sleep(500);
console.log(`The first visit, offline copy included, transfers ${site.served.bytes} bytes.`);
checks.ok(site.served.bytes < 1024 * 1024, `the first visit transfers ${site.served.bytes} bytes, under 1 MB`);
const sample = readFileSync(join(args.site, "index.html"), "utf8").match(/<textarea id="MemoSrc"[^>]*>\n([^<]*)</)[1];
checks.equal(await value("MemoSrc"), sample, "the input area holds the sample at first");
checks.equal(sample, "4\n3\n8\n1,22\n3,4\n5,6\n7,8\n", "the sample is the window's");
checks.equal(await resultLines(), ["就绪"], "the result area reads 就绪 at first");
checks.equal([await text("GrpDatasCaption"), await text("GrpResultCaption")], ["输入数据区", "输出结果区"], "Chinese captions at first");
for (const [id, variant] of Object.entries(BUTTONS)) {
  await solve(id);
  checks.equal(await resultLines(), bagsolve(sample, variant).lines, `${id} on the sample`);
}
await accessibility("at first, after a solve");

// A problem typed on the keyboard, with odd lines; each button.
const typed = "6\n 3\n$14\n1,22\n3,4\n5, 6\n-7,8\n0x9,10\n\n4,4\n";
await page.click("#BtnNewData");
checks.equal(await value("MemoSrc"), "", "新建New clears the input area");
await page.type("#MemoSrc", typed);
checks.equal(await value("MemoSrc"), typed, "the typed problem stands in the input area");
for (const [id, variant] of Object.entries(BUTTONS)) {
  await solve(id);
  checks.equal(await resultLines(), bagsolve(typed, variant).lines, `${id} on a typed problem`);
}

// ---- A bad header line: the error box, captioned as the window's ----

await setProblem("4\n3 \n8\n1,22");
await solve("BitBtn1");
const bad = bagsolve("4\n3 \n8\n1,22", "solve");
checks.equal(await errorBox(), { caption: "Trevana背包问题计算器2023", message: bad.error }, "a bad header line shows its message");
checks.equal(await resultLines(), bad.lines, "a bad header line leaves what was written before it");
await accessibility("with the error box open");
await page.keyboard.press("Enter");
checks.equal(await errorBox(), null, "Enter closes the error box");

// ---- The report: saved as GBK text, and printed ----

await setProblem(typed);
await solve("BtnSolveMax");
const report = await download("BitBtn6", "result.txt");
const expectedReport = Buffer.from(bagsolve(typed, "max", "gbk").stdout.toString("latin1").replaceAll("\n", "\r\n"), "latin1");
checks.equal(report.toString("hex"), expectedReport.toString("hex"), "the saved report is bagsolve's GBK output with CR LF");

await page.evaluate(() => {
  window.print = () => (window.printed = true);
});
await page.click("#BtnPrintResult");
checks.ok(await page.evaluate(() => window.printed), "打印Print asks the browser to print");
const pdfFile = join(work, "report.pdf");
await page.pdf({ path: pdfFile, format: "A4" });
const printed = spawnSync("pdftotext", ["-layout", pdfFile, "-"], { encoding: "utf8" }).stdout;
checks.ok(printed.includes("背包中物体总价值Total Value") && !printed.includes("计算解题"), "the printout holds the report and nothing of the page");

// ---- Files: open a GBK file, solve it, save it back ----

const gbkText = "5\n2\n10\n3,4\n4,5\n5,6\n2,3\n1,1\n备注：重量,价值\n";
const gbkFile = join(work, "problem-gbk.txt");
writeFileSync(gbkFile, windowEncode(gbkText, 0, false));
const [chooser] = await Promise.all([page.waitForFileChooser(), page.click("#BtnOpenData")]);
await chooser.accept([gbkFile]);
await page.waitForFunction((expected) => document.getElementById("MemoSrc").value === expected, { timeout: 5000 }, gbkText).catch(() => {});
checks.equal(await value("MemoSrc"), gbkText, "a GBK file opens as its text");
await solve("BtnCalcMaxWith1Data");
checks.equal(await resultLines(), bagsolve(gbkFile, "max1").lines, "the opened file solves as bagsolve solves it");
const saved = await download("BtnSaveData", "problem-gbk.txt");
checks.equal(saved.toString("hex"), windowEncode(gbkText.replaceAll("\n", "\r\n"), 0, false).toString("hex"), "saving writes the file back in GBK with CR LF");

// A UTF-16 file saves back in UTF-16 with its mark; a new problem saves in GBK.
const utf16File = join(work, "problem-utf16.txt");
writeFileSync(utf16File, windowEncode("3\r\n1\r\n5\r\n1,1\r\n2,2\r\n中", 2, true));
const [chooser16] = await Promise.all([page.waitForFileChooser(), page.click("#BtnOpenData")]);
await chooser16.accept([utf16File]);
await page.waitForFunction(() => document.getElementById("MemoSrc").value.startsWith("3\n1"), { timeout: 5000 }).catch(() => {});
const saved16 = await download("BtnSaveData", "problem-utf16.txt");
checks.equal(saved16.toString("hex"), readFileSync(utf16File).toString("hex"), "a UTF-16 file saves back as it was");
await page.click("#BtnNewData");
await page.type("#MemoSrc", "1\n1\n9\n4,5\n背包");
const savedNew = await download("BtnSaveData", "problem-utf16.txt");
checks.equal(savedNew.toString("hex"), windowEncode("1\r\n1\r\n9\r\n4,5\r\n背包", 0, false).toString("hex"), "a new problem saves in GBK");

// A file the window's input box refuses is refused with its message, and the text stays.
const wide = join(work, "wide.txt");
writeFileSync(wide, "4\n" + "7".repeat(100001) + "\n");
const [chooserWide] = await Promise.all([page.waitForFileChooser(), page.click("#BtnOpenData")]);
await chooserWide.accept([wide]);
await page.waitForFunction(() => document.getElementById("ErrorBox").open, { timeout: 5000 }).catch(() => {});
checks.equal((await errorBox())?.message, "Text exceeds memo capacity.", "a line over 100,000 characters is refused");
await page.keyboard.press("Escape");
checks.equal(await value("MemoSrc"), "1\n1\n9\n4,5\n背包", "a refused file leaves the input area as it was");

// ---- The language: captions switch and survive a reload ----

await page.click("#MnuEnglish");
checks.equal([await text("GrpDatasCaption"), await text("GrpResultCaption")], ["Input Datas Area", "Result Area"], "English captions");
await open();
checks.equal([await text("GrpDatasCaption"), await text("GrpResultCaption")], ["Input Datas Area", "Result Area"], "English survives a reload");
await accessibility("in English");
await page.click("#MnuChinese");
await open();
checks.equal([await text("GrpDatasCaption"), await text("GrpResultCaption")], ["输入数据区", "输出结果区"], "Chinese survives a reload");

// ---- 9999 items: the page stays responsive, shows progress, and agrees with bagsolve ----

const large = ["9999", "50", "2500000"];
for (let i = 0; i < 9999; i++) large.push(`${random.int(1, 10000)},${random.int(1, 10000)}`);
const largeText = large.join("\n");
await setProblem(largeText);
for (const id of ["BitBtn1", "BtnBestPacking"]) {
  // Ticks of the page's own timer: a frozen page would leave a long gap between two.
  await page.evaluate(() => {
    window.ticks = { last: performance.now(), longest: 0 };
    window.ticker = setInterval(() => {
      const now = performance.now();
      window.ticks.longest = Math.max(window.ticks.longest, now - window.ticks.last);
      window.ticks.last = now;
    }, 10);
  });
  await page.click(`#${id}`);
  await sleep(50);
  await idle();
  const ticks = await page.evaluate(() => {
    clearInterval(window.ticker);
    return window.ticks;
  });
  checks.ok(ticks.longest < 250, `${id}: the page answered within ${Math.round(ticks.longest)} ms all through the solve`);
  const lines = await resultLines();
  const expected = bagsolve(largeText, BUTTONS[id]).lines;
  if (id === "BitBtn1" || (lines.at(-1) === "已证明为最优解Proven Optimal" && expected.at(-1) === lines.at(-1))) {
    checks.equal(lines, expected, `${id} on 9999 items`);
  } else {
    checks.equal(lines.slice(0, 10005), expected.slice(0, 10005), `${id} on 9999 items, the echo (not proven at the limit)`);
  }
}

// ---- Stop: the best packing ends at once and keeps the last pick it reported ----

// Items worth their even weights under an odd weight limit, and one small odd item worth little:
// a pick is found at once, but no bound (from the linear relaxation, or from dividing out the
// weights' common factor) comes down to it, so the search is still running when stopped.
const hardItems = [...Array.from({ length: 9998 }, () => 2 * random.int(1, 10000)).map((weight) => [weight, weight]), [3, 1]];
const hardLimit = 2 * Math.floor(hardItems.reduce((sum, [weight]) => sum + weight, 0) / 4) + 1;
const hard = ["9999", "9999", String(hardLimit), ...hardItems.map((item) => item.join(","))];
await setProblem(hard.join("\n"));
await page.click("#BtnBestPacking");
// The empty pick is the first one reported; stop once one worth something has been.
await page.waitForFunction(() => /价值Value [1-9]/.test(document.getElementById("ProgressText").textContent), { timeout: 20000 }).catch(() => {});
checks.ok(await text("ProgressText").then((t) => /Solving… [\d.]+ s · 价值Value \d+ · 上界Upper Bound \d+/.test(t)), "the best packing shows its time, value and bound");
checks.ok(await page.$$eval("#ProgressBar, #BtnStop", (shown) => shown.every((e) => e.offsetParent !== null)), "a progress bar and the stop button show while it solves");
await page.$eval("#BtnStop", (button) => button.click());
await idle();
const stopped = await resultLines();
const status = await text("ProgressText");
checks.ok(status.includes("已停止"), `stopping says so (${status})`);
const picked = stopped.filter((line) => line.startsWith("背包中物体Item ")).map((line) => Number(line.split("=")[1]));
const totals = picked.reduce(([w, v], n) => [w + hardItems[n - 1][0], v + hardItems[n - 1][1]], [0, 0]);
checks.ok(picked.length > 0 && totals[0] <= hardLimit, `the kept pick fits (${picked.length} items, weight ${totals[0]})`);
checks.equal(stopped.slice(-5, -2), ["================================", `背包中物体总重量Total Weights =${totals[0]}`, `背包中物体总价值Total Value =${totals[1]}`], "the kept pick's totals are its own");
checks.equal(stopped.at(-1), "未证明为最优解Not Proven Optimal", "the kept pick is not proven best");
await setProblem(sample);
await solve("BitBtn1");
checks.equal(await resultLines(), bagsolve(sample, "solve").lines, "after a stop the next solve works");

// ---- The keyboard alone reaches every control and works them ----

await open();
const reached = new Set();
// The focus outline against what lies around it (it is drawn outside the control): 3:1 at least.
const weakOutlines = new Set();
for (let i = 0; i < 40; i++) {
  await page.keyboard.press("Tab");
  const focus = await page.evaluate(() => {
    const rgb = (colour) => colour.match(/[\d.]+/g).map(Number);
    const luminance = (colour) => {
      const [r, g, b] = rgb(colour).map((c) => c / 255).map((c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
      return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    const element = document.activeElement;
    let around = element.parentElement;
    while (around && (rgb(getComputedStyle(around).backgroundColor)[3] ?? 1) === 0) around = around.parentElement;
    const style = getComputedStyle(element);
    const [a, b] = [luminance(style.outlineColor), luminance(getComputedStyle(around ?? document.body).backgroundColor)];
    const contrast = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
    return { id: element.id, outline: style.outlineStyle !== "none" && parseFloat(style.outlineWidth) >= 2, contrast };
  });
  reached.add(focus.id);
  // Past the last control the focus leaves the page for the browser's own controls.
  if (focus.id !== "" && (!focus.outline || focus.contrast < 3)) weakOutlines.add(`${focus.id} ${focus.contrast.toFixed(1)}:1`);
}
checks.equal([...weakOutlines], [], "every focused control shows an outline of at least 3:1 against its surroundings");
const controls = await page.$$eval("button, textarea", (elements) => elements.filter((e) => e.offsetParent !== null).map((e) => e.id));
checks.equal(controls.filter((id) => !reached.has(id)), [], "Tab reaches every visible control");
await page.focus("#BtnSolveMax");
await page.keyboard.press("Enter");
await sleep(50);
await idle();
checks.equal(await resultLines(), bagsolve(sample, "max").lines, "Enter on a solve button solves");
await setProblem(hard.join("\n"));
await page.focus("#BtnBestPacking");
await page.keyboard.press(" ");
await page.waitForFunction(() => document.body.classList.contains("busy"));
await page.keyboard.press("Tab");
checks.equal(await page.evaluate(() => document.activeElement.id), "BtnStop", "the stop button follows the solve buttons");
await page.keyboard.press("Enter");
await idle();
checks.ok((await text("ProgressText")).includes("已停止"), "the keyboard stops a solve");

// ---- A phone's screen: one column, nothing wider than the screen, thumb-sized targets ----

await open(360, 740, true);
await page.screenshot({ path: join(args.out, "page-360x740.png"), fullPage: true });
// A long best packing: Stop stays on screen once value and bound lengthen the progress text,
// at the top of the page and scrolled to its end, and axe-core finds nothing on the busy page.
await setProblem(hard.join("\n"));
await page.click("#BtnBestPacking");
await page.waitForFunction(() => /上界Upper Bound \d+/.test(document.getElementById("ProgressText").textContent), { timeout: 20000 }).catch(() => {});
for (const scroll of ["top", "end"]) {
  await page.evaluate((scroll) => window.scrollTo(0, scroll === "top" ? 0 : document.documentElement.scrollHeight), scroll);
  await sleep(100);
  const stop = await placeOf("BtnStop");
  checks.ok(onScreen(stop) && stop.height === 740, `at 360 x 740 Stop stands on screen during a long solve, page at its ${scroll} (${stop.top}-${stop.bottom})`);
}
await page.screenshot({ path: join(args.out, "page-360x740-solving.png") });
await accessibility("at 360 x 740 during a long solve");
await page.$eval("#BtnStop", (button) => button.click());
await idle();
await setProblem(typed);
await solve("BtnBestPacking");
checks.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), "no horizontal scrolling at 360 px");
const small = await page.$$eval("button", (buttons) => buttons.filter((b) => b.offsetParent !== null).map((b) => [b.id, b.getBoundingClientRect()]).filter(([, r]) => r.width < 44 || r.height < 44).map(([id]) => id));
checks.equal(small, [], "every button is at least 44 x 44 px");
await page.click("#BtnNumericKeys");
checks.equal(await page.$eval("#MemoSrc", (m) => m.inputMode), "numeric", "the numeric keyboard can be chosen for the input area");
await page.click("#BtnNumericKeys");
await page.screenshot({ path: join(args.out, "page-360x740-solved.png"), fullPage: true });
await open(1280, 800);
// 1280 x 800: the whole page without scrolling, at first, during a long solve and after one.
const fits = async (when) => {
  const header = await page.$eval("header", (h) => h.getBoundingClientRect().top);
  const status = await placeOf("StatusBar1");
  checks.ok(status.scrollHeight <= 800 && header === 0 && onScreen(status), `at 1280 x 800 the page fits ${when} (${status.scrollHeight} px tall, header at ${header}, status bar ${status.top}-${status.bottom})`);
};
await fits("at first");
await setProblem(hard.join("\n"));
await page.click("#BtnBestPacking");
await page.waitForFunction(() => /上界Upper Bound \d+/.test(document.getElementById("ProgressText").textContent), { timeout: 20000 }).catch(() => {});
await fits("during a long solve");
checks.ok(onScreen(await placeOf("BtnStop")), "at 1280 x 800 Stop stands on screen during a long solve");
await page.$eval("#BtnStop", (button) => button.click());
await idle();
await fits("after a stopped solve");
await setProblem(sample);
await solve("BtnBestPacking");
await fits("after a solve");
await page.screenshot({ path: join(args.out, "page-1280x800.png") });

// ---- Installable, and offline after the first visit ----

const installability = await cdp.send("Page.getInstallabilityErrors");
checks.equal(installability.installabilityErrors, [], "the page can be installed");
await site.close();
await page.reload({ waitUntil: "load" });
await setProblem(sample);
await solve("BtnBestPacking");
checks.equal(await resultLines(), bagsolve(sample, "best").lines, "offline, the page opens and solves");

// ---- What went over the network ----

checks.equal([...new Set(requests)].filter((url) => !url.startsWith(site.url) && !/^(blob|data):/.test(url)), [], "the page asks for nothing outside its own files");
checks.ok(requests.some((url) => url.endsWith("bagengine.wasm")), "the watch sees the page's requests");
checks.equal(site.failures, [], "every request to the site found its file");
checks.equal(pageErrors, [], "no script error");

await browser.close();
rmSync(work, { recursive: true, force: true });
checks.finish();
