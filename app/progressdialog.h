// The modal dialog that stands while the best packing searches off the interface thread: the
// time spent, the best value found so far and the proven bound, and a button that stops the
// search, keeping the best pick found. It closes when told that the search has ended, never
// before, so no other command can start while a search runs.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "engine/exact.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace app {

// The latest progress of a search, handed from the solving thread to the interface thread.
class ProgressMailbox {
 public:
  struct Numbers {
    bool known = false;     // a report has come
    bool feasible = false;  // a pick that fits is known
    std::int64_t value = 0;
    std::int64_t bound = 0;
  };

  void Post(const bagfunc::ExactProgress& progress);  // from any thread
  Numbers Latest() const;

 private:
  mutable std::mutex mutex_;
  Numbers latest_;
};

class TExactProgressDialog : public QDialog {
  Q_OBJECT
 public:
  // stop is set when the user asks the search to end; timeLimitSeconds (0: none) paces the
  // bar of elapsed time.
  TExactProgressDialog(QWidget* parent, const ProgressMailbox& mailbox, std::atomic<bool>& stop,
                       double timeLimitSeconds);

  QPushButton* BtnStop = nullptr;
  QLabel* LblElapsed = nullptr;
  QLabel* LblBestValue = nullptr;
  QLabel* LblBound = nullptr;

  // The search has ended: the dialog closes.
  void SearchEnded();

 protected:
  // Esc and the title bar's close button stop the search like the button; the dialog stays
  // until the search has ended.
  void reject() override;

 private:
  void RequestStop();
  void Refresh();

  const ProgressMailbox& mailbox_;
  std::atomic<bool>& stop_;
  const double timeLimitSeconds_;
  QElapsedTimer clock_;
  QTimer* ticker_ = nullptr;
  QLabel* heading_ = nullptr;
  QProgressBar* timeBar_ = nullptr;
  bool ended_ = false;
};

}  // namespace app
