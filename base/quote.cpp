#include "base/quote.h"

#include <algorithm>
#include <cstdint>

namespace bagfunc {
namespace {

// The length of the valid UTF-8 character at the start of bytes, 0 when none starts there
// (a stray continuation byte, an overlong form, a surrogate, a code above U+10FFFF, a cut
// sequence). code receives the character's code point.
std::size_t Utf8Length(std::string_view bytes, std::uint32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  std::size_t length = 0;
  std::uint32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07u, least = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return 0;
    code = (code << 6) | (byte(i) & 0x3Fu);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (code < least || surrogate || code > 0x10FFFF) return 0;
  return length;
}

bool IsControl(std::uint32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

void AppendEscaped(std::string& text, std::uint32_t code) {
  constexpr char kHex[] = "0123456789ABCDEF";
  text += "\\x";
  text += kHex[(code >> 4) & 0xFu];
  text += kHex[code & 0xFu];
}

}  // namespace

std::string QuotedLine(std::string_view line) {
  std::string text;
  text.reserve(std::min(line.size(), kMaxQuotedChars * 4) + 3);
  std::size_t chars = 0;
  while (!line.empty()) {
    if (chars == kMaxQuotedChars) {
      text += "…";
      break;
    }
    std::uint32_t code = 0;
    const std::size_t length = Utf8Length(line, code);
    if (length == 0) {
      AppendEscaped(text, static_cast<unsigned char>(line.front()));
      line.remove_prefix(1);
    } else {
      if (IsControl(code) && code != '\t')
        AppendEscaped(text, code);
      else
        text.append(line.substr(0, length));
      line.remove_prefix(length);
    }
    ++chars;
  }
  return text;
}

}  // namespace bagfunc
