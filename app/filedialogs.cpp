#include "app/filedialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>

#include <algorithm>

namespace app {
namespace {

// What the dialog remembers between showings, as properties of the dialog object; the two
// dialogs do not share this memory.
constexpr char kLastFileProperty[] = "trevanaLastFile";
constexpr char kLastFilterProperty[] = "trevanaLastFilter";
constexpr char kStartFolderProperty[] = "trevanaStartFolder";

constexpr char kDefaultSuffix[] = "txt";

// Each filter is given to Qt as "<caption> (<patterns>)" with the pattern details hidden, so
// the list shows the caption alone while the patterns decide what is listed: Qt reads "*.*"
// as names with a dot, where Windows lists every file.
QString TextFilesFilter() { return QStringLiteral("文本数据文件(*.txt) (*.txt)"); }
QString AllFilesFilter() { return QStringLiteral("所有文件(*.*) (*)"); }

QLineEdit* NameBox(QFileDialog* dialog) {
  return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

void OfferLastUse(QFileDialog* dialog, QLineEdit* nameBox) {
  const QString lastFile = dialog->property(kLastFileProperty).toString();
  const QString lastFilter = dialog->property(kLastFilterProperty).toString();
  dialog->selectNameFilter(lastFilter.isEmpty() ? TextFilesFilter() : lastFilter);
  if (lastFile.isEmpty()) {
    dialog->setDirectory(dialog->property(kStartFolderProperty).toString());
    // The list may still hold a selection of the cancelled showing; it would win over the name.
    for (auto* view : dialog->findChildren<QAbstractItemView*>()) view->clearSelection();
    if (nameBox != nullptr) nameBox->clear();
  } else {
    dialog->selectFile(lastFile);
  }
  if (nameBox == nullptr) return;
  // Runs once the dialog's own event loop has shown it: the name box takes the keys, with its
  // text selected as a person expects when a dialog opens.
  QMetaObject::invokeMethod(
      nameBox,
      [nameBox] {
        nameBox->setFocus(Qt::OtherFocusReason);
        nameBox->selectAll();
      },
      Qt::QueuedConnection);
}

// The completion list of the name box is a window of its own; Enter in the name box can close
// the dialog while the list stays on screen over the main window and swallows the next click.
void CloseCompletionList(QLineEdit* nameBox) {
  if (nameBox == nullptr || nameBox->completer() == nullptr) return;
  if (QAbstractItemView* list = nameBox->completer()->popup()) list->hide();
}

// The open dialog's rule for a typed name: as typed when such a file exists, else what the
// dialog made of it (the name with "txt" added when it has no extension).
QString OpenedName(QFileDialog* dialog, const QString& typed, const QString& chosen) {
  if (typed.isEmpty() || dialog->acceptMode() != QFileDialog::AcceptOpen) return chosen;
  const QFileInfo asTyped(dialog->directory(), typed);
  return asTyped.isFile() ? asTyped.absoluteFilePath() : chosen;
}

// Qt sizes the detail view's columns for sample texts in its own font ("128.88 GB",
// "mp3Folder"), which cuts "144.0 KiB" and "plain text document" short in the window's face.
// Size, type and date take what their texts need, the name the rest; the dialog is made wide
// enough for a name column of useful width beside them.
void FitColumns(QFileDialog* dialog) {
  auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  if (view == nullptr) return;
  QHeaderView* header = view->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  constexpr int kWidth = 760;
  constexpr int kHeight = 440;
  dialog->resize(std::max(dialog->width(), kWidth), std::max(dialog->height(), kHeight));
}

}  // namespace

void SetUpFileDialog(QFileDialog* dialog, bool forSaving) {
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Any name may be typed in either dialog; opening a missing one fails with its own message.
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, forSaving);
  dialog->setNameFilters({TextFilesFilter(), AllFilesFilter()});
  dialog->selectNameFilter(TextFilesFilter());
  dialog->setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
  dialog->setProperty(kStartFolderProperty, dialog->directory().absolutePath());
  FitColumns(dialog);
  QLineEdit* nameBox = NameBox(dialog);
  if (nameBox == nullptr) return;
  QObject::connect(dialog, &QDialog::finished, dialog, [nameBox] { CloseCompletionList(nameBox); });
}

std::optional<QString> ChooseFile(QFileDialog* dialog) {
  QLineEdit* nameBox = NameBox(dialog);
  OfferLastUse(dialog, nameBox);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  const QString typed = nameBox != nullptr ? nameBox->text().trimmed() : QString();
  const QString chosen = OpenedName(dialog, typed, files.first());
  dialog->setProperty(kLastFileProperty, chosen);
  dialog->setProperty(kLastFilterProperty, dialog->selectedNameFilter());
  return chosen;
}

}  // namespace app
