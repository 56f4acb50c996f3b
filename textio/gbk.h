// Text at the file boundary: files hold code page 936 (GBK) bytes; inside, text is Unicode.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace textio {

// GBK bytes (and GB18030 four-byte sequences) to text, whatever they begin with. A file whose
// encoding is not known goes through DecodeFile (textfile.h) instead.
QString DecodeGbk(const QByteArray& bytes);

// Text to GBK bytes; a character that GBK cannot hold becomes its GB18030 four-byte sequence,
// never "?".
QByteArray EncodeText(const QString& text);

// Splits at CR LF, lone CR and lone LF. "a\r\nb" gives {"a", "b"}; "a\n" gives {"a", ""}.
QStringList SplitLines(const QString& text);

}  // namespace textio
