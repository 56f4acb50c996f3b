#include "app/printing.h"

#include "app/boxcommands.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QMarginsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <memory>

namespace app {
namespace {

// The layout is made at the screen's 96 dots per inch, where the box's pixel sizes hold, and
// scaled to the printer's resolution when drawn.
constexpr double kLayoutDpi = 96.0;
constexpr int kDotsPerMeterAt96Dpi = 3780;

}  // namespace

int PrintDocument(const QTextDocument& document, QPrinter* printer) {
  printer->setFullPage(false);
  // Margins below the printer's own minimum are raised to it: the printable area.
  printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);

  QImage metrics(1, 1, QImage::Format_RGB32);
  metrics.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  metrics.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  const std::unique_ptr<QTextDocument> copy(document.clone());
  copy->documentLayout()->setPaintDevice(&metrics);
  copy->setDocumentMargin(0);

  const QRectF printable = printer->pageRect(QPrinter::DevicePixel);
  const double scaleX = printer->logicalDpiX() / kLayoutDpi;
  const double scaleY = printer->logicalDpiY() / kLayoutDpi;
  const QSizeF pageSize(printable.width() / scaleX, printable.height() / scaleY);
  copy->setPageSize(pageSize);
  const int pages = std::max(1, copy->pageCount());

  QPainter painter;
  if (!painter.begin(printer)) throw NoPrinterError();
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !printer->newPage()) {
      painter.end();
      throw NoPrinterError();
    }
    const QRectF clip(0, page * pageSize.height(), pageSize.width(), pageSize.height());
    painter.save();
    painter.scale(scaleX, scaleY);
    painter.translate(0, -clip.top());
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, Qt::black);
    copy->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  painter.end();
  return pages;
}

void PrintResultBox(const QTextEdit* box) {
  const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
  if (defaultPrinter.isNull()) throw NoPrinterError();
  QPrinter printer(defaultPrinter, QPrinter::HighResolution);
  printer.setDocName(QString());
  PrintDocument(*box->document(), &printer);
}

}  // namespace app
