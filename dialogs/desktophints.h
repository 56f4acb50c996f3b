// What the program tells the desktop about its windows. On X11 the window manager learns from
// properties of each window, not from Qt's flags: which buttons and functions a window has
// (the Motif hints, which Qt writes with resizing always allowed), the class hint taskbars group
// windows by, and the window a modal one belongs to. Other platforms take the flags as they are.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>

class QWidget;

namespace dialogs {

// Watches every top-level window of the application as it is shown and, before the window
// manager sees it:
//  - writes the Motif hints from the window's flags, with neither resizing nor maximising for
//    a window of fixed size, so no window manager draws a button the window cannot serve;
//  - sets the class hint to ("trevana2023", "Trevana2023"), the desktop entry's name and the
//    program's, in plain ASCII;
//  - makes a modal window without an owner a transient of the main window, so minimising it
//    takes the main window along instead of leaving it disabled on screen;
//  - widens a message box to its caption: the caption's width in the title bar's font plus
//    room for the title bar's buttons.
// Lives as a child of the main window and ends with it.
class DesktopHints : public QObject {
 public:
  explicit DesktopHints(QWidget* mainWindow);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> mainWindow_;
};

// The width a window needs so that its title bar shows the whole caption.
int WidthForCaption(const QString& caption);

// The frame the window manager puts around a shown or about to be shown top-level window: what
// the platform reports, else on X11 what the window manager answers when asked, else nothing.
QMargins FrameMargins(QWidget* window);

}  // namespace dialogs
