// The phone dialog and the about box: what they show, where, and how they close.
#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "dialogs/pictures.h"
#include "dialogs/aboutbox.h"
#include "dialogs/visitephone.h"
#include "tests/support/windowtest.h"

namespace {

enum class Closing { Enter, EscThenTitleBarClose, EscThenButton };

// How far the middle of the window's frame, title bar included, lies from the middle of the
// screen's work area.
int DistanceFromScreenCentre(const QRect& frame) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  return (frame.center() - area.center()).manhattanLength();
}

// Shows the dialog modally, closes it as `how` says, and reports what happened.
struct ShowingResult {
  int result = -1;
  bool survivedEsc = false;
  bool watchdogFired = false;
  QWidget* focus = nullptr;
  QRect frame;
};

ShowingResult ShowAndClose(testsupport::ModalWatchdog& modals, QDialog* dialog,
                           QPushButton* button, Closing how) {
  ShowingResult outcome;
  modals.Expect([&](QWidget* modal) {
    outcome.focus = QApplication::focusWidget();
    outcome.frame = modal->frameGeometry();
    QWidget* target = outcome.focus ? outcome.focus : modal;
    if (how == Closing::Enter) {
      QTest::keyClick(target, Qt::Key_Return);
      return;
    }
    QTest::keyClick(target, Qt::Key_Escape);
    QTest::qWait(50);
    outcome.survivedEsc = modal->isVisible();
    if (how == Closing::EscThenTitleBarClose) {
      modal->close();  // what the title bar's close button asks for
    } else {
      button->click();
    }
  });
  outcome.result = dialog->exec();
  outcome.watchdogFired = !modals.Problems().isEmpty();
  return outcome;
}

}  // namespace

Q_DECLARE_METATYPE(Closing)

class InfoDialogsTest : public testsupport::WindowTest {
  Q_OBJECT
 private:
  TFrmVisitePhone* phone_ = nullptr;
  TAboutBox* about_ = nullptr;

 private slots:
  void initTestCase() {
    // As start-up does it: both dialogs made once, hidden, and reused by every showing.
    phone_ = new TFrmVisitePhone;
    about_ = new TAboutBox;
    QVERIFY(!phone_->isVisible());
    QVERIFY(!about_->isVisible());
  }
  void cleanupTestCase() {
    delete phone_;
    delete about_;
  }

  void captionsAndClientAreas_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("phone dialog")
        << "phone" << QStringLiteral("手机二维码访问本软件网站Visite with 2-Dims Code")
        << QSize(211, 247) << 15;
    QTest::newRow("about box") << "about" << QStringLiteral("关于本软件About") << QSize(298, 263)
                               << 12;
  }
  void captionsAndClientAreas() {
    QFETCH(QString, which);
    QFETCH(QString, caption);
    QFETCH(QSize, client);
    QFETCH(int, pixelSize);
    QDialog* dialog = which == "phone" ? static_cast<QDialog*>(phone_) : about_;
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->size(), client);
    QCOMPARE(dialog->minimumSize(), client);
    QCOMPARE(dialog->maximumSize(), client);
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog->font().pixelSize(), pixelSize);
    QVERIFY(dialog->font().families().contains(QStringLiteral("宋体")));
    // The face that is really used must be one that can show the Chinese captions.
    // AR PL UMing CN has the Chinese but a Latin "l" that reads as "1".
    const QStringList songFaces{"SimSun", QStringLiteral("宋体"), "Noto Serif CJK SC"};
    QVERIFY2(songFaces.contains(QFontInfo(dialog->font()).family()),
             qPrintable(QFontInfo(dialog->font()).family()));
  }

  void controlsWhereTheyBelong_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("QR code") << "phone" << "Img2DimsCode" << "" << QRect(0, 0, 210, 210) << "";
    QTest::newRow("close button")
        << "phone" << "BtnClose" << "" << QRect(0, 216, 209, 25) << QStringLiteral("关闭&Close");
    QTest::newRow("panel") << "about" << "Panel1" << "" << QRect(8, 8, 281, 217) << "";
    QTest::newRow("icon") << "about" << "ProgramIcon" << "Panel1" << QRect(16, 16, 33, 33) << "";
    QTest::newRow("product name") << "about" << "ProductName" << "Panel1"
                                  << QRect(64, 16, 181, 13)
                                  << QStringLiteral("Trevana背包问题计算器");
    QTest::newRow("version with full-width colon")
        << "about" << "Version" << "Panel1" << QRect(64, 40, 201, 13)
        << QStringLiteral("版本号Version\uFF1A2023.3");
    QTest::newRow("OK button") << "about" << "OKButton" << "" << QRect(103, 236, 75, 25)
                               << QStringLiteral("关闭&OK");
  }
  void controlsWhereTheyBelong() {
    QFETCH(QString, which);
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QDialog* dialog = which == "phone" ? static_cast<QDialog*>(phone_) : about_;
    auto* control = dialog->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    const QWidget* expectedParent =
        parentName.isEmpty() ? dialog : dialog->findChild<QWidget*>(parentName);
    QCOMPARE(control->parentWidget(), expectedParent);
    QCOMPARE(control->geometry(), geometry);
    if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), text);
    if (auto* button = qobject_cast<QPushButton*>(control)) QCOMPARE(button->text(), text);
  }

  void aboutIconIsTheProgramIconStretched() {
    QVERIFY(about_->ProgramIcon->hasScaledContents());
    QCOMPARE(about_->ProgramIcon->pixmap().toImage(), dialogs::ProgramIcon().toImage());
    QVERIFY(about_->Panel1->frameShape() == QFrame::Box);
    QVERIFY(about_->Panel1->frameShadow() == QFrame::Sunken);
  }

  void onlyTheCloseButtonTakesFocusInThePhoneDialog() {
    const QList<QWidget*> children = phone_->findChildren<QWidget*>();
    for (QWidget* child : children) {
      if (child != phone_->BtnClose) QCOMPARE(child->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(phone_->BtnClose->focusPolicy() != Qt::NoFocus);
    QVERIFY(about_->OKButton->isDefault());
  }

  void closingKeys_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<Closing>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("phone: Enter presses the focused close button")
        << "phone" << Closing::Enter << int(QDialog::Rejected);
    QTest::newRow("phone: Esc ignored, title bar closes")
        << "phone" << Closing::EscThenTitleBarClose << int(QDialog::Rejected);
    QTest::newRow("phone: Esc ignored, close button closes")
        << "phone" << Closing::EscThenButton << int(QDialog::Rejected);
    QTest::newRow("about: Enter presses the default OK")
        << "about" << Closing::Enter << int(QDialog::Accepted);
    QTest::newRow("about: Esc ignored, title bar closes")
        << "about" << Closing::EscThenTitleBarClose << int(QDialog::Rejected);
    QTest::newRow("about: Esc ignored, OK closes with OK")
        << "about" << Closing::EscThenButton << int(QDialog::Accepted);
  }
  void closingKeys() {
    QFETCH(QString, which);
    QFETCH(Closing, how);
    QFETCH(int, result);
    const bool isPhone = which == "phone";
    QDialog* dialog = isPhone ? static_cast<QDialog*>(phone_) : about_;
    QPushButton* button = isPhone ? phone_->BtnClose : about_->OKButton;
    // Each row is another showing of the same dialog object.
    const ShowingResult outcome = ShowAndClose(modals_, dialog, button, how);
    QVERIFY2(!outcome.watchdogFired, "the dialog did not close");
    QCOMPARE(outcome.result, result);
    QVERIFY(!dialog->isVisible());
    if (how != Closing::Enter) QVERIFY2(outcome.survivedEsc, "Esc closed the dialog");
    if (isPhone) QCOMPARE(outcome.focus, phone_->BtnClose);
    QVERIFY2(DistanceFromScreenCentre(outcome.frame) <= 1, "the frame is centred on the screen");
  }

  void secondShowingFindsTheDialogAsItWas() {
    const QImage codeBefore = phone_->Img2DimsCode->pixmap().toImage();
    QLabel* labelBefore = phone_->Img2DimsCode;
    for (int showing = 0; showing < 2; ++showing) {
      phone_->move(0, 0);  // moved away by the user between showings
      const ShowingResult outcome = ShowAndClose(modals_, phone_, phone_->BtnClose, Closing::Enter);
      QVERIFY(!outcome.watchdogFired);
      QCOMPARE(outcome.focus, phone_->BtnClose);
      QVERIFY2(DistanceFromScreenCentre(outcome.frame) <= 1, "the frame is centred on the screen");
    }
    QCOMPARE(phone_->Img2DimsCode, labelBefore);
    QCOMPARE(phone_->Img2DimsCode->pixmap().toImage(), codeBefore);
    QCOMPARE(phone_->size(), QSize(211, 247));
  }
};

QTEST_MAIN(InfoDialogsTest)
#include "infodialogs_test.moc"
