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

TEST(Unrtf, ReadsTheWrittenTextInTextMode) {
  RequireUnrtf();
  const QString text = "Items: 4\u2029Slots: 3\u2029\u2029Best {value} \\ 26";
  const QByteArray rtf = textio::WriteRtf({{text, false, false, 0}}, QStringLiteral("宋体"), 23);
  EXPECT_EQ(TextBody(RunUnrtf(rtf, "--text")),
            (QStringList{"Items: 4", "Slots: 3", "", "Best {value} \\ 26"}));
}

}  // namespace
