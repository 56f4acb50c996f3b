// Real documents from other programs: the reader must give the text LibreOffice gives, or,
// where a document has a reviewed text of its own beside it (NAME.txt, UTF-8), that text.
#include "libreoffice.h"
#include "textio/rtf.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

QString WithoutBlanks(QString text) {
  static const QRegularExpression blanks(QStringLiteral("[\\s\\x{2028}\\x{2029}]+"),
                                          QRegularExpression::UseUnicodePropertiesOption);
  return text.remove(blanks);
}

TEST(Corpus, ReadsEveryDocumentAsLibreOfficeDoes) {
  REQUIRE_LIBREOFFICE();
  QStringList files;
  QDir corpus(QStringLiteral(TREVANA_RTF_CORPUS));
  for (const QString& folder : corpus.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    for (const QString& name : QDir(corpus.filePath(folder)).entryList({"*.rtf"}, QDir::Files))
      files += corpus.filePath(folder + "/" + name);
  ASSERT_GE(files.size(), 30);
  const QList<QByteArray> texts =
      ConvertWithLibreOffice(files, QStringLiteral("txt:Text (encoded):UTF8"), "txt");
  for (qsizetype i = 0; i < files.size(); ++i) {
    QFile file(files[i]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto runs = textio::ReadRtf(file.readAll());
    ASSERT_TRUE(runs.has_value()) << files[i].toStdString();
    QString text;
    for (const textio::TextRun& run : *runs) text += run.text;
    QFile reviewed(files[i].chopped(4) + ".txt");
    const QString expected = reviewed.open(QIODevice::ReadOnly)
                                 ? QString::fromUtf8(reviewed.readAll())
                                 : LibreOfficeText(texts[i]);
    EXPECT_EQ(WithoutBlanks(text).toStdString(), WithoutBlanks(expected).toStdString())
        << files[i].toStdString();
  }
}

}  // namespace
