// Every control of the real main window pressed as a person presses it, through the widget
// (buttons clicked, menus opened from the menu bar), and what each press did: which dialog it
// showed, what reached the boxes, the disk, the printer or the desktop shell.
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

#include <memory>

#include "app/frmmain.h"
#include "tests/support/filedialogs.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

namespace {

const QByteArray kProblemFile = "2\n1\n9\n4,5\n6,7\n";

}  // namespace

class ControlsTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // A print scheduler that is not there: this program has no printer at all.
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
  }
  void init() {
    folder_ = std::make_unique<testsupport::ProgramFolder>();
    window_ = std::make_unique<TFrmMain>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    shell_.requests.clear();
  }
  void cleanup() {
    window_.reset();
    folder_.reset();
    WindowTest::cleanup();
  }

  void clearButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("inputBox");  // else the result box
    QTest::newRow("BtnNewData clears the input box") << "BtnNewData" << true;
    QTest::newRow("BtnClearResult clears the result box") << "BtnClearResult" << false;
  }
  void clearButtons() {
    QFETCH(QString, button);
    QFETCH(bool, inputBox);
    Press("BitBtn1");  // the result box holds a report, the input box the sample
    const QString input = window_->MemoSrc->toPlainText();
    const QString result = window_->MemoResult->toPlainText();
    Press(button);
    QCOMPARE(window_->MemoSrc->toPlainText(), inputBox ? QString() : input);
    QCOMPARE(window_->MemoResult->toPlainText(), inputBox ? result : QString());
  }

  void openButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("inputBox");
    QTest::newRow("BtnOpenData loads the input box") << "BtnOpenData" << true;
    QTest::newRow("BitBtn2 loads the result box") << "BitBtn2" << false;
  }
  void openButtons() {
    QFETCH(QString, button);
    QFETCH(bool, inputBox);
    QVERIFY(folder_->Write("problem.txt", kProblemFile));
    const QString untouched =
        (inputBox ? window_->MemoResult->toPlainText() : window_->MemoSrc->toPlainText());
    QFileDialog* shown = nullptr;
    modals_.ExpectFileDialog([&](QFileDialog* dialog) {
      shown = dialog;
      testsupport::TypeAndAccept(dialog, folder_->File("problem.txt"));
    });
    Press(button);
    QCOMPARE(shown, window_->OpenDlg);
    const QString loaded = QString::fromLatin1(kProblemFile);
    QCOMPARE(window_->MemoSrc->toPlainText(), inputBox ? loaded : untouched);
    QCOMPARE(window_->MemoResult->toPlainText(), inputBox ? untouched : loaded);
  }

  void saveButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("start");  // how the saved file begins
    QTest::newRow("BtnSaveData saves the input box as text")
        << "BtnSaveData" << QByteArray("4\r\n3\r\n8\r\n1,22\r\n");
    QTest::newRow("BitBtn6 saves the result box as RTF") << "BitBtn6" << QByteArray("{\\rtf1");
  }
  void saveButtons() {
    QFETCH(QString, button);
    QFETCH(QByteArray, start);
    QFileDialog* shown = nullptr;
    modals_.ExpectFileDialog([&](QFileDialog* dialog) {
      shown = dialog;
      testsupport::TypeAndAccept(dialog, folder_->File("saved.txt"));
    });
    Press(button);
    QCOMPARE(shown, window_->SaveDlg);
    const QByteArray saved = folder_->Read("saved.txt").value_or("<missing>");
    QVERIFY2(saved.startsWith(start), saved.left(40).constData());
  }

  void printButtonWithoutAPrinter() {
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    Press("BtnPrintResult");
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, QStringLiteral("There is no default printer currently selected."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
  }

  void helpContentWithoutAHelpFile() {
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    ChooseFromMenu(window_->MnuHelp, window_->MnuContent);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("系统提示System Hint"));
    QVERIFY2(seen.text.startsWith(QStringLiteral("不能打开帮助文件") + folder_->Path()),
             qPrintable(seen.text));
    QCOMPARE(shell_.requests.size(), 0);
  }

  void helpContentOpensTheHelpFile() {
    QVERIFY(folder_->Write("Trevana2023.chm", "ITSF"));
    ChooseFromMenu(window_->MnuHelp, window_->MnuContent);
    QCOMPARE(shell_.requests, QList<QUrl>{QUrl::fromLocalFile(folder_->File("Trevana2023.chm"))});
  }

  void webItemOpensTheProductsPage() {
    ChooseFromMenu(window_->MnuHelp, window_->MnuWeb);
    QCOMPARE(shell_.requests, QList<QUrl>{QUrl(QStringLiteral(TEST_WEB_ADDRESS))});
  }

  // The window has one engine for the whole run: an item the second problem does not supply
  // keeps what the first one left in the table, and is echoed, searched and reported.
  void itemsCarryOverBetweenClicks() {
    Press("BitBtn1");  // the sample: items (1,22) (3,4) (5,6) (7,8)
    window_->MemoSrc->setPlainText(QStringLiteral("4\n3\n8\n2,5\n9\n"));
    Press("BitBtn1");
    const QStringList lines = window_->MemoResult->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.mid(6, 4),
             (QStringList{"Item[1],Weight=2,value=5", "Item[2],Weight=9,value=4",
                          "Item[3],Weight=5,value=6", "Item[4],Weight=7,value=8"}));
    // The search took the stale items too: items 1 and 3 weigh 7 and are worth 11.
    QVERIFY(lines.contains(QStringLiteral("背包中物体总价值Total Value =11")));
  }

 private:
  void Press(const QString& name) {
    auto* button = window_->findChild<QPushButton*>(name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Opens the menu from its title in the menu bar and clicks the item, as the mouse does.
  void ChooseFromMenu(QAction* menuTitle, QAction* item) {
    QMenuBar* bar = window_->MainMnu;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menuTitle).center());
    QMenu* menu = menuTitle->menu();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
  }

  testsupport::ShellRecorder shell_;
  std::unique_ptr<testsupport::ProgramFolder> folder_;
  std::unique_ptr<TFrmMain> window_;
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
