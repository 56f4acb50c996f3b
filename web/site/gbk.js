// Code page 936 (GBK, with GB18030's four-byte codes) by the window's codec: it works from the
// data the build generates from the window's codec (gbktable.js), by the same rules, so that the
// page and the window turn the same bytes into the same text and back.
import { ByteSink, REPLACEMENT, UnitText } from "./buffers.js";
import * as gbk from "./gbktable.js";

const lastLead = gbk.firstLead + gbk.twoByte.length / gbk.trailCount - 1;
const lastTrail = gbk.firstTrail + gbk.trailCount - 1;
// Four-byte codes count from 81 30 81 30, the last byte fastest.
const fourByteIndex = (b0, b1, b2, b3) => (((b0 - 0x81) * 10 + (b1 - 0x30)) * 126 + (b2 - 0x81)) * 10 + (b3 - 0x30);
const supplementaryBase = fourByteIndex(0x90, 0x30, 0x81, 0x30);

function fourByteCode(index) {
  const b3 = 0x30 + (index % 10);
  index = Math.floor(index / 10);
  const b2 = 0x81 + (index % 126);
  index = Math.floor(index / 126);
  const b1 = 0x30 + (index % 10);
  return [0x81 + Math.floor(index / 10), b1, b2, b3];
}

const isLead = (b) => b >= gbk.firstLead && b <= lastLead;
const isDigit = (b) => b >= 0x30 && b <= 0x39;
const isTrail = (b) => b >= gbk.firstTrail && b <= lastTrail && b !== 0x7f;

// Both directions of the codec, unpacked from the data once, when first needed.
let tables = null;
function codecTables() {
  if (tables) return tables;
  const runs = gbk.fourByteRuns;
  let fourByteCount = 0;
  for (let r = 0; r < runs.length; r += 3) fourByteCount = Math.max(fourByteCount, runs[r] + runs[r + 2]);
  const t = {
    fromGbk: new Uint16Array(0x10000), // (lead << 8 | trail), or a single byte
    toGbk: new Uint16Array(0x10000), // character -> code, 0 for none
    fromFourByte: new Uint16Array(fourByteCount),
    toFourByte: new Uint32Array(0x10000), // character -> four-byte index + 1
  };
  const add = (code, ch) => {
    if (ch === 0) return;
    t.fromGbk[code] = ch;
    t.toGbk[ch] = code;
  };
  add(gbk.singleByte, gbk.singleByteCharacter);
  for (let i = 0; i < gbk.twoByte.length; i++) {
    const code = ((gbk.firstLead + Math.floor(i / gbk.trailCount)) << 8) | (gbk.firstTrail + (i % gbk.trailCount));
    add(code, gbk.twoByte.charCodeAt(i));
  }
  for (let r = 0; r < runs.length; r += 3) {
    for (let k = 0; k < runs[r + 2]; k++) {
      t.fromFourByte[runs[r] + k] = runs[r + 1] + k;
      t.toFourByte[runs[r + 1] + k] = runs[r] + k + 1;
    }
  }
  tables = t;
  return t;
}

// GBK bytes (with GB18030's four-byte codes) to text; what is no character becomes U+FFFD.
export function decodeGbk(bytes) {
  const t = codecTables();
  const n = bytes.length;
  const out = new UnitText(n);
  let i = 0;
  while (i < n) {
    const b = bytes[i];
    if (b < 0x80) {
      out.push(b);
      i += 1;
    } else if (!isLead(b)) {
      out.push(t.fromGbk[b] || REPLACEMENT);
      i += 1;
    } else if (i + 1 < n && isDigit(bytes[i + 1])) {
      if (i + 3 >= n || !isLead(bytes[i + 2]) || !isDigit(bytes[i + 3])) {
        out.push(REPLACEMENT);
        i += 1;
        continue;
      }
      const index = fourByteIndex(b, bytes[i + 1], bytes[i + 2], bytes[i + 3]);
      if (index < t.fromFourByte.length && t.fromFourByte[index] !== 0) {
        out.push(t.fromFourByte[index]);
      } else if (index >= supplementaryBase && index - supplementaryBase < 0x100000) {
        const offset = index - supplementaryBase;
        out.push(0xd800 + (offset >> 10));
        out.push(0xdc00 + (offset & 0x3ff));
      } else {
        out.push(REPLACEMENT);
      }
      i += 4;
    } else if (i + 1 < n && isTrail(bytes[i + 1])) {
      out.push(t.fromGbk[(b << 8) | bytes[i + 1]] || REPLACEMENT);
      i += 2;
    } else {
      out.push(REPLACEMENT);
      i += 1;
    }
  }
  return out.toString();
}

// Text to GBK bytes; a character GBK cannot hold becomes its GB18030 four-byte code, never "?".
export function encodeGbk(text) {
  const t = codecTables();
  const n = text.length;
  const out = new ByteSink(n * 2);
  for (let i = 0; i < n; i++) {
    let ch = text.charCodeAt(i);
    if (ch < 0x80) {
      out.push(ch);
      continue;
    }
    const low = i + 1 < n ? text.charCodeAt(i + 1) : 0;
    if (ch >= 0xd800 && ch < 0xdc00 && low >= 0xdc00 && low < 0xe000) {
      out.pushAll(fourByteCode(supplementaryBase + ((ch - 0xd800) << 10) + (low - 0xdc00)));
      i += 1;
      continue;
    }
    // A lone surrogate has no code in any encoding.
    if (ch >= 0xd800 && ch < 0xe000) ch = REPLACEMENT;
    const code = t.toGbk[ch];
    if (code !== 0) {
      if (code > 0xff) out.push(code >> 8);
      out.push(code & 0xff);
    } else {
      out.pushAll(fourByteCode((t.toFourByte[ch] || t.toFourByte[REPLACEMENT]) - 1));
    }
  }
  return out.bytes();
}
