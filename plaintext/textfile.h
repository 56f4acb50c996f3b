// Plain text files as other programs write them: the encoding a file's bytes are in, found by
// one rule for every reader (both boxes, bagsolve and the web page), and the same encoding
// again on saving, so a file is never rewritten in another encoding behind the user's back.
#pragma once

#include <string>
#include <string_view>

namespace plaintext {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

enum class Encoding { kGbk, kUtf8, kUtf16Le, kUtf16Be };

struct TextFormat {
  Encoding encoding = Encoding::kGbk;
  bool byteOrderMark = false;

  bool operator==(const TextFormat&) const = default;
};

struct DecodedText {
  std::u16string text;
  TextFormat format;
};

// The rule: a UTF-16 LE or BE byte-order mark, or a UTF-8 one, says what follows; without a
// mark, bytes that are valid UTF-8 and hold at least one multi-byte sequence are UTF-8;
// anything else is code page 936 (GBK, with GB18030 four-byte codes). Decoding keeps every
// UTF-16 code unit, so that encoding the text again in its format gives back the same bytes;
// an odd last byte of UTF-16 becomes U+FFFD.
DecodedText DecodeFile(std::string_view bytes);

// Only the text, as UTF-8 (a lone surrogate of a UTF-16 file becomes "?").
std::string DecodeFileToUtf8(std::string_view bytes);

// The text in the format, with its mark when the format has one.
std::string EncodeFile(std::u16string_view text, TextFormat format);

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or codes past U+10FFFF)
// holding at least one character beyond ASCII.
bool IsMultiByteUtf8(std::string_view bytes);

}  // namespace plaintext
