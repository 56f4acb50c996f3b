// The page's worker: runs one request at a time on the engine, so that a long solve never
// holds up the page. The page ends it (terminate) to stop a solve, and starts a new one. It
// runs as one script after bagengine.js (createBagEngine) and engine.js (TrevanaEngine).
//   { type: "load", wasmModule }                      -> { type: "ready", defaultTimeLimit }
//   { type: "solve", text, variant, timeLimitSeconds } -> "echo", "progress"..., "done"
//   { type: "kept", text, pick, upperBound }          -> "done"
// "done" carries { lines, error }; "echo" { lines }; "progress" the best pick so far.

let engine = null;
let ready = null;

self.onmessage = async (event) => {
  const request = event.data;
  if (request.type === "load") {
    ready = TrevanaEngine.loadEngine(createBagEngine, { wasmModule: request.wasmModule });
    engine = await ready;
    self.postMessage({ type: "ready", defaultTimeLimit: engine.defaultTimeLimit });
    return;
  }
  await ready;
  let answer;
  if (request.type === "solve") {
    answer = engine.solve(request.text, request.variant, {
      timeLimitSeconds: request.timeLimitSeconds,
      onEcho: (lines) => self.postMessage({ type: "echo", lines }),
      onProgress: (progress) => {
        self.postMessage({ type: "progress", ...progress }, [progress.pick.buffer]);
        return false;
      },
    });
  } else {
    answer = engine.reportKeptPick(request.text, request.pick, request.upperBound);
  }
  self.postMessage({ type: "done", ...answer });
};
