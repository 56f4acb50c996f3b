// The program's own pictures, drawn in code: the program icon and the button pictures.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace dialogs {

// 32 x 32, 16 colours: yellow capital letters on a blue square. The image needs no running
// application, so the build renders the installed icons from it too.
QImage ProgramIconImage();
QPixmap ProgramIcon();

// 16 x 16, 16 colours; the bottom-left pixel's colour is drawn transparent.
QIcon NewGlyph();    // a blank sheet with a folded corner
QIcon OpenGlyph();   // an open yellow folder with a curved arrow
QIcon SaveGlyph();   // a floppy disk
QIcon PrintGlyph();  // a printer

}  // namespace dialogs
