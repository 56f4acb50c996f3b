// The plain text layer against Qt's own converters, on random text: bagsolve and the web page
// use the layer without Qt and must read and write every byte as the window always did.
#include "plaintext/textfile.h"
#include "plaintext/unicode.h"
#include "textio/gbk.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <random>

namespace {

// Bytes that hit every branch of the decoders: ASCII, line breaks, UTF-8 lead and continuation
// bytes, GBK leads and trails, four-byte digits, the marks of every encoding.
QByteArray RandomBytes(std::mt19937& random) {
  static const unsigned char kPool[] = {'a', '0', '9', '\r', '\n', 0x00, 0x7F, 0x80, 0x81, 0x90,
                                        0xA0, 0xBF, 0xC2, 0xC0, 0xDF, 0xE0, 0xE4, 0xED, 0xEF,
                                        0xF0, 0xF4, 0xF5, 0xFE, 0xFF, 0xBB, 0xB8, 0xAD, 0x30};
  QByteArray bytes;
  const int length = static_cast<int>(random() % 24);
  for (int i = 0; i < length; ++i) {
    bytes.append(random() % 3 == 0 ? static_cast<char>(random() % 256)
                                   : static_cast<char>(kPool[random() % sizeof kPool]));
  }
  return bytes;
}

// Code units with surrogates alone, in pairs and reversed.
QString RandomUnits(std::mt19937& random) {
  static const char16_t kPool[] = {u'a', u'\r', 0x00E9, 0x4E2D, 0xD83D, 0xDE00, 0xDBFF,
                                   0xDC00, 0xFFFD, 0xFEFF, 0xFFFF, 0x20AC, 0x0080};
  QString text;
  const int length = static_cast<int>(random() % 12);
  for (int i = 0; i < length; ++i) {
    text.append(QChar(random() % 4 == 0 ? static_cast<char16_t>(random() % 0x10000)
                                        : kPool[random() % std::size(kPool)]));
  }
  return text;
}

std::u16string Units(const QString& text) { return std::u16string(textio::UnitsView(text)); }

TEST(PlainTextAgainstQt, Utf8BothWaysAsQtConvertsIt) {
  std::mt19937 random(20);
  for (int round = 0; round < 200000; ++round) {
    const QByteArray bytes = RandomBytes(random);
    ASSERT_EQ(plaintext::Utf8ToUtf16(textio::BytesView(bytes)), Units(QString::fromUtf8(bytes)))
        << bytes.toHex().toStdString();
    const QString text = RandomUnits(random);
    ASSERT_EQ(plaintext::Utf16ToUtf8(textio::UnitsView(text)), text.toStdString())
        << QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2).toHex().toStdString();
  }
}

// A whole file as bagsolve reads it (UTF-8, straight from the bytes where they are ASCII or
// valid UTF-8) against the decoded text taken to UTF-8 by Qt, with and without each mark.
TEST(PlainTextAgainstQt, FileToUtf8AsQtWritesTheDecodedText) {
  std::mt19937 random(936);
  const QByteArray marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  for (int round = 0; round < 100000; ++round) {
    const QByteArray bytes = marks[round % 4] + RandomBytes(random);
    const QString decoded = textio::FromUnits(plaintext::DecodeFile(textio::BytesView(bytes)).text);
    ASSERT_EQ(plaintext::DecodeFileToUtf8(textio::BytesView(bytes)), decoded.toStdString())
        << bytes.toHex().toStdString();
  }
}

}  // namespace
