#include "plaintext/gbk.h"

#include <array>
#include <cstdint>
#include <memory>

#include "plaintext/gbktable.h"
#include "plaintext/unicode.h"

namespace plaintext {
namespace {

using namespace gbktable;

bool IsLead(unsigned char b) { return b >= kFirstLead && b <= kLastLead; }
bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }
bool IsTrail(unsigned char b) { return b >= kFirstTrail && b <= kLastTrail && b != 0x7F; }

void AppendFourByte(std::string& out, int index) {
  char code[4];
  FourByteCode(index, code);
  out.append(code, 4);
}

// Both directions of the codec, unpacked from the generated data (gbktable.h). The data is one
// to one, so decoding then encoding gives back every byte.
struct Tables {
  std::array<char16_t, 0x10000> fromGbk{};       // (lead << 8 | trail), or 0x80 alone
  std::array<std::uint16_t, 0x10000> toGbk{};    // character -> GBK code, 0 = none
  std::array<char16_t, kBmpFourByteCodes> fromFourByte{};
  std::array<std::uint16_t, 0x10000> toFourByte{};  // character -> four-byte index + 1

  Tables() {
    Add(kSingleByte, kSingleByteCharacter);
    for (int i = 0; i < kTwoByteCount; ++i) {
      Add(static_cast<std::uint16_t>((kFirstLead + i / kTrailCount) << 8 |
                                     (kFirstTrail + i % kTrailCount)),
          kTwoByte[i]);
    }
    for (int r = 0; r < kFourByteRunCount; ++r) {
      const Run& run = kFourByteRuns[r];
      for (int k = 0; k < run.length; ++k) {
        const auto ch = static_cast<char16_t>(run.firstCharacter + k);
        fromFourByte[static_cast<std::size_t>(run.firstCode + k)] = ch;
        toFourByte[ch] = static_cast<std::uint16_t>(run.firstCode + k + 1);
      }
    }
  }

  void Add(std::uint16_t code, char16_t ch) {
    if (ch == 0) return;
    fromGbk[code] = ch;
    toGbk[ch] = code;
  }
};

const Tables& GetTables() {
  static const auto tables = std::make_unique<Tables>();
  return *tables;
}

}  // namespace

std::u16string DecodeGbk(std::string_view bytes) {
  const Tables& tables = GetTables();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::u16string text;
  text.reserve(n);
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      text += static_cast<char16_t>(b);
      ++i;
    } else if (!IsLead(b)) {
      const char16_t ch = tables.fromGbk[b];
      text += ch != 0 ? ch : kReplacement;
      ++i;
    } else if (i + 1 < n && IsDigit(p[i + 1])) {
      if (i + 3 >= n || !IsLead(p[i + 2]) || !IsDigit(p[i + 3])) {
        text += kReplacement;
        ++i;
        continue;
      }
      const int index = FourByteIndex(p + i);
      if (index < kBmpFourByteCodes && tables.fromFourByte[index] != 0) {
        text += tables.fromFourByte[index];
      } else if (index >= kSupplementaryBase && index - kSupplementaryBase < 0x100000) {
        const int offset = index - kSupplementaryBase;
        text += static_cast<char16_t>(0xD800 + (offset >> 10));
        text += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
      } else {
        text += kReplacement;
      }
      i += 4;
    } else if (i + 1 < n && IsTrail(p[i + 1])) {
      const char16_t ch = tables.fromGbk[b << 8 | p[i + 1]];
      text += ch != 0 ? ch : kReplacement;
      i += 2;
    } else {
      text += kReplacement;
      ++i;
    }
  }
  return text;
}

std::string EncodeGbk(std::u16string_view text) {
  const Tables& tables = GetTables();
  std::string bytes;
  bytes.reserve(text.size() * 2);
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    char16_t ch = text[i];
    if (ch < 0x80) {
      bytes += static_cast<char>(ch);
      continue;
    }
    if (IsHighSurrogate(ch) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      const int offset = (ch - 0xD800) << 10 | (text[i + 1] - 0xDC00);
      ++i;
      AppendFourByte(bytes, kSupplementaryBase + offset);
      continue;
    }
    // A lone surrogate has no code in any encoding.
    if (IsSurrogate(ch)) ch = kReplacement;
    if (const std::uint16_t code = tables.toGbk[ch]; code != 0) {
      if (code > 0xFF) bytes += static_cast<char>(code >> 8);
      bytes += static_cast<char>(code & 0xFF);
    } else if (tables.toFourByte[ch] != 0) {
      AppendFourByte(bytes, tables.toFourByte[ch] - 1);
    } else {
      AppendFourByte(bytes, tables.toFourByte[kReplacement] - 1);
    }
  }
  return bytes;
}

std::string GbkToUtf8(std::string_view bytes) { return Utf16ToUtf8(DecodeGbk(bytes)); }

std::string Utf8ToGbk(std::string_view utf8) { return EncodeGbk(Utf8ToUtf16(utf8)); }

}  // namespace plaintext
