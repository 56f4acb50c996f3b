// The main window's handlers and their wiring: every handler runs under the error display's
// guard, so a failure is shown and the window stays usable.
#include "app/boxcommands.h"
#include "app/errordisplay.h"
#include "app/frmmain.h"
#include "app/linelists.h"
#include "app/printing.h"
#include "dialogs/helpcommands.h"
#include "dialogs/aboutbox.h"
#include "dialogs/visitephone.h"
#include "dialogs/windowplace.h"
#include "engine/bagfunc.h"
#include "settings/exepath.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>

using bagfunc::SolveVariant;

void TFrmMain::ConnectHandlers() {
  using Handler = void (TFrmMain::*)();
  auto guarded = [this](Handler handler) {
    return [this, handler] { app::Guarded([this, handler] { (this->*handler)(); }); };
  };
  const std::pair<QPushButton*, Handler> buttons[] = {
      {BitBtn1, &TFrmMain::BitBtn1Click},
      {BtnSolveMax, &TFrmMain::BtnSolveMaxClick},
      {BtnCalcMaxWith1Data, &TFrmMain::BtnCalcMaxWith1DataClick},
      {BtnNewData, &TFrmMain::BtnNewDataClick},
      {BtnOpenData, &TFrmMain::BtnOpenDataClick},
      {BtnSaveData, &TFrmMain::BtnSaveDataClick},
      {BtnClearResult, &TFrmMain::BtnClearResultClick},
      {BitBtn2, &TFrmMain::BitBtn2Click},
      {BitBtn6, &TFrmMain::BitBtn6Click},
      {BtnPrintResult, &TFrmMain::BtnPrintResultClick},
  };
  for (const auto& [button, handler] : buttons) {
    connect(button, &QPushButton::clicked, this, guarded(handler));
  }
  const std::pair<QAction*, Handler> items[] = {
      {MnuExit, &TFrmMain::MnuExitClick},     {MnuContent, &TFrmMain::MnuContentClick},
      {MnuWeb, &TFrmMain::MnuWebClick},       {MnuPhone, &TFrmMain::MnuPhoneClick},
      {MnuAbout, &TFrmMain::MnuAboutClick},
  };
  for (const auto& [item, handler] : items) {
    connect(item, &QAction::triggered, this, guarded(handler));
  }
  // Qt flips a check item's mark before it reports the choice; the language items keep
  // theirs, which only MnuSetClick sets.
  const std::pair<QAction*, Handler> languageItems[] = {
      {MnuChinese, &TFrmMain::MnuChineseClick},
      {MnuEnglish, &TFrmMain::MnuEnglishClick},
  };
  for (const auto& [item, handler] : languageItems) {
    connect(item, &QAction::triggered, this, [item, run = guarded(handler)](bool nowChecked) {
      item->setChecked(!nowChecked);
      run();
    });
  }
  connect(MnuSet->menu(), &QMenu::aboutToShow, this, guarded(&TFrmMain::MnuSetClick));
}

void TFrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Restoring from the taskbar shows the window again; it is placed and captioned only once.
  if (shown_) return;
  shown_ = true;
  dialogs::CentreOnScreen(this);
  app::Guarded([this] { FormShow(); });
}

void TFrmMain::BitBtn1Click() {
  app::SolveOnBoxes(bagfunc::ProcessEngine(), MemoSrc, MemoResult, SolveVariant::SolveBag);
}

void TFrmMain::BtnSolveMaxClick() {
  app::SolveOnBoxes(bagfunc::ProcessEngine(), MemoSrc, MemoResult, SolveVariant::SolveBagMax);
}

void TFrmMain::BtnCalcMaxWith1DataClick() {
  app::SolveOnBoxes(bagfunc::ProcessEngine(), MemoSrc, MemoResult,
                    SolveVariant::SolveBagMaxWith1Data);
}

void TFrmMain::BtnNewDataClick() { app::ClearInputBox(MemoSrc); }
void TFrmMain::BtnOpenDataClick() { app::OpenInputBox(OpenDlg, MemoSrc); }
void TFrmMain::BtnSaveDataClick() { app::SaveInputBox(SaveDlg, MemoSrc); }
void TFrmMain::BtnClearResultClick() { app::ClearResultBox(MemoResult); }
void TFrmMain::BitBtn2Click() { app::OpenResultBox(OpenDlg, MemoResult); }
void TFrmMain::BitBtn6Click() { app::SaveResultBox(SaveDlg, MemoResult); }
void TFrmMain::BtnPrintResultClick() { app::PrintResultBox(MemoResult); }

void TFrmMain::MnuExitClick() { close(); }

void TFrmMain::MnuContentClick() {
  dialogs::OpenHelpContent(this, QString::fromStdString(settings::ExecutablePath()));
}
void TFrmMain::MnuWebClick() { dialogs::OpenWebPage(); }
// The dialogs exist from start-up to exit; a window built without start-up has none to show.
void TFrmMain::MnuPhoneClick() {
  if (FrmVisitePhone != nullptr) FrmVisitePhone->exec();
}
void TFrmMain::MnuAboutClick() {
  if (AboutBox != nullptr) AboutBox->exec();
}

void TFrmMain::FormShow() {
  if (IniDatas.bChinese) {
    SetChineseInterface();
  } else {
    SetEnglishInterface();
  }
}

void TFrmMain::MnuSetClick() {
  MnuChinese->setChecked(IniDatas.bChinese);
  MnuEnglish->setChecked(!IniDatas.bChinese);
}

void TFrmMain::MnuChineseClick() {
  IniDatas.bChinese = true;
  SetChineseInterface();
}

void TFrmMain::MnuEnglishClick() {
  IniDatas.bChinese = false;
  SetEnglishInterface();
}

void TFrmMain::SetChineseInterface() {
  GrpDatas->setTitle(QStringLiteral("输入数据区"));
  GrpResult->setTitle(QStringLiteral("输出结果区"));
}

void TFrmMain::SetEnglishInterface() {
  GrpDatas->setTitle(QStringLiteral("Input Datas Area"));
  GrpResult->setTitle(QStringLiteral("Result Area"));
}
