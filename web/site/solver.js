// Solves off the page's thread: one worker holds the engine. Stopping ends the worker at once
// (a running WebAssembly call cannot be interrupted any other way) and a fresh one takes its
// place; the best packing's report for the pick it last reported then comes from the fresh one.
//
// The page fetches the worker's code and the engine once, when it opens, and starts every
// worker from that copy: a worker started later runs the same version as the page, even when a
// newer version of the site has been installed for offline use meanwhile.

async function fetched(file) {
  const response = await fetch(file);
  if (!response.ok) throw new Error(`${file}: ${response.status} ${response.statusText}`);
  return response;
}

const loaded = Promise.all([
  // One script: emscripten's loader, its JavaScript face, and the worker's message loop.
  Promise.all(["bagengine.js", "engine.js", "worker.js"].map((file) => fetched(file).then((r) => r.text())))
    .then((texts) => URL.createObjectURL(new Blob([texts.join("\n;\n")], { type: "text/javascript" }))),
  fetched("bagengine.wasm").then((r) => r.arrayBuffer()).then((bytes) => WebAssembly.compile(bytes)),
]);

// Resolves, once the worker has its engine, to the best packing's default time limit.
function engineReady(worker) {
  return new Promise((resolve) => {
    worker.addEventListener("message", function ready(event) {
      if (event.data.type !== "ready") return;
      worker.removeEventListener("message", ready);
      resolve(event.data.defaultTimeLimit);
    });
  });
}

// The first worker starts as soon as the engine is here, while the page's own modules are
// still starting (boxfiles.js waits for its copy of the engine); the first Solver takes it.
const firstWorker = loaded.then(([source, wasmModule]) => {
  const worker = new Worker(source);
  const ready = engineReady(worker);
  worker.postMessage({ type: "load", wasmModule });
  return { worker, ready };
});

// The compiled engine, also for the page's own copy (boxfiles.js).
export const engineModule = loaded.then(([, wasmModule]) => wasmModule);

export class Solver {
  constructor() {
    this.worker = null;
    this.running = null; // the request under way: { resolve, reject, finish }
    // Resolves, once the first worker has its engine, to the best packing's default time limit.
    this.ready = Promise.all([loaded, firstWorker]).then(([[source, wasmModule], first]) => {
      this.source = source;
      this.wasmModule = wasmModule;
      if (!first.taken) {
        first.taken = true;
        this.worker = first.worker;
        return first.ready;
      }
      this.replaceWorker();
      return engineReady(this.worker);
    });
  }

  get busy() {
    return this.running !== null;
  }

  // The best packing's time limit in seconds when none is given.
  defaultTimeLimit() {
    return this.ready;
  }

  // Runs one request and resolves to { lines, error }, or to null when stopped.
  // handlers.onEcho(lines) and handlers.onProgress(progress) follow it as the worker reports.
  async run(request, handlers = {}) {
    if (this.running) throw new Error("A solve is already running");
    let settle;
    const answer = new Promise((resolve, reject) => {
      settle = { resolve, reject };
    });
    this.running = settle;
    try {
      await this.ready;
    } catch (error) {
      this.running = null;
      throw error;
    }
    if (this.running !== settle) return answer; // stopped while the engine was loading
    const worker = this.worker;
    const finish = () => {
      worker.removeEventListener("message", listener);
      worker.removeEventListener("error", failed);
      this.running = null;
    };
    const listener = (event) => {
      const message = event.data;
      if (message.type === "echo") handlers.onEcho?.(message.lines);
      else if (message.type === "progress") handlers.onProgress?.(message);
      else if (message.type === "done") {
        finish();
        settle.resolve({ lines: message.lines, error: message.error });
      }
    };
    // The engine failed in a way it could not report: the worker's instance is lost.
    const failed = (event) => {
      event.preventDefault();
      finish();
      this.replaceWorker();
      settle.reject(new Error(event.message || "The solver stopped unexpectedly"));
    };
    settle.finish = finish;
    worker.addEventListener("message", listener);
    worker.addEventListener("error", failed);
    worker.postMessage(request);
    return answer;
  }

  solve(text, variant, timeLimitSeconds, handlers) {
    return this.run({ type: "solve", text, variant, timeLimitSeconds }, handlers);
  }

  // The best packing's report for a pick kept after a stop.
  reportKeptPick(text, pick, upperBound) {
    return this.run({ type: "kept", text, pick, upperBound });
  }

  // Ends the request under way; its promise resolves to null.
  stop() {
    const settle = this.running;
    if (!settle) return;
    settle.finish?.();
    this.running = null;
    if (this.worker) this.replaceWorker();
    settle.resolve(null);
  }

  // A new worker with the engine; requests wait in its queue until the engine is loaded.
  replaceWorker() {
    this.worker?.terminate();
    this.worker = new Worker(this.source);
    this.worker.postMessage({ type: "load", wasmModule: this.wasmModule });
  }
}
