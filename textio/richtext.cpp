#include "textio/richtext.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace textio {
namespace {

// QTextDocument marks an embedded object (a picture) with this character; it has no text.
constexpr char16_t kObjectReplacement = 0xFFFC;

void AddRun(std::vector<TextRun>& runs, TextRun run) {
  if (run.text.isEmpty()) return;
  if (!runs.empty() && runs.back().bold == run.bold && runs.back().italic == run.italic &&
      runs.back().halfPoints == run.halfPoints) {
    runs.back().text += run.text;
  } else {
    runs.push_back(std::move(run));
  }
}

}  // namespace

int HalfPointsOf(const QFont& font) {
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
  return points > 0 ? static_cast<int>(std::lround(points * 2)) : 0;
}

std::vector<TextRun> DocumentRuns(const QTextDocument& document) {
  std::vector<TextRun> runs;
  const QFont defaultFont = document.defaultFont();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin()) {
      if (runs.empty()) runs.push_back(TextRun{});
      runs.back().text += QChar(QChar::ParagraphSeparator);
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      const QTextCharFormat format = fragment.charFormat();
      const QFont font = format.font().resolve(defaultFont);
      const bool ownSize = format.hasProperty(QTextFormat::FontPointSize) ||
                           format.hasProperty(QTextFormat::FontPixelSize);
      QString text = fragment.text();
      text.remove(QChar(kObjectReplacement));
      AddRun(runs, TextRun{text, font.bold(), font.italic(), ownSize ? HalfPointsOf(font) : 0});
    }
  }
  return runs;
}

void SetDocumentRuns(QTextDocument* document, const std::vector<TextRun>& runs,
                     int defaultHalfPoints) {
  document->clear();
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  for (const TextRun& run : runs) {
    QTextCharFormat format;
    if (run.bold) format.setFontWeight(QFont::Bold);
    if (run.italic) format.setFontItalic(true);
    if (run.halfPoints > 0 && run.halfPoints != defaultHalfPoints)
      format.setFontPointSize(run.halfPoints / 2.0);
    cursor.insertText(run.text, format);
  }
  cursor.endEditBlock();
}

}  // namespace textio
