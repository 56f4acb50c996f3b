// The phone dialog: the QR code of the product's web page, for a phone's camera. Created hidden
// at start-up and reused by every showing.
#pragma once

#include "dialogs/fixeddialog.h"

class QLabel;
class QPushButton;

class TFrmVisitePhone : public dialogs::FixedDialog {
  Q_OBJECT
 public:
  explicit TFrmVisitePhone(QWidget* parent = nullptr);

  QLabel* Img2DimsCode = nullptr;
  QPushButton* BtnClose = nullptr;

  void BtnCloseClick();

 protected:
  void showEvent(QShowEvent* event) override;
};

// The instance start-up creates (owned by the application; null before start-up).
extern TFrmVisitePhone* FrmVisitePhone;
