// The web page's text files against the window's: every GBK code, every character, and many
// random files in each encoding go through the page's codec (engine.js, over the WebAssembly
// build of the text layer) and the window's (textio, through the textcodec helper); the
// texts, formats and bytes must be the same.
//   node codec_test.mjs --site build/web --textcodec build/.../textcodec
import { spawnSync } from "node:child_process";
import { Checks, loadSiteEngine, parseArguments, randomSource } from "./support.mjs";

const args = parseArguments(["site", "textcodec"]);
const textfile = await loadSiteEngine(args.site);
const checks = new Checks("web codec");
const random = randomSource(936);

const ENCODINGS = [textfile.Encoding.gbk, textfile.Encoding.utf8, textfile.Encoding.utf16le, textfile.Encoding.utf16be];

function u32(value) {
  return [value & 0xff, (value >>> 8) & 0xff, (value >>> 16) & 0xff, value >>> 24];
}

function runReference(mode, records) {
  const result = spawnSync(args.textcodec, [mode], { input: Buffer.from(records), maxBuffer: 1 << 30 });
  if (result.status !== 0) throw new Error(`textcodec ${mode} failed: ${result.stderr}`);
  return result.stdout;
}

const hex = (bytes) => Buffer.from(bytes).toString("hex");
const units = (text) => Array.from(text, (ch) => ch.charCodeAt(0).toString(16));

// ---- Decoding: files as bytes ----

function fourByte(index) {
  const b3 = 0x30 + (index % 10);
  index = Math.floor(index / 10);
  const b2 = 0x81 + (index % 126);
  index = Math.floor(index / 126);
  return [0x81 + Math.floor(index / 10), 0x30 + (index % 10), b2, b3];
}

function randomBytes(length, alphabet) {
  return Array.from({ length }, () => random.pick(alphabet));
}

function randomText(length) {
  let text = "";
  for (let i = 0; i < length; i++) {
    const kind = random.int(0, 9);
    if (kind < 3) text += String.fromCharCode(random.int(0x20, 0x7e));
    else if (kind < 6) text += String.fromCharCode(random.int(0x4e00, 0x9fa5));
    else if (kind === 6) text += String.fromCharCode(random.int(0x80, 0xffff));
    else if (kind === 7) text += String.fromCodePoint(random.int(0x10000, 0x10ffff));
    else if (kind === 8) text += random.pick(["\r\n", "\n", "\r", "\u2028", "\u00a0", "\ufeff", "\u20ac"]);
    else text += String.fromCharCode(random.int(0xd800, 0xdfff)); // a lone surrogate
  }
  return text;
}

const decodeCases = [];
for (let b = 0; b < 256; b++) decodeCases.push([b]);
for (let lead = 0x81; lead <= 0xfe; lead++) for (let trail = 0; trail < 256; trail++) decodeCases.push([lead, trail]);
// Every four-byte code of the Basic Multilingual Plane, those just past it, and of the planes.
for (let index = 0; index < 39500; index++) decodeCases.push(fourByte(index));
const planes = 189000; // 90 30 81 30
for (const k of [0, 1, 0xffff, 0xfffff, 0x100000, 0x100001]) decodeCases.push(fourByte(planes + k));
for (let i = 0; i < 500; i++) decodeCases.push(fourByte(random.int(39420, 1600000)));
const gbkAlphabet = [0x20, 0x30, 0x39, 0x41, 0x7f, 0x80, 0x81, 0x84, 0x90, 0xa1, 0xb0, 0xd7, 0xfe, 0xff, 0x0d, 0x0a, 0x2c, 0x40, 0x00];
const utfAlphabet = [0x41, 0x0a, 0x0d, 0xc2, 0xa0, 0xe4, 0xb8, 0x80, 0xbf, 0xed, 0xa0, 0xf0, 0x90, 0xf4, 0x8f, 0xc0, 0xff, 0xfe, 0x00];
for (let i = 0; i < 3000; i++) decodeCases.push(randomBytes(random.int(0, 24), gbkAlphabet));
for (let i = 0; i < 3000; i++) decodeCases.push(randomBytes(random.int(0, 24), utfAlphabet));
for (const mark of [[0xef, 0xbb, 0xbf], [0xff, 0xfe], [0xfe, 0xff]]) {
  decodeCases.push(mark, [...mark, 0x41], [...mark, ...mark], [...mark, 0x00, 0xd8, 0x41, 0x00]);
  for (let i = 0; i < 1000; i++) decodeCases.push([...mark, ...randomBytes(random.int(0, 24), utfAlphabet)]);
}
for (let i = 0; i < 1000; i++) decodeCases.push([...Buffer.from(randomText(random.int(1, 20)), "utf8")]);

const decodeRecords = decodeCases.flatMap((bytes) => [...u32(bytes.length), ...bytes]);
const reference = runReference("decode", decodeRecords);
let at = 0;
for (const bytes of decodeCases) {
  const encoding = ENCODINGS[reference[at]];
  const byteOrderMark = reference[at + 1] === 1;
  const count = reference.readUInt32LE(at + 2);
  at += 6;
  let text = "";
  for (let i = 0; i < count; i++, at += 2) text += String.fromCharCode(reference.readUInt16LE(at));
  const page = textfile.decodeFile(Uint8Array.from(bytes));
  checks.equal(
    { format: page.format, text: units(page.text) },
    { format: { encoding, byteOrderMark }, text: units(text) },
    `decoding ${hex(bytes)}`,
  );
}

// ---- Encoding: text in each format ----

const encodeCases = [];
for (let unit = 0; unit < 0x10000; unit++) encodeCases.push([textfile.defaultFormat, String.fromCharCode(unit)]);
for (let i = 0; i < 2000; i++) encodeCases.push([textfile.defaultFormat, String.fromCodePoint(random.int(0x10000, 0x10ffff))]);
for (const encoding of ENCODINGS) {
  for (const byteOrderMark of [false, true]) {
    encodeCases.push([{ encoding, byteOrderMark }, ""]);
    for (let i = 0; i < 500; i++) encodeCases.push([{ encoding, byteOrderMark }, randomText(random.int(0, 20))]);
  }
}

const encodeRecords = encodeCases.flatMap(([format, text]) => [
  ENCODINGS.indexOf(format.encoding),
  format.byteOrderMark ? 1 : 0,
  ...u32(text.length),
  ...Array.from({ length: text.length }, (_, i) => [text.charCodeAt(i) & 0xff, text.charCodeAt(i) >> 8]).flat(),
]);
const encoded = runReference("encode", encodeRecords);
at = 0;
for (const [format, text] of encodeCases) {
  const length = encoded.readUInt32LE(at);
  const expected = encoded.subarray(at + 4, at + 4 + length);
  at += 4 + length;
  checks.equal(hex(textfile.encodeFile(text, format)), hex(expected), `encoding ${JSON.stringify(format)} ${units(text).join(" ")}`);
}

checks.finish();
