#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "dialogs/fixeddialog.h"
#include "dialogs/pictures.h"
#include "dialogs/songfont.h"
#include "dialogs/visitephone.h"

TAboutBox* AboutBox = nullptr;

namespace {

QLabel* FixedLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("关于本软件About"));
  setFont(pictures::SongFont(12));
  dialogs::MakeFixedDialog(this, QSize(298, 263));

  // A raised inner bevel inside a lowered outer one reads as an etched groove.
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(8, 8, 281, 217);
  Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setMidLineWidth(0);

  ProgramIcon = FixedLabel(Panel1, "ProgramIcon", QString(), QRect(16, 16, 33, 33));
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(pictures::ProgramIcon());
  ProductName = FixedLabel(Panel1, "ProductName", QStringLiteral("Trevana背包问题计算器"),
                           QRect(64, 16, 181, 13));
  Version = FixedLabel(Panel1, "Version", QStringLiteral("版本号Version：" TREVANA_VERSION),
                       QRect(64, 40, 201, 13));

  OKButton = new QPushButton(QStringLiteral("关闭&OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(103, 236, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  if (dialogs::IsBareEscape(event)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent* event) {
  dialogs::CentreOnScreen(this);
  QDialog::showEvent(event);
}
