#include "app/errordisplay.h"

#include "base/errors.h"

#include <QMessageBox>

#include <cstdio>
#include <new>

namespace app {

QString ErrorText(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return QString::fromUtf8(bagfunc::WithFullStop(kOutOfMemory));
  } catch (const std::exception& error) {
    // The program's own errors and the library's alike: their text is their message.
    return QString::fromUtf8(bagfunc::WithFullStop(error.what()));
  } catch (...) {
    return QString();
  }
}

void ShowErrorBox(const QString& text) {
  // No owner: the box must also work while the main window is being built or torn down.
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text,
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);  // file names and line texts are shown, never interpreted
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void ShowCurrentError() noexcept {
  try {
    ShowErrorBox(ErrorText(std::current_exception()));
  } catch (...) {
    // Out of memory while showing a failure: there is nothing left to show it with.
    std::fputs("Trevana2023: an error could not be shown\n", stderr);
  }
}

TrevanaApplication::TrevanaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TrevanaApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentError();
    return false;
  }
}

}  // namespace app
