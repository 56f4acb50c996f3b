#include "app/boxcommands.h"
#include "app/linelists.h"
#include "app/printing.h"
#include "engine/bagfunc.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTest>
#include <QTextEdit>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

struct Ink {
  int pages = 0;
  QList<QRect> boxes;  // per page: the bounding box of dark pixels, as fractions x 1000
};

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Page count from pdfinfo, and where the ink lies on each page from pdftoppm.
std::optional<Ink> ReadPdf(const QString& pdf) {
  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
  if (at < 0) return std::nullopt;
  Ink ink;
  ink.pages = info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
  testsupport::TempFolder dir;
  for (int page = 1; page <= ink.pages; ++page) {
    const QString prefix = dir.File(QStringLiteral("page%1").arg(page));
    RunTool(QStringLiteral("pdftoppm"), {"-r", "40", "-gray", "-singlefile", "-f",
                                         QString::number(page), "-l", QString::number(page), pdf,
                                         prefix});
    const QImage image(prefix + ".pgm");
    if (image.isNull()) return std::nullopt;
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
    if (!box.isNull()) {
      box = QRect(box.left() * 1000 / image.width(), box.top() * 1000 / image.height(),
                  box.width() * 1000 / image.width(), box.height() * 1000 / image.height());
    }
    ink.boxes << box;
  }
  return ink;
}

QString SampleReport() {
  QPlainTextEdit source;
  source.setPlainText(QStringLiteral("4\n3\n8\n1,22\n3,4\n5,6\n7,8\n"));
  QTextEdit result;
  bagfunc::BagEngine engine;
  app::SolveOnBoxes(engine, &source, &result, bagfunc::SolveVariant::SolveBag);
  return result.toPlainText();
}

// As many numbered lines as fill about two and a half pages of the given height (in pixels
// at 96 dots per inch).
QString TwoAndAHalfPages(const QFont& font, double pageHeight) {
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(3780);
  device.setDotsPerMeterY(3780);
  const double lineHeight = QFontMetricsF(font, &device).lineSpacing();
  const int lines = static_cast<int>(2.5 * pageHeight / lineHeight);
  QStringList text;
  for (int i = 1; i <= lines; ++i) text << QStringLiteral("line %1").arg(i);
  return text.join('\n');
}

QFont SongFont() {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(15);
  return font;
}

// Child mode: print the sample report on the default printer and say what happened.
int PrintChild() {
  QTextEdit box;
  box.setPlainText(QStringLiteral("x"));
  try {
    app::PrintResultBox(&box);
  } catch (const bagfunc::Error& error) {
    std::fputs(error.what(), stdout);
    return 1;
  }
  return 0;
}

}  // namespace

class TestPrinting : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void layoutOnPdf_data();
  void layoutOnPdf();
  void printsOnTheDefaultQueue_data();
  void printsOnTheDefaultQueue();
  void noPrinterIsAnError();

 private:
  std::optional<QString> NewestQueuePdf(const QDateTime& since);
};

void TestPrinting::layoutOnPdf_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("pages");
  QTest::newRow("sampleReport") << SampleReport() << 1;
  QTest::newRow("threePages") << TwoAndAHalfPages(SongFont(), 297 / 25.4 * 96) << 3;
  QTest::newRow("emptyBoxGivesOneBlankPage") << QString() << 1;
}

// The layout alone, on Qt's PDF output: no queue needed.
void TestPrinting::layoutOnPdf() {
  QFETCH(QString, text);
  QFETCH(int, pages);
  testsupport::TempFolder dir;
  QTextEdit box;
  box.setFont(SongFont());
  box.setPlainText(text);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.File(QStringLiteral("out.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A4));
  QCOMPARE(app::PrintDocument(*box.document(), &printer), pages);

  const std::optional<Ink> ink = ReadPdf(dir.File(QStringLiteral("out.pdf")));
  QVERIFY(ink.has_value());
  QCOMPARE(ink->pages, pages);
  if (text.isEmpty()) {
    QVERIFY(ink->boxes.value(0).isNull());
    return;
  }
  for (int page = 0; page < pages; ++page) {
    const QRect box = ink->boxes.value(page);
    QVERIFY2(!box.isNull(), "a page without text");
    // No margin: the text starts in the page's very corner (within 2 %).
    QVERIFY2(box.left() <= 20 && box.top() <= 20,
             qPrintable(QStringLiteral("page %1 starts at %2,%3").arg(page + 1).arg(box.left()).arg(box.top())));
  }
  // Full pages run to the bottom; no page number or footer under the last line of a short page.
  for (int page = 0; page + 1 < pages; ++page) QVERIFY(ink->boxes[page].bottom() >= 900);
  QVERIFY2(ink->boxes.last().bottom() < 800, qPrintable(QStringLiteral("last page ink ends at %1").arg(ink->boxes.last().bottom())));
}

std::optional<QString> TestPrinting::NewestQueuePdf(const QDateTime& since) {
  const QString folder = qEnvironmentVariable("TREVANA_PRINT_OUT");
  if (folder.isEmpty()) return std::nullopt;
  // The job is done when the queue holds nothing; cups-pdf then has written its file.
  for (int tries = 0; tries < 600; ++tries) {
    const bool queueEmpty = RunTool(QStringLiteral("lpstat"), {"-o"}).trimmed().isEmpty();
    QFileInfoList files = QDir(folder).entryInfoList({"*.pdf"}, QDir::Files, QDir::Time);
    if (queueEmpty && !files.isEmpty() && files.first().lastModified() >= since &&
        files.first().size() > 0) {
      QThread::msleep(200);  // let the writer close it
      return files.first().absoluteFilePath();
    }
    QTest::qWait(100);
  }
  return std::nullopt;
}

void TestPrinting::printsOnTheDefaultQueue_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("pages");
  QTest::newRow("sampleReport") << SampleReport() << 1;
  QTest::newRow("threePages") << TwoAndAHalfPages(SongFont(), 11 * 96) << 3;
}

// The real path: the default printer is the cups-pdf queue of the tests' own scheduler
// (tools/print-queue), named by CUPS_SERVER.
void TestPrinting::printsOnTheDefaultQueue() {
  QFETCH(QString, text);
  QFETCH(int, pages);
  QVERIFY2(!QPrinterInfo::defaultPrinter().isNull(), "no default printer: is the scheduler running?");
  QTextEdit box;
  box.setFont(SongFont());
  box.setPlainText(text);
  const QDateTime since = QDateTime::currentDateTime().addSecs(-1);
  app::PrintResultBox(&box);
  const std::optional<QString> pdf = NewestQueuePdf(since);
  QVERIFY2(pdf.has_value(), "the queue wrote no PDF");
  const std::optional<Ink> ink = ReadPdf(*pdf);
  QVERIFY(ink.has_value());
  QCOMPARE(ink->pages, pages);
  for (int page = 0; page < pages; ++page) {
    const QRect box = ink->boxes.value(page);
    QVERIFY2(!box.isNull(), "a page without text");
    // From the printable area's corner: the printer's own margin at most (under an inch).
    QVERIFY2(box.left() <= 100 && box.top() <= 100,
             qPrintable(QStringLiteral("page %1 starts at %2,%3").arg(page + 1).arg(box.left()).arg(box.top())));
  }
}

void TestPrinting::noPrinterIsAnError() {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TREVANA_PRINT_CHILD"), QStringLiteral("1"));
  // A scheduler that is not there: no printer at all.
  environment.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent/cups.sock"));
  environment.remove(QStringLiteral("PRINTER"));
  environment.remove(QStringLiteral("LPDEST"));
  testsupport::TempFolder home;
  environment.insert(QStringLiteral("HOME"), home.Path());  // no lpoptions of the user
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {});
  QVERIFY(child.waitForFinished(60000));
  QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
           QStringLiteral("There is no default printer currently selected"));
  QCOMPARE(child.exitCode(), 1);
}

int main(int argc, char** argv) {
  TestPrinting::initMain();
  QApplication app(argc, argv);
  if (qEnvironmentVariableIsSet("TREVANA_PRINT_CHILD")) return PrintChild();
  TestPrinting test;
  return QTest::qExec(&test, argc, argv);
}

#include "printing_test.moc"
