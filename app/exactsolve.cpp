#include "app/exactsolve.h"

#include "app/errordisplay.h"
#include "app/linelists.h"
#include "app/progressdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTextEdit>

#include "engine/solve.h"

#include <exception>
#include <thread>

namespace app {

ExactSolveCommand::ExactSolveCommand(QMainWindow* window, QPlainTextEdit* source,
                                     QTextEdit* result)
    : QObject(window), window_(window), source_(source), result_(result) {
  action_ = new QAction(QStringLiteral("求精确最优解 Best Packing (Exact)"), this);
  action_->setObjectName(QStringLiteral("MnuBestPacking"));
  action_->setShortcut(QKeySequence(Qt::Key_F5));
  action_->setShortcutContext(Qt::WindowShortcut);
  window_->addAction(action_);
  connect(action_, &QAction::triggered, this, [this] { Guarded([this] { Run(); }); });

  source_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(source_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { Guarded([this, at] { ShowInputMenu(at); }); });
  window_->installEventFilter(this);
}

void ExactSolveCommand::ShowInputMenu(const QPoint& at) {
  // The box's own menu (undo, cut, copy, paste ...) with the command in front.
  QMenu* menu = source_->createStandardContextMenu();
  menu->setObjectName(QStringLiteral("MemoSrcMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setFont(window_->font());  // a menu is a window of its own: it needs the Song face
  QAction* first = menu->actions().value(0);
  menu->insertAction(first, action_);
  if (first != nullptr) menu->insertSeparator(first);
  menu->popup(source_->viewport()->mapToGlobal(at));
}

void ExactSolveCommand::Run() {
  if (searching_) return;
  bagfunc::BagEngine& engine = bagfunc::ProcessEngine();
  const SnapshotLines src(source_);
  ResultLines dst(result_);
  bagfunc::SolveRequest request;
  request.variants = {bagfunc::SolveVariant::BestPacking};
  // The echo lines stand in the box while the search runs.
  request.echoed = [&dst](const bagfunc::LineList&) { dst.Flush(); };
  // The search reads a copy: the tables stay the interface thread's alone.
  request.runExact = [this](const bagfunc::ExactProblem& problem, const bagfunc::ExactOptions&) {
    return Search(problem);
  };
  try {
    bagfunc::ReportOutcome(engine, bagfunc::RunSolve(engine, src, dst, request).front(), dst);
  } catch (...) {
    dst.Flush();
    throw;
  }
  dst.Flush();

  if (closeRequested_) {
    closeRequested_ = false;
    window_->close();
  }
}

bagfunc::ExactResult ExactSolveCommand::Search(const bagfunc::ExactProblem& problem) {
  ProgressMailbox mailbox;
  bagfunc::ExactOptions options;  // bagsolve's default time limit
  options.stop = &stop_;
  options.progress = [&mailbox](const bagfunc::ExactProgress& progress) {
    mailbox.Post(progress);
  };
  TExactProgressDialog dialog(window_, mailbox, stop_, options.timeLimitSeconds);

  bagfunc::ExactResult result;
  std::exception_ptr failure;
  stop_ = false;
  closeRequested_ = false;
  std::thread worker([&] {
    try {
      result = bagfunc::SolveExact(problem, options);
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&dialog, &TExactProgressDialog::SearchEnded, Qt::QueuedConnection);
  });
  searching_ = true;
  {
    // The dialog's loop can also end because the program is quitting: the search is stopped
    // and waited for whatever ended the loop, before anything it uses goes away.
    const auto waitForWorker = qScopeGuard([&] {
      stop_ = true;
      worker.join();
      searching_ = false;
    });
    dialog.exec();
  }
  if (failure) std::rethrow_exception(failure);
  return result;
}

bool ExactSolveCommand::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Close && searching_) {
    // The window closes once the search has stopped and its report stands in the box.
    stop_ = true;
    closeRequested_ = true;
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace app
