// Test helpers for modal windows: act on the next one that opens, and fail instead of hanging
// when a modal window never closes.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testing_support {

// Lives on the test's stack: its timers die with it, so nothing fires into a later test.
class ModalWatch : public QObject {
 public:
  // Runs act once on the next active modal window; gives up after limitMs.
  void WhenModalAppears(std::function<void(QWidget*)> act, int limitMs = 5000) {
    clock_.start();
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, act, limitMs] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        poll->stop();
        ++modalsSeen_;
        act(modal);
      } else if (clock_.elapsed() > limitMs) {
        poll->stop();
      }
    });
    poll->start(10);
  }

  // Hides any modal window still open after limitMs; Fired() then tells the test it failed.
  void ArmWatchdog(int limitMs = 5000) {
    QTimer::singleShot(limitMs, this, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        fired_ = true;
        modal->hide();
      }
    });
  }

  int ModalsSeen() const { return modalsSeen_; }
  bool Fired() const { return fired_; }

 private:
  QElapsedTimer clock_;
  int modalsSeen_ = 0;
  bool fired_ = false;
};

}  // namespace testing_support
