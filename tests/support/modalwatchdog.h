// The one watchdog for modal windows in the tests. Each modal window that opens goes to the
// oldest handler a test queued; any other is recorded and closed, and one that stays open after
// its handler is recorded and closed too, so a test can fail but never hang on a modal window.
#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

class QFileDialog;

namespace testsupport {

// What a message box showed.
struct SeenBox {
  bool seen = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::WindowModality modality = Qt::NonModal;
  Qt::TextFormat format = Qt::AutoText;
  int width = 0;  // of the client area, as shown
};

class ModalWatchdog : public QObject {
 public:
  using Handler = std::function<void(QWidget*)>;

  static constexpr int kPollMs = 10;
  // Longer than any handler needs on a loaded machine, short against the test's time limit.
  static constexpr int kStuckMs = 5000;
  // A modal is handed out once it is the active window, as a person acts on it only then,
  // or after this long if the platform never activates it.
  static constexpr int kActivationMs = 1000;

  ModalWatchdog();

  // Queues a handler for the next modal window. It may answer the window at once or run
  // events first (keys, waits); the window must be gone kStuckMs after the handler began.
  void Expect(Handler handler);
  // The next modal must be a file dialog (else it is recorded and closed).
  void ExpectFileDialog(std::function<void(QFileDialog*)> answer);
  // Records the next modal as a message box in seen and presses its default (or first) button.
  void ExpectMessageBox(SeenBox& seen);
  // Modals for which which() is true come and go by themselves (a progress dialog that may
  // close before a poll sees it): while no handler is queued they are left alone.
  void AllowPassing(std::function<bool(const QWidget*)> which);

  int Seen() const { return seen_; }  // modal windows that opened so far
  int Pending() const { return static_cast<int>(expected_.size()); }
  // Modal windows nobody expected or that stayed open, and handlers left without a window.
  QStringList Problems() const;
  void Reset();  // forgets handlers, passing modals, problems and the count of windows seen

  // Ends a modal the polite way: a message box's default button, a dialog's reject; hides
  // what does not close.
  static void Close(QWidget* modal);

 private:
  void Poll();
  void Handle(QWidget* modal);

  QTimer timer_;
  std::deque<Handler> expected_;
  std::function<bool(const QWidget*)> passing_;
  QStringList problems_;
  QPointer<QWidget> current_;   // the modal last handed out, until it closes
  QPointer<QWidget> arriving_;  // a modal not yet active, and since when it is waited for
  QElapsedTimer arrivingSince_;
  QElapsedTimer sinceHanded_;
  bool handling_ = false;
  int seen_ = 0;
};

}  // namespace testsupport
