#include "textio/gbk.h"
#include "textio/paragraphs.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

using textio::TextRun;

struct Shape {
  const char* name;
  int lines;
  int longLine;  // every longEvery-th line has this many characters, the others 0..30
  int longEvery;
  const char* lineEnd;
};

QString MakeText(const Shape& shape) {
  QRandomGenerator random(7);
  QString text;
  for (int i = 0; i < shape.lines; ++i) {
    if (i > 0) text += QString::fromLatin1(shape.lineEnd);
    const int length = i % shape.longEvery == 0 ? shape.longLine : random.bounded(31);
    text += QString(length, QChar(u'a' + i % 26));
  }
  return text;
}

class Grouping : public testing::TestWithParam<Shape> {};

// Whatever the shape, the box shows the same lines, and each paragraph stays small enough to
// lay out when it comes into view.
TEST_P(Grouping, KeepsEveryLineAndBoundsEachParagraph) {
  const Shape& shape = GetParam();
  const QString text = MakeText(shape);
  bool grouped = false;
  const QString lines = textio::BoxLines(text, &grouped);
  EXPECT_EQ(grouped, shape.lines > textio::kMostSeparateLines);
  QString shown = lines;
  shown.replace(QChar::LineSeparator, u'\n');
  ASSERT_EQ(shown, textio::SplitLines(text).join(u'\n'));

  for (const QString& paragraph : lines.split(u'\n')) {
    const QStringList inside = paragraph.split(QChar::LineSeparator);
    ASSERT_LE(inside.size(), textio::kLinesPerParagraph);
    // Only the last line may take a paragraph past the character bound.
    qsizetype before = 0;
    for (qsizetype i = 0; i + 1 < inside.size(); ++i) before += inside[i].size();
    ASSERT_LT(before, textio::kCharsPerParagraph);
  }

  // The same text as a document's runs (paragraphs ending in U+2029, in pieces of two formats)
  // groups alike, and ungrouping gives the runs back.
  std::vector<TextRun> runs;
  QString rest = text;
  rest.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  rest.replace(u'\n', QChar::ParagraphSeparator);
  for (qsizetype at = 0; at < rest.size(); at += 777) {
    runs.push_back(TextRun{rest.mid(at, 777), at % 2 == 0, false, 0});
  }
  const std::vector<TextRun> original = runs;
  EXPECT_EQ(textio::GroupParagraphs(runs), grouped);
  QString joined;
  for (const TextRun& run : runs) joined += run.text;
  EXPECT_EQ(joined.replace(QChar::ParagraphSeparator, u'\n'), lines);
  if (grouped) textio::UngroupParagraphs(runs);
  EXPECT_EQ(runs, original);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Grouping,
    testing::Values(Shape{"FewLinesStaySeparate", 10'000, 30, 1, "\r\n"},
                    Shape{"ManyShortLines", 10'001, 0, 1'000'000, "\n"},
                    Shape{"ManyLinesOfLoneCr", 25'000, 0, 7, "\r"},
                    Shape{"LongLinesEndParagraphsEarly", 12'000, 3'000, 3, "\r\n"},
                    Shape{"LinesLongerThanAParagraph", 11'000, 25'000, 97, "\n"}),
    [](const testing::TestParamInfo<Shape>& info) { return info.param.name; });

}  // namespace
