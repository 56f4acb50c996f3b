#include "textio/textfile.h"

#include "textio/gbk.h"

namespace textio {

DecodedText DecodeFile(const QByteArray& bytes) {
  plaintext::DecodedText decoded = plaintext::DecodeFile(BytesView(bytes));
  return {FromUnits(decoded.text), decoded.format};
}

QString DecodeText(const QByteArray& bytes) { return DecodeFile(bytes).text; }

QByteArray EncodeFile(const QString& text, TextFormat format) {
  return FromBytes(plaintext::EncodeFile(UnitsView(text), format));
}

bool IsMultiByteUtf8(const QByteArray& bytes) { return plaintext::IsMultiByteUtf8(BytesView(bytes)); }

}  // namespace textio
