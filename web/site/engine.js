// The engine in WebAssembly behind a small JavaScript face: solve a problem with a variant,
// report a pick kept after a stop, and read and write text files by the window's rules (its
// encoding rule, limits and GBK codec, compiled from the same C++). The page's worker loads it
// with importScripts, the page itself for its files with a script element, the tests with
// require; all hand over the compiled module or its bytes (no file paths, no fetch).
(function (root) {
  "use strict";

  const Encoding = Object.freeze({ gbk: "gbk", utf8: "utf-8", utf16le: "utf-16le", utf16be: "utf-16be" });
  // A new or cleared input box saves GBK, without a mark.
  const defaultFormat = Object.freeze({ encoding: Encoding.gbk, byteOrderMark: false });

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

    // Runs fn with the bytes in the module's memory.
    function withBytes(bytes, fn) {
      const at = module._malloc(bytes.length + 1);
      try {
        module.HEAPU8.set(bytes, at);
        return fn(at, bytes.length);
      } finally {
        module._free(at);
      }
    }

    // Runs fn with text's UTF-16 code units in the module's memory.
    function withUnits(text, fn) {
      const at = module._malloc(text.length * 2 + 2);
      try {
        const units = module.HEAPU16.subarray(at >> 1, (at >> 1) + text.length);
        for (let i = 0; i < text.length; i++) units[i] = text.charCodeAt(i);
        return fn(at, text.length);
      } finally {
        module._free(at);
      }
    }

    // The last request's file text (code units as they stand) and file bytes.
    function fileText() {
      const at = module._TrevanaText() >> 1;
      const units = module.HEAPU16.subarray(at, at + module._TrevanaTextLength());
      let text = "";
      for (let i = 0; i < units.length; i += 8192) text += String.fromCharCode.apply(null, units.subarray(i, i + 8192));
      return text;
    }
    function fileBytes() {
      const at = module._TrevanaReport();
      return module.HEAPU8.slice(at, at + module._TrevanaReportLength());
    }

    // A format's code in the module: the encoding's number times two, plus one with a mark.
    const encodings = [Encoding.gbk, Encoding.utf8, Encoding.utf16le, Encoding.utf16be];
    const formatOf = (code) => ({ encoding: encodings[code >> 1], byteOrderMark: (code & 1) === 1 });
    const codeOf = (format) => Math.max(encodings.indexOf(format.encoding), 0) * 2 + (format.byteOrderMark ? 1 : 0);

    function lines(text) {
      return text === "" ? [] : text.split("\n");
    }

    function cString(at) {
      return utf8(at, module.HEAPU8.indexOf(0, at) - at);
    }

    // The last request's answer: { lines, error } with error null when there was none.
    function answer() {
      const report = utf8(module._TrevanaReport(), module._TrevanaReportLength());
      const error = cString(module._TrevanaError());
      return { lines: lines(report), error: error === "" ? null : error };
    }

    return {
      defaultTimeLimit: module._TrevanaDefaultTimeLimit(),
      Encoding,
      defaultFormat,
      // The largest file the input area opens, and what it says of a larger one.
      maxFileBytes: module._TrevanaMaxFileBytes(),
      capacityMessage: cString(module._TrevanaCapacityMessage()),

      // A file's bytes by the window's rule: { text, format: { encoding, byteOrderMark } }.
      decodeFile(bytes) {
        const code = withBytes(bytes, (at, length) => module._TrevanaDecodeFile(at, length));
        return { text: fileText(), format: formatOf(code) };
      },

      // The text in the format, with its mark when the format has one (a Uint8Array).
      encodeFile(text, format) {
        withUnits(text, (at, count) => module._TrevanaEncodeFile(at, count, codeOf(format)));
        return fileBytes();
      },

      // A problem file as the input box loads it: { text (lines joined by "\n"), format }, or
      // { error } for a file the window's input box would refuse.
      openProblem(bytes) {
        const code = withBytes(bytes, (at, length) => module._TrevanaOpenProblem(at, length));
        if (code < 0) return { error: answer().error };
        return { text: fileText(), format: formatOf(code) };
      },

      // The input area's text as a file: its lines joined by CR LF, in the format (GBK when
      // none).
      saveProblem(text, format = defaultFormat) {
        withUnits(text, (at, count) => module._TrevanaSaveProblem(at, count, codeOf(format)));
        return fileBytes();
      },

      // A report's lines as a GBK text file, each line ended by CR LF.
      saveReport(reportLines) {
        return this.encodeFile(reportLines.map((line) => line + "\r\n").join(""), defaultFormat);
      },

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
