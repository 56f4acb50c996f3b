// The commands behind the buttons of the two boxes: clear, open, save and print. Each raises
// a trevana::Error with the program's message on failure; the caller's guard shows it.
#pragma once

class QFileDialog;
class QPlainTextEdit;
class QTextEdit;

namespace boxcommands {

// Filters "文本数据文件(*.txt)" and "所有文件(*.*)", default suffix "txt", no overwrite
// question, one file, Qt's own dialog widgets (so tests can drive them).
void SetUpFileDialog(QFileDialog* dialog, bool forSaving);

void ClearInputBox(QPlainTextEdit* box);
void OpenInputBox(QFileDialog* openDlg, QPlainTextEdit* box);
void SaveInputBox(QFileDialog* saveDlg, const QPlainTextEdit* box);

void ClearResultBox(QTextEdit* box);
void OpenResultBox(QFileDialog* openDlg, QTextEdit* box);
void SaveResultBox(QFileDialog* saveDlg, const QTextEdit* box);

// Prints the box on the default printer, no dialog, no margins.
void PrintResultBox(const QTextEdit* box);

}  // namespace boxcommands
