// The QR picture checked by an independent reader (zbarimg) and by its geometry and colours.
#include <QLabel>
#include <QProcess>
#include <QTest>

#include "dialogs/qrpicture.h"
#include "dialogs/visitephone.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

namespace {

constexpr QRgb kNavy = 0xFF000080;
constexpr QRgb kWhite = 0xFFFFFFFF;

// What zbarimg reads from the picture, or an error text starting with "!".
QString DecodeWithZbar(const QImage& image) {
  testsupport::TempFolder folder;
  const QString file = folder.File("code.png");
  if (!image.save(file, "PNG")) return "!cannot save";
  QProcess zbar;
  zbar.start("zbarimg", {"--raw", "-q", file});
  if (!zbar.waitForFinished(30000)) return "!zbarimg did not run: " + zbar.errorString();
  QString text = QString::fromUtf8(zbar.readAllStandardOutput());
  if (text.endsWith('\n')) text.chop(1);
  return text;
}

struct CodeBounds {
  QRect dark;      // the smallest rectangle holding every dark pixel
  int module = 0;  // pixels per module, from the 7-module top-left finder pattern
};

CodeBounds MeasureCode(const QImage& image) {
  CodeBounds bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != kWhite) bounds.dark |= QRect(x, y, 1, 1);
    }
  }
  if (bounds.dark.isEmpty()) return bounds;
  int run = 0;
  const int top = bounds.dark.top();
  for (int x = bounds.dark.left(); x < image.width() && image.pixel(x, top) != kWhite; ++x) ++run;
  bounds.module = run / 7;
  return bounds;
}

}  // namespace

class QrCodeTest : public testsupport::WindowTest {
  Q_OBJECT
 private slots:
  void phoneDialogCodeLeadsToTheWebPage() {
    TFrmVisitePhone dialog;
    QCOMPARE(dialog.Img2DimsCode->size(), QSize(210, 210));
    const QImage picture = dialog.Img2DimsCode->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(210, 210));
    QCOMPARE(DecodeWithZbar(picture), QStringLiteral(TEST_WEB_ADDRESS));
  }

  void readableAndTidyForManyLengths_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("side");
    QTest::newRow("one letter") << QByteArray("T") << 210;
    QTest::newRow("the web page") << QByteArray(TEST_WEB_ADDRESS) << 210;
    QTest::newRow("address with query")
        << QByteArray("https://example.com/bag?items=4&slots=3&limit=8#result") << 210;
    QTest::newRow("long address needs a larger version")
        << "https://example.com/" + QByteArray(300, 'a') << 210;
    QTest::newRow("smaller side") << QByteArray("https://example.com/") << 100;
  }
  void readableAndTidyForManyLengths() {
    QFETCH(QByteArray, text);
    QFETCH(int, side);
    const QImage picture = dialogs::QrCodePicture(text, side).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(side, side));
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const QRgb pixel = picture.pixel(x, y);
        if (pixel != kNavy && pixel != kWhite) {
          QFAIL(qPrintable(QString("stray colour %1 at %2,%3").arg(pixel, 0, 16).arg(x).arg(y)));
        }
      }
    }
    const CodeBounds bounds = MeasureCode(picture);
    QVERIFY(bounds.module >= 1);
    QCOMPARE(bounds.dark.width(), bounds.dark.height());
    QCOMPARE(bounds.dark.width() % bounds.module, 0);
    // Every reader needs four modules of white around the code.
    const int quiet = 4 * bounds.module;
    QVERIFY2(bounds.dark.left() >= quiet && bounds.dark.top() >= quiet, "quiet zone too thin");
    QVERIFY2(side - 1 - bounds.dark.right() >= quiet, "quiet zone too thin on the right");
    QVERIFY2(side - 1 - bounds.dark.bottom() >= quiet, "quiet zone too thin at the bottom");
    // Centred to within a pixel.
    QVERIFY(qAbs(bounds.dark.left() - (side - 1 - bounds.dark.right())) <= 1);
    QCOMPARE(DecodeWithZbar(picture), QString::fromLatin1(text));
  }

  void textNoCodeCanHoldGivesWhitePaper_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("beyond the largest version") << QByteArray(5000, 'x');
  }
  void textNoCodeCanHoldGivesWhitePaper() {
    QFETCH(QByteArray, text);
    const QImage picture = dialogs::QrCodePicture(text, 210).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(210, 210));
    QVERIFY(MeasureCode(picture).dark.isEmpty());
  }
};

QTEST_MAIN(QrCodeTest)
#include "qrcode_test.moc"
