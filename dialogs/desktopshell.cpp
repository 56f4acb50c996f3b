#include "dialogs/desktopshell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace dialogs {
namespace {

constexpr const char* kSchemes[] = {"file", "http", "https"};

bool IsHelpFile(const QUrl& target) {
  return target.isLocalFile() &&
         target.toLocalFile().endsWith(QLatin1String(".chm"), Qt::CaseInsensitive);
}

QString Shown(const QUrl& target) {
  return target.isLocalFile() ? QDir::toNativeSeparators(target.toLocalFile())
                              : target.toString();
}

}  // namespace

bool ChineseDesktop() { return QLocale::system().language() == QLocale::Chinese; }

QString NothingOpensCaption(bool chinese) {
  return chinese ? QStringLiteral("无法打开") : QStringLiteral("Cannot Open");
}

QString NothingOpensText(const QUrl& target, bool chinese) {
  const QString shown = Shown(target);
  if (IsHelpFile(target)) {
    const QString package = kHelpViewers.first();
    return chinese ? QStringLiteral("没有能打开帮助文件的帮助查看器：\n%1\n\n请安装帮助查看器，"
                                    "例如软件包 %2（sudo apt install %2）。")
                         .arg(shown, package)
                   : QStringLiteral("No help viewer can open the help file\n%1\n\nInstall a help "
                                    "viewer, for example the package %2 (sudo apt install %2).")
                         .arg(shown, package);
  }
  if (target.isLocalFile()) {
    return chinese ? QStringLiteral("没有能打开此文件的程序：\n%1").arg(shown)
                   : QStringLiteral("No program can open the file\n%1").arg(shown);
  }
  return chinese ? QStringLiteral("没有浏览器能打开网址：\n%1\n\n请安装浏览器，"
                                  "例如软件包 %2（sudo apt install %2）。")
                       .arg(shown, kBrowserPackage)
                 : QStringLiteral("No web browser could open the address\n%1\n\nInstall a "
                                  "browser, for example the package %2 (sudo apt install %2).")
                       .arg(shown, kBrowserPackage);
}

DesktopShell::DesktopShell(bool chinese, QObject* parent) : QObject(parent), chinese_(chinese) {
  for (const char* scheme : kSchemes) {
    QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
  }
}

DesktopShell::~DesktopShell() {
  for (const char* scheme : kSchemes) QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void DesktopShell::Open(const QUrl& target) {
  if (IsHelpFile(target)) {
    OpenHelpFile(target);
  } else {
    OpenWithDesktop(target);
  }
}

void DesktopShell::OpenHelpFile(const QUrl& target) {
  // The desktop's own choice for .chm is often a browser: only a help viewer is asked.
  for (const QString& viewer : kHelpViewers) {
    const QString program = QStandardPaths::findExecutable(viewer);
    if (!program.isEmpty() && QProcess::startDetached(program, {target.toLocalFile()})) return;
  }
  ShowNothingOpens(target);
}

void DesktopShell::OpenWithDesktop(const QUrl& target) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) {
    ShowNothingOpens(target);
    return;
  }
  // xdg-open runs the program it chose until that ends, and fails when none would start. Its
  // end is awaited here; a browser still open when the calculator ends stays open (it is
  // xdg-open's child, and only xdg-open goes with the calculator).
  auto* process = new QProcess(this);
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  connect(process, &QProcess::finished, this,
          [this, process, target](int exitCode, QProcess::ExitStatus status) {
            process->deleteLater();
            if (status != QProcess::NormalExit || exitCode != 0) ShowNothingOpens(target);
          });
  connect(process, &QProcess::errorOccurred, this, [this, process, target](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    process->deleteLater();
    ShowNothingOpens(target);
  });
  process->start(program, {target.toString()});
}

void DesktopShell::ShowNothingOpens(const QUrl& target) {
  QMessageBox box(QMessageBox::Warning, NothingOpensCaption(chinese_),
                  NothingOpensText(target, chinese_), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace dialogs
