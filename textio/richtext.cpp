#include "textio/richtext.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <cmath>

namespace textio {
namespace {

// QTextDocument marks an embedded object (a picture) with this character; it has no text.
constexpr char16_t kObjectReplacement = 0xFFFC;

// The kind of underline as read, which the box may draw as a plain line.
constexpr int kUnderlineKindProperty = QTextFormat::UserProperty + 19;

// The box lays out in pixels of 1/96 inch: 15 twips each.
constexpr double kTwipsPerPixel = 15.0;

void AddRun(std::vector<TextRun>& runs, TextRun run) {
  if (run.text.isEmpty()) return;
  if (!runs.empty() && runs.back().SameFormat(run)) {
    runs.back().text += run.text;
  } else {
    runs.push_back(std::move(run));
  }
}

QTextCharFormat::UnderlineStyle UnderlineStyleOf(Underline underline) {
  switch (underline) {
    case Underline::kNone: return QTextCharFormat::NoUnderline;
    case Underline::kDotted: return QTextCharFormat::DotLine;
    case Underline::kDashed: return QTextCharFormat::DashUnderline;
    case Underline::kDashDot: return QTextCharFormat::DashDotLine;
    case Underline::kDashDotDot: return QTextCharFormat::DashDotDotLine;
    case Underline::kWave: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;  // no double or words-only line in Qt
  }
}

Underline UnderlineOf(const QTextCharFormat& format) {
  if (format.underlineStyle() == QTextCharFormat::NoUnderline && !format.fontUnderline())
    return Underline::kNone;
  if (format.hasProperty(kUnderlineKindProperty))
    return static_cast<Underline>(format.intProperty(kUnderlineKindProperty));
  switch (format.underlineStyle()) {
    case QTextCharFormat::DotLine: return Underline::kDotted;
    case QTextCharFormat::DashUnderline: return Underline::kDashed;
    case QTextCharFormat::DashDotLine: return Underline::kDashDot;
    case QTextCharFormat::DashDotDotLine: return Underline::kDashDotDot;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: return Underline::kWave;
    default: return Underline::kSingle;
  }
}

std::int16_t Twips(double pixels) {
  return static_cast<std::int16_t>(std::clamp<long>(std::lround(pixels * kTwipsPerPixel),
                                                    -kMaxIndentTwips, kMaxIndentTwips));
}

ParagraphFormat ParagraphOf(const QTextBlockFormat& format) {
  ParagraphFormat paragraph;
  const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
  if (alignment & Qt::AlignHCenter) paragraph.alignment = Alignment::kCenter;
  if (alignment & Qt::AlignRight) paragraph.alignment = Alignment::kRight;
  if (alignment & Qt::AlignJustify) paragraph.alignment = Alignment::kJustify;
  paragraph.leftTwips = Twips(format.leftMargin());
  paragraph.rightTwips = Twips(format.rightMargin());
  paragraph.firstLineTwips = Twips(format.textIndent());
  return paragraph;
}

QTextBlockFormat BlockFormatOf(const ParagraphFormat& paragraph) {
  QTextBlockFormat format;
  switch (paragraph.alignment) {
    case Alignment::kLeft: format.setAlignment(Qt::AlignLeft); break;
    case Alignment::kCenter: format.setAlignment(Qt::AlignHCenter); break;
    case Alignment::kRight: format.setAlignment(Qt::AlignRight); break;
    case Alignment::kJustify: format.setAlignment(Qt::AlignJustify); break;
  }
  format.setLeftMargin(paragraph.leftTwips / kTwipsPerPixel);
  format.setRightMargin(paragraph.rightTwips / kTwipsPerPixel);
  format.setTextIndent(paragraph.firstLineTwips / kTwipsPerPixel);
  // A hanging first line (a list label) reaches the text with its tab, as word processors
  // put a tab stop at the left indent. The box measures tab stops from where the first line
  // starts.
  if (paragraph.firstLineTwips < 0 && paragraph.leftTwips > 0)
    format.setTabPositions({QTextOption::Tab(-paragraph.firstLineTwips / kTwipsPerPixel,
                                             QTextOption::LeftTab)});
  return format;
}

}  // namespace

int HalfPointsOf(const QFont& font) {
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
  return points > 0 ? static_cast<int>(std::lround(points * 2)) : 0;
}

std::vector<TextRun> DocumentRuns(const QTextDocument& document) {
  std::vector<TextRun> runs;
  const QFont defaultFont = document.defaultFont();
  ParagraphFormat previous;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin()) {
      // The separator ends the previous paragraph and takes its format.
      if (runs.empty() || runs.back().paragraph() != previous) {
        TextRun end = runs.empty() ? TextRun{} : runs.back();
        end.text.clear();
        end.SetParagraph(previous);
        runs.push_back(std::move(end));
      }
      runs.back().text += QChar(QChar::ParagraphSeparator);
    }
    const ParagraphFormat paragraph = ParagraphOf(block.blockFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      const QTextCharFormat format = fragment.charFormat();
      const QFont font = format.font().resolve(defaultFont);
      const bool ownSize = format.hasProperty(QTextFormat::FontPointSize) ||
                           format.hasProperty(QTextFormat::FontPixelSize);
      QString text = fragment.text();
      text.remove(QChar(kObjectReplacement));
      TextRun run;
      run.text = text;
      run.bold = font.bold();
      run.italic = font.italic();
      run.halfPoints = ownSize ? HalfPointsOf(font) : 0;
      run.underline = UnderlineOf(format);
      run.strike = font.strikeOut();
      SharedFormat shared{TextRun::kNoColor, paragraph};
      if (format.hasProperty(QTextFormat::ForegroundBrush))
        shared.color = format.foreground().color().rgb() & 0xFFFFFFu;
      run.shared = SharedFormatIndex(shared);
      AddRun(runs, std::move(run));
    }
    previous = paragraph;
  }
  return runs;
}

void SetDocumentRuns(QTextDocument* document, std::vector<TextRun> runs, int defaultHalfPoints) {
  document->clear();
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  // A run's paragraphs share its format; the blocks its separators open take the current one.
  ParagraphFormat paragraph;
  for (TextRun& run : runs) {
    if (run.text.isEmpty()) continue;
    if (run.paragraph() != paragraph) {
      cursor.setBlockFormat(BlockFormatOf(run.paragraph()));
      paragraph = run.paragraph();
    }
    QTextCharFormat format;
    if (run.bold) format.setFontWeight(QFont::Bold);
    if (run.italic) format.setFontItalic(true);
    if (run.halfPoints > 0 && run.halfPoints != defaultHalfPoints)
      format.setFontPointSize(run.halfPoints / 2.0);
    if (run.underline != Underline::kNone) {
      format.setUnderlineStyle(UnderlineStyleOf(run.underline));
      format.setProperty(kUnderlineKindProperty, static_cast<int>(run.underline));
    }
    if (run.strike) format.setFontStrikeOut(true);
    if (run.color() != TextRun::kNoColor) format.setForeground(QColor::fromRgb(run.color()));
    cursor.insertText(run.text, format);
    run.text = QString();
  }
  cursor.endEditBlock();
}

}  // namespace textio
