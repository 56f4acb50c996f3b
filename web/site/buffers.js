// What the text codecs share: the character for what no encoding holds, and growing buffers
// for the text and the bytes they make.

export const REPLACEMENT = 0xfffd;

// Builds a string from UTF-16 code units, a chunk at a time (no argument-count limits).
export class UnitText {
  constructor(capacity) {
    this.units = new Uint16Array(Math.max(capacity, 16));
    this.length = 0;
  }
  push(unit) {
    if (this.length === this.units.length) {
      const grown = new Uint16Array(this.units.length * 2);
      grown.set(this.units);
      this.units = grown;
    }
    this.units[this.length++] = unit;
  }
  toString() {
    let text = "";
    for (let at = 0; at < this.length; at += 8192) {
      text += String.fromCharCode.apply(null, this.units.subarray(at, Math.min(at + 8192, this.length)));
    }
    return text;
  }
}

export class ByteSink {
  constructor(capacity) {
    this.buffer = new Uint8Array(Math.max(capacity, 16));
    this.length = 0;
  }
  push(byte) {
    if (this.length === this.buffer.length) {
      const grown = new Uint8Array(this.buffer.length * 2);
      grown.set(this.buffer);
      this.buffer = grown;
    }
    this.buffer[this.length++] = byte;
  }
  pushAll(bytes) {
    for (const b of bytes) this.push(b);
  }
  bytes() {
    return this.buffer.slice(0, this.length);
  }
}
