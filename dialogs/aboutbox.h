// The about box: the program's icon, name and version. Created hidden at start-up and reused by
// every showing.
#pragma once

#include "dialogs/fixeddialog.h"

class QFrame;
class QLabel;
class QPushButton;

class TAboutBox : public dialogs::FixedDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;
};

// The instance start-up creates (owned by the application; null before start-up).
extern TAboutBox* AboutBox;
