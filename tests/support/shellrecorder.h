// Stands in for the desktop shell while it lives: every request to open a file or a web
// address is remembered instead of starting another program.
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace testsupport {

class ShellRecorder : public QObject {
  Q_OBJECT
 public:
  ShellRecorder();
  ~ShellRecorder() override;

  QList<QUrl> requests;

  Q_INVOKABLE void Open(const QUrl& url) { requests.append(url); }
};

}  // namespace testsupport
