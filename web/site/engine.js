// The engine in WebAssembly behind a small JavaScript face: solve a problem with a variant,
// or report a pick kept after a stop. The page's worker loads it with importScripts, the tests
// with require; both hand over the compiled module or its bytes (no file paths, no fetch).
(function (root) {
  "use strict";

  // createBagEngine: the factory of bagengine.js. source: { wasmModule } (a compiled
  // WebAssembly.Module) or { wasmBinary } (its bytes). Resolves to the engine.
  async function loadEngine(createBagEngine, source) {
    const options = {};
    if (source.wasmModule) {
      options.instantiateWasm = (imports, done) => {
        WebAssembly.instantiate(source.wasmModule, imports).then((instance) => done(instance));
        return {};
      };
    } else {
      options.wasmBinary = source.wasmBinary;
    }
    const module = await createBagEngine(options);
    const encoder = new TextEncoder();
    const decoder = new TextDecoder();

    // Runs fn with the bytes of text (UTF-8) in the module's memory.
    function withText(text, fn) {
      const bytes = encoder.encode(text);
      const at = module._malloc(bytes.length + 1);
      try {
        module.HEAPU8.set(bytes, at);
        module.HEAPU8[at + bytes.length] = 0;
        return fn(at, bytes.length);
      } finally {
        module._free(at);
      }
    }

    function withInts(values, fn) {
      const at = module._malloc(values.length * 4 + 4);
      try {
        module.HEAP32.set(values, at >> 2);
        return fn(at, values.length);
      } finally {
        module._free(at);
      }
    }

    function utf8(at, length) {
      return decoder.decode(module.HEAPU8.subarray(at, at + length));
    }

    function lines(text) {
      return text === "" ? [] : text.split("\n");
    }

    // The last request's answer: { lines, error } with error null when there was none.
    function answer() {
      const report = utf8(module._TrevanaReport(), module._TrevanaReportLength());
      const errorAt = module._TrevanaError();
      const error = utf8(errorAt, module.HEAPU8.indexOf(0, errorAt) - errorAt);
      return { lines: lines(report), error: error === "" ? null : error };
    }

    return {
      defaultTimeLimit: module._TrevanaDefaultTimeLimit(),

      // Runs the solve command on text (the problem's lines joined by "\n") with variant
      // "solve", "max", "max1" or "best". hooks (all optional):
      //   timeLimitSeconds  the best packing's, 0 for none (default: defaultTimeLimit)
      //   onEcho(lines)     the echo lines, once the problem is read
      //   onProgress(p)     the best packing's best pick so far: { seconds, totalWeight,
      //                     totalValue, upperBound, pick (Int32Array) }; return true to stop
      solve(text, variant, hooks = {}) {
        module.onEcho = hooks.onEcho ? (echo) => hooks.onEcho(lines(echo)) : null;
        module.onProgress = hooks.onProgress || null;
        const limit = hooks.timeLimitSeconds ?? -1;
        withText(variant, (variantAt) =>
          withText(text, (at, length) => module._TrevanaSolve(at, length, variantAt, limit)));
        return answer();
      },

      // The best packing's report for a pick kept after a stop, with its bound.
      reportKeptPick(text, pick, upperBound) {
        withInts(pick, (pickAt, count) =>
          withText(text, (at, length) =>
            module._TrevanaReportKeptPick(at, length, pickAt, count, upperBound)));
        return answer();
      },
    };
  }

  const api = { loadEngine };
  if (typeof module === "object" && module.exports) module.exports = api;
  else root.TrevanaEngine = api;
})(typeof self !== "undefined" ? self : this);
