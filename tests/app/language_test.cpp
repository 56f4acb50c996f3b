// The interface language: group-box captions from the settings file, the Set menu's check
// marks, and the choice written back when the window goes.
#include "app/frmmain.h"
#include "app/startup.h"
#include "settings/exepath.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

const QString kChineseInput = QStringLiteral("输入数据区");
const QString kChineseResult = QStringLiteral("输出结果区");
const QString kEnglishInput = QStringLiteral("Input Datas Area");
const QString kEnglishResult = QStringLiteral("Result Area");

}  // namespace

class LanguageTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void init() { folder_ = std::make_unique<testsupport::ProgramFolder>(); }
  void cleanup() {
    window_.reset();
    folder_.reset();
    WindowTest::cleanup();
  }

  void captionsFromSettingsFile_data() {
    QTest::addColumn<QByteArray>("iniFile");  // empty: no file at all
    QTest::addColumn<bool>("english");
    QTest::newRow("no settings file") << QByteArray() << false;
    QTest::newRow("stored 1") << QByteArray("[Setting]\r\nbChinese=1\r\n") << false;
    QTest::newRow("stored 0") << QByteArray("[Setting]\r\nbChinese=0\r\n") << true;
    QTest::newRow("names in capitals") << QByteArray("[SETTING]\r\nBCHINESE=0\r\n") << true;
    QTest::newRow("hexadecimal zero") << QByteArray("[Setting]\r\nbChinese=$0\r\n") << true;
    QTest::newRow("not a number") << QByteArray("[Setting]\r\nbChinese=false\r\n") << false;
  }
  void captionsFromSettingsFile() {
    QFETCH(QByteArray, iniFile);
    QFETCH(bool, english);
    if (!iniFile.isEmpty()) folder_->WriteIni(iniFile);
    ShowWindow();
    // The captions as built never survive the first show.
    QCOMPARE(window_->GrpDatas->title(), english ? kEnglishInput : kChineseInput);
    QCOMPARE(window_->GrpResult->title(), english ? kEnglishResult : kChineseResult);
    OpenSetMenu();
    QCOMPARE(window_->MnuChinese->isChecked(), !english);
    QCOMPARE(window_->MnuEnglish->isChecked(), english);
  }

  void switchingChangesCaptionsAtOnceAndMarksAtNextOpening() {
    ShowWindow();
    OpenSetMenu();
    const QString input = window_->MemoSrc->toPlainText();
    const QString result = window_->MemoResult->toPlainText();

    window_->MnuEnglish->trigger();
    QCOMPARE(window_->GrpDatas->title(), kEnglishInput);
    QCOMPARE(window_->GrpResult->title(), kEnglishResult);
    // Choosing an item does not tick it; the menu sets its marks when it opens.
    QVERIFY(window_->MnuChinese->isChecked());
    QVERIFY(!window_->MnuEnglish->isChecked());
    OpenSetMenu();
    QVERIFY(!window_->MnuChinese->isChecked());
    QVERIFY(window_->MnuEnglish->isChecked());

    // The language already in force, chosen again, keeps its mark and its captions.
    window_->MnuEnglish->trigger();
    QVERIFY(window_->MnuEnglish->isChecked());
    QCOMPARE(window_->GrpDatas->title(), kEnglishInput);

    window_->MnuChinese->trigger();
    QCOMPARE(window_->GrpDatas->title(), kChineseInput);
    QCOMPARE(window_->GrpResult->title(), kChineseResult);
    OpenSetMenu();
    QVERIFY(window_->MnuChinese->isChecked());
    QVERIFY(!window_->MnuEnglish->isChecked());

    QCOMPARE(window_->MemoSrc->toPlainText(), input);
    QCOMPARE(window_->MemoResult->toPlainText(), result);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Trevana背包问题计算器2023.3"));
    QCOMPARE(window_->MnuSet->text(), QStringLiteral("设置&Set"));
  }

  void choiceIsWrittenOnlyAtExit() {
    ShowWindow();
    window_->MnuEnglish->trigger();
    QVERIFY2(folder_->IniBytes().isEmpty(), "the file is written when the window goes");
    window_.reset();
    QVERIFY(folder_->IniBytes().contains("bChinese=0"));
  }

  void choiceSurvivesRestart_data() {
    QTest::addColumn<QString>("chosen");  // the menu item chosen before leaving
    QTest::addColumn<bool>("byExitItem");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("inputCaptionAfterRestart");
    QTest::newRow("English, left by the close button")
        << "MnuEnglish" << false << QByteArray("bChinese=0") << kEnglishInput;
    QTest::newRow("English, left by the Exit item")
        << "MnuEnglish" << true << QByteArray("bChinese=0") << kEnglishInput;
    QTest::newRow("Chinese, left by the close button")
        << "MnuChinese" << false << QByteArray("bChinese=1") << kChineseInput;
    QTest::newRow("Chinese, left by the Exit item")
        << "MnuChinese" << true << QByteArray("bChinese=1") << kChineseInput;
  }
  void choiceSurvivesRestart() {
    QFETCH(QString, chosen);
    QFETCH(bool, byExitItem);
    QFETCH(QByteArray, stored);
    QFETCH(QString, inputCaptionAfterRestart);
    // Start from the other language, so a file that is not written shows up.
    folder_->WriteIni(stored.endsWith('0') ? "[Setting]\r\nbChinese=1\r\n"
                                           : "[Setting]\r\nbChinese=0\r\n");
    ShowWindow();
    window_->findChild<QAction*>(chosen)->trigger();
    if (byExitItem) {
      window_->MnuExit->trigger();
    } else {
      QVERIFY(window_->close());
    }
    QVERIFY(!window_->isVisible());
    window_.reset();
    QVERIFY2(folder_->IniBytes().contains(stored), folder_->IniBytes().constData());

    ShowWindow();
    QCOMPARE(window_->GrpDatas->title(), inputCaptionAfterRestart);
  }

  void settingsFileThatCannotBeWrittenIsReported() {
    // A program folder that does not exist: the settings file cannot be created at exit.
    const QString missing = folder_->Path() + QStringLiteral("/gone/Trevana2023");
    settings::SetExecutablePath(missing.toStdString());
    app::InstallSettingsFailureDisplay();
    ShowWindow();
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    window_.reset();
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Trevana背包问题计算器2023"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QVERIFY2(seen.text.startsWith(QStringLiteral("Unable to write to ")), qPrintable(seen.text));
    QVERIFY2(seen.text.contains(QStringLiteral("gone")), qPrintable(seen.text));
    QVERIFY(seen.text.endsWith(QLatin1Char('.')));
  }

 private:
  void ShowWindow() {
    window_ = std::make_unique<TFrmMain>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  // Opens the Set menu as the user does, which sets its check marks, and closes it again.
  void OpenSetMenu() {
    QMenu* menu = window_->MnuSet->menu();
    menu->popup(window_->mapToGlobal(QPoint(40, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    menu->hide();
  }

  std::unique_ptr<testsupport::ProgramFolder> folder_;
  std::unique_ptr<TFrmMain> window_;
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
