// Build-time tool: writes the program icon into an icon theme folder from the very pixel art the
// window shows, so the menu's icon and the window's are one picture.
//   rendericons FOLDER NAME SIZE...
// writes FOLDER/<SIZE>x<SIZE>/apps/NAME.png for each size and FOLDER/scalable/apps/NAME.svg.
#include "dialogs/pictures.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QString>
#include <QTextStream>

#include <cstdio>

namespace {

// Whole multiples of the art stay crisp, one art pixel a square block. Other sizes are averaged
// down from a large crisp copy, which keeps the letters readable at 16 and 48 pixels.
QImage Rendered(const QImage& art, int size) {
  if (size % art.width() == 0) return art.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const int large = art.width() * 8;
  return art.scaled(large, large, Qt::IgnoreAspectRatio, Qt::FastTransformation)
      .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The art as SVG: the commonest colour fills the square, and each row's runs of other colours
// are rectangles on it. Sharp edges keep it pixel art at any size.
QString Svg(const QImage& art) {
  QHash<QRgb, int> count;
  for (int y = 0; y < art.height(); ++y)
    for (int x = 0; x < art.width(); ++x) ++count[art.pixel(x, y)];
  QRgb background = art.pixel(0, 0);
  for (auto it = count.cbegin(); it != count.cend(); ++it)
    if (it.value() > count.value(background)) background = it.key();

  QString svg;
  QTextStream out(&svg);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << art.width() << "\" height=\""
      << art.height() << "\" viewBox=\"0 0 " << art.width() << ' ' << art.height()
      << "\" shape-rendering=\"crispEdges\">\n"
      << "<rect width=\"" << art.width() << "\" height=\"" << art.height() << "\" fill=\""
      << QColor(background).name() << "\"/>\n";
  for (int y = 0; y < art.height(); ++y) {
    for (int x = 0; x < art.width();) {
      const QRgb colour = art.pixel(x, y);
      int end = x + 1;
      while (end < art.width() && art.pixel(end, y) == colour) ++end;
      if (colour != background) {
        out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x
            << "\" height=\"1\" fill=\"" << QColor(colour).name() << "\"/>\n";
      }
      x = end;
    }
  }
  out << "</svg>\n";
  return svg;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::fprintf(stderr, "rendericons: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(file.errorString()));
    return false;
  }
  return true;
}

QByteArray Png(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: rendericons FOLDER NAME SIZE...\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  const QImage art = dialogs::ProgramIconImage().convertToFormat(QImage::Format_ARGB32);
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "rendericons: not a size: %s\n", argv[i]);
      return 2;
    }
    const QString path = QStringLiteral("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
    if (!Write(path, Png(Rendered(art, size)))) return 1;
  }
  return Write(QStringLiteral("%1/scalable/apps/%2.svg").arg(folder, name), Svg(art).toUtf8()) ? 0 : 1;
}
