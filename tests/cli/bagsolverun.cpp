#include "tests/cli/bagsolverun.h"

#include <gtest/gtest.h>

#include <QProcess>

ProcessResult Bagsolve(const QStringList& args, const QByteArray& input) {
  QProcess process;
  process.start(QStringLiteral(BAGSOLVE_PATH), args);
  EXPECT_TRUE(process.waitForStarted());
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
          process.readAllStandardOutput(), process.readAllStandardError()};
}
