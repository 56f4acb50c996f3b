#include "textio/gbk.h"

#include "textio/gbktable.h"

#include <array>
#include <cstdint>
#include <memory>

namespace textio {
namespace {

using namespace gbktable;

constexpr char16_t kReplacement = 0xFFFD;

bool IsLead(unsigned char b) { return b >= kFirstLead && b <= kLastLead; }
bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }
bool IsTrail(unsigned char b) { return b >= kFirstTrail && b <= kLastTrail && b != 0x7F; }

void AppendFourByte(QByteArray& out, int index) {
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

QString DecodeGbk(const QByteArray& bytes) {
  const Tables& tables = GetTables();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  QString text;
  text.reserve(n);
  qsizetype i = 0;
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      text.append(QChar(b));
      ++i;
    } else if (!IsLead(b)) {
      const char16_t ch = tables.fromGbk[b];
      text.append(QChar(ch != 0 ? ch : kReplacement));
      ++i;
    } else if (i + 1 < n && IsDigit(p[i + 1])) {
      if (i + 3 >= n || !IsLead(p[i + 2]) || !IsDigit(p[i + 3])) {
        text.append(QChar(kReplacement));
        ++i;
        continue;
      }
      const int index = FourByteIndex(p + i);
      if (index < kBmpFourByteCodes && tables.fromFourByte[index] != 0) {
        text.append(QChar(tables.fromFourByte[index]));
      } else if (index >= kSupplementaryBase && index - kSupplementaryBase < 0x100000) {
        const char32_t cp = 0x10000 + static_cast<char32_t>(index - kSupplementaryBase);
        text.append(QChar(QChar::highSurrogate(cp)));
        text.append(QChar(QChar::lowSurrogate(cp)));
      } else {
        text.append(QChar(kReplacement));
      }
      i += 4;
    } else if (i + 1 < n && IsTrail(p[i + 1])) {
      const char16_t ch = tables.fromGbk[b << 8 | p[i + 1]];
      text.append(QChar(ch != 0 ? ch : kReplacement));
      i += 2;
    } else {
      text.append(QChar(kReplacement));
      ++i;
    }
  }
  return text;
}

QByteArray EncodeText(const QString& text) {
  const Tables& tables = GetTables();
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    char16_t ch = text[i].unicode();
    if (ch < 0x80) {
      bytes.append(static_cast<char>(ch));
      continue;
    }
    if (QChar::isHighSurrogate(ch) && i + 1 < n && text[i + 1].isLowSurrogate()) {
      const char32_t cp = QChar::surrogateToUcs4(ch, text[i + 1].unicode());
      ++i;
      AppendFourByte(bytes, kSupplementaryBase + static_cast<int>(cp - 0x10000));
      continue;
    }
    // A lone surrogate has no code in any encoding.
    if (QChar::isSurrogate(ch)) ch = kReplacement;
    if (const std::uint16_t code = tables.toGbk[ch]; code != 0) {
      if (code > 0xFF) bytes.append(static_cast<char>(code >> 8));
      bytes.append(static_cast<char>(code & 0xFF));
    } else if (tables.toFourByte[ch] != 0) {
      AppendFourByte(bytes, tables.toFourByte[ch] - 1);
    } else {
      AppendFourByte(bytes, tables.toFourByte[kReplacement] - 1);
    }
  }
  return bytes;
}

QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = text[i];
    if (ch != u'\r' && ch != u'\n') continue;
    lines.append(text.mid(start, i - start));
    if (ch == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  lines.append(text.mid(start));
  return lines;
}

}  // namespace textio
