#include "plaintext/textfile.h"

#include <algorithm>

#include "plaintext/gbk.h"
#include "plaintext/unicode.h"

namespace plaintext {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// UTF-16 code units as they stand, lone surrogates included; an odd last byte is no unit.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text[i / 2] = static_cast<char16_t>(bigEndian ? p[i] << 8 | p[i + 1] : p[i + 1] << 8 | p[i]);
  }
  if (bytes.size() % 2 != 0) text += kReplacement;
  return text;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
  std::string bytes(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto high = static_cast<char>(text[i] >> 8);
    const auto low = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i] = bigEndian ? high : low;
    bytes[2 * i + 1] = bigEndian ? low : high;
  }
  return bytes;
}

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char b) { return static_cast<unsigned char>(b) < 0x80; });
}

}  // namespace

bool IsMultiByteUtf8(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    multiByte = true;
    i += length;
  }
  return multiByte;
}

DecodedText DecodeFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LeMark))
    return {DecodeUtf16(bytes.substr(2), false), {Encoding::kUtf16Le, true}};
  if (bytes.starts_with(kUtf16BeMark))
    return {DecodeUtf16(bytes.substr(2), true), {Encoding::kUtf16Be, true}};
  if (bytes.starts_with(kUtf8ByteOrderMark))
    return {Utf8ToUtf16(bytes.substr(3)), {Encoding::kUtf8, true}};
  if (IsMultiByteUtf8(bytes)) return {Utf8ToUtf16(bytes), {Encoding::kUtf8, false}};
  return {DecodeGbk(bytes), {Encoding::kGbk, false}};
}

std::string DecodeFileToUtf8(std::string_view bytes) {
  // Most problems are plain ASCII, and valid UTF-8 is its own text.
  if (!bytes.starts_with(kUtf16LeMark) && !bytes.starts_with(kUtf16BeMark) &&
      !bytes.starts_with(kUtf8ByteOrderMark) && (IsAscii(bytes) || IsMultiByteUtf8(bytes))) {
    return std::string(bytes);
  }
  return Utf16ToUtf8(DecodeFile(bytes).text);
}

std::string EncodeFile(std::u16string_view text, TextFormat format) {
  std::string mark;
  std::string body;
  switch (format.encoding) {
    case Encoding::kGbk:
      return EncodeGbk(text);
    case Encoding::kUtf8:
      mark = kUtf8ByteOrderMark;
      body = Utf16ToUtf8(text);
      break;
    case Encoding::kUtf16Le:
      mark = kUtf16LeMark;
      body = EncodeUtf16(text, false);
      break;
    case Encoding::kUtf16Be:
      mark = kUtf16BeMark;
      body = EncodeUtf16(text, true);
      break;
  }
  return format.byteOrderMark ? mark + body : body;
}

}  // namespace plaintext
