// The best packing in the window, beside the three solve buttons and without touching them:
// the first item of the input box's context menu and F5 anywhere in the main window. Like a
// solve button it reads the input box and writes the echo lines into the result box; then the
// search runs on a worker thread, on a copy of the items, while a modal progress dialog keeps
// every other command out; then the report follows the echo lines.
#pragma once

#include <QObject>

#include <atomic>

#include "engine/exact.h"

class QAction;
class QMainWindow;
class QPlainTextEdit;
class QPoint;
class QTextEdit;

namespace app {

class ExactSolveCommand : public QObject {
  Q_OBJECT
 public:
  // Hooks the command into window: the context menu of source, the key F5, and the window's
  // close, which during a search stops it and waits for its end before the window closes.
  ExactSolveCommand(QMainWindow* window, QPlainTextEdit* source, QTextEdit* result);

  // "求精确最优解 Best Packing (Exact)", with the shortcut F5.
  QAction* Action() const { return action_; }
  bool Searching() const { return searching_; }

  // The command, with bagsolve's default time limit. A header line that is not an integer
  // and too many items raise as for the solve buttons, after the echo lines written so far.
  void Run();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowInputMenu(const QPoint& at);
  // Runs the search on a worker thread under the progress dialog and waits for its end;
  // rethrows what the search raised.
  bagfunc::ExactResult Search(const bagfunc::ExactProblem& problem);

  QMainWindow* window_;
  QPlainTextEdit* source_;
  QTextEdit* result_;
  QAction* action_;
  std::atomic<bool> stop_ = false;
  bool searching_ = false;
  bool closeRequested_ = false;  // the window was asked to close during the search
};

}  // namespace app
