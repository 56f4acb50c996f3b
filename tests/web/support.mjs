// What the web page's tests share: their arguments, a seeded random source, and the page's
// engine loaded under node from the built site.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join, resolve } from "node:path";

// --name PATH pairs, each made absolute.
export function parseArguments(names) {
  const args = {};
  const argv = process.argv.slice(2);
  for (let i = 0; i < argv.length; i += 2) {
    const name = argv[i].replace(/^--/, "");
    if (!names.includes(name) || i + 1 >= argv.length) throw new Error(`usage: ${names.map((n) => `--${n} VALUE`).join(" ")}`);
    args[name] = resolve(argv[i + 1]);
  }
  for (const name of names) if (!(name in args)) throw new Error(`missing --${name}`);
  return args;
}

// A small, fast generator with a seed, so that a failure can be run again.
export function randomSource(seed) {
  let state = seed >>> 0;
  const next = () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    next,
    int: (low, high) => low + Math.floor(next() * (high - low + 1)), // low..high
    pick: (list) => list[Math.floor(next() * list.length)],
    chance: (p) => next() < p,
  };
}

// The engine as the page's worker loads it, from the module's bytes (emscripten's loader
// cannot fetch a file path under this node).
export async function loadSiteEngine(site) {
  const require = createRequire(import.meta.url);
  const createBagEngine = require(join(site, "bagengine.js"));
  const { loadEngine } = require(join(site, "engine.js"));
  return loadEngine(createBagEngine, { wasmBinary: readFileSync(join(site, "bagengine.wasm")) });
}

// Collects failures instead of stopping at the first, and ends the process with their count.
export class Checks {
  constructor(name) {
    this.name = name;
    this.failures = 0;
    this.passed = 0;
  }
  equal(actual, expected, what) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    if (a === e) {
      this.passed++;
      return true;
    }
    this.failures++;
    if (this.failures <= 20) console.error(`FAIL ${what}\n  expected ${e.slice(0, 2000)}\n  actual   ${a.slice(0, 2000)}`);
    return false;
  }
  ok(condition, what) {
    return this.equal(Boolean(condition), true, what);
  }
  finish() {
    console.log(`${this.name}: ${this.passed} checks passed, ${this.failures} failed`);
    process.exit(this.failures === 0 ? 0 : 1);
  }
}
