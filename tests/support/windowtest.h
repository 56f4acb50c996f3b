// The base of every Qt test program. QTEST_MAIN calls initMain() before the application object
// exists: the test then runs on the offscreen platform unless QT_QPA_PLATFORM names another, so
// a test run by hand needs no display, and with private runtime and configuration folders, so
// nothing of the user's desktop (a file dialog's remembered folder) reaches a test and nothing
// of a test stays behind. Every test function runs under the one modal watchdog.
#pragma once

#include <QObject>

#include "tests/support/modalwatchdog.h"

namespace testsupport {

class WindowTest : public QObject {
  Q_OBJECT
 public:
  // Programs with their own main() call it first.
  static void initMain();

 protected:
  ModalWatchdog modals_;

 protected slots:
  // Fails a test that let an unexpected modal window open, or expected one that never came.
  // A test class with its own cleanup() calls this one at its end.
  void cleanup();
};

}  // namespace testsupport
