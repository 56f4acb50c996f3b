// The two-dimensional (QR) code of a text, drawn as a square colour picture for the phone dialog.
#pragma once

#include <QByteArray>
#include <QImage>

namespace dialogs {

// A side x side picture: dark blue modules on white with the code's four-module quiet zone,
// each module a whole number of pixels and the code centred. A text too long for any code
// gives a plain white picture.
QImage QrCodePicture(const QByteArray& text, int side);

}  // namespace dialogs
