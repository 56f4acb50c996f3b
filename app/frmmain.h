// The main window: the input and result boxes with their buttons, the three solve buttons,
// the menus and the status bar. Its handlers are one-liners into the engine, the box
// commands and the help commands; each runs under the error display's guard.
#pragma once

#include "settings/inidatas.h"

#include <QMainWindow>

class QAction;
class QFileDialog;
class QGroupBox;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTextEdit;

namespace app {
class ExactSolveCommand;
}

class TFrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFrmMain(QWidget* parent = nullptr);
  ~TFrmMain() override;

  // Controls, under the names the tests and the other commands know them by.
  QGroupBox* GrpDatas = nullptr;
  QPlainTextEdit* MemoSrc = nullptr;
  QPushButton* BtnNewData = nullptr;
  QPushButton* BtnOpenData = nullptr;
  QPushButton* BtnSaveData = nullptr;
  QGroupBox* GrpResult = nullptr;
  QTextEdit* MemoResult = nullptr;
  QPushButton* BtnPrintResult = nullptr;
  QPushButton* BtnClearResult = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn6 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BtnSolveMax = nullptr;
  QPushButton* BtnCalcMaxWith1Data = nullptr;
  QStatusBar* StatusBar1 = nullptr;

  QMenuBar* MainMnu = nullptr;
  QAction* MnuFile = nullptr;
  QAction* MnuExit = nullptr;
  QAction* MnuSet = nullptr;
  QAction* MnuChinese = nullptr;
  QAction* MnuEnglish = nullptr;
  QAction* MnuHelp = nullptr;
  QAction* MnuContent = nullptr;
  QAction* MnuWeb = nullptr;
  QAction* MnuPhone = nullptr;
  QAction* N1 = nullptr;
  QAction* MnuAbout = nullptr;

  QFileDialog* OpenDlg = nullptr;
  QFileDialog* SaveDlg = nullptr;

  // The best packing: F5 and the first item of MemoSrc's context menu (app/exactsolve.h).
  app::ExactSolveCommand* BestPacking = nullptr;

 private:
  bool BuildControls();  // the controls, menus and file dialogs; returns true
  // Members are built in declaration order: this runs before IniDatas is constructed.
  const bool controlsBuilt_ = BuildControls();

 public:
  // Built after every control above and destroyed before them (the controls are Qt children,
  // deleted by QWidget's destructor after this member is gone): reads the language flag now,
  // writes it back when the window is destroyed.
  TIniDatas IniDatas;

  void BitBtn1Click();
  void BtnSolveMaxClick();
  void BtnCalcMaxWith1DataClick();

  void BtnNewDataClick();
  void BtnOpenDataClick();
  void BtnSaveDataClick();
  void BtnClearResultClick();
  void BitBtn2Click();
  void BitBtn6Click();
  void BtnPrintResultClick();

  void MnuExitClick();
  void MnuSetClick();
  void MnuChineseClick();
  void MnuEnglishClick();
  void MnuContentClick();
  void MnuWebClick();
  void MnuPhoneClick();
  void MnuAboutClick();

  void FormShow();
  void SetChineseInterface();
  void SetEnglishInterface();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void CreateStatusBar();
  void CreateMenus();
  void ConnectHandlers();
  void SetTabOrder();

  bool shown_ = false;
};

// The main window of the running program (null outside the event loop).
extern TFrmMain* FrmMain;
