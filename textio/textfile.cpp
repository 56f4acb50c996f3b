#include "textio/textfile.h"

#include "textio/gbk.h"

#include <QtEndian>

namespace textio {
namespace {

constexpr char kUtf16LeMark[] = "\xFF\xFE";
constexpr char kUtf16BeMark[] = "\xFE\xFF";

// UTF-16 code units as they stand, lone surrogates included; an odd last byte is no unit.
QString DecodeUtf16(const char* data, qsizetype size, bool bigEndian) {
  QString text(size / 2, Qt::Uninitialized);
  auto* out = reinterpret_cast<char16_t*>(text.data());
  for (qsizetype i = 0; i + 1 < size; i += 2) {
    const auto* unit = reinterpret_cast<const uchar*>(data + i);
    out[i / 2] = bigEndian ? qFromBigEndian<char16_t>(unit) : qFromLittleEndian<char16_t>(unit);
  }
  if (size % 2 != 0) text += QChar(QChar::ReplacementCharacter);
  return text;
}

QByteArray EncodeUtf16(const QString& text, bool bigEndian) {
  QByteArray bytes(text.size() * 2, Qt::Uninitialized);
  auto* out = reinterpret_cast<uchar*>(bytes.data());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (bigEndian) {
      qToBigEndian(unit, out + 2 * i);
    } else {
      qToLittleEndian(unit, out + 2 * i);
    }
  }
  return bytes;
}

}  // namespace

bool IsMultiByteUtf8(const QByteArray& bytes) {
  const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
  const qsizetype n = bytes.size();
  bool multiByte = false;
  for (qsizetype i = 0; i < n;) {
    const uchar b = p[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    int length;
    uchar low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;   // no overlong form
      if (b == 0xED) high = 0x9F;  // no surrogate
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
      return false;
    }
    if (i + length > n || p[i + 1] < low || p[i + 1] > high) return false;
    for (int k = 2; k < length; ++k)
      if ((p[i + k] & 0xC0) != 0x80) return false;
    multiByte = true;
    i += length;
  }
  return multiByte;
}

DecodedText DecodeFile(const QByteArray& bytes) {
  if (bytes.startsWith(kUtf16LeMark))
    return {DecodeUtf16(bytes.constData() + 2, bytes.size() - 2, false), {Encoding::kUtf16Le, true}};
  if (bytes.startsWith(kUtf16BeMark))
    return {DecodeUtf16(bytes.constData() + 2, bytes.size() - 2, true), {Encoding::kUtf16Be, true}};
  if (bytes.startsWith(kUtf8ByteOrderMark)) {
    return {QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3), {Encoding::kUtf8, true}};
  }
  if (IsMultiByteUtf8(bytes)) return {QString::fromUtf8(bytes), {Encoding::kUtf8, false}};
  return {DecodeGbk(bytes), {Encoding::kGbk, false}};
}

QString DecodeText(const QByteArray& bytes) { return DecodeFile(bytes).text; }

QByteArray EncodeFile(const QString& text, TextFormat format) {
  switch (format.encoding) {
    case Encoding::kGbk:
      return EncodeText(text);
    case Encoding::kUtf8:
      return (format.byteOrderMark ? QByteArray(kUtf8ByteOrderMark) : QByteArray()) + text.toUtf8();
    case Encoding::kUtf16Le:
      return (format.byteOrderMark ? QByteArray(kUtf16LeMark) : QByteArray()) + EncodeUtf16(text, false);
    case Encoding::kUtf16Be:
      return (format.byteOrderMark ? QByteArray(kUtf16BeMark) : QByteArray()) + EncodeUtf16(text, true);
  }
  return {};
}

}  // namespace textio
