#include "dialogs/helpcommands.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace dialogs {
namespace {

constexpr char kHelpFileName[] = "Trevana2023.chm";

}  // namespace

QString WebAddress() { return QStringLiteral(TREVANA_WEB_ADDRESS); }

QString HelpFilePath(const QString& exePath) {
  QString folder = QDir::toNativeSeparators(QFileInfo(exePath).absolutePath());
  // A program in the root folder already has its separator.
  if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
  return folder + QLatin1String(kHelpFileName);
}

void OpenHelpContent(QWidget* owner, const QString& exePath) {
  const QString path = HelpFilePath(exePath);
  // A folder that happens to carry the help file's name is no help file.
  if (QFileInfo(path).isFile()) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return;
  }
  const QString message = QStringLiteral("不能打开帮助文件") + path + QStringLiteral("\r\n") +
                          QStringLiteral("Can not Open Help File") + path;
  QMessageBox box(QMessageBox::Warning, QStringLiteral("系统提示System Hint"), message,
                  QMessageBox::Ok, owner);
  box.exec();
}

void OpenWebPage() { QDesktopServices::openUrl(QUrl(WebAddress())); }

}  // namespace dialogs
