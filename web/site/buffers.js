// What the text codecs share: the character for what no encoding holds, and growing buffers
// for the text and the bytes they make.

export const REPLACEMENT = 0xfffd;

// A typed array that doubles when full.
class Growing {
  constructor(Type, capacity) {
    this.items = new Type(Math.max(capacity, 16));
    this.length = 0;
  }
  push(item) {
    if (this.length === this.items.length) {
      const grown = new this.items.constructor(this.items.length * 2);
      grown.set(this.items);
      this.items = grown;
    }
    this.items[this.length++] = item;
  }
  pushAll(items) {
    for (const item of items) this.push(item);
  }
}

// Builds a string from UTF-16 code units, a chunk at a time (no argument-count limits).
export class UnitText extends Growing {
  constructor(capacity) {
    super(Uint16Array, capacity);
  }
  toString() {
    let text = "";
    for (let at = 0; at < this.length; at += 8192) {
      text += String.fromCharCode.apply(null, this.items.subarray(at, Math.min(at + 8192, this.length)));
    }
    return text;
  }
}

export class ByteSink extends Growing {
  constructor(capacity) {
    super(Uint8Array, capacity);
  }
  bytes() {
    return this.items.slice(0, this.length);
  }
}
