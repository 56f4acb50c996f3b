#include "tests/support/modalwatchdog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>

namespace testsupport {
namespace {

QString Describe(const QWidget* modal) {
  const auto* box = qobject_cast<const QMessageBox*>(modal);
  return QStringLiteral("%1 \"%2\" %3")
      .arg(QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(),
           box ? box->text() : QString());
}

}  // namespace

ModalWatchdog::ModalWatchdog() {
  timer_.setInterval(kPollMs);
  connect(&timer_, &QTimer::timeout, this, &ModalWatchdog::Poll);
  timer_.start();
}

void ModalWatchdog::Expect(Handler handler) { expected_.push_back(std::move(handler)); }

void ModalWatchdog::ExpectFileDialog(std::function<void(QFileDialog*)> answer) {
  Expect([this, answer = std::move(answer)](QWidget* modal) {
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      answer(dialog);
      return;
    }
    problems_ << QStringLiteral("expected a file dialog: ") + Describe(modal);
    Close(modal);
  });
}

void ModalWatchdog::ExpectMessageBox(SeenBox& seen) {
  Expect([&seen](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    seen.seen = box != nullptr;
    if (box != nullptr) {
      seen.title = box->windowTitle();
      seen.text = box->text();
      seen.icon = box->icon();
      seen.buttons = box->standardButtons();
      seen.modality = box->windowModality();
      seen.format = box->textFormat();
      seen.width = box->width();
    }
    Close(modal);
  });
}

void ModalWatchdog::AllowPassing(std::function<bool(const QWidget*)> which) {
  passing_ = std::move(which);
}

QStringList ModalWatchdog::Problems() const {
  QStringList problems = problems_;
  if (!expected_.empty()) {
    problems << QStringLiteral("%1 expected modal window(s) never shown").arg(expected_.size());
  }
  return problems;
}

void ModalWatchdog::Reset() {
  expected_.clear();
  passing_ = nullptr;
  problems_.clear();
  seen_ = 0;
}

void ModalWatchdog::Close(QWidget* modal) {
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    QAbstractButton* button = box->defaultButton();
    if (button == nullptr && !box->buttons().isEmpty()) button = box->buttons().first();
    if (button != nullptr) button->click();
  } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
  if (modal->isVisible()) modal->hide();
}

void ModalWatchdog::Poll() {
  // A handler that runs events (a key press, a wait) must not be handed its window again.
  if (handling_) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) {
    current_ = nullptr;
    return;
  }
  if (modal != current_) {
    if (expected_.empty() && passing_ && passing_(modal)) return;
    if (modal != arriving_) {
      arriving_ = modal;
      arrivingSince_.start();
    }
    if (QApplication::activeWindow() == modal || arrivingSince_.elapsed() > kActivationMs) {
      arriving_ = nullptr;
      Handle(modal);
    }
    return;
  }
  if (sinceHanded_.elapsed() > kStuckMs) {
    problems_ << QStringLiteral("stayed open after its handler: ") + Describe(modal);
    sinceHanded_.start();
    Close(modal);
  }
}

void ModalWatchdog::Handle(QWidget* modal) {
  current_ = modal;
  sinceHanded_.start();
  ++seen_;
  // The same dialog object may come back for the next command before the next poll.
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    connect(
        dialog, &QDialog::finished, this,
        [this, dialog] {
          if (current_ == dialog) current_ = nullptr;
        },
        Qt::SingleShotConnection);
  }
  handling_ = true;
  if (!expected_.empty()) {
    Handler handler = std::move(expected_.front());
    expected_.pop_front();
    handler(modal);
  } else {
    problems_ << QStringLiteral("unexpected: ") + Describe(modal);
    Close(modal);
  }
  handling_ = false;
}

}  // namespace testsupport
