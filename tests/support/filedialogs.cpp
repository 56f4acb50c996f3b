#include "tests/support/filedialogs.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>

namespace testsupport {
namespace {

QComboBox* FilterList(QFileDialog* dialog) {
  return dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

}  // namespace

QLineEdit* NameBox(QFileDialog* dialog) {
  return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

void TypeAndAccept(QFileDialog* dialog, const QString& name) {
  QLineEdit* edit = NameBox(dialog);
  if (edit == nullptr) return;
  // A person types into the name box the dialog focused; what it selected is replaced.
  if (!edit->hasFocus()) edit->setFocus();
  if (!edit->hasSelectedText()) edit->selectAll();
  QTest::keyClicks(edit, name);
  QTest::keyClick(edit, Qt::Key_Return);
}

QStringList FilterCaptions(QFileDialog* dialog) {
  QStringList captions;
  if (QComboBox* list = FilterList(dialog)) {
    for (int i = 0; i < list->count(); ++i) captions << list->itemText(i);
  }
  return captions;
}

QString ChosenFilterCaption(QFileDialog* dialog) {
  QComboBox* list = FilterList(dialog);
  return list != nullptr ? list->currentText() : QString();
}

void ChooseFilter(QFileDialog* dialog, const QString& caption) {
  QComboBox* list = FilterList(dialog);
  if (list == nullptr) return;
  const int index = list->findText(caption);
  if (index < 0) return;
  list->setCurrentIndex(index);
  emit list->activated(index);
  emit list->textActivated(caption);
}

QStringList ListedNames(QFileDialog* dialog) {
  auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
  if (view == nullptr || view->model() == nullptr) return {};
  QAbstractItemModel* model = view->model();
  // The dialog reads folders in the background; the list is complete once it stops growing.
  QElapsedTimer clock;
  clock.start();
  int rows = -1;
  for (int settled = 0; settled < 3 && clock.elapsed() < 5000;) {
    QTest::qWait(50);
    const int now = model->rowCount(view->rootIndex());
    settled = now == rows && now > 0 ? settled + 1 : 0;
    rows = now;
  }
  QStringList names;
  for (int row = 0; row < rows; ++row) {
    names << model->index(row, 0, view->rootIndex()).data().toString();
  }
  names.sort();
  return names;
}

}  // namespace testsupport
