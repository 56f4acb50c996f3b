// Text at the file boundary: files hold code page 936 (GBK) bytes; inside, text is Unicode.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace textio {

// GBK bytes (and GB18030 four-byte sequences) to text; a file that begins with a UTF-8
// byte-order mark is read as UTF-8.
QString DecodeText(const QByteArray& bytes);

// The same without the byte-order mark check: bytes that are GBK whatever they begin with
// (the text of an RTF document).
QString DecodeGbk(const QByteArray& bytes);

// Text to GBK bytes; a character that GBK cannot hold becomes its GB18030 four-byte sequence,
// never "?".
QByteArray EncodeText(const QString& text);

// Splits at CR LF, lone CR and lone LF. "a\r\nb" gives {"a", "b"}; "a\n" gives {"a", ""}.
QStringList SplitLines(const QString& text);

}  // namespace textio
