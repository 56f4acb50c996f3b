// Plain text files for the window: the encoding rule of plaintext/textfile.h over QByteArray
// and QString.
#pragma once

#include <QByteArray>
#include <QString>

#include "plaintext/textfile.h"

namespace textio {

using plaintext::Encoding;
using plaintext::TextFormat;
inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

struct DecodedText {
  QString text;
  TextFormat format;
};

// By plaintext::DecodeFile's rule; encoding the text again in its format gives back the same
// bytes.
DecodedText DecodeFile(const QByteArray& bytes);

// Only the text.
QString DecodeText(const QByteArray& bytes);

// The text in the format, with its mark when the format has one.
QByteArray EncodeFile(const QString& text, TextFormat format);

// Whether bytes are well-formed UTF-8 holding at least one character beyond ASCII.
bool IsMultiByteUtf8(const QByteArray& bytes);

}  // namespace textio
