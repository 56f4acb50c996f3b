#include "dialogs/aboutbox.h"

#include "dialogs/controls.h"
#include "dialogs/pictures.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TAboutBox* AboutBox = nullptr;

using dialogs::MakeControl;

TAboutBox::TAboutBox(QWidget* parent)
    : FixedDialog(parent, QStringLiteral("关于本软件About"), QSize(298, 263), 12) {
  // A raised inner bevel inside a lowered outer one reads as an etched groove.
  Panel1 = MakeControl<QFrame>(this, "Panel1", {8, 8, 281, 217});
  Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setMidLineWidth(0);

  ProgramIcon = MakeControl<QLabel>(Panel1, "ProgramIcon", {16, 16, 33, 33});
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(dialogs::ProgramIcon());
  ProductName = MakeControl<QLabel>(Panel1, "ProductName", {64, 16, 181, 13},
                                    QStringLiteral("Trevana背包问题计算器"));
  Version = MakeControl<QLabel>(Panel1, "Version", {64, 40, 201, 13},
                                QStringLiteral("版本号Version：" TREVANA_VERSION));

  OKButton = MakeControl<QPushButton>(this, "OKButton", {103, 236, 75, 25},
                                      QStringLiteral("关闭&OK"));
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
