#include "textio/gbk.h"

#include "plaintext/gbk.h"
#include "plaintext/lines.h"

namespace textio {

QString DecodeGbk(const QByteArray& bytes) { return FromUnits(plaintext::DecodeGbk(BytesView(bytes))); }

QByteArray EncodeText(const QString& text) { return FromBytes(plaintext::EncodeGbk(UnitsView(text))); }

QStringList SplitLines(const QString& text) {
  QStringList lines;
  for (const std::u16string_view line : plaintext::SplitLines(UnitsView(text))) {
    lines.append(FromUnits(line));
  }
  return lines;
}

}  // namespace textio
