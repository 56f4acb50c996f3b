// The codec's generated data against the system's converters it was made from: every code
// decodes, and every character encodes, byte for byte as the reference codec does.
#include <gtest/gtest.h>

#include "gbkgen/reference.h"
#include "textio/gbk.h"
#include "plaintext/gbktable.h"

namespace {

using namespace plaintext::gbktable;

const gbkgen::SystemCodec& Reference() {
  static const gbkgen::SystemCodec codec = gbkgen::SystemCodecTables();
  return codec;
}

QString Expected(char16_t ch) { return QString(QChar(ch != 0 ? ch : char16_t{0xFFFD})); }

TEST(GbkTable, EveryOneAndTwoByteCodeDecodesAsTheSystemConverter) {
  const auto& reference = Reference();
  for (int code = 0x80; code <= 0xFF; ++code) {
    if (code >= kFirstLead && code <= kLastLead) continue;  // a lead byte alone is no code
    const QByteArray bytes(1, static_cast<char>(code));
    ASSERT_EQ(textio::DecodeGbk(bytes), Expected(reference.fromGbk[code])) << code;
  }
  for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
    for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      if (trail == 0x7F) continue;
      const QByteArray bytes = QByteArray().append(char(lead)).append(char(trail));
      ASSERT_EQ(textio::DecodeGbk(bytes), Expected(reference.fromGbk[lead << 8 | trail]))
          << bytes.toHex().constData();
    }
  }
}

TEST(GbkTable, EveryFourByteCodeOfTheBasicPlaneDecodesAsTheSystemConverter) {
  const auto& reference = Reference();
  for (int index = 0; index < kBmpFourByteCodes; ++index) {
    QByteArray bytes(4, '\0');
    FourByteCode(index, bytes.data());
    ASSERT_EQ(textio::DecodeGbk(bytes), Expected(reference.fromFourByte[index]))
        << bytes.toHex().constData();
  }
}

TEST(GbkTable, EveryCharacterOfTheBasicPlaneEncodesAsTheSystemConverter) {
  const auto& reference = Reference();
  const auto fourByte = [](int index) {
    QByteArray bytes(4, '\0');
    FourByteCode(index, bytes.data());
    return bytes;
  };
  for (int ch = 0x80; ch < 0x10000; ++ch) {
    if (ch >= 0xD800 && ch < 0xE000) continue;
    QByteArray expected;
    if (const int code = reference.toGbk[ch]; code > 0xFF)
      expected = QByteArray().append(char(code >> 8)).append(char(code & 0xFF));
    else if (code != 0)
      expected = QByteArray(1, char(code));
    else if (reference.toFourByte[ch] != 0)
      expected = fourByte(reference.toFourByte[ch] - 1);
    else
      expected = fourByte(reference.toFourByte[0xFFFD] - 1);
    ASSERT_EQ(textio::EncodeText(QString(QChar(char16_t(ch)))).toHex(), expected.toHex()) << ch;
  }
}

}  // namespace
