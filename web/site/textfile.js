// Plain text files as the calculator's window reads and writes them: one rule finds a file's
// encoding, and saving writes that encoding again, each by the window's own codec.
import { ByteSink, REPLACEMENT, UnitText } from "./buffers.js";
import { decodeGbk, encodeGbk } from "./gbk.js";

export const Encoding = Object.freeze({
  gbk: "gbk",
  utf8: "utf-8",
  utf16le: "utf-16le",
  utf16be: "utf-16be",
});

// A new or cleared input box saves GBK, without a mark.
export const defaultFormat = Object.freeze({ encoding: Encoding.gbk, byteOrderMark: false });

// The length of the well-formed UTF-8 sequence of a character beyond ASCII at bytes[i] (no
// overlong forms, surrogates or codes past U+10FFFF), or 0 when none starts there.
function utf8SequenceLength(bytes, i) {
  const b = bytes[i];
  let length;
  let low = 0x80;
  let high = 0xbf; // the range of the second byte
  if (b >= 0xc2 && b <= 0xdf) {
    length = 2;
  } else if (b >= 0xe0 && b <= 0xef) {
    length = 3;
    if (b === 0xe0) low = 0xa0; // no overlong form
    if (b === 0xed) high = 0x9f; // no surrogate
  } else if (b >= 0xf0 && b <= 0xf4) {
    length = 4;
    if (b === 0xf0) low = 0x90;
    if (b === 0xf4) high = 0x8f; // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > bytes.length || bytes[i + 1] < low || bytes[i + 1] > high) return 0;
  for (let k = 2; k < length; k++) if ((bytes[i + k] & 0xc0) !== 0x80) return 0;
  return length;
}

// Whether bytes are well-formed UTF-8 holding at least one character beyond ASCII.
export function isMultiByteUtf8(bytes) {
  let multiByte = false;
  for (let i = 0; i < bytes.length; ) {
    if (bytes[i] < 0x80) {
      i += 1;
      continue;
    }
    const length = utf8SequenceLength(bytes, i);
    if (length === 0) return false;
    multiByte = true;
    i += length;
  }
  return multiByte;
}

// UTF-8 as the window's codec reads it: a byte-order mark at the start is dropped, and a byte
// that starts no well-formed sequence becomes one U+FFFD by itself, reading going on at the
// next byte.
function decodeUtf8(bytes) {
  const out = new UnitText(bytes.length);
  for (let i = startsWith(bytes, marks[Encoding.utf8]) ? 3 : 0; i < bytes.length; ) {
    const b = bytes[i];
    const length = b < 0x80 ? 1 : utf8SequenceLength(bytes, i);
    if (length === 0) {
      out.push(REPLACEMENT);
      i += 1;
      continue;
    }
    let code = length === 1 ? b : b & (0xff >> (length + 1));
    for (let k = 1; k < length; k++) code = (code << 6) | (bytes[i + k] & 0x3f);
    if (code >= 0x10000) {
      out.push(0xd800 + ((code - 0x10000) >> 10));
      out.push(0xdc00 + ((code - 0x10000) & 0x3ff));
    } else {
      out.push(code);
    }
    i += length;
  }
  return out.toString();
}

// UTF-8 as the window's codec writes it: a lone surrogate, which no encoding can hold, as "?".
function encodeUtf8(text) {
  const out = new ByteSink(text.length * 3);
  for (let i = 0; i < text.length; i++) {
    let code = text.charCodeAt(i);
    const low = i + 1 < text.length ? text.charCodeAt(i + 1) : 0;
    if (code >= 0xd800 && code < 0xdc00 && low >= 0xdc00 && low < 0xe000) {
      code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
      i += 1;
    } else if (code >= 0xd800 && code < 0xe000) {
      code = 0x3f;
    }
    if (code < 0x80) {
      out.push(code);
    } else if (code < 0x800) {
      out.pushAll([0xc0 | (code >> 6), 0x80 | (code & 0x3f)]);
    } else if (code < 0x10000) {
      out.pushAll([0xe0 | (code >> 12), 0x80 | ((code >> 6) & 0x3f), 0x80 | (code & 0x3f)]);
    } else {
      out.pushAll([0xf0 | (code >> 18), 0x80 | ((code >> 12) & 0x3f), 0x80 | ((code >> 6) & 0x3f), 0x80 | (code & 0x3f)]);
    }
  }
  return out.bytes();
}

const marks = {
  [Encoding.utf8]: [0xef, 0xbb, 0xbf],
  [Encoding.utf16le]: [0xff, 0xfe],
  [Encoding.utf16be]: [0xfe, 0xff],
};

const startsWith = (bytes, mark) => bytes.length >= mark.length && mark.every((b, k) => bytes[k] === b);

// UTF-16 code units as they stand, lone surrogates included; an odd last byte is no unit.
function decodeUtf16(bytes, bigEndian) {
  const out = new UnitText(bytes.length >> 1);
  for (let i = 0; i + 1 < bytes.length; i += 2) {
    out.push(bigEndian ? (bytes[i] << 8) | bytes[i + 1] : bytes[i] | (bytes[i + 1] << 8));
  }
  if (bytes.length % 2 !== 0) out.push(REPLACEMENT);
  return out.toString();
}

function encodeUtf16(text, bigEndian) {
  const bytes = new Uint8Array(text.length * 2);
  for (let i = 0; i < text.length; i++) {
    const unit = text.charCodeAt(i);
    bytes[2 * i + (bigEndian ? 0 : 1)] = unit >> 8;
    bytes[2 * i + (bigEndian ? 1 : 0)] = unit & 0xff;
  }
  return bytes;
}

// The rule: a UTF-16 LE or BE byte-order mark, or a UTF-8 one, says what follows; without a
// mark, bytes that are valid UTF-8 and hold at least one multi-byte sequence are UTF-8;
// anything else is GBK. Returns { text, format: { encoding, byteOrderMark } }.
export function decodeFile(bytes) {
  if (startsWith(bytes, marks[Encoding.utf16le])) {
    return { text: decodeUtf16(bytes.subarray(2), false), format: { encoding: Encoding.utf16le, byteOrderMark: true } };
  }
  if (startsWith(bytes, marks[Encoding.utf16be])) {
    return { text: decodeUtf16(bytes.subarray(2), true), format: { encoding: Encoding.utf16be, byteOrderMark: true } };
  }
  if (startsWith(bytes, marks[Encoding.utf8])) {
    return { text: decodeUtf8(bytes.subarray(3)), format: { encoding: Encoding.utf8, byteOrderMark: true } };
  }
  if (isMultiByteUtf8(bytes)) {
    return { text: decodeUtf8(bytes), format: { encoding: Encoding.utf8, byteOrderMark: false } };
  }
  return { text: decodeGbk(bytes), format: { ...defaultFormat } };
}

// The text in the format, with its mark when the format has one.
export function encodeFile(text, format) {
  let body;
  switch (format.encoding) {
    case Encoding.utf8:
      body = encodeUtf8(text);
      break;
    case Encoding.utf16le:
      body = encodeUtf16(text, false);
      break;
    case Encoding.utf16be:
      body = encodeUtf16(text, true);
      break;
    default:
      return encodeGbk(text);
  }
  if (!format.byteOrderMark) return body;
  const mark = marks[format.encoding];
  const bytes = new Uint8Array(mark.length + body.length);
  bytes.set(mark);
  bytes.set(body, mark.length);
  return bytes;
}

// Splits at CR LF, lone CR and lone LF: "a\r\nb" gives ["a", "b"], "a\n" gives ["a", ""].
export function splitLines(text) {
  return text.split(/\r\n|\r|\n/);
}
