// One run of the built bagsolve program: arguments and standard input in, exit status and the
// bytes of both output streams out.
#pragma once

#include <QByteArray>
#include <QStringList>

struct ProcessResult {
  int exitCode = -1;  // -2 when the program did not end normally
  QByteArray out;
  QByteArray err;
};

ProcessResult Bagsolve(const QStringList& args, const QByteArray& input);
