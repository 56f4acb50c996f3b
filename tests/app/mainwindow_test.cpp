// The main window as built: places, captions, menus, focus order, and the solve buttons.
#include "app/errordisplay.h"
#include "app/exactsolve.h"
#include "app/frmmain.h"
#include "base/errors.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

namespace {

QStringList Lines(const QString& text) { return text.split(QLatin1Char('\n')); }

QStringList ResultLines(const TFrmMain& window) {
  return Lines(window.MemoResult->toPlainText());
}

const QStringList kEchoOfSample = {
    QStringLiteral("待放入背包的物体的数量=4"), QStringLiteral("Items Count for Wait to bag=4"),
    QStringLiteral("背包的格数=3"),             QStringLiteral("Bag Items Count=3"),
    QStringLiteral("背包的最大重量=8"),         QStringLiteral("Max bag Weight=8"),
    QStringLiteral("Item[1],Weight=1,value=22"), QStringLiteral("Item[2],Weight=3,value=4"),
    QStringLiteral("Item[3],Weight=5,value=6"),  QStringLiteral("Item[4],Weight=7,value=8"),
};

QStringList ReportBlock(int value, const QList<std::array<int, 3>>& picks) {
  QStringList block{QString(29, QLatin1Char('*')), QStringLiteral("背包重量Weight=8"),
                    QStringLiteral("背包重量Value=%1").arg(value)};
  int weightTotal = 0;
  int valueTotal = 0;
  int position = 0;
  for (const auto& [id, weight, itemValue] : picks) {
    ++position;
    block << QStringLiteral("背包中物体Item %1序号 Id =%2").arg(position).arg(id)
          << QStringLiteral("背包中物体%1序号重量ItemWeight=%2").arg(position).arg(weight)
          << QStringLiteral("背包中物体%1序号价值ItemValue=%2").arg(position).arg(itemValue);
    weightTotal += weight;
    valueTotal += itemValue;
  }
  block << QString(32, QLatin1Char('='))
        << QStringLiteral("背包中物体总重量Total Weights =%1").arg(weightTotal)
        << QStringLiteral("背包中物体总价值Total Value =%1").arg(valueTotal);
  return block;
}

// The least width a title bar needs for the caption in bold, the program's icon, the close
// button and one more button, each about as wide as the bar is high.
int CaptionRoom(const QString& caption) {
  QFont bold = QApplication::font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  return metrics.horizontalAdvance(caption) + 3 * metrics.height();
}

// A paint device that keeps the texts drawn on it, in drawing order: what a menu shows, read
// from the menu's own painting rather than from its captions.
class TextRecorder : public QPaintDevice {
 public:
  explicit TextRecorder(QSize size) : engine_(this), size_(size) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  QString Drawn() const { return engine_.drawn; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return size_.width();
      case PdmHeight: return size_.height();
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 1;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    explicit Engine(TextRecorder* device) : QPaintEngine(AllFeatures), device_(device) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { drawn += item.text(); }
    Type type() const override { return User; }
    QString drawn;

   private:
    TextRecorder* device_;
  };
  mutable Engine engine_;
  QSize size_;
};

}  // namespace

class MainWindowTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<testsupport::ProgramFolder>();
    window_ = std::make_unique<TFrmMain>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() {
    window_.reset();
    folder_.reset();
    WindowTest::cleanup();
  }

  void controlPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("place");
    const char* const client = "ClientArea";
    const struct {
      const char* name;
      const char* parent;
      QRect place;
    } rows[] = {
        {"StatusBar1", client, {0, 471, 805, 19}},
        {"GrpDatas", client, {0, 0, 361, 369}},
        {"MemoSrc", "GrpDatas", {8, 24, 345, 289}},
        {"BtnNewData", "GrpDatas", {8, 320, 105, 25}},
        {"BtnOpenData", "GrpDatas", {120, 320, 115, 25}},
        {"BtnSaveData", "GrpDatas", {240, 320, 113, 25}},
        {"GrpResult", client, {368, 0, 433, 369}},
        {"MemoResult", "GrpResult", {8, 24, 417, 289}},
        {"BtnPrintResult", "GrpResult", {8, 320, 97, 25}},
        {"BtnClearResult", "GrpResult", {112, 320, 105, 25}},
        {"BitBtn2", "GrpResult", {224, 320, 99, 25}},
        {"BitBtn6", "GrpResult", {328, 320, 97, 25}},
        {"BitBtn1", client, {8, 376, 793, 25}},
        {"BtnSolveMax", client, {8, 408, 793, 25}},
        {"BtnCalcMaxWith1Data", client, {8, 440, 793, 25}},
    };
    for (const auto& row : rows) {
      QTest::newRow(row.name) << QString::fromLatin1(row.name) << QString::fromLatin1(row.parent)
                              << row.place;
    }
  }
  void controlPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, place);
    auto* control = window_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), place);
    QVERIFY(control->isVisible());
  }

  void windowFrame() {
    QWidget* client = window_->centralWidget();
    QCOMPARE(client->size(), QSize(805, 490));
    // The menu bar sits above the client area, which reaches the window's bottom edge.
    QCOMPARE(client->y(), window_->MainMnu->geometry().bottom() + 1);
    QCOMPARE(window_->height(), client->y() + 490);
    QCOMPARE(window_->width(), 805);
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Trevana背包问题计算器2023.3"));
    QVERIFY(!window_->windowIcon().isNull());
    // The frame, title bar included, is what sits in the middle (the test screen is narrower
    // than the window: there only the height is checked).
    const QRect area = window_->screen()->availableGeometry();
    const QRect frame = window_->frameGeometry();
    QVERIFY2(qAbs(frame.center().y() - area.center().y()) <= 1, "centred from top to bottom");
    if (frame.width() <= area.width()) {
      QVERIFY2(qAbs(frame.center().x() - area.center().x()) <= 1, "centred from side to side");
    }
  }

  void windowCannotGrow() {
    window_->resize(1000, 700);
    QCOMPARE(window_->centralWidget()->size(), QSize(805, 490));
    QCOMPARE(window_->width(), 805);
  }

  void captions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const struct {
      const char* name;
      const char* caption;
    } rows[] = {
        {"BtnNewData", "新建New"},
        {"BtnOpenData", "打开Open"},
        {"BtnSaveData", "保存Save"},
        {"BtnPrintResult", "打印Print"},
        {"BtnClearResult", "新建New"},
        {"BitBtn2", "打开Open"},
        {"BitBtn6", "保存Save"},
        {"BitBtn1", "计算解题 Compute this question and solve the datas >>"},
        {"BtnSolveMax", "计算最优解题 Compute this question and Solve Max in Datas >>"},
        {"BtnCalcMaxWith1Data",
         "计算最优解题(含单一数据) Compute this question and Solve Max in Datas (Include 1 Data)>>"},
        {"StatusPanel1", "就绪"},
    };
    for (const auto& row : rows) {
      QTest::newRow(row.name) << QString::fromLatin1(row.name) << QString::fromUtf8(row.caption);
    }
  }
  void captions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* control = window_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      QCOMPARE(button->text(), caption);
      // The glyph buttons are the ones inside the group boxes; the solve buttons have none.
      const bool inGroup = qobject_cast<QGroupBox*>(button->parentWidget()) != nullptr;
      QCOMPARE(!button->icon().isNull(), inGroup);
    } else {
      QCOMPARE(qobject_cast<QLabel*>(control)->text(), caption);
    }
    // The font must carry the Chinese characters of the caption, or they show as boxes.
    const QFontMetrics metrics(control->font());
    QCOMPARE(control->font().pixelSize(), 15);
    for (const QChar ch : caption) QVERIFY2(metrics.inFont(ch), qPrintable(caption));
  }

  void statusBarPanels() {
    auto* first = window_->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    auto* second = window_->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel2"));
    QVERIFY(first != nullptr && second != nullptr);
    QCOMPARE(first->width(), 150);
    QVERIFY(!second->text().isEmpty());
    QVERIFY2(second->geometry().right() >= window_->StatusBar1->width() - 8,
             "the second panel fills the rest of the bar");
  }

  void menus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("menu");  // the menu it sits in, by the item that opens it
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("checkable");
    const struct {
      const char* name;
      const char* caption;
      const char* menu;
      int position;
      bool checkable;
    } rows[] = {
        {"MnuFile", "文件&File", "MainMnu", 0, false},
        {"MnuSet", "设置&Set", "MainMnu", 1, false},
        {"MnuHelp", "帮助&Help", "MainMnu", 2, false},
        {"MnuExit", "退出本软件&Exit", "MnuFile", 0, false},
        {"MnuChinese", "中文界面&Chinese", "MnuSet", 0, true},
        {"MnuEnglish", "英文界面&English", "MnuSet", 1, true},
        {"MnuContent", "帮助主题&Content", "MnuHelp", 0, false},
        {"MnuWeb", "访问本软件网站&Web", "MnuHelp", 1, false},
        {"MnuPhone", "手机访问本软件网站&Phone", "MnuHelp", 2, false},
        {"N1", "", "MnuHelp", 3, false},
        {"MnuAbout", "关于本软件&About", "MnuHelp", 4, false},
    };
    for (const auto& row : rows) {
      QTest::newRow(row.name) << QString::fromLatin1(row.name) << QString::fromUtf8(row.caption)
                              << QString::fromLatin1(row.menu) << row.position << row.checkable;
    }
  }
  void menus() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, menu);
    QFETCH(int, position);
    QFETCH(bool, checkable);
    auto* item = window_->findChild<QAction*>(name);
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->isSeparator(), name == QLatin1String("N1"));
    QCOMPARE(item->isCheckable(), checkable);
    QVERIFY2(item->actionGroup() == nullptr, "plain items, never a radio group");
    const QList<QAction*> siblings =
        menu == QLatin1String("MainMnu")
            ? window_->MainMnu->actions()
            : window_->findChild<QAction*>(menu)->menu()->actions();
    QVERIFY(position < siblings.size());
    QCOMPARE(siblings.at(position), item);
  }

  // Each menu as it opens shows every caption whole (no "…" in place of a part), its access
  // key underlined rather than written; also run at scale 2.
  void menuCaptionsShowWhole_data() {
    QTest::addColumn<QString>("menu");
    for (const char* menu : {"MnuFile", "MnuSet", "MnuHelp"}) QTest::newRow(menu) << menu;
  }
  void menuCaptionsShowWhole() {
    QFETCH(QString, menu);
    QMenu* popup = window_->findChild<QAction*>(menu)->menu();
    popup->popup(window_->mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    TextRecorder recorder(popup->size());
    popup->render(&recorder);
    popup->hide();
    const QString drawn = recorder.Drawn();
    QVERIFY2(!drawn.contains(QChar(0x2026)), qPrintable(drawn));
    for (const QAction* item : popup->actions()) {
      if (item->isSeparator()) continue;
      const QString shown = QString(item->text()).remove(QLatin1Char('&'));
      QVERIFY2(drawn.contains(shown), qPrintable(shown + QStringLiteral(" in ") + drawn));
    }
  }

  // The notice names the best packing's key and its caption, and fits its panel.
  void statusNoticeNamesBestPacking() {
    auto* notice = window_->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel2"));
    QVERIFY(notice != nullptr);
    QVERIFY(notice->text().contains(QStringLiteral("F5")));
    QVERIFY(notice->text().contains(window_->BestPacking->Action()->text().section(
        QLatin1Char(' '), 1)));  // "Best Packing (Exact)"
    const int needed = QFontMetrics(notice->font()).horizontalAdvance(notice->text());
    QVERIFY2(needed <= notice->contentsRect().width(),
             qPrintable(QStringLiteral("%1 > %2").arg(needed).arg(notice->contentsRect().width())));
  }

  // Alt+F opens the File menu, one Esc closes it and the keyboard is back where it was: Tab
  // goes on from there.
  void escapeFromMenuReturnsFocus_data() {
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("next");
    QTest::addColumn<char>("key");
    QTest::newRow("input box, File") << "MemoSrc" << "BtnNewData" << 'F';
    QTest::newRow("solve button, Help") << "BtnSolveMax" << "BtnCalcMaxWith1Data" << 'H';
    QTest::newRow("result box, Set") << "MemoResult" << "BitBtn2" << 'S';
  }
  void escapeFromMenuReturnsFocus() {
    QFETCH(QString, focused);
    QFETCH(QString, next);
    QFETCH(char, key);
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* control = window_->findChild<QWidget*>(focused);
    control->setFocus();
    QTest::keyClick(window_.get(), static_cast<Qt::Key>(key), Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(QApplication::activePopupWidget()));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    // The window's own focus, not the application's: offscreen hands the activation to the
    // closed menu a moment later, which no window manager does (window_e2e checks it there).
    QTRY_COMPARE(window_->focusWidget(), control);
    QVERIFY(window_->MainMnu->activeAction() == nullptr);
    QTest::keyClick(window_->focusWidget(), Qt::Key_Tab);
    QCOMPARE(window_->focusWidget()->objectName(), next);
  }

  void menuBarHoldsThreeMenus() { QCOMPARE(window_->MainMnu->actions().size(), 3); }

  void focusStartsInInputBox() {
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QCOMPARE(QApplication::focusWidget(), window_->MemoSrc);
  }

  void tabOrder() {
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->MemoSrc->setFocus();
    const QStringList expected = {
        "BtnNewData",     "BtnSaveData", "BtnOpenData", "MemoResult",
        "BitBtn2",        "BtnClearResult", "BitBtn6",  "BtnPrintResult",
        "BitBtn1",        "BtnSolveMax", "BtnCalcMaxWith1Data", "MemoSrc"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
    // Tab moves on from a box; it never lands in the text as a character.
    QVERIFY(!window_->MemoSrc->toPlainText().contains(QLatin1Char('\t')));
    QVERIFY(!window_->MemoResult->toPlainText().contains(QLatin1Char('\t')));
  }

  void initialBoxes() {
    QStringList blocks;
    for (QTextBlock b = window_->MemoSrc->document()->begin(); b.isValid(); b = b.next()) {
      blocks << b.text();
    }
    QCOMPARE(blocks, QStringList({"4", "3", "8", "1,22", "3,4", "5,6", "7,8", ""}));
    QCOMPARE(window_->MemoResult->toPlainText(), QStringLiteral("就绪"));
    QCOMPARE(window_->MemoSrc->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(window_->MemoResult->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(window_->MemoSrc->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  }

  void solveButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");
    const QList<std::array<int, 3>> pairFirst = {{1, 1, 22}, {2, 3, 4}};
    const QList<std::array<int, 3>> bestPair = {{1, 1, 22}, {4, 7, 8}};
    QTest::newRow("first button keeps items 1 and 2")
        << "BitBtn1" << kEchoOfSample + ReportBlock(26, pairFirst);
    QTest::newRow("solve max finds items 1 and 4")
        << "BtnSolveMax" << kEchoOfSample + ReportBlock(30, bestPair);
    QTest::newRow("solve max with single items finds items 1 and 4")
        << "BtnCalcMaxWith1Data" << kEchoOfSample + ReportBlock(30, bestPair);
  }
  void solveButtons() {
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    QCOMPARE(expected.size(), 22);
    const QString source = window_->MemoSrc->toPlainText();
    QTest::mouseClick(window_->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(ResultLines(*window_), expected);
    // Pressed again on the same input, the same report; the input box is only read.
    QTest::mouseClick(window_->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(ResultLines(*window_), expected);
    QCOMPARE(window_->MemoSrc->toPlainText(), source);
    QCOMPARE(window_->StatusBar1->findChild<QLabel*>("StatusPanel1")->text(),
             QStringLiteral("就绪"));
  }

  void failingHeaderLine_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("resultAfter");
    QTest::newRow("count with a trailing space")
        << "4 \n3\n8\n1,22" << "'4 ' is not a valid integer value." << QStringList{""};
    QTest::newRow("empty box fails on its first line")
        << "" << "'' is not a valid integer value." << QStringList{""};
    QTest::newRow("slot count fails after the count's echo")
        << "4\nthree\n8" << "'three' is not a valid integer value."
        << QStringList{"待放入背包的物体的数量=4", "Items Count for Wait to bag=4"};
    QTest::newRow("weight limit fails after four echo lines")
        << "4\n3\n\t8" << "'\t8' is not a valid integer value."
        << QStringList{"待放入背包的物体的数量=4", "Items Count for Wait to bag=4",
                       "背包的格数=3", "Bag Items Count=3"};
    QTest::newRow("markup in a line is shown as typed")
        << "<b>4</b>" << "'<b>4</b>' is not a valid integer value." << QStringList{""};
    QTest::newRow("NUL inside a line is quoted whole")
        << QStringLiteral("2") + QChar(0) + QStringLiteral("1")
        << "'2\\x001' is not a valid integer value." << QStringList{""};
    QTest::newRow("control characters are escaped")
        << "\x1b]0;x\x07" << "'\\x1B]0;x\\x07' is not a valid integer value."
        << QStringList{""};
    QTest::newRow("a long line is cut at 200 characters")
        << QString(5000, QChar(0x9879))
        << "'" + QString(200, QChar(0x9879)) + "…' is not a valid integer value."
        << QStringList{""};
  }
  void failingHeaderLine() {
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(QStringList, resultAfter);
    window_->MemoSrc->setPlainText(input);
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    QTest::mouseClick(window_->BitBtn1, Qt::LeftButton);
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.title, QStringLiteral("Trevana背包问题计算器2023"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    // What the command wrote before the failure stands; the window goes on working.
    QCOMPARE(ResultLines(*window_), resultAfter);
    window_->MemoSrc->setPlainText(QStringLiteral("4\n3\n8\n1,22\n3,4\n5,6\n7,8\n"));
    QTest::mouseClick(window_->BitBtn1, Qt::LeftButton);
    QCOMPARE(ResultLines(*window_).size(), 22);
  }

  // A box is at least as wide as its title bar needs, however short its message.
  void messageBoxShowsItsWholeCaption() {
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    app::Guarded([] { throw bagfunc::Error("x"); });
    QVERIFY(seen.seen);
    QVERIFY2(seen.width >= CaptionRoom(seen.title), qPrintable(QString::number(seen.width)));
  }

  // Windows' rule: Enter presses the focused button as Space does.
  void keysPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
  }
  void keysPressTheFocusedButton() {
    QFETCH(int, key);
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->BtnSolveMax->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window_->BtnSolveMax, Qt::Key(key));
    QCOMPARE(ResultLines(*window_).size(), 22);
    window_->BtnClearResult->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window_->BtnClearResult, Qt::Key(key));
    QCOMPARE(window_->MemoResult->toPlainText(), QString());
  }

  // Latin letters and digits come from a legible face with the Chinese one's line height: a
  // report line with Chinese is as tall as one without.
  void lettersAndLineHeights() {
    QCOMPARE(window_->font().families().value(0), QStringLiteral("宋体"));
    const QString used = QFontInfo(window_->font()).family();
    QVERIFY2(QStringList({QStringLiteral("宋体"), "SimSun", "Noto Serif CJK SC"}).contains(used),
             qPrintable(used));
    QTest::mouseClick(window_->BitBtn1, Qt::LeftButton);
    QSet<qreal> heights;
    QTextDocument* report = window_->MemoResult->document();
    for (QTextBlock line = report->begin(); line.isValid(); line = line.next()) {
      heights << report->documentLayout()->blockBoundingRect(line).height();
    }
    QCOMPARE(heights.size(), 1);
  }

  void longLineWrapsButStaysOneLine() {
    // 300 spaces before the count: the line wraps on screen, yet it is still line 0.
    window_->MemoSrc->setPlainText(QString(300, QLatin1Char(' ')) +
                                   QStringLiteral("2\n1\n9\n4,5\n6,7"));
    QTest::mouseClick(window_->BtnSolveMax, Qt::LeftButton);
    const QStringList lines = ResultLines(*window_);
    QCOMPARE(lines.value(0), QStringLiteral("待放入背包的物体的数量=2"));
    QCOMPARE(lines.value(7), QStringLiteral("Item[2],Weight=6,value=7"));
  }

  void reportAfterBoldDocumentIsPlain() {
    // A loaded document that ends in bold leaves the cursor's format bold; the report that
    // replaces it must not inherit it.
    window_->MemoResult->setHtml(QStringLiteral("plain <b>bold to the end</b>"));
    window_->MemoResult->moveCursor(QTextCursor::End);
    QTest::mouseClick(window_->BitBtn1, Qt::LeftButton);
    for (QTextBlock block = window_->MemoResult->document()->begin(); block.isValid();
         block = block.next()) {
      for (auto run = block.begin(); !run.atEnd(); ++run) {
        QCOMPARE(run.fragment().charFormat().fontWeight(), int(QFont::Normal));
      }
    }
  }

  void largestProblemFillsTheBox() {
    QString problem = QStringLiteral("9999\n2\n20000\n");
    for (int i = 1; i <= 9999; ++i) problem += QStringLiteral("%1,%2\n").arg(i % 97 + 1).arg(i);
    window_->MemoSrc->setPlainText(problem);
    QTest::mouseClick(window_->BtnSolveMax, Qt::LeftButton);
    QCOMPARE(window_->MemoResult->document()->blockCount(), 6 + 9999 + 12);
    const QStringList lines = ResultLines(*window_);
    QCOMPARE(lines.value(6 + 9998), QStringLiteral("Item[9999],Weight=9,value=9999"));
    QCOMPARE(lines.last().left(21), QStringLiteral("背包中物体总价值Total Value ="));
  }

 private:
  std::unique_ptr<testsupport::ProgramFolder> folder_;
  std::unique_ptr<TFrmMain> window_;
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
