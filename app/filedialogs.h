// The two file dialogs of the main window and how they behave as a person uses them: the filter
// list, the default extension, and the memory of the last confirmed use.
#pragma once

#include <QString>

#include <optional>

class QFileDialog;

namespace app {

// Both filters, default extension "txt", no overwrite question, one file, Qt's own dialog
// widgets (so tests can drive them). "所有文件(*.*)" lists every file, with or without an
// extension, as "*.*" does on Windows.
void SetUpFileDialog(QFileDialog* dialog, bool forSaving);

// Shows the dialog modally and gives the chosen file's full name, or nothing when the user
// cancelled. It offers the file, folder and filter of its last confirmed use, or before one
// its first filter, its starting folder and an empty name; text typed into a cancelled
// showing is not offered again. The offered name is selected, so typing replaces it.
// In the open dialog a typed name that exists as typed is taken as typed; "txt" is added only
// to a name without an extension that does not exist as typed.
std::optional<QString> ChooseFile(QFileDialog* dialog);

}  // namespace app
