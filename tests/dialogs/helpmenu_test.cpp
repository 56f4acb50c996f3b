// The help menu's shell requests and the missing-help-file box, with the shell intercepted.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QUrl>

#include <memory>

#include "dialogs/helpcommands.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

namespace {

enum class HelpPlace { None, File, Folder, LinkToFile, BrokenLink };

}  // namespace

Q_DECLARE_METATYPE(HelpPlace)

class HelpMenuTest : public testsupport::WindowTest {
  Q_OBJECT
 private:
  std::unique_ptr<testsupport::ShellRecorder> shell_;

 private slots:
  void init() { shell_ = std::make_unique<testsupport::ShellRecorder>(); }
  void cleanup() {
    shell_.reset();
    WindowTest::cleanup();
  }

  void helpFileSitsBesideTheProgram_data() {
    QTest::addColumn<QString>("exePath");
    QTest::addColumn<QString>("helpPath");
    QTest::newRow("program without extension")
        << "/opt/trevana/Trevana2023" << "/opt/trevana/Trevana2023.chm";
    QTest::newRow("extension is not kept") << "/opt/t/bag.exe" << "/opt/t/Trevana2023.chm";
    QTest::newRow("dot in the folder name") << "/a.b/prog" << "/a.b/Trevana2023.chm";
    QTest::newRow("root folder gets one separator") << "/prog" << "/Trevana2023.chm";
    QTest::newRow("relative path made absolute")
        << "prog" << QDir::currentPath() + "/Trevana2023.chm";
  }
  void helpFileSitsBesideTheProgram() {
    QFETCH(QString, exePath);
    QFETCH(QString, helpPath);
    QCOMPARE(dialogs::HelpFilePath(exePath), helpPath);
  }

  void contentOpensFileOrSaysItIsMissing_data() {
    QTest::addColumn<HelpPlace>("place");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("opens");
    QTest::newRow("no help file") << HelpPlace::None << "" << false;
    QTest::newRow("help file present") << HelpPlace::File << "" << true;
    QTest::newRow("folder named like the help file") << HelpPlace::Folder << "" << false;
    QTest::newRow("link to a help file elsewhere") << HelpPlace::LinkToFile << "" << true;
    QTest::newRow("link to nothing") << HelpPlace::BrokenLink << "" << false;
    // Characters that mean something in a URL must reach the shell as part of the path.
    QTest::newRow("folder name with URL characters")
        << HelpPlace::File << QStringLiteral("帮助 #1%20?x") << true;
    QTest::newRow("missing, folder name with URL characters")
        << HelpPlace::None << QStringLiteral("帮助 #1%20?x") << false;
  }
  void contentOpensFileOrSaysItIsMissing() {
    QFETCH(HelpPlace, place);
    QFETCH(QString, programFolder);
    QFETCH(bool, opens);
    testsupport::TempFolder root;
    QVERIFY(QDir(root.Path()).mkpath(programFolder.isEmpty() ? "." : programFolder));
    const QDir folder(root.File(programFolder));
    const QString exePath = folder.filePath("Trevana2023");
    const QString helpPath = folder.filePath("Trevana2023.chm");
    const QString elsewhere = root.File("elsewhere.chm");
    switch (place) {
      case HelpPlace::None:
        break;
      case HelpPlace::File:
        QVERIFY(QFile(helpPath).open(QIODevice::WriteOnly));
        break;
      case HelpPlace::Folder:
        QVERIFY(QDir(folder.path()).mkdir("Trevana2023.chm"));
        break;
      case HelpPlace::LinkToFile:
        QVERIFY(QFile(elsewhere).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(elsewhere, helpPath));
        break;
      case HelpPlace::BrokenLink:
        QVERIFY(QFile::link(elsewhere, helpPath));
        break;
    }

    // Any other box is recorded by the watchdog and fails the test in cleanup().
    testsupport::SeenBox seen;
    if (!opens) modals_.ExpectMessageBox(seen);
    auto* owner = new QWidget;
    dialogs::OpenHelpContent(owner, exePath);
    delete owner;

    if (opens) {
      QCOMPARE(modals_.Seen(), 0);
      QCOMPARE(shell_->requests.size(), 1);
      QVERIFY(shell_->requests.first().isLocalFile());
      QCOMPARE(shell_->requests.first().toLocalFile(), helpPath);
      return;
    }
    QCOMPARE(shell_->requests.size(), 0);
    QCOMPARE(modals_.Seen(), 1);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("系统提示System Hint"));
    QCOMPARE(seen.text, QStringLiteral("不能打开帮助文件") + helpPath +
                       QStringLiteral("\r\nCan not Open Help File") + helpPath);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }

  void webItemAsksTheShellOnceWithoutAnyCheck() {
    dialogs::OpenWebPage();
    QCOMPARE(modals_.Seen(), 0);
    QCOMPARE(shell_->requests.size(), 1);
    QCOMPARE(shell_->requests.first(), QUrl(QStringLiteral(TEST_WEB_ADDRESS)));
    QCOMPARE(dialogs::WebAddress(), QStringLiteral(TEST_WEB_ADDRESS));
  }
};

QTEST_MAIN(HelpMenuTest)
#include "helpmenu_test.moc"
