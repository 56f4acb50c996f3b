// Answering the program's real file dialogs from a test.
#pragma once

class QFileDialog;
class QString;

namespace testsupport {

// Types a name into a file dialog's name box and confirms it.
void TypeAndAccept(QFileDialog* dialog, const QString& name);

}  // namespace testsupport
