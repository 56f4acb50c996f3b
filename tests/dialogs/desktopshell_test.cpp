// The shell that carries out the help menu's "open" requests, with stand-in programs on PATH
// that write down how they were called: a help file goes to a help viewer and never to a
// browser, a web address to xdg-open, and when nothing opens the target the box says so,
// naming the package to install, in the desktop's language.
#include <QDesktopServices>
#include <QFile>
#include <QTest>
#include <QUrl>

#include "dialogs/desktopshell.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

class DesktopShellTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void opens_data() {
    QTest::addColumn<QStringList>("programs");  // "name" or "name:exit code"
    QTest::addColumn<bool>("helpFile");         // else the web page
    QTest::addColumn<QString>("called");        // the program that got the target
    QTest::addColumn<QString>("package");       // the box names it; empty: no box
    QTest::newRow("help file in xchm")
        << QStringList{"xchm", "kchmviewer", "xdg-open"} << true << "xchm" << "";
    QTest::newRow("help file in kchmviewer without xchm")
        << QStringList{"kchmviewer", "xdg-open"} << true << "kchmviewer" << "";
    QTest::newRow("help file never in a browser")
        << QStringList{"xdg-open", "x-www-browser", "chromium"} << true << "" << "xchm";
    QTest::newRow("help file, nothing installed") << QStringList{} << true << "" << "xchm";
    QTest::newRow("web page through xdg-open")
        << QStringList{"xdg-open", "xchm"} << false << "xdg-open" << "";
    QTest::newRow("web page, xdg-open finds no browser")
        << QStringList{"xdg-open:3"} << false << "xdg-open" << "chromium";
    QTest::newRow("web page, no xdg-open") << QStringList{"xchm"} << false << "" << "chromium";
  }
  void opens() {
    QFETCH(QStringList, programs);
    QFETCH(bool, helpFile);
    QFETCH(QString, called);
    QFETCH(QString, package);
    const testsupport::TempFolder folder;
    const QString log = folder.File(QStringLiteral("calls.log"));
    for (const QString& program : programs) {
      const QString name = program.section(QLatin1Char(':'), 0, 0);
      const QString code = program.section(QLatin1Char(':'), 1).isEmpty()
                               ? QStringLiteral("0")
                               : program.section(QLatin1Char(':'), 1);
      const QString script = QStringLiteral("#!/bin/sh\necho \"%1 $*\" >>'%2'\nexit %3\n")
                                 .arg(name, log, code);
      QVERIFY(folder.Write(name, script.toUtf8()));
      QFile::setPermissions(folder.File(name), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder.Path().toLocal8Bit());
    const QUrl target = helpFile ? QUrl::fromLocalFile(folder.File(QStringLiteral("Trevana2023.chm")))
                                 : QUrl(QStringLiteral("https://example.org/trevana/"));
    testsupport::SeenBox box;
    if (!package.isEmpty()) modals_.ExpectMessageBox(box);
    {
      const dialogs::DesktopShell shell(false);
      QVERIFY(QDesktopServices::openUrl(target));
      // The stand-ins end at once; xdg-open's end is awaited by the shell.
      QTRY_VERIFY_WITH_TIMEOUT(package.isEmpty() ? QFile::exists(log) || called.isEmpty()
                                                 : box.seen,
                               10000);
      QTest::qWait(200);
    }
    qputenv("PATH", path);
    QFile calls(log);
    const QString written = calls.open(QIODevice::ReadOnly) ? QString::fromUtf8(calls.readAll()) : QString();
    const QString expected = called.isEmpty() ? QString()
                             : QStringLiteral("%1 %2\n").arg(called, helpFile ? target.toLocalFile() : target.toString());
    QCOMPARE(written, expected);
    QCOMPARE(box.seen, !package.isEmpty());
    if (box.seen) {
      QCOMPARE(box.title, dialogs::NothingOpensCaption(false));
      QVERIFY2(box.text.contains(QStringLiteral("apt install ") + package), qPrintable(box.text));
      QVERIFY(box.text.contains(helpFile ? target.toLocalFile() : target.toString()));
    }
  }

  // The box speaks the desktop's language, Chinese or English, and names the package either way.
  void boxInTheDesktopsLanguage() {
    const QUrl help = QUrl::fromLocalFile(QStringLiteral("/opt/t/Trevana2023.chm"));
    const QUrl web(QStringLiteral("https://example.org/"));
    QCOMPARE(dialogs::NothingOpensCaption(true), QStringLiteral("无法打开"));
    QVERIFY(dialogs::NothingOpensText(help, true).startsWith(QStringLiteral("没有能打开帮助文件")));
    QVERIFY(dialogs::NothingOpensText(web, true).startsWith(QStringLiteral("没有浏览器")));
    QVERIFY(dialogs::NothingOpensText(help, false).startsWith(QStringLiteral("No help viewer")));
    for (const bool chinese : {true, false}) {
      QVERIFY(dialogs::NothingOpensText(help, chinese).contains(QStringLiteral("apt install xchm")));
      QVERIFY(dialogs::NothingOpensText(web, chinese).contains(QStringLiteral("apt install chromium")));
    }
  }
};

QTEST_MAIN(DesktopShellTest)
#include "desktopshell_test.moc"
