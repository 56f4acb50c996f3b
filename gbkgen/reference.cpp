#include "gbkgen/reference.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include "plaintext/gbktable.h"

namespace gbkgen {

using namespace plaintext::gbktable;

namespace {
constexpr char16_t kReplacement = 0xFFFD;
}  // namespace

SystemCodec SystemCodecTables() {
  SystemCodec codec;
  codec.fromGbk.assign(0x10000, 0);
  codec.toGbk.assign(0x10000, 0);
  codec.fromFourByte.assign(kBmpFourByteCodes, 0);
  codec.toFourByte.assign(0x10000, 0);
  auto& [fromGbk, toGbk, fromFourByte, toFourByte] = codec;

  for (int lead = 0x80; lead <= kLastLead; ++lead) {
    for (int trail = (lead == 0x80 ? -1 : kFirstTrail); trail <= kLastTrail; ++trail) {
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

  QByteArray all(kBmpFourByteCodes * 4, '\0');
  for (int i = 0; i < kBmpFourByteCodes; ++i) FourByteCode(i, all.data() + i * 4);
  QStringDecoder decoder("GB18030");
  const QString text = decoder.decode(all);
  // The decoder also answers U+FFFD for a code it does not know; only U+FFFD's own code may
  // claim it.
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
  // where code page 936 keeps a private-use character instead; GB18030 gives that private-use
  // character a four-byte code. The two swap places here: the private-use character keeps its
  // GBK code and the real character takes the four-byte one, so both survive a save and load.
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
  return codec;
}

}  // namespace gbkgen
