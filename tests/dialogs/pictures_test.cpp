// The program icon and the button pictures: sizes, palette and the transparent background.
#include <QSet>
#include <QTest>

#include "dialogs/pictures.h"
#include "tests/support/windowtest.h"

namespace {

// The classic 16-colour palette, written out here rather than taken from the code under test.
const QSet<QRgb> kClassicColours{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

QRgb Opaque(QRgb pixel) { return pixel & 0xFFFFFF; }

// The colours of the opaque pixels, and how many pixels are transparent.
struct PixelCensus {
  QSet<QRgb> colours;
  int transparent = 0;
  int partlyTransparent = 0;
};

PixelCensus Count(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  PixelCensus census;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) == 0) {
        ++census.transparent;
      } else if (qAlpha(pixel) < 255) {
        ++census.partlyTransparent;
      } else {
        census.colours.insert(Opaque(pixel));
      }
    }
  }
  return census;
}

QImage GlyphImage(const QString& name) {
  QIcon icon;
  if (name == "new") icon = dialogs::NewGlyph();
  if (name == "open") icon = dialogs::OpenGlyph();
  if (name == "save") icon = dialogs::SaveGlyph();
  if (name == "print") icon = dialogs::PrintGlyph();
  return icon.pixmap(QSize(16, 16)).toImage();
}

}  // namespace

class PicturesTest : public testsupport::WindowTest {
  Q_OBJECT
 private slots:
  void glyphs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("mustShow");
    QTest::newRow("new: blank white sheet") << "new" << QRgb(0xFFFFFF);
    QTest::newRow("open: yellow folder") << "open" << QRgb(0xFFFF00);
    QTest::newRow("save: floppy disk") << "save" << QRgb(0x000080);
    QTest::newRow("print: printer") << "print" << QRgb(0xC0C0C0);
  }
  void glyphs() {
    QFETCH(QString, name);
    QFETCH(QRgb, mustShow);
    const QImage image = GlyphImage(name);
    QCOMPARE(image.size(), QSize(16, 16));
    QCOMPARE(qAlpha(image.pixel(0, 15)), 0);
    const PixelCensus census = Count(image);
    QCOMPARE(census.partlyTransparent, 0);
    QVERIFY2(census.transparent > 0 && census.transparent < 16 * 16 / 2,
             "the background should frame the picture, not be it");
    QVERIFY(census.colours.contains(mustShow));
    for (QRgb colour : census.colours) {
      QVERIFY2(kClassicColours.contains(colour), qPrintable(QString::number(colour, 16)));
    }
  }

  void glyphsDifferFromOneAnother() {
    const QStringList names{"new", "open", "save", "print"};
    for (int i = 0; i < names.size(); ++i) {
      for (int j = i + 1; j < names.size(); ++j) {
        QVERIFY2(GlyphImage(names[i]) != GlyphImage(names[j]),
                 qPrintable(names[i] + " looks like " + names[j]));
      }
    }
  }

  void programIconIsYellowOnBlue() {
    const QImage icon = dialogs::ProgramIcon().toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    const PixelCensus census = Count(icon);
    QCOMPARE(census.transparent, 0);
    QCOMPARE(census.partlyTransparent, 0);
    QVERIFY(census.colours.size() <= 16);
    for (QRgb colour : census.colours) QVERIFY(kClassicColours.contains(colour));
    // Blue in the corners' neighbourhood and at the centre line's ends, yellow for the letters.
    int yellow = 0, blueish = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QRgb pixel = Opaque(icon.pixel(x, y));
        if (pixel == 0xFFFF00) ++yellow;
        if (pixel == 0x0000FF || pixel == 0x000080) ++blueish;
      }
    }
    QVERIFY(yellow > 32 * 32 / 8);
    QVERIFY(blueish > 32 * 32 / 2);
    QCOMPARE(Opaque(icon.pixel(2, 2)) & 0xFFFF00, QRgb(0));
  }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
