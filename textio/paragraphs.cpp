#include "textio/paragraphs.h"

#include <QTextDocument>

namespace textio {
namespace {

constexpr char kGroupedProperty[] = "trevanaGroupedParagraphs";

// Decides, line by line, which line ends stay paragraph ends.
class Grouper {
 public:
  // True when the line that has just ended (of the given length) closes its paragraph.
  bool EndsParagraph(qsizetype lineLength) {
    ++lines_;
    chars_ += lineLength;
    if (lines_ < kLinesPerParagraph && chars_ < kCharsPerParagraph) return false;
    lines_ = 0;
    chars_ = 0;
    return true;
  }

 private:
  qsizetype lines_ = 0;
  qsizetype chars_ = 0;
};

qsizetype CountLineEnds(const QString& text) {
  qsizetype ends = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (text[i] == u'\n') {
      ++ends;
    } else if (text[i] == u'\r') {
      ++ends;
      if (i + 1 < n && text[i + 1] == u'\n') ++i;
    }
  }
  return ends;
}

}  // namespace

QString BoxLines(const QString& text, bool* grouped) {
  const bool group = CountLineEnds(text) + 1 > kMostSeparateLines &&
                     !text.contains(QChar(QChar::LineSeparator));
  if (grouped != nullptr) *grouped = group;
  QString lines;
  lines.reserve(text.size());
  Grouper grouper;
  qsizetype lineStart = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = text[i];
    if (ch != u'\r' && ch != u'\n') {
      lines += ch;
      continue;
    }
    const qsizetype length = lines.size() - lineStart;
    lines += !group || grouper.EndsParagraph(length) ? QChar(u'\n') : QChar(QChar::LineSeparator);
    lineStart = lines.size();
    if (ch == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
  }
  return lines;
}

bool GroupParagraphs(std::vector<TextRun>& runs) {
  qsizetype paragraphs = 1;
  for (const TextRun& run : runs) {
    if (run.text.contains(QChar(QChar::LineSeparator))) return false;
    paragraphs += run.text.count(QChar(QChar::ParagraphSeparator));
  }
  if (paragraphs <= kMostSeparateLines) return false;
  Grouper grouper;
  qsizetype lineLength = 0;
  for (TextRun& run : runs) {
    for (QChar& ch : run.text) {
      if (ch != QChar::ParagraphSeparator) {
        ++lineLength;
        continue;
      }
      if (!grouper.EndsParagraph(lineLength)) ch = QChar::LineSeparator;
      lineLength = 0;
    }
  }
  return true;
}

void UngroupParagraphs(std::vector<TextRun>& runs) {
  for (TextRun& run : runs) run.text.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
}

void MarkGrouped(QTextDocument* document, bool grouped) {
  document->setProperty(kGroupedProperty, grouped);
}

bool IsGrouped(const QTextDocument& document) {
  return document.property(kGroupedProperty).toBool();
}

}  // namespace textio
