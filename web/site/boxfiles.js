// What the page's two areas read from and write to files, by the rules of the window's boxes:
// a problem file loads whatever its encoding and saves back in it (GBK for a new one), its
// lines joined by CR LF; a report saves as GBK text, one CR LF after each line.
import { encodeGbk } from "./gbk.js";
import { decodeFile, defaultFormat, encodeFile, splitLines } from "./textfile.js";

// The window's limits and messages for a file loaded into the input box.
export const TEXT_EXCEEDS_CAPACITY = "Text exceeds memo capacity";
export const MAX_FILE_BYTES = 16 * 1024 * 1024;
export const MAX_LINE_CHARS = 100000;

export class BoxError extends Error {}

// Refuses text with a line (or paragraph) longer than the boxes can show.
function checkLineLengths(text) {
  let length = 0;
  for (let i = 0; i < text.length; i++) {
    const ch = text.charCodeAt(i);
    const lineBreak = ch === 0x0a || ch === 0x0d || ch === 0x2028 || ch === 0x2029;
    length = lineBreak ? 0 : length + 1;
    if (length > MAX_LINE_CHARS) throw new BoxError(TEXT_EXCEEDS_CAPACITY);
  }
}

// A problem file's bytes as the input area shows them: { text (lines joined by "\n"), format }.
// Throws BoxError for a file the window's input box would refuse.
export function openProblem(bytes) {
  if (bytes.length > MAX_FILE_BYTES) throw new BoxError(TEXT_EXCEEDS_CAPACITY);
  const decoded = decodeFile(bytes);
  checkLineLengths(decoded.text);
  return { text: splitLines(decoded.text).join("\n"), format: decoded.format };
}

// The input area's text as a file: its lines joined by CR LF, nothing added after the last,
// in the format of the file it came from (GBK when none).
export function saveProblem(text, format = defaultFormat) {
  const lines = splitLines(text.replace(/[\u2028\u2029]/g, "\n"));
  return encodeFile(lines.join("\r\n"), format);
}

// A report's lines as a GBK text file, each line ended by CR LF.
export function saveReport(lines) {
  return encodeGbk(lines.map((line) => line + "\r\n").join(""));
}
