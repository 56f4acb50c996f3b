// Answering the program's real file dialogs from a test, as a person does: through the name
// box, the filter list and the keyboard.
#pragma once

#include <QStringList>

class QFileDialog;
class QLineEdit;
class QString;

namespace testsupport {

// The dialog's name box.
QLineEdit* NameBox(QFileDialog* dialog);

// Types a name into the focused name box (replacing what is selected there) and presses Enter.
void TypeAndAccept(QFileDialog* dialog, const QString& name);

// The captions of the filter list as shown, and the one shown as chosen.
QStringList FilterCaptions(QFileDialog* dialog);
QString ChosenFilterCaption(QFileDialog* dialog);
// Chooses a filter in the list by its caption, as a click on it does.
void ChooseFilter(QFileDialog* dialog, const QString& caption);

// The names the dialog's list shows in its current folder, sorted, once it has read them.
QStringList ListedNames(QFileDialog* dialog);

}  // namespace testsupport
