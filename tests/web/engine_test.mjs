// The engine in WebAssembly against the native bagsolve: many random problems (odd header
// lines, item lines of every shape, zeros, negatives, the 32-bit extremes), every variant;
// the report lines and the error message must be the same, byte for byte. The best packing
// runs without a time limit on problems that both builds prove at once, so a slower build
// cannot end with another pick. Then the page's own paths: a stop request, and the report
// of a pick kept after a stop.
//   node engine_test.mjs --site build/web --bagsolve build/bin/bagsolve
import { spawnSync } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { Checks, loadSiteEngine, parseArguments, randomSource } from "./support.mjs";

const args = parseArguments(["site", "bagsolve"]);
const engine = await loadSiteEngine(args.site);
const checks = new Checks("web engine");
const random = randomSource(2023);
const folder = mkdtempSync(join(tmpdir(), "trevana-web-engine-"));
const VARIANTS = ["solve", "max", "max1", "best"];
const INT32_MIN = -2147483648;
const INT32_MAX = 2147483647;

// bagsolve on the same lines: written as UTF-8 with its mark, so that bagsolve reads exactly
// the text the page hands over.
function bagsolve(text, variant) {
  const file = join(folder, "problem.txt");
  writeFileSync(file, Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), Buffer.from(text, "utf8")]));
  const result = spawnSync(args.bagsolve, ["--variant", variant, "--time-limit", "0", file], { encoding: "utf8" });
  const lines = result.stdout === "" ? [] : result.stdout.replace(/\n$/, "").split("\n");
  const error = result.stderr === "" ? null : result.stderr.replace(/\n$/, "");
  return { lines, error, status: result.status };
}

// ---- Random problems ----

function number(range) {
  switch (random.int(0, 9)) {
    case 0:
      return random.pick([0, -1, 1, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1]);
    case 1:
      return -random.int(0, range);
    default:
      return random.int(0, range);
  }
}

// A header line for value, in one of the forms the header conversion takes, or sometimes one
// it refuses.
function headerLine(value) {
  if (random.chance(0.03)) {
    return random.pick(["", " ", "4 ", "\t4", "- 4", "-$4", "4,0", "four", "2147483648", "$100000000", "x", "0x", "+", "七", "4\u0001"]);
  }
  switch (random.int(0, 6)) {
    case 0:
      return `  ${value}`;
    case 1:
      return value >= 0 ? `+${value}` : String(value);
    case 2:
      return `$${(value >>> 0).toString(16).toUpperCase()}`;
    case 3:
      return `0x${(value >>> 0).toString(16)}`;
    default:
      return String(value);
  }
}

function itemLine(weight, value) {
  switch (random.int(0, 19)) {
    case 0:
      return `${weight}`;
    case 1:
      return ` ${weight}, ${value}`;
    case 2:
      return `${weight};${value}`;
    case 3:
      return random.pick(["", "  ", ",5", "a,6", "-,6", "0x5,6", "99999999999,-99999999999", "重量,价值", "5,6xyz", "\t7,\t8", "5 ,6"]);
    case 4:
      return `${weight},${value},${number(9)}`;
    default:
      return `${weight},${value}`;
  }
}

function randomProblem(maxItems, range) {
  const count = random.chance(0.05) ? random.int(-2, 0) : random.int(1, maxItems);
  const slots = random.pick([random.int(-1, 3), random.int(1, Math.max(count, 1) + 1), count]);
  const items = [];
  let weights = 0;
  for (let i = 0; i < Math.max(count, 0); i++) {
    const weight = random.chance(0.9) ? random.int(0, range) : number(range);
    items.push([weight, random.chance(0.9) ? random.int(0, range) : number(range)]);
    weights += Math.abs(weight);
  }
  const limit = random.pick([random.int(0, weights), random.int(-range, range), number(range), Math.floor(weights / 2)]);
  const lines = [headerLine(count), headerLine(slots), headerLine(limit)];
  // Sometimes fewer item lines than the count, and sometimes lines after the last item.
  const shown = random.chance(0.1) ? random.int(0, items.length) : items.length;
  for (const [weight, value] of items.slice(0, shown)) lines.push(itemLine(weight, value));
  if (random.chance(0.2)) lines.push("", "1,1");
  return lines.join("\n");
}

function compare(text, variant, what) {
  const expected = bagsolve(text, variant);
  const actual = engine.solve(text, variant, { timeLimitSeconds: 0 });
  checks.equal(actual, { lines: expected.lines, error: expected.error }, `${what}, --variant ${variant}:\n${text}`);
  return actual;
}

const problems = [];
for (let i = 0; i < 150; i++) problems.push(randomProblem(12, random.pick([10, 100, 1000])));
for (let i = 0; i < 40; i++) problems.push(randomProblem(60, random.pick([100, 10000])));
for (let i = 0; i < 6; i++) problems.push(randomProblem(400, 1000));
for (const [n, text] of problems.entries()) {
  for (const variant of VARIANTS) compare(text, variant, `problem ${n}`);
}

// The sample, and a problem at the item limit (the searches only: the best packing of 9999
// random items is the benchmark's matter, not this test's).
compare("4\n3\n8\n1,22\n3,4\n5,6\n7,8\n", "solve", "the sample");
const large = ["9999", "50", "2500000"];
for (let i = 0; i < 9999; i++) large.push(`${random.int(1, 10000)},${random.int(1, 10000)}`);
for (const variant of ["solve", "max", "max1"]) compare(large.join("\n"), variant, "9999 items");
compare(["10000", "3", "8", ...large.slice(3)].join("\n"), "solve", "too many items");

// ---- The page's paths: a stop request, a kept pick ----

// Items worth their even weights under an odd weight limit, and one odd item worth less than
// its weight (so that no divisor of the weights or values settles it): a pick is found at once,
// but no bound can come down to it, so the search is still running when asked to stop.
const hard = ["3000", "3000"];
let hardWeights = 3;
for (let i = 1; i < 3000; i++) {
  const weight = 2 * random.int(1, 10000);
  hardWeights += weight;
  hard.push(`${weight},${weight}`);
}
hard.push("3,1");
hard.splice(2, 0, String(2 * Math.floor(hardWeights / 4) + 1));
let reports = 0;
const stopped = engine.solve(hard.join("\n"), "best", { timeLimitSeconds: 0, onProgress: () => ++reports >= 1 });
checks.ok(reports >= 1, "a stop request: progress was reported");
checks.equal(stopped.error, null, "a stop request: no error");
checks.equal(stopped.lines.at(-1), "未证明为最优解Not Proven Optimal", "a stop request ends the search unproven");

// The kept pick's report is the best packing's report: with the proven best pick and its value
// as the bound it matches bagsolve's exactly; with a higher bound it is not proven.
const pickOf = (lines) => lines.filter((line) => /^背包中物体Item \d+序号 Id =/.test(line)).map((line) => Number(line.split("=")[1]));
const valueOf = (lines) => Number(lines.find((line) => line.startsWith("背包中物体总价值Total Value =")).split("=")[1]);
let kept = 0;
for (const text of problems) {
  const best = bagsolve(text, "best");
  if (best.error || !best.lines.includes("已证明为最优解Proven Optimal")) continue;
  const pick = pickOf(best.lines);
  const value = valueOf(best.lines);
  checks.equal(engine.reportKeptPick(text, pick, value), { lines: best.lines, error: null }, `kept pick ${pick} of\n${text}`);
  const higher = engine.reportKeptPick(text, pick, value + 1).lines;
  checks.equal(higher.slice(-2), [`最优价值上界Upper Bound =${value + 1}`, "未证明为最优解Not Proven Optimal"], "kept pick, higher bound");
  kept++;
}
checks.ok(kept > 50, `kept picks compared (${kept})`);
checks.ok(engine.reportKeptPick("2\n2\n9\n1,1\n2,2", [2, 1], 3).error !== null, "a kept pick out of order is refused");
checks.ok(engine.reportKeptPick("2\n2\n9\n1,1\n2,2", [3], 3).error !== null, "a kept pick past the items is refused");

rmSync(folder, { recursive: true, force: true });
checks.finish();
