// The best packing in the window: F5 and the input box's context menu give what bagsolve
// prints, the progress dialog stops the search and keeps a valid pick, nothing else starts
// meanwhile, and closing the window during a search waits for it before the program ends.
#include "app/exactsolve.h"
#include "app/frmmain.h"
#include "app/progressdialog.h"
#include "app/startup.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <memory>
#include <random>
#include <set>

namespace {

const char kProven[] = "已证明为最优解Proven Optimal";
const char kNotProven[] = "未证明为最优解Not Proven Optimal";

QString BagsolveBest(const QString& problem) {
  QProcess process;
  process.start(QStringLiteral(BAGSOLVE_PATH),
                {QStringLiteral("--variant"), QStringLiteral("best")});
  process.write(problem.toUtf8());
  process.closeWriteChannel();
  if (!process.waitForFinished(60000)) return QStringLiteral("bagsolve did not finish");
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Even weights that are the values, an odd weight limit, and one odd item worth less than its
// weight (so that no divisor of the weights or values settles it): the linear bound is the
// limit, which no pick reaches, and no search through the subsets of 9999 items shows that in
// seconds.
QString UnprovableProblem() {
  std::mt19937 random(9);
  QString text = QStringLiteral("9999\n9999\n");
  QString items;
  qint64 sum = 3;
  for (int i = 1; i < 9999; ++i) {
    const int weight = 2 * std::uniform_int_distribution<int>(1, 10000)(random);
    sum += weight;
    items += QStringLiteral("%1,%1\n").arg(weight);
  }
  items += QStringLiteral("3,1\n");
  return text + QString::number(sum / 2 | 1) + QLatin1Char('\n') + items;
}

bool IsProgressDialog(const QWidget* modal) {
  return qobject_cast<const app::TExactProgressDialog*>(modal) != nullptr;
}

// The report after the echo lines: the picked items, the totals and the bound it states.
struct Report {
  QList<int> items;
  qint64 totalWeight = 0;
  qint64 totalValue = 0;
  qint64 bound = 0;
  QString last;
};

Report ReadReport(const QString& text) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  Report report;
  static const QRegularExpression id(QStringLiteral("^背包中物体Item \\d+序号 Id =(\\d+)$"));
  for (const QString& line : lines) {
    if (const auto match = id.match(line); match.hasMatch()) {
      report.items << match.captured(1).toInt();
    } else if (line.startsWith(QStringLiteral("背包中物体总重量Total Weights ="))) {
      report.totalWeight = line.section(QLatin1Char('='), 1).toLongLong();
    } else if (line.startsWith(QStringLiteral("背包中物体总价值Total Value ="))) {
      report.totalValue = line.section(QLatin1Char('='), 1).toLongLong();
    } else if (line.startsWith(QStringLiteral("最优价值上界Upper Bound ="))) {
      report.bound = line.section(QLatin1Char('='), 1).toLongLong();
    }
  }
  report.last = lines.last();
  return report;
}

}  // namespace

class ExactSolveTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<testsupport::ProgramFolder>();
    window_ = std::make_unique<TFrmMain>();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() {
    window_.reset();
    folder_.reset();
    WindowTest::cleanup();
  }

  void sameLinesAsBagsolve_data() {
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("way");  // F5 with the focus on a control, or the context menu
    const QString sample = QStringLiteral("4\n3\n8\n1,22\n3,4\n5,6\n7,8\n");
    const QString extremes = QStringLiteral(
        "6\n4\n2147483647\n1,2147483647\n-2147483648,2147483647\n0,0\n2147483647,-5\n3,-1\n"
        "5,2147483647\n");
    const QString noFit = QStringLiteral("2\n2\n-1\n1,5\n2,6\n");
    QTest::newRow("sample by F5 in the input box") << sample << "MemoSrc";
    QTest::newRow("sample by F5 on the result box") << sample << "MemoResult";
    QTest::newRow("sample by F5 on a solve button") << sample << "BtnSolveMax";
    QTest::newRow("sample by the context menu") << sample << "menu";
    QTest::newRow("extreme numbers by F5") << extremes << "MemoSrc";
    QTest::newRow("extreme numbers by the context menu") << extremes << "menu";
    QTest::newRow("no feasible pick by F5") << noFit << "MemoSrc";
    QTest::newRow("no slot by the context menu") << QStringLiteral("3\n0\n9\n1,1\n2,2\n3,3\n")
                                                  << "menu";
  }
  void sameLinesAsBagsolve() {
    QFETCH(QString, problem);
    QFETCH(QString, way);
    modals_.AllowPassing(IsProgressDialog);
    window_->MemoSrc->setPlainText(problem);
    if (way == QLatin1String("menu")) {
      QMenu* menu = OpenInputMenu();
      QVERIFY(menu != nullptr);
      QAction* first = menu->actions().value(0);
      QCOMPARE(first->text(), QStringLiteral("求精确最优解 Best Packing (Exact)"));
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(first).center());
    } else {
      auto* focus = window_->findChild<QWidget*>(way);
      focus->setFocus();
      QTest::keyClick(focus, Qt::Key_F5);
    }
    QTRY_VERIFY(!window_->BestPacking->Searching());
    const QString expected = BagsolveBest(problem);
    QVERIFY(expected.endsWith(QLatin1Char('\n')));
    QCOMPARE(window_->MemoResult->toPlainText(), expected.chopped(1));
  }

  // The box's own items stay, after the command and a separator.
  void contextMenuKeepsTheBoxItems() {
    QMenu* menu = OpenInputMenu();
    QVERIFY(menu != nullptr);
    std::unique_ptr<QMenu> standard(window_->MemoSrc->createStandardContextMenu());
    QStringList expected{window_->BestPacking->Action()->text(), QString()};
    for (const QAction* action : standard->actions()) expected << action->text();
    QStringList shown;
    for (const QAction* action : menu->actions()) shown << action->text();
    QCOMPARE(shown, expected);
    QCOMPARE(menu->actions().at(1)->isSeparator(), true);
    menu->close();
  }

  void errorsGoToTheErrorDisplay_data() {
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("linesLeft");
    QTest::newRow("slot count with a trailing space")
        << "4\n3 \n8\n" << "'3 ' is not a valid integer value." << 2;
    QTest::newRow("too many items")
        << "10000\n1\n1\n" << "物体的数量不能超过9999 Items Count must not exceed 9999." << 0;
  }
  void errorsGoToTheErrorDisplay() {
    QFETCH(QString, problem);
    QFETCH(QString, message);
    QFETCH(int, linesLeft);
    window_->MemoSrc->setPlainText(problem);
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    QTest::keyClick(window_->MemoSrc, Qt::Key_F5);
    QTRY_VERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Trevana背包问题计算器2023"));
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    const QString left = window_->MemoResult->toPlainText();
    QCOMPARE(left.isEmpty() ? 0 : left.count(QLatin1Char('\n')) + 1, linesLeft);
    QVERIFY(!window_->BestPacking->Searching());
  }

  // While the search runs nothing else starts; Stop ends it with a valid pick, not proven.
  void stopKeepsTheBestPickFound() {
    const QString problem = UnprovableProblem();
    window_->MemoSrc->setPlainText(problem);
    QString echo;
    QString caption;
    bool ticking = false;
    bool othersBlocked = false;
    modals_.Expect([&](QWidget* modal) {
      auto* dialog = qobject_cast<app::TExactProgressDialog*>(modal);
      if (dialog == nullptr) return testsupport::ModalWatchdog::Close(modal);
      caption = dialog->windowTitle();
      echo = window_->MemoResult->toPlainText();
      const QString elapsed = dialog->LblElapsed->text();
      // A best value and a bound come, and the clock goes on: the interface thread is free.
      ticking = QTest::qWaitFor([&] {
        return dialog->LblBestValue->text() != QLatin1String("-") &&
               dialog->LblBound->text() != QLatin1String("-") &&
               dialog->LblElapsed->text() != elapsed;
      }, 3000);
      // A click on a solve button and F5, as the window system delivers them, do nothing.
      QWindow* main = window_->windowHandle();
      const QPoint button =
          window_->BitBtn1->mapTo(window_.get(), window_->BitBtn1->rect().center());
      QTest::mouseClick(main, Qt::LeftButton, {}, button);
      QTest::keyClick(main, Qt::Key_F5);
      QTest::qWait(50);
      othersBlocked = window_->MemoResult->toPlainText() == echo &&
                      QApplication::activeModalWidget() == dialog;
      QTest::mouseClick(dialog->BtnStop, Qt::LeftButton);
    });
    QTest::keyClick(window_->MemoSrc, Qt::Key_F5);
    QTRY_VERIFY(!window_->BestPacking->Searching());

    QCOMPARE(caption, QStringLiteral("Trevana背包问题计算器2023"));
    QVERIFY(ticking);
    QVERIFY(othersBlocked);
    QVERIFY(echo.startsWith(QStringLiteral("待放入背包的物体的数量=9999\n")));
    QVERIFY(echo.section(QLatin1Char('\n'), -1).startsWith(QStringLiteral("Item[9999],Weight=")));
    const QString text = window_->MemoResult->toPlainText();
    QVERIFY(text.startsWith(echo + QLatin1Char('\n') + QString(29, QLatin1Char('*'))));
    const Report report = ReadReport(text);
    QCOMPARE(report.last, QString::fromUtf8(kNotProven));
    CheckPick(problem, report);
    QVERIFY(report.totalValue < report.bound);
  }

  // Closing the window during a search stops it; the program ends only after the search has,
  // with its report in the box, and the settings file is still written.
  void closingDuringSearchWaitsForIt() {
    window_.reset();  // the program makes its own, and ends when that one closes
    const QString problem = UnprovableProblem();
    QElapsedTimer sinceClose;
    bool stillShownAfterClose = false;
    bool endedBeforeExit = false;
    QString lastLine;
    modals_.Expect([&](QWidget*) {
      QTest::qWait(300);
      sinceClose.start();
      FrmMain->close();
      stillShownAfterClose = FrmMain->isVisible();
    });
    const auto atQuit = connect(qApp, &QCoreApplication::aboutToQuit, [&] {
      endedBeforeExit = FrmMain != nullptr && !FrmMain->BestPacking->Searching();
      if (FrmMain != nullptr) {
        lastLine = FrmMain->MemoResult->toPlainText().section(QLatin1Char('\n'), -1);
      }
    });
    QTimer::singleShot(0, [&] {
      FrmMain->MemoSrc->setPlainText(problem);
      FrmMain->BestPacking->Action()->trigger();
    });
    QCOMPARE(app::RunApplication(), 0);
    disconnect(atQuit);
    QVERIFY(stillShownAfterClose);
    QVERIFY(endedBeforeExit);
    QCOMPARE(lastLine, QString::fromUtf8(kNotProven));
    QVERIFY2(sinceClose.elapsed() < 5000, "the search went on after the close");
    QVERIFY(FrmMain == nullptr);
    QVERIFY(folder_->IniBytes().contains("bChinese=1"));
  }

 private:
  QMenu* OpenInputMenu() {
    QWidget* viewport = window_->MemoSrc->viewport();
    const QPoint at(20, 20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }

  // Distinct items in range within both limits, and the totals are theirs.
  static void CheckPick(const QString& problem, const Report& report) {
    const QStringList lines = problem.split(QLatin1Char('\n'));
    const int count = lines[0].toInt();
    std::set<int> distinct;
    qint64 weight = 0;
    qint64 value = 0;
    for (const int item : report.items) {
      QVERIFY(item >= 1 && item <= count);
      QVERIFY(distinct.insert(item).second);
      weight += lines[item + 2].section(QLatin1Char(','), 0, 0).toLongLong();
      value += lines[item + 2].section(QLatin1Char(','), 1, 1).toLongLong();
    }
    QVERIFY(report.items.size() <= lines[1].toInt());
    QVERIFY(weight <= lines[2].toLongLong());
    QCOMPARE(report.totalWeight, weight);
    QCOMPARE(report.totalValue, value);
  }

  std::unique_ptr<testsupport::ProgramFolder> folder_;
  std::unique_ptr<TFrmMain> window_;
};

QTEST_MAIN(ExactSolveTest)
#include "exactsolve_test.moc"
