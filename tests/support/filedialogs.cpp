#include "tests/support/filedialogs.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>

namespace testsupport {

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

}  // namespace testsupport
