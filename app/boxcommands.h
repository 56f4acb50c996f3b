// The commands behind the buttons of the two boxes: clear, open, save and print. Each raises
// a bagfunc::Error with the program's message on failure; the caller's guard shows it.
#pragma once

#include "base/errors.h"
#include "textio/files.h"

class QFileDialog;
class QString;
class QPlainTextEdit;
class QTextEdit;

namespace app {

inline constexpr char kTextExceedsCapacity[] = "Text exceeds memo capacity";
inline constexpr char kStreamWriteError[] = "Stream write error";
inline constexpr char kFailedToLoadStream[] = "Failed to Load Stream";
inline constexpr char kFailedToSaveStream[] = "Failed to Save Stream";
inline constexpr char kNoDefaultPrinter[] = "There is no default printer currently selected";

// What either box loads from a file: at most 16 MiB (about eight million Chinese characters, far
// more than a problem or a report needs), and no line longer than 100,000 characters. Qt's text
// boxes lay a wrapped line out in time that grows with the square of its length: a line at the
// limit takes under a second to show, a 16 MiB line would take hours. A larger file is refused
// before it is read; a longer line before the box is touched.
inline constexpr long long kMaxBoxFileBytes = textio::kMaxTextFileBytes;
inline constexpr int kMaxBoxLineChars = static_cast<int>(plaintext::kMaxLineChars);

// An RTF document the result box cannot load.
class StreamLoadError : public bagfunc::Error {
 public:
  StreamLoadError() : Error(kFailedToLoadStream) {}
};

// No default printer, or a print job that cannot start.
class NoPrinterError : public bagfunc::Error {
 public:
  NoPrinterError() : Error(kNoDefaultPrinter) {}
};

void ClearInputBox(QPlainTextEdit* box);
void OpenInputBox(QFileDialog* openDlg, QPlainTextEdit* box);
// What Open does once the file is chosen.
void LoadInputBox(const QString& path, QPlainTextEdit* box);
void SaveInputBox(QFileDialog* saveDlg, const QPlainTextEdit* box);

void ClearResultBox(QTextEdit* box);
void OpenResultBox(QFileDialog* openDlg, QTextEdit* box);
void LoadResultBox(const QString& path, QTextEdit* box);
void SaveResultBox(QFileDialog* saveDlg, const QTextEdit* box);

}  // namespace app
