#include "tests/support/windowtest.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace testsupport {

void WindowTest::initMain() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives until the program ends; QTemporaryDir makes it readable by its owner only, as the
  // runtime folder must be.
  static const auto privateFolder = std::make_unique<QTemporaryDir>();
  if (!privateFolder->isValid()) qFatal("no temporary folder for the test's desktop");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(privateFolder->path()));
  }
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(privateFolder->filePath(QStringLiteral("config"))));
}

void WindowTest::cleanup() {
  const QStringList problems = modals_.Problems();
  modals_.Reset();
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

}  // namespace testsupport
