// What the page's two areas read from and write to files, by the rules of the window's boxes:
// the window's and bagsolve's own text layer, compiled with the engine to WebAssembly. The page
// runs one copy of the engine for this, beside the worker's that solves.
import { engineModule } from "./solver.js";

/* global createBagEngine, TrevanaEngine -- the page's script elements load bagengine.js and engine.js */
const files = await TrevanaEngine.loadEngine(createBagEngine, { wasmModule: await engineModule });

export class BoxError extends Error {}

export const { defaultFormat } = files;
export const MAX_FILE_BYTES = files.maxFileBytes;
export const TEXT_EXCEEDS_CAPACITY = files.capacityMessage;

// A problem file's bytes as the input area shows them: { text (lines joined by "\n"), format }.
// Throws BoxError for a file the window's input box would refuse.
export function openProblem(bytes) {
  const opened = files.openProblem(bytes);
  if (opened.error) throw new BoxError(opened.error);
  return opened;
}

// The input area's text as a file: its lines joined by CR LF, nothing added after the last,
// in the format of the file it came from (GBK when none).
export const saveProblem = (text, format = defaultFormat) => files.saveProblem(text, format);

// A report's lines as a GBK text file, each line ended by CR LF.
export const saveReport = (lines) => files.saveReport(lines);
