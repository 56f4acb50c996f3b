// The help menu's requests to the desktop shell: the help file and the product's web page.
#pragma once

#include <QString>

class QWidget;

namespace dialogs {

// The product's web page (set at build time).
QString WebAddress();

// The folder of exePath, a separator, then "Trevana2023.chm".
QString HelpFilePath(const QString& exePath);

// Opens the help file through the shell, or, when no file (a folder does not count) is there,
// shows the missing-help-file box owned by owner.
void OpenHelpContent(QWidget* owner, const QString& exePath);

// Asks the shell to open the product's web page; the answer is not looked at.
void OpenWebPage();

}  // namespace dialogs
