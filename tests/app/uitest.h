// Shared pieces for GUI tests of the program's windows: a temporary program folder (so the
// settings file and the help file are looked for there), and a watchdog that hands expected
// modal dialogs to the test and fails, instead of hanging, on any other one.
#pragma once

#include "settings/exepath.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <utility>

namespace uitest {

// The program seems to run from <temporary folder>/Trevana2023 while this object lives.
class ProgramFolder {
 public:
  ProgramFolder() { settings::SetExecutablePath(ExePath().toStdString()); }
  ~ProgramFolder() { settings::SetExecutablePath(std::string()); }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  QString Path() const { return dir_.path(); }
  QString ExePath() const { return dir_.filePath(QStringLiteral("Trevana2023")); }
  QString IniPath() const { return dir_.filePath(QStringLiteral("Trevana2023.ini")); }

  // The settings file's bytes, or an empty array when there is none.
  QByteArray IniBytes() const {
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void WriteIni(const QByteArray& bytes) const {
    QFile file(IniPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
  }

 private:
  QTemporaryDir dir_;
};

// What a message box showed.
struct SeenBox {
  bool seen = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::WindowModality modality = Qt::NonModal;
  Qt::TextFormat format = Qt::AutoText;
};

// Polls for a modal widget while it lives. A modal is given to the oldest handler queued with
// Expect(); when none is queued it is recorded as unexpected and closed, so the test goes on.
class ModalWatchdog {
 public:
  using Handler = std::function<void(QWidget*)>;

  ModalWatchdog() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
    timer_.start();
  }

  void Expect(Handler handler) { expected_.push_back(std::move(handler)); }

  // Records the next modal as a message box in seen and presses its OK (or first) button.
  void ExpectMessageBox(SeenBox& seen) {
    Expect([&seen](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      seen.seen = box != nullptr;
      if (box == nullptr) {
        Close(modal);
        return;
      }
      seen.title = box->windowTitle();
      seen.text = box->text();
      seen.icon = box->icon();
      seen.buttons = box->standardButtons();
      seen.modality = box->windowModality();
      seen.format = box->textFormat();
      Close(box);
    });
  }

  int Pending() const { return static_cast<int>(expected_.size()); }
  const QStringList& Unexpected() const { return unexpected_; }
  void Reset() {
    expected_.clear();
    unexpected_.clear();
  }

  // Ends a modal the polite way: a message box's default button, a dialog's reject.
  static void Close(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QAbstractButton* button = box->defaultButton();
      if (button == nullptr && !box->buttons().isEmpty()) button = box->buttons().first();
      if (button != nullptr) {
        button->click();
        return;
      }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
      return;
    }
    modal->close();
  }

 private:
  void Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || handling_) return;
    handling_ = true;
    if (!expected_.empty()) {
      Handler handler = std::move(expected_.front());
      expected_.pop_front();
      handler(modal);
    } else {
      const auto* box = qobject_cast<QMessageBox*>(modal);
      unexpected_ << QStringLiteral("%1 \"%2\" %3")
                         .arg(QString::fromLatin1(modal->metaObject()->className()),
                              modal->windowTitle(), box ? box->text() : QString());
      Close(modal);
    }
    handling_ = false;
  }

  QTimer timer_;
  std::deque<Handler> expected_;
  QStringList unexpected_;
  bool handling_ = false;
};

}  // namespace uitest
