// The application-wide error display: every failure that leaves an event handler ends here
// and is shown in one application-modal error box, after which the event loop goes on.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <string>

namespace app {

// Caption of every error box and the application's name (the main window's caption differs).
inline constexpr char kApplicationTitle[] = "Trevana背包问题计算器2023";

// What a failed allocation shows.
inline constexpr char kOutOfMemory[] = "Out of memory";

// The text the box shows for an exception, under the "." rule: kOutOfMemory for
// std::bad_alloc, what() for any other std::exception (the program's own errors among them);
// anything that is no std::exception gives an empty text.
QString ErrorText(const std::exception_ptr& error);

// Shows text (already under the "." rule) in the error box and waits for OK.
void ShowErrorBox(const QString& text);

// Shows the exception being handled; call only inside a catch block. Never throws.
void ShowCurrentError() noexcept;

// Runs one handler's work; whatever it throws is shown and goes no further.
template <class Work>
void Guarded(Work&& work) noexcept {
  try {
    work();
  } catch (...) {
    ShowCurrentError();
  }
}

// The application object: its notify() is the last resort for an exception that escapes an
// event without passing through Guarded, so nothing unwinds through Qt's event loop.
class TrevanaApplication : public QApplication {
 public:
  TrevanaApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace app
