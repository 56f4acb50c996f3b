// The RTF the result box writes, read by an independent reader (Debian's unrtf).
#include "textio/rtf.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QString RunUnrtf(const QByteArray& rtf, const char* mode) {
  QTemporaryDir dir;
  QFile file(dir.filePath("report.rtf"));
  if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) return "<no file>";
  file.close();
  const QByteArray command = "unrtf " + QByteArray(mode) + " '" + file.fileName().toLocal8Bit() +
                             "' 2>/dev/null";
  FILE* pipe = popen(command.constData(), "r");
  if (pipe == nullptr) return "<no unrtf>";
  QByteArray output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  pclose(pipe);
  return QString::fromUtf8(output);
}

bool HaveUnrtf() {
  if (!QStandardPaths::findExecutable("unrtf").isEmpty()) return true;
  return false;
}

void RequireUnrtf() {
  if (HaveUnrtf()) return;
  if (std::getenv("CI") != nullptr) FAIL() << "unrtf is not installed";
  GTEST_SKIP() << "unrtf is not installed";
}

// The text mode's body: what follows the line of dashes, lines without their trailing spaces.
QStringList TextBody(const QString& output) {
  QStringList lines = output.split('\n');
  const qsizetype start = lines.indexOf("-----------------");
  lines = lines.mid(start + 1);
  for (QString& line : lines) line = line.trimmed();
  while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// The HTML mode's body as lines of text: tags dropped, entities (numeric ones in UTF-16, as
// unrtf writes them) decoded.
QStringList HtmlBody(const QString& output) {
  QString body = output.mid(output.indexOf("<body>") + 6);
  body = body.left(body.indexOf("</body>"));
  body.remove(QChar(u'\n'));  // layout of the HTML file
  body.replace("<br>", "\n");
  body.remove(QRegularExpression("<[^>]*>"));
  QString text;
  static const QRegularExpression entity("&(#(\\d+)|[a-z]+);");
  qsizetype at = 0;
  for (auto it = entity.globalMatch(body); it.hasNext();) {
    const auto match = it.next();
    text += body.mid(at, match.capturedStart() - at);
    if (!match.captured(2).isEmpty()) {
      text += QChar(static_cast<char16_t>(match.captured(2).toUInt()));
    } else {
      const QString name = match.captured(1);
      text += name == "amp" ? "&" : name == "lt" ? "<" : name == "gt" ? ">" : name == "nbsp" ? " " : "?";
    }
    at = match.capturedEnd();
  }
  text += body.mid(at);
  QStringList lines = text.split('\n');
  for (QString& line : lines) line = line.trimmed();
  while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

TEST(Unrtf, ReadsTheWrittenTextInTextMode) {
  RequireUnrtf();
  const QString text = "Items: 4\u2029Slots: 3\u2029\u2029Best {value} \\ 26";
  const QByteArray rtf = textio::WriteRtf({{text, false, false, 0}}, QStringLiteral("宋体"), 23);
  EXPECT_EQ(TextBody(RunUnrtf(rtf, "--text")),
            (QStringList{"Items: 4", "Slots: 3", "", "Best {value} \\ 26"}));
}

TEST(Unrtf, ReadsChineseAndCharactersOutsideTheCodePage) {
  RequireUnrtf();
  const QString text = QString::fromUtf16(u"物品总数:4\u2029最优值 Best Value: 26\u2029한 😀");
  const QByteArray rtf = textio::WriteRtf({{"物品", false, false, 0}, {text.mid(2), true, false, 0}},
                                          QStringLiteral("宋体"), 23);
  const QString html = RunUnrtf(rtf, "--html");
  EXPECT_EQ(HtmlBody(html), text.split(QChar::ParagraphSeparator)) << html.toStdString();
  EXPECT_TRUE(html.contains("<b>")) << html.toStdString();
}

}  // namespace
