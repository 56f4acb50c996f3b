#include "textio/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstdint>
#include <memory>

namespace textio {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
// GB18030 four-byte codes 81 30 81 30 .. 84 31 A4 39 cover the rest of the Basic Multilingual
// Plane; codes from 90 30 81 30 on count the supplementary planes linearly.
constexpr int kBmpFourByteCodes = 39420;

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

constexpr int FourByteIndex(const unsigned char* p) {
  return (((p[0] - 0x81) * 10 + (p[1] - 0x30)) * 126 + (p[2] - 0x81)) * 10 + (p[3] - 0x30);
}

constexpr unsigned char kFirstSupplementaryCode[] = {0x90, 0x30, 0x81, 0x30};
constexpr int kSupplementaryBase = FourByteIndex(kFirstSupplementaryCode);

void AppendFourByte(QByteArray& out, int index) {
  char code[4];
  code[3] = static_cast<char>(0x30 + index % 10);
  index /= 10;
  code[2] = static_cast<char>(0x81 + index % 126);
  index /= 126;
  code[1] = static_cast<char>(0x30 + index % 10);
  index /= 10;
  code[0] = static_cast<char>(0x81 + index);
  out.append(code, 4);
}

// Lookup tables built once from the system's code page 936 and GB18030 converters. They are
// kept strictly inverse to each other, so decoding then encoding gives back every byte.
struct Tables {
  std::array<char16_t, 0x10000> fromGbk{};       // (lead << 8 | trail), or 0x80 alone
  std::array<std::uint16_t, 0x10000> toGbk{};    // character -> GBK code, 0 = none
  std::array<char16_t, kBmpFourByteCodes> fromFourByte{};
  // character -> four-byte index + 1; consulted only for characters without a GBK code
  std::array<std::uint16_t, 0x10000> toFourByte{};

  Tables() {
    for (int lead = 0x80; lead <= 0xFE; ++lead) {
      for (int trail = (lead == 0x80 ? -1 : 0x40); trail <= 0xFE; ++trail) {
        if (trail == 0x7F || (trail >= 0 && lead == 0x80)) continue;
        QByteArray code;
        code.append(static_cast<char>(lead));
        if (trail >= 0) code.append(static_cast<char>(trail));
        QStringDecoder decoder("GBK");
        const QString text = decoder.decode(code);
        if (decoder.hasError() || text.size() != 1 || text[0].unicode() == kReplacement) continue;
        const char16_t ch = text[0].unicode();
        if (toGbk[ch] != 0) continue;  // keep the first code; the mapping stays one to one
        const auto key = static_cast<std::uint16_t>(trail >= 0 ? (lead << 8 | trail) : lead);
        fromGbk[key] = ch;
        toGbk[ch] = key;
      }
    }

    QByteArray all;
    all.reserve(kBmpFourByteCodes * 4);
    for (int i = 0; i < kBmpFourByteCodes; ++i) AppendFourByte(all, i);
    QStringDecoder decoder("GB18030");
    const QString text = decoder.decode(all);
    // The decoder also answers U+FFFD for a code it does not know; only U+FFFD's own code
    // may claim it.
    QStringEncoder replacementEncoder("GB18030");
    const QByteArray replacementCode = replacementEncoder.encode(QString(QChar(kReplacement)));
    if (text.size() == kBmpFourByteCodes) {
      for (int i = 0; i < kBmpFourByteCodes; ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == kReplacement && all.mid(i * 4, 4) != replacementCode) continue;
        if (QChar::isSurrogate(ch) || toFourByte[ch] != 0) continue;
        fromFourByte[i] = ch;
        toFourByte[ch] = static_cast<std::uint16_t>(i + 1);
      }
    }

    // A few characters (CJK radicals, Latin letters with acute) sit in GB18030's two-byte area
    // where code page 936 keeps a private-use character instead; GB18030 gives that
    // private-use character a four-byte code. The two swap places here: the private-use
    // character keeps its GBK code and the real character takes the four-byte one, so both
    // survive a save and load.
    for (int ch = 0x80; ch < 0x10000; ++ch) {
      if (QChar::isSurrogate(static_cast<char16_t>(ch)) || toGbk[ch] != 0 || toFourByte[ch] != 0)
        continue;
      // The system's GB18030 encoder puts this character in the two-byte area.
      QStringEncoder encoder("GB18030");
      const QByteArray code = encoder.encode(QString(QChar(static_cast<char16_t>(ch))));
      if (encoder.hasError() || code.size() != 2) continue;
      const auto key = static_cast<std::uint16_t>(static_cast<unsigned char>(code[0]) << 8 |
                                                  static_cast<unsigned char>(code[1]));
      const char16_t privateUse = fromGbk[key];
      if (privateUse == 0 || toFourByte[privateUse] == 0) continue;
      const int index = toFourByte[privateUse] - 1;
      fromFourByte[index] = static_cast<char16_t>(ch);
      toFourByte[ch] = static_cast<std::uint16_t>(index + 1);
    }
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
