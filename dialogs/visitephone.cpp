#include "dialogs/visitephone.h"

#include "dialogs/controls.h"
#include "dialogs/helpcommands.h"
#include "dialogs/qrpicture.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

TFrmVisitePhone* FrmVisitePhone = nullptr;

using dialogs::MakeControl;

TFrmVisitePhone::TFrmVisitePhone(QWidget* parent)
    : FixedDialog(parent, QStringLiteral("手机二维码访问本软件网站Visite with 2-Dims Code"),
                  QSize(211, 247), 15) {
  constexpr int kCodeSide = 210;
  // The code is made from the same address the web menu item opens, so the two never differ.
  Img2DimsCode = MakeControl<QLabel>(this, "Img2DimsCode", {0, 0, kCodeSide, kCodeSide});
  Img2DimsCode->setFocusPolicy(Qt::NoFocus);
  Img2DimsCode->setPixmap(
      QPixmap::fromImage(dialogs::QrCodePicture(dialogs::WebAddress().toUtf8(), kCodeSide)));

  BtnClose = MakeControl<QPushButton>(this, "BtnClose", {0, 216, 209, 25},
                                      QStringLiteral("关闭&Close"));
  BtnClose->setAutoDefault(true);
  BtnClose->setFocus();
  connect(BtnClose, &QPushButton::clicked, this, &TFrmVisitePhone::BtnCloseClick);
}

void TFrmVisitePhone::BtnCloseClick() { close(); }

void TFrmVisitePhone::showEvent(QShowEvent* event) {
  BtnClose->setFocus();
  FixedDialog::showEvent(event);
}
