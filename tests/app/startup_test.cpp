// Start-up and shutdown as the program runs them: the windows that exist while the event loop
// runs, how the loop ends, and what is left behind.
#include "app/frmmain.h"
#include "app/startup.h"
#include "dialogs/aboutbox.h"
#include "dialogs/visitephone.h"
#include "settings/exepath.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <memory>

class StartupTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void runAndLeave_data() {
    QTest::addColumn<bool>("byExitItem");
    QTest::newRow("left by the close button") << false;
    QTest::newRow("left by the Exit item") << true;
  }
  void runAndLeave() {
    QFETCH(bool, byExitItem);
    testsupport::ProgramFolder folder;
    struct Seen {
      bool ran = false;
      bool mainShown = false;
      bool dialogsHidden = false;
      bool focusInInput = false;
      QString inputCaption;
      QString phoneShown;
      QString aboutShown;
    } seen;

    // Inside the loop: look around, open both information dialogs, then leave.
    QTimer::singleShot(0, [&] {
      seen.ran = true;
      if (FrmMain == nullptr || FrmVisitePhone == nullptr || AboutBox == nullptr) {
        QApplication::exit(1);
        return;
      }
      seen.mainShown = FrmMain->isVisible();
      seen.dialogsHidden = !FrmVisitePhone->isVisible() && !AboutBox->isVisible();
      seen.inputCaption = FrmMain->GrpDatas->title();
      QApplication::setActiveWindow(FrmMain);
      seen.focusInInput = QTest::qWaitForWindowActive(FrmMain) &&
                          QApplication::focusWidget() == FrmMain->MemoSrc;
      modals_.Expect([&](QWidget* modal) {
        seen.phoneShown = modal->windowTitle();
        testsupport::ModalWatchdog::Close(modal);
      });
      FrmMain->MnuPhone->trigger();
      modals_.Expect([&](QWidget* modal) {
        seen.aboutShown = modal->windowTitle();
        testsupport::ModalWatchdog::Close(modal);
      });
      FrmMain->MnuAbout->trigger();
      if (byExitItem) {
        FrmMain->MnuExit->trigger();
      } else {
        FrmMain->close();
      }
    });
    QCOMPARE(app::RunApplication(), 0);

    QVERIFY(seen.ran);
    QVERIFY(seen.mainShown);
    QVERIFY(seen.dialogsHidden);
    QVERIFY(seen.focusInInput);
    QCOMPARE(seen.inputCaption, QStringLiteral("输入数据区"));
    QCOMPARE(seen.phoneShown, QStringLiteral("手机二维码访问本软件网站Visite with 2-Dims Code"));
    QCOMPARE(seen.aboutShown, QStringLiteral("关于本软件About"));
    // Every window is gone, and the first clean exit created the settings file.
    QVERIFY(FrmMain == nullptr);
    QVERIFY(FrmVisitePhone == nullptr);
    QVERIFY(AboutBox == nullptr);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    QVERIFY(folder.IniBytes().contains("bChinese=1"));
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Trevana背包问题计算器2023"));
  }

  // Under a Chinese desktop Qt's own texts are Chinese: the file dialog's labels, a message
  // box's button, a box's context menu; every text of the program itself stays as it is.
  void toolkitTextsFollowTheDesktop() {
    const auto programTexts = [] {
      const TFrmMain window;
      // The file dialogs' own labels and actions are Qt's.
      const auto own = [](const QObject* object) {
        for (; object != nullptr; object = object->parent()) {
          if (qobject_cast<const QFileDialog*>(object) != nullptr) return false;
        }
        return true;
      };
      QStringList texts;
      for (const QAction* a : window.findChildren<QAction*>()) if (own(a)) texts << a->text();
      for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) if (own(b)) texts << b->text();
      for (const QLabel* l : window.findChildren<QLabel*>()) if (own(l)) texts << l->text();
      for (const QGroupBox* g : window.findChildren<QGroupBox*>()) texts << g->title();
      texts << window.OpenDlg->nameFilters() << window.windowTitle();
      return texts;
    };
    const auto toolkitTexts = [] {
      QFileDialog dialog;
      dialog.setOption(QFileDialog::DontUseNativeDialog);
      const QMessageBox box(QMessageBox::Warning, QString(), QString(), QMessageBox::Ok);
      QPlainTextEdit edit;
      const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
      QStringList texts{dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                        box.button(QMessageBox::Ok)->text()};
      for (const QAction* action : menu->actions()) texts << action->text();
      return texts;
    };
    const auto removeTranslations = [] {
      for (auto* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
      }
    };
    removeTranslations();  // what an earlier start-up loaded for the locale the test runs in
    const QStringList ownBefore = programTexts();
    const QStringList qtBefore = toolkitTexts();
    QVERIFY(app::InstallToolkitTranslations(QLocale(QLocale::Chinese, QLocale::China)));
    const QStringList ownAfter = programTexts();
    const QStringList qtAfter = toolkitTexts();
    removeTranslations();
    QCOMPARE(ownAfter, ownBefore);
    QCOMPARE(qtBefore.first(), QStringLiteral("Look in:"));
    QCOMPARE(qtAfter.size(), qtBefore.size());
    for (qsizetype i = 0; i < qtAfter.size(); ++i) {
      if (qtBefore[i].isEmpty()) continue;  // separators
      QVERIFY2(qtAfter[i] != qtBefore[i], qPrintable(qtBefore[i] + QStringLiteral(" stays")));
    }
  }

  void unwritableSettingsFileIsShownAndTheProgramStillEnds() {
    testsupport::ProgramFolder folder;
    settings::SetExecutablePath((folder.Path() + QStringLiteral("/gone/Trevana2023")).toStdString());
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    QTimer::singleShot(0, [] {
      if (FrmMain != nullptr) FrmMain->close();
    });
    QCOMPARE(app::RunApplication(), 0);
    QVERIFY(seen.seen);
    QVERIFY2(seen.text.startsWith(QStringLiteral("Unable to write to ")), qPrintable(seen.text));
    QVERIFY(FrmMain == nullptr);
  }

  // A settings file over 1 MiB is not read (Chinese, although it says 0), not rewritten, and
  // said so once at exit; the program still ends normally.
  void oversizeSettingsFileIsLeftAloneAndShownOnceAtExit() {
    testsupport::ProgramFolder folder;
    const QByteArray big = "[Setting]\r\nbChinese=0\r\n" + QByteArray(1 << 20, '\n');
    folder.WriteIni(big);
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    QString caption;
    QTimer::singleShot(0, [&caption] {
      if (FrmMain == nullptr) return;
      caption = FrmMain->GrpDatas->title();
      FrmMain->close();
    });
    QCOMPARE(app::RunApplication(), 0);
    QCOMPARE(caption, QStringLiteral("输入数据区"));
    QCOMPARE(seen.text, "Settings file " + folder.IniPath() +
                            " is larger than 1 MiB and was left unchanged.");
    QVERIFY(folder.IniBytes() == big);
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
