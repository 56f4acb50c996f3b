#include "libreoffice.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdlib>

bool HaveLibreOffice() {
  return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

QList<QByteArray> ConvertWithLibreOffice(const QStringList& files, const QString& format,
                                         const QString& extension) {
  QTemporaryDir profile;
  QTemporaryDir out;
  QProcess soffice;
  QStringList args = {
      QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
      QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
      QStringLiteral("--outdir"), out.path()};
  args += files;
  soffice.start(QStringLiteral("soffice"), args);
  if (!soffice.waitForFinished(300000)) {
    soffice.kill();
    ADD_FAILURE() << "soffice did not finish";
  }
  QList<QByteArray> results;
  for (const QString& file : files) {
    QFile converted(QDir(out.path()).filePath(QFileInfo(file).completeBaseName() + "." + extension));
    results.append(converted.open(QIODevice::ReadOnly) ? converted.readAll() : QByteArray());
  }
  return results;
}

QString LibreOfficeText(const QByteArray& bytes) {
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}
