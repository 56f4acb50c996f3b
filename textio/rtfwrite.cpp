#include "textio/gbk.h"
#include "textio/rtf.h"

namespace textio {
namespace {

void AppendHex(QByteArray& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

// Writes text as 7-bit RTF. Outside ASCII, with unicode set, each character is a \uN for
// readers that know Unicode followed by its code page 936 bytes for those that do not (or "?"
// when it has none there), with \ucN kept equal to the number of those stand-ins; *uc is the
// count in force. Without unicode (the font table), only the code page 936 bytes.
void AppendEscapedText(QByteArray& out, const QString& text, bool unicode, int* uc = nullptr) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i].unicode();
    if (ch == QChar::ParagraphSeparator) {
      out += "\\par\r\n";
    } else if (ch == QChar::LineSeparator) {
      out += "\\line ";
    } else if (ch == u'\t') {
      out += "\\tab ";
    } else if (ch == u'\\' || ch == u'{' || ch == u'}' || ch < 0x20) {
      AppendHex(out, static_cast<unsigned char>(ch));
    } else if (ch < 0x80) {
      out += static_cast<char>(ch);
    } else {
      const bool pair = QChar::isHighSurrogate(ch) && i + 1 < text.size() &&
                        text[i + 1].isLowSurrogate();
      const qsizetype units = pair ? 2 : 1;
      const QByteArray code = EncodeText(text.mid(i, units));
      const bool inCodePage = code.size() <= 2;
      if (!unicode && inCodePage) {
        for (char byte : code) AppendHex(out, static_cast<unsigned char>(byte));
        continue;
      }
      const int standIns = inCodePage ? static_cast<int>(code.size()) : 1;
      if (uc != nullptr && *uc != standIns) {
        out += "\\uc" + QByteArray::number(standIns) + ' ';
        *uc = standIns;
      }
      for (qsizetype k = 0; k < units; ++k) {
        out += "\\u";
        out += QByteArray::number(static_cast<std::int16_t>(text[i + k].unicode()));
        if (inCodePage) {
          for (char byte : code) AppendHex(out, static_cast<unsigned char>(byte));
        } else {
          out += '?';
        }
      }
      i += units - 1;
    }
  }
}

}  // namespace

QByteArray WriteRtf(const std::vector<TextRun>& runs, const QString& fontFamily,
                    int defaultHalfPoints) {
  QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052{\\fonttbl{\\f0\\fnil\\fcharset134 ";
  AppendEscapedText(out, fontFamily.isEmpty() ? QStringLiteral("宋体") : fontFamily, false);
  out += ";}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs";
  out += QByteArray::number(defaultHalfPoints);
  out += ' ';

  int uc = 1;
  bool bold = false;
  bool italic = false;
  int halfPoints = defaultHalfPoints;
  bool anyText = false;
  for (const TextRun& run : runs) {
    if (run.text.isEmpty()) continue;
    anyText = true;
    if (run.bold != bold) out += run.bold ? "\\b " : "\\b0 ";
    if (run.italic != italic) out += run.italic ? "\\i " : "\\i0 ";
    const int size = run.halfPoints > 0 ? run.halfPoints : defaultHalfPoints;
    if (size != halfPoints) out += "\\fs" + QByteArray::number(size) + ' ';
    bold = run.bold;
    italic = run.italic;
    halfPoints = size;
    AppendEscapedText(out, run.text, true, &uc);
  }
  // Every paragraph ends in \par, the last one included; an empty box has no paragraph.
  if (anyText) out += "\\par\r\n";
  out += "}\r\n";
  return out;
}

}  // namespace textio
