#include "app/frmmain.h"

#include "app/blockedclose.h"
#include "app/exactsolve.h"
#include "app/filedialogs.h"
#include "app/menufocus.h"
#include "dialogs/controls.h"
#include "dialogs/desktophints.h"
#include "dialogs/pictures.h"
#include "dialogs/songfont.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>

TFrmMain* FrmMain = nullptr;

namespace {

constexpr int kClientWidth = 805;
constexpr int kClientHeight = 490;
constexpr int kGlyphSize = 16;

// The problem the input box holds at start; the empty eighth line is part of it.
const char kSampleProblem[] = "4\n3\n8\n1,22\n3,4\n5,6\n7,8\n";

using dialogs::MakeControl;

// A button of the window: Enter presses it when it has the focus, as Space does (Windows'
// rule; Qt's buttons outside dialogs take only Space).
QPushButton* CommandButton(QWidget* parent, const char* name, QRect place,
                           const QString& caption) {
  auto* button = MakeControl<QPushButton>(parent, name, place, caption);
  button->setAutoDefault(true);
  return button;
}

// One of the seven buttons of the boxes, with its picture left of the caption.
QPushButton* GlyphButton(QWidget* parent, const char* name, QRect place, const QString& caption,
                         const QIcon& glyph) {
  auto* button = CommandButton(parent, name, place, caption);
  button->setIcon(glyph);
  button->setIconSize(QSize(kGlyphSize, kGlyphSize));
  return button;
}

}  // namespace

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
  ConnectHandlers();
  BestPacking = new app::ExactSolveCommand(this, MemoSrc, MemoResult);
  // The close button during a search reaches the command, which stops it, writes the report
  // and then closes the window.
  new app::BlockedCloseWatch(this, [this] { return BestPacking->Searching(); });
  SetTabOrder();
  MemoSrc->setFocus();
  new dialogs::DesktopHints(this);
}

TFrmMain::~TFrmMain() = default;

bool TFrmMain::BuildControls() {
  setObjectName(QStringLiteral("FrmMain"));
  setWindowTitle(QStringLiteral("Trevana背包问题计算器" TREVANA_VERSION));
  setWindowIcon(QIcon(dialogs::ProgramIcon()));
  // A fixed border: title, system menu, minimise and close; no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(dialogs::SongFont(15));
  CreateControls();
  CreateStatusBar();
  CreateMenus();
  OpenDlg = new QFileDialog(this);
  OpenDlg->setObjectName(QStringLiteral("OpenDlg"));
  app::SetUpFileDialog(OpenDlg, false);
  SaveDlg = new QFileDialog(this);
  SaveDlg->setObjectName(QStringLiteral("SaveDlg"));
  app::SetUpFileDialog(SaveDlg, true);
  // The client area is fixed; the menu bar sits above it and the window cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  return true;
}

void TFrmMain::CreateControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  GrpDatas = MakeControl<QGroupBox>(client, "GrpDatas", {0, 0, 361, 369},
                                    QStringLiteral("解题的数据区"));
  MemoSrc = MakeControl<QPlainTextEdit>(GrpDatas, "MemoSrc", {8, 24, 345, 289});
  MemoSrc->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  MemoSrc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoSrc->setTabChangesFocus(true);
  MemoSrc->setPlainText(QString::fromLatin1(kSampleProblem));
  BtnNewData = GlyphButton(GrpDatas, "BtnNewData", {8, 320, 105, 25},
                           QStringLiteral("新建New"), dialogs::NewGlyph());
  BtnOpenData = GlyphButton(GrpDatas, "BtnOpenData", {120, 320, 115, 25},
                            QStringLiteral("打开Open"), dialogs::OpenGlyph());
  BtnSaveData = GlyphButton(GrpDatas, "BtnSaveData", {240, 320, 113, 25},
                            QStringLiteral("保存Save"), dialogs::SaveGlyph());

  GrpResult = MakeControl<QGroupBox>(client, "GrpResult", {368, 0, 433, 369},
                                     QStringLiteral("结果区"));
  MemoResult = MakeControl<QTextEdit>(GrpResult, "MemoResult", {8, 24, 417, 289});
  MemoResult->setLineWrapMode(QTextEdit::WidgetWidth);
  MemoResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoResult->setTabChangesFocus(true);
  MemoResult->setPlainText(QStringLiteral("就绪"));
  BtnPrintResult = GlyphButton(GrpResult, "BtnPrintResult", {8, 320, 97, 25},
                               QStringLiteral("打印Print"), dialogs::PrintGlyph());
  BtnClearResult = GlyphButton(GrpResult, "BtnClearResult", {112, 320, 105, 25},
                               QStringLiteral("新建New"), dialogs::NewGlyph());
  BitBtn2 = GlyphButton(GrpResult, "BitBtn2", {224, 320, 99, 25}, QStringLiteral("打开Open"),
                        dialogs::OpenGlyph());
  BitBtn6 = GlyphButton(GrpResult, "BitBtn6", {328, 320, 97, 25}, QStringLiteral("保存Save"),
                        dialogs::SaveGlyph());

  BitBtn1 = CommandButton(
      client, "BitBtn1", {8, 376, 793, 25},
      QStringLiteral("计算解题 Compute this question and solve the datas >>"));
  BtnSolveMax = CommandButton(
      client, "BtnSolveMax", {8, 408, 793, 25},
      QStringLiteral("计算最优解题 Compute this question and Solve Max in Datas >>"));
  BtnCalcMaxWith1Data = CommandButton(
      client, "BtnCalcMaxWith1Data", {8, 440, 793, 25},
      QStringLiteral("计算最优解题(含单一数据) Compute this question and Solve Max in Datas "
                     "(Include 1 Data)>>"));
}

void TFrmMain::CreateStatusBar() {
  // Part of the client area rather than QMainWindow's own status bar, so it takes exactly
  // the bottom 19 pixels of the 490.
  StatusBar1 = MakeControl<QStatusBar>(centralWidget(), "StatusBar1",
                                       {0, kClientHeight - 19, kClientWidth, 19});
  StatusBar1->setSizeGripEnabled(false);
  // The panels take the bar's whole height: the bar's own layout keeps 5 of its 19 pixels
  // free, too few for a line of the window's font.
  constexpr int kPanel1Width = 150;
  MakeControl<QLabel>(StatusBar1, "StatusPanel1", {0, 0, kPanel1Width, 19},
                      QStringLiteral("就绪"));
  MakeControl<QLabel>(
      StatusBar1, "StatusPanel2", {kPanel1Width + 2, 0, kClientWidth - kPanel1Width - 2, 19},
      // The best packing has no button: its key is named here, with the command's caption.
      QStringLiteral("按计算按钮求解，F5 求精确最优解 Press a compute button, or F5 for Best "
                     "Packing (Exact)"));
}

void TFrmMain::CreateMenus() {
  MainMnu = new QMenuBar(this);
  MainMnu->setObjectName(QStringLiteral("MainMnu"));
  setMenuBar(MainMnu);

  // Menus are windows of their own and do not inherit the window's font.
  auto addMenu = [this](const char* name, const QString& caption) {
    QMenu* menu = MainMnu->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
    menu->setFont(font());
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
  };
  auto addItem = [](QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
  };

  QMenu* fileMenu = addMenu("MnuFile", QStringLiteral("文件&File"));
  MnuFile = fileMenu->menuAction();
  MnuExit = addItem(fileMenu, "MnuExit", QStringLiteral("退出本软件&Exit"));

  QMenu* setMenu = addMenu("MnuSet", QStringLiteral("设置&Set"));
  MnuSet = setMenu->menuAction();
  MnuChinese = addItem(setMenu, "MnuChinese", QStringLiteral("中文界面&Chinese"));
  MnuEnglish = addItem(setMenu, "MnuEnglish", QStringLiteral("英文界面&English"));
  // Two plain check items, not a group: only MnuSetClick sets their marks.
  MnuChinese->setCheckable(true);
  MnuEnglish->setCheckable(true);

  QMenu* helpMenu = addMenu("MnuHelp", QStringLiteral("帮助&Help"));
  MnuHelp = helpMenu->menuAction();
  MnuContent = addItem(helpMenu, "MnuContent", QStringLiteral("帮助主题&Content"));
  MnuWeb = addItem(helpMenu, "MnuWeb", QStringLiteral("访问本软件网站&Web"));
  MnuPhone = addItem(helpMenu, "MnuPhone", QStringLiteral("手机访问本软件网站&Phone"));
  N1 = helpMenu->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  MnuAbout = addItem(helpMenu, "MnuAbout", QStringLiteral("关于本软件&About"));

  // Qt sizes a menu for its widest caption measured in whole pixels, while the style cuts a
  // caption down ("退出本软…Exit") against its exact width; the Song face's fractional advances
  // leave the widest one 3 pixels short. Half a line more keeps every caption whole.
  for (QMenu* menu : {fileMenu, setMenu, helpMenu}) {
    menu->setMinimumWidth(menu->sizeHint().width() + menu->fontMetrics().height() / 2);
  }
  app::ReturnFocusAfterMenus(MainMnu);
}

void TFrmMain::SetTabOrder() {
  // Inside each group box this is not the buttons' left-to-right order, and that is meant.
  QWidget* const order[] = {MemoSrc,        BtnNewData,     BtnSaveData, BtnOpenData,
                            MemoResult,     BitBtn2,        BtnClearResult, BitBtn6,
                            BtnPrintResult, BitBtn1,        BtnSolveMax, BtnCalcMaxWith1Data};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}
