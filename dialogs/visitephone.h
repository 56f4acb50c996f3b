// The two information dialogs of the help menu: the phone dialog with the QR code of the
// product's web page, and the about box. Both are created hidden at start-up and reused.
#pragma once

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;

class TFrmVisitePhone : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmVisitePhone(QWidget* parent = nullptr);

  QLabel* Img2DimsCode = nullptr;
  QPushButton* BtnClose = nullptr;

  void BtnCloseClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
};

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
};

// The instances start-up creates (owned by the application; null before start-up).
extern TFrmVisitePhone* FrmVisitePhone;
extern TAboutBox* AboutBox;
