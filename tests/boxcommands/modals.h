// Answers the modal dialogs a command opens, in order, from a timer: a test can drive the real
// file dialogs and never hangs on one it did not expect (that one is rejected and reported).
#pragma once

#include <QFileDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

class Modals : public QObject {
 public:
  using Answer = std::function<void(QFileDialog*)>;

  Modals();
  void Expect(Answer answer) { answers_.push_back(std::move(answer)); }
  // Dialogs that came without an answer, and answers left without a dialog.
  QStringList Problems() const;
  void Reset();

 private:
  void Tick();

  QTimer timer_;
  std::deque<Answer> answers_;
  QPointer<QWidget> handled_;
  QElapsedTimer sinceHandled_;
  QStringList unexpected_;
};

// Types a name into a file dialog's name box and confirms it.
void TypeAndAccept(QFileDialog* dialog, const QString& name);
