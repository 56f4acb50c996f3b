#include "textio/gbk.h"
#include "textio/rtf.h"

#include <algorithm>

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
void AppendEscapedText(QByteArray& out, QStringView text, bool unicode, int* uc = nullptr) {
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
      const QByteArray code = EncodeText(text.mid(i, units).toString());
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

const char* UnderlineWord(Underline underline) {
  switch (underline) {
    case Underline::kNone: return "\\ulnone ";
    case Underline::kSingle: return "\\ul ";
    case Underline::kWords: return "\\ulw ";
    case Underline::kDouble: return "\\uldb ";
    case Underline::kThick: return "\\ulth ";
    case Underline::kDotted: return "\\uld ";
    case Underline::kDashed: return "\\uldash ";
    case Underline::kDashDot: return "\\uldashd ";
    case Underline::kDashDotDot: return "\\uldashdd ";
    case Underline::kWave: return "\\ulwave ";
  }
  return "\\ulnone ";
}

// \pard and the words of the format; the paragraph's character formats stay as they are.
void AppendParagraphFormat(QByteArray& out, const ParagraphFormat& format) {
  out += "\\pard";
  switch (format.alignment) {
    case Alignment::kLeft: break;
    case Alignment::kCenter: out += "\\qc"; break;
    case Alignment::kRight: out += "\\qr"; break;
    case Alignment::kJustify: out += "\\qj"; break;
  }
  if (format.leftTwips != 0) out += "\\li" + QByteArray::number(format.leftTwips);
  if (format.rightTwips != 0) out += "\\ri" + QByteArray::number(format.rightTwips);
  if (format.firstLineTwips != 0) out += "\\fi" + QByteArray::number(format.firstLineTwips);
  out += ' ';
}

}  // namespace

QByteArray WriteRtf(const std::vector<TextRun>& runs, const QString& fontFamily,
                    int defaultHalfPoints) {
  QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052{\\fonttbl{\\f0\\fnil\\fcharset134 ";
  AppendEscapedText(out, fontFamily.isEmpty() ? QStringLiteral("宋体") : fontFamily, false);
  out += ";}}";
  // The colour table: entry 0 is the reader's own colour, then each colour in order of use.
  std::vector<std::uint32_t> colors;
  for (const TextRun& run : runs)
    if (run.color() != TextRun::kNoColor &&
        std::find(colors.begin(), colors.end(), run.color()) == colors.end())
      colors.push_back(run.color());
  if (!colors.empty()) {
    out += "{\\colortbl;";
    for (const std::uint32_t color : colors)
      out += "\\red" + QByteArray::number((color >> 16) & 0xFF) + "\\green" +
             QByteArray::number((color >> 8) & 0xFF) + "\\blue" +
             QByteArray::number(color & 0xFF) + ';';
    out += '}';
  }
  out += "\r\n\\viewkind4\\uc1\\pard\\f0\\fs";
  out += QByteArray::number(defaultHalfPoints);
  out += ' ';

  int uc = 1;
  bool bold = false;
  bool italic = false;
  int halfPoints = defaultHalfPoints;
  Underline underline = Underline::kNone;
  bool strike = false;
  std::uint32_t color = TextRun::kNoColor;
  ParagraphFormat paragraph;
  bool paragraphStart = true;
  bool anyText = false;
  for (const TextRun& run : runs) {
    if (run.text.isEmpty()) continue;
    anyText = true;
    if (run.bold != bold) out += run.bold ? "\\b " : "\\b0 ";
    if (run.italic != italic) out += run.italic ? "\\i " : "\\i0 ";
    const int size = run.halfPoints > 0 ? run.halfPoints : defaultHalfPoints;
    if (size != halfPoints) out += "\\fs" + QByteArray::number(size) + ' ';
    if (run.underline != underline) out += UnderlineWord(run.underline);
    if (run.strike != strike) out += run.strike ? "\\strike " : "\\strike0 ";
    if (run.color() != color) {
      const auto entry = std::find(colors.begin(), colors.end(), run.color());
      out += "\\cf" +
             QByteArray::number(entry == colors.end() ? 0 : entry - colors.begin() + 1) + ' ';
    }
    bold = run.bold;
    italic = run.italic;
    halfPoints = size;
    underline = run.underline;
    strike = run.strike;
    color = run.color();
    // A paragraph takes the format of the run its text (or its end) starts in.
    const QStringView text(run.text);
    for (qsizetype start = 0;;) {
      const qsizetype end = text.indexOf(QChar::ParagraphSeparator, start);
      if (paragraphStart && run.paragraph() != paragraph) {
        AppendParagraphFormat(out, run.paragraph());
        paragraph = run.paragraph();
      }
      paragraphStart = false;
      AppendEscapedText(out, text.mid(start, (end < 0 ? text.size() : end) - start), true, &uc);
      if (end < 0) break;
      out += "\\par\r\n";
      paragraphStart = true;
      start = end + 1;
      if (start == text.size()) break;
    }
  }
  // Every paragraph ends in \par, the last one included; an empty box has no paragraph.
  if (anyText) out += "\\par\r\n";
  out += "}\r\n";
  return out;
}

}  // namespace textio
