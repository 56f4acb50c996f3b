#include "dialogs/visitephone.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "dialogs/fixeddialog.h"
#include "dialogs/helpcommands.h"
#include "dialogs/qrpicture.h"
#include "dialogs/songfont.h"

TFrmVisitePhone* FrmVisitePhone = nullptr;

namespace {

constexpr int kCodeSide = 210;

}  // namespace

TFrmVisitePhone::TFrmVisitePhone(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("手机二维码访问本软件网站Visite with 2-Dims Code"));
  setFont(pictures::SongFont(15));
  dialogs::MakeFixedDialog(this, QSize(211, 247));

  // The code is made from the same address the web menu item opens, so the two never differ.
  Img2DimsCode = new QLabel(this);
  Img2DimsCode->setObjectName(QStringLiteral("Img2DimsCode"));
  Img2DimsCode->setGeometry(0, 0, kCodeSide, kCodeSide);
  Img2DimsCode->setFocusPolicy(Qt::NoFocus);
  Img2DimsCode->setPixmap(
      QPixmap::fromImage(pictures::QrCodePicture(help::WebAddress().toUtf8(), kCodeSide)));

  BtnClose = new QPushButton(QStringLiteral("关闭&Close"), this);
  BtnClose->setObjectName(QStringLiteral("BtnClose"));
  BtnClose->setGeometry(0, 216, 209, 25);
  BtnClose->setAutoDefault(true);
  BtnClose->setFocus();
  connect(BtnClose, &QPushButton::clicked, this, &TFrmVisitePhone::BtnCloseClick);
}

void TFrmVisitePhone::BtnCloseClick() { close(); }

void TFrmVisitePhone::keyPressEvent(QKeyEvent* event) {
  if (dialogs::IsBareEscape(event)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFrmVisitePhone::showEvent(QShowEvent* event) {
  dialogs::CentreOnScreen(this);
  BtnClose->setFocus();
  QDialog::showEvent(event);
}
