// LibreOffice as the independent reference: it reads what the result box writes, and it
// writes RTF (from a web page) that the reader must read as LibreOffice itself does.
#include "libreoffice.h"
#include "textio/richtext.h"
#include "textio/rtf.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <optional>

namespace {

QString PlainText(const std::vector<textio::TextRun>& runs) {
  QString text;
  for (const textio::TextRun& run : runs) text += run.text;
  return text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
}

QString WithoutBlanks(QString text) {
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  return text.remove(blanks);
}

bool Put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(LibreOffice, ReadsWhatTheResultBoxWrites) {
  REQUIRE_LIBREOFFICE();
  const QString text =
      QString::fromUtf16(u"物品总数:4\u2029最优值 Best {Value} \\ 26\u2029한 😀 € Grüezi ΑΩ");
  const QByteArray rtf = textio::WriteRtf(
      {{text.left(2), false, false, 0}, {text.mid(2), true, false, 0}}, QStringLiteral("宋体"), 23);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.rtf"));
  ASSERT_TRUE(Put(path, rtf));
  const QByteArray txt =
      ConvertWithLibreOffice({path}, QStringLiteral("txt:Text (encoded):UTF8"), "txt").value(0);
  EXPECT_EQ(LibreOfficeText(txt).trimmed(), QString(text).replace(QChar::ParagraphSeparator, u'\n'));
  const QByteArray html = ConvertWithLibreOffice({path}, QStringLiteral("html"), "html").value(0);
  EXPECT_TRUE(html.contains("<b>")) << html.constData();
}

TEST(LibreOffice, ItsRtfReadsAsItReadsIt) {
  REQUIRE_LIBREOFFICE();
  QTemporaryDir dir;
  const QString page = dir.filePath(QStringLiteral("page.html"));
  ASSERT_TRUE(Put(page, QStringLiteral(
      "<html><head><meta charset=\"utf-8\"></head><body>"
      "<p><b>粗体Bold</b> normal <span style=\"font-size:20pt\">大字Big</span> <i>斜体Italic</i></p>"
      "<p>Grüezi café Ελληνικά Русский Čeština ภาษาไทย 日本語のテキスト</p>"
      "<ul><li>one</li><li>two</li></ul><ol><li>first</li></ol>"
      "<p><a href=\"http://x.example/\">链接link</a></p>"
      "<table><tr><td>a1</td><td>b1</td></tr></table></body></html>").toUtf8()));
  const QByteArray rtf = ConvertWithLibreOffice({page}, QStringLiteral("rtf:Rich Text Format"), "rtf").value(0);
  ASSERT_FALSE(rtf.isEmpty());
  const QString rtfPath = dir.filePath(QStringLiteral("written.rtf"));
  ASSERT_TRUE(Put(rtfPath, rtf));
  const QString expected = LibreOfficeText(
      ConvertWithLibreOffice({rtfPath}, QStringLiteral("txt:Text (encoded):UTF8"), "txt").value(0));

  const auto runs = textio::ReadRtf(rtf);
  ASSERT_TRUE(runs.has_value());
  // Line layout (list indents, table cells) differs between the two; the characters may not.
  EXPECT_EQ(WithoutBlanks(PlainText(*runs)), WithoutBlanks(expected));
  // Both halves of "粗体Bold" are bold, both of "大字Big" 20 points.
  for (const auto& [piece, bold, halfPoints] :
       {std::tuple{"粗体", true, 0}, std::tuple{"Bold", true, 0}, std::tuple{"大字", false, 40},
        std::tuple{"Big", false, 40}}) {
    const auto run = std::find_if(runs->begin(), runs->end(), [&](const textio::TextRun& r) {
      return r.text.contains(QString::fromUtf8(piece));
    });
    ASSERT_NE(run, runs->end()) << piece;
    EXPECT_EQ(run->bold, bold) << piece;
    if (halfPoints > 0) {
      EXPECT_EQ(run->halfPoints, halfPoints) << piece;
    }
  }
}

// The formats of the run that holds the piece of text, its size made explicit.
std::optional<textio::TextRun> RunWith(const std::vector<textio::TextRun>& runs, const QString& piece,
                                       int defaultHalfPoints) {
  for (textio::TextRun run : runs) {
    if (!run.text.contains(piece)) continue;
    run.text = piece;
    if (run.halfPoints == 0) run.halfPoints = defaultHalfPoints;
    return run;
  }
  return std::nullopt;
}

std::vector<textio::TextRun> ThroughLibreOffice(const QByteArray& rtf) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("box.rtf"));
  if (!Put(path, rtf)) return {};
  const QByteArray again =
      ConvertWithLibreOffice({path}, QStringLiteral("rtf:Rich Text Format"), "rtf").value(0);
  return textio::ReadRtf(again).value_or(std::vector<textio::TextRun>{});
}

// A word processor's formats go through the result box (loaded, saved) and LibreOffice reads
// the saved document with each of them: character formats, colours, alignment and indents.
TEST(LibreOffice, ReadsEveryFormatTheResultBoxSaves) {
  REQUIRE_LIBREOFFICE();
  if (QCoreApplication::instance() == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_textio";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app =
      QCoreApplication::instance() == nullptr ? new QGuiApplication(argc, argv) : nullptr;
  (void)app;

  using textio::Alignment;
  using textio::Underline;
  std::vector<textio::TextRun> runs;
  // A run as written down here: its colour and paragraph format as fields of their own.
  struct Written : textio::TextRun {
    std::uint32_t color = kNoColor;
    textio::ParagraphFormat paragraph;
  };
  const auto add = [&](QString text, auto&& change) {
    Written written;
    written.text = std::move(text);
    change(written);
    textio::TextRun run = written;
    run.shared = textio::SharedFormatIndex({written.color, written.paragraph});
    runs.push_back(std::move(run));
  };
  add(QStringLiteral("标题 Heading\u2029"), [](auto& r) {
    r.bold = true;
    r.underline = Underline::kSingle;
    r.halfPoints = 32;
    r.paragraph.alignment = Alignment::kCenter;
  });
  add(QStringLiteral("红色 red right\u2029"), [](auto& r) {
    r.color = 0xC00000;
    r.paragraph.alignment = Alignment::kRight;
  });
  add(QStringLiteral("struck"), [](auto& r) {
    r.strike = true;
    r.paragraph.alignment = Alignment::kJustify;
  });
  add(QStringLiteral(" double"), [](auto& r) {
    r.underline = Underline::kDouble;
    r.italic = true;
    r.paragraph.alignment = Alignment::kJustify;
  });
  add(QStringLiteral(" dotted blue\u2029"), [](auto& r) {
    r.underline = Underline::kDotted;
    r.color = 0x0070C0;
    r.paragraph.alignment = Alignment::kJustify;
  });
  add(QStringLiteral("\u2022\thanging bullet\u2029"), [](auto& r) {
    r.paragraph.leftTwips = 360;
    r.paragraph.firstLineTwips = -360;
  });
  add(QStringLiteral("quoted both sides"), [](auto& r) {
    r.paragraph.leftTwips = 720;
    r.paragraph.rightTwips = 1440;
  });

  // Loaded into the box's document and saved from it again.
  QTextDocument box;
  textio::SetDocumentRuns(&box, runs, 23);
  const std::vector<textio::TextRun> saved = textio::DocumentRuns(box);
  const std::vector<textio::TextRun> read = ThroughLibreOffice(textio::WriteRtf(saved, "宋体", 23));
  ASSERT_FALSE(read.empty());
  for (const textio::TextRun& run : runs) {
    // Word by word: LibreOffice gives the blanks between scripts and the paragraph ends formats
    // of their own.
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{2029}]+"));
    for (const QString& piece : run.text.split(blanks, Qt::SkipEmptyParts)) {
      const auto expected = RunWith(runs, piece, 23);
      const auto inBox = RunWith(saved, piece, 23);
      const auto back = RunWith(read, piece, 23);
      ASSERT_TRUE(inBox.has_value()) << piece.toStdString();
      ASSERT_TRUE(back.has_value()) << piece.toStdString() << " in " << PlainText(read).toStdString();
      EXPECT_EQ(*inBox, *expected) << piece.toStdString();
      EXPECT_EQ(*back, *expected) << piece.toStdString();
    }
  }
}

// The hand-made document of a word processor's toolbar formats reads with the formats
// LibreOffice reads in it (through the RTF it writes of it).
TEST(LibreOffice, ReadsTheToolbarFormatsAsItDoes) {
  REQUIRE_LIBREOFFICE();
  QFile file(QStringLiteral(TREVANA_RTF_CORPUS "/handmade/formats.rtf"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray rtf = file.readAll();
  const auto mine = textio::ReadRtf(rtf);
  ASSERT_TRUE(mine.has_value());
  const std::vector<textio::TextRun> theirs = ThroughLibreOffice(rtf);
  int compared = 0;
  for (const char* piece : {"Packing list", "Red, on the right", "struck", "double", "some words",
                            "dotted", "blue wave", "plain left"}) {
    const auto a = RunWith(*mine, piece, 22);
    const auto b = RunWith(theirs, piece, 22);
    ASSERT_TRUE(a && b) << piece;
    EXPECT_EQ(*a, *b) << piece;
    compared += a->underline != textio::Underline::kNone || a->strike || a->color() != textio::TextRun::kNoColor ||
                a->paragraph().alignment != textio::Alignment::kLeft;
  }
  EXPECT_EQ(compared, 7);  // every piece but the plain one carries a format
}

}  // namespace
