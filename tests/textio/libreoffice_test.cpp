// LibreOffice as the independent reference: it reads what the result box writes, and it
// writes RTF (from a web page) that the reader must read as LibreOffice itself does.
#include "libreoffice.h"
#include "textio/rtf.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

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

}  // namespace
