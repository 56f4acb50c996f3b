// Text at the file boundary for the window: files hold code page 936 (GBK) bytes; inside, text
// is a QString. The codec itself is plaintext/gbk.h; these adapt it to Qt's types.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string_view>

namespace textio {

// GBK bytes (and GB18030 four-byte sequences) to text, whatever they begin with. A file whose
// encoding is not known goes through DecodeFile (textfile.h) instead.
QString DecodeGbk(const QByteArray& bytes);

// Text to GBK bytes; a character that GBK cannot hold becomes its GB18030 four-byte sequence,
// never "?".
QByteArray EncodeText(const QString& text);

// Splits at CR LF, lone CR and lone LF. "a\r\nb" gives {"a", "b"}; "a\n" gives {"a", ""}.
QStringList SplitLines(const QString& text);

// Qt's and the plain layer's types for the same bytes and code units.
inline std::string_view BytesView(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}
inline std::u16string_view UnitsView(QStringView text) {
  return {text.utf16(), static_cast<std::size_t>(text.size())};
}
inline QString FromUnits(std::u16string_view units) {
  return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}
inline QByteArray FromBytes(std::string_view bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace textio
