// The compiled help file: a real CHM that holds every page, in GBK, with no broken links.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

namespace {

const QStringList kPages = QStringLiteral(TEST_HELP_PAGES).split(QLatin1Char('|'));

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess tool;
  tool.start(program, arguments);
  if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
  return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

// Decodes GBK strictly: a byte sequence that is not GBK gives an empty text.
QString StrictGbk(const QByteArray& bytes) {
  QStringDecoder decoder("GBK");
  QString text = decoder(bytes);
  return decoder.hasError() ? QString() : text;
}

}  // namespace

class HelpFileTest : public testsupport::WindowTest {
  Q_OBJECT
 private:
  testsupport::TempFolder extracted_;
  QString listing_;

  QString Page(const QString& name) {
    QFile file(extracted_.File(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return StrictGbk(file.readAll());
  }

 private slots:
  void initTestCase() {
    QVERIFY2(kPages.contains("index.html"), TEST_HELP_PAGES);  // the list reached the test
    QFile chm(QStringLiteral(TEST_HELP_CHM));
    QVERIFY2(chm.open(QIODevice::ReadOnly), TEST_HELP_CHM);
    QCOMPARE(chm.read(4), QByteArray("ITSF"));
    listing_ = RunTool("enum_chmLib", {chm.fileName()});
    QVERIFY2(!listing_.isEmpty(), "enum_chmLib could not read the help file");
    RunTool("extract_chmLib", {chm.fileName(), extracted_.Path()});
    QVERIFY(QFile::exists(extracted_.File("index.html")));
  }

  void everyPageIsThereInGbk_data() {
    QTest::addColumn<QString>("page");
    for (const QString& page : kPages) QTest::newRow(qPrintable(page)) << page;
  }
  void everyPageIsThereInGbk() {
    QFETCH(QString, page);
    QVERIFY2(listing_.contains(QRegularExpression("\\s/" + QRegularExpression::escape(page) +
                                                  "\\s")),
             "not listed by enum_chmLib");
    const QString text = Page(page);
    QVERIFY2(!text.isEmpty(), "missing or not GBK");
    QVERIFY(text.contains("charset=gb2312"));
    // Bilingual: each page carries Chinese text and English text.
    QVERIFY(text.contains(QRegularExpression("[\\x{4e00}-\\x{9fff}]")));
    QVERIFY(text.contains(QRegularExpression("class=\"en\"")));
    const QString contents = Page("toc.hhc");
    QVERIFY2(contents.contains("value=\"" + page + "\""), "not in the table of contents");
  }

  void noLinkLeadsOutOfTheFile_data() { everyPageIsThereInGbk_data(); }
  void noLinkLeadsOutOfTheFile() {
    QFETCH(QString, page);
    static const QRegularExpression link("href=\"([^\"#]*)(#[^\"]*)?\"");
    for (const QRegularExpressionMatch& match : link.globalMatch(Page(page))) {
      const QString target = match.captured(1);
      if (target.isEmpty()) continue;
      QVERIFY2(QFile::exists(extracted_.File(target)), qPrintable(page + " -> " + target));
      const QString anchor = match.captured(2).mid(1);
      if (!anchor.isEmpty()) {
        QVERIFY2(Page(target).contains("name=\"" + anchor + "\""),
                 qPrintable(page + " -> " + target + "#" + anchor));
      }
    }
  }

  void commandLinePageGivesTheUsageAndExitCodes() {
    const QString text = Page("bagsolve.html");
    for (const char* usage :
         {"bagsolve [--variant solve|max|max1|best] [--time-limit SECONDS] [--json] "
          "[--encoding utf-8|gbk] [FILE]",
          "bagsolve --compare [--time-limit SECONDS] [--json] [--encoding utf-8|gbk] [FILE]"}) {
      QVERIFY2(text.contains(QLatin1String(usage)), usage);
    }
    for (const char* status : {"<td>0</td>", "<td>1</td>", "<td>2</td>"}) {
      QVERIFY2(text.contains(QLatin1String(status)), status);
    }
  }

  // The best packing's page quotes the command and the report's own lines as they are.
  void bestPackingPageQuotesTheProgram() {
    const QString text = Page("bestpacking.html");
    for (const QString& line :
         {QStringLiteral("求精确最优解 Best Packing (Exact)"),
          QStringLiteral("最优价值上界Upper Bound =30"), QStringLiteral("已证明为最优解Proven Optimal"),
          QStringLiteral("未证明为最优解Not Proven Optimal"),
          QStringLiteral("没有符合限制的装法No Feasible Pick")}) {
      QVERIFY2(text.contains(line), qPrintable(line));
    }
  }

  void workedExampleMatchesTheProgramsReport() {
    const QString text = Page("solve.html");
    for (const QString& line :
         {QStringLiteral("背包中物体总价值Total Value =26"),
          QStringLiteral("背包中物体总价值Total Value =30"),
          QStringLiteral("背包中物体Item 2序号 Id =4"), QStringLiteral("Item[4],Weight=7,value=8"),
          QString(29, '*'), QString(32, '=')}) {
      QVERIFY2(text.contains(line), qPrintable(line));
    }
  }
};

QTEST_MAIN(HelpFileTest)
#include "helpfile_test.moc"
