#include "modals.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QDialog>
#include <QLineEdit>

Modals::Modals() {
  timer_.setInterval(10);
  connect(&timer_, &QTimer::timeout, this, &Modals::Tick);
  timer_.start();
}

void Modals::Tick() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) {
    handled_ = nullptr;
    return;
  }
  if (modal == handled_) {
    // An answered dialog that stays open (a folder name opens the folder instead) fails the
    // test instead of hanging it.
    if (sinceHandled_.elapsed() > 5000) {
      unexpected_ << QStringLiteral("a dialog that stayed open after its answer");
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    }
    return;
  }
  handled_ = modal;
  sinceHandled_.start();
  // The same dialog comes back for the next command without a tick in between.
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    connect(dialog, &QDialog::finished, this, [this] { handled_ = nullptr; },
            Qt::SingleShotConnection);
  }
  auto* fileDialog = qobject_cast<QFileDialog*>(modal);
  if (answers_.empty() || fileDialog == nullptr) {
    unexpected_ << QString::fromLatin1(modal->metaObject()->className());
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    return;
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  answer(fileDialog);
}

QStringList Modals::Problems() const {
  QStringList problems = unexpected_;
  if (!answers_.empty()) problems << QStringLiteral("%1 dialog(s) never shown").arg(answers_.size());
  return problems;
}

void Modals::Reset() {
  answers_.clear();
  unexpected_.clear();
}

void TypeAndAccept(QFileDialog* dialog, const QString& name) {
  // The dialog offers its last file selected in its list. A person typing a name has the
  // name box focused, which drops that selection; a test's dialog may not have the focus, and
  // a file saved a moment ago may not be in the list yet, so the old selection would win.
  for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
    if (view->selectionModel() != nullptr) view->selectionModel()->clearSelection();
  }
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (edit != nullptr) edit->setText(name);
  // accept() is protected in QFileDialog; the dialog's own slot is reachable by name.
  QMetaObject::invokeMethod(dialog, "accept");
}
