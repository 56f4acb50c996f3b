// The desktop shell's "open" request, carried out as a desktop shell does it: a compiled help
// file opens in a help viewer (never in a browser, which would only offer to download it), any
// other target in the program the desktop associates with it (xdg-open). When nothing can open
// the target the shell says so in a box of its own, in the desktop's language, naming the
// package to install. The help menu reaches it through QDesktopServices, for which it is the
// handler of file, http and https addresses while it lives (tests put their recorder there).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QUrl;

namespace dialogs {

// The help viewers tried for a .chm file, in this order; the first is the package named when
// none is installed.
inline const QStringList kHelpViewers = {QStringLiteral("xchm"), QStringLiteral("kchmviewer")};
// The package named when no browser opens a web address.
inline const QString kBrowserPackage = QStringLiteral("chromium");

// Whether the desktop speaks Chinese (the system locale).
bool ChineseDesktop();

// The box's caption and text when nothing opens target.
QString NothingOpensCaption(bool chinese);
QString NothingOpensText(const QUrl& target, bool chinese);

class DesktopShell : public QObject {
  Q_OBJECT
 public:
  explicit DesktopShell(bool chinese = ChineseDesktop(), QObject* parent = nullptr);
  ~DesktopShell() override;

  // Opens target; an answer that nothing could open it comes as the box, later for a web
  // address (when xdg-open has ended without success).
  Q_INVOKABLE void Open(const QUrl& target);

 private:
  void OpenHelpFile(const QUrl& target);
  void OpenWithDesktop(const QUrl& target);
  void ShowNothingOpens(const QUrl& target);

  bool chinese_;
};

}  // namespace dialogs
