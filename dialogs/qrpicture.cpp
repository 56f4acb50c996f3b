#include "dialogs/qrpicture.h"

#include <qrencode.h>

#include <QPainter>

#include <memory>

namespace dialogs {
namespace {

constexpr QRgb kModuleColour = 0xFF000080;  // navy: dark enough for any phone camera
constexpr QRgb kPaperColour = 0xFFFFFFFF;
constexpr int kQuietModules = 4;             // the margin every reader expects around a code

struct QrCodeDeleter {
  void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

QImage QrCodePicture(const QByteArray& text, int side) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(kPaperColour);
  // Medium error correction survives a little glare on a screen; the mode follows the text.
  std::unique_ptr<QRcode, QrCodeDeleter> code(
      QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M));
  if (!code || code->width <= 0) return image;

  const int modules = code->width + 2 * kQuietModules;
  const int scale = side / modules;
  if (scale < 1) return image;
  const int origin = (side - code->width * scale) / 2;
  QPainter painter(&image);
  for (int y = 0; y < code->width; ++y) {
    for (int x = 0; x < code->width; ++x) {
      // Bit 0 of each byte is the module's colour; the other bits describe its role.
      if (code->data[y * code->width + x] & 1) {
        painter.fillRect(origin + x * scale, origin + y * scale, scale, scale,
                         QColor::fromRgb(kModuleColour));
      }
    }
  }
  return image;
}

}  // namespace dialogs
