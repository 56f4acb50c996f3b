// The error display: the "." rule, what a foreign failure shows, and the application object's
// last-resort catch for an exception that escapes an event.
#include "app/errordisplay.h"
#include "base/errors.h"
#include "tests/support/windowtest.h"

#include <QEvent>
#include <QTest>

#include <new>
#include <stdexcept>

namespace {

// An object whose events fail, as a handler outside the guard would.
class FailingReceiver : public QObject {
 public:
  int handled = 0;
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    ++handled;
    throw bagfunc::Error("Event failed");
  }
};

}  // namespace

class ErrorDisplayTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void fullStopRule_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "Failed to Load Stream" << "Failed to Load Stream.";
    QTest::newRow("ends in a full stop") << "Stream write error." << "Stream write error.";
    QTest::newRow("ends in an exclamation mark") << "Stop!" << "Stop!";
    QTest::newRow("ends in a space") << "Trailing " << "Trailing ";
    QTest::newRow("ends in a comma") << "a," << "a,";
    QTest::newRow("ends in a closing bracket") << "(x)" << "(x)";
    QTest::newRow("ends in a slash, just above the full stop") << "a/" << "a/.";
    QTest::newRow("ends in a digit") << "Cannot open file a1" << "Cannot open file a1.";
    QTest::newRow("ends in a Chinese character") << "不能写入" << "不能写入.";
    QTest::newRow("ends in an apostrophe") << "'4 '" << "'4 '";
    QTest::newRow("empty") << "" << "";
  }
  void fullStopRule() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    app::Guarded([&] { throw bagfunc::Error(message.toStdString()); });
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, shown);
    QCOMPARE(seen.title, QStringLiteral("Trevana背包问题计算器2023"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    QCOMPARE(seen.format, Qt::PlainText);
  }

  // Failures that are not the program's own: the library's text, or nothing to say.
  void foreignFailureText_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("out of memory") << 0 << "Out of memory.";
    QTest::newRow("an array too large to allocate") << 1 << "Out of memory.";
    QTest::newRow("a standard library error") << 2 << "vector::_M_range_check.";
    QTest::newRow("a standard error whose text ends in a full stop") << 3 << "internal.";
    QTest::newRow("not an exception class at all") << 4 << "";
  }
  void foreignFailureText() {
    QFETCH(int, kind);
    QFETCH(QString, shown);
    const auto thrown = [kind]() -> std::exception_ptr {
      switch (kind) {
        case 0: return std::make_exception_ptr(std::bad_alloc());
        case 1: return std::make_exception_ptr(std::bad_array_new_length());
        case 2: return std::make_exception_ptr(std::out_of_range("vector::_M_range_check"));
        case 3: return std::make_exception_ptr(std::logic_error("internal."));
        default: return std::make_exception_ptr(42);
      }
    };
    QCOMPARE(app::ErrorText(thrown()), shown);
  }

  void foreignFailureIsShownInTheBox() {
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    app::Guarded([] { throw std::bad_alloc(); });
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, QStringLiteral("Out of memory."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
  }

  void emptyMessageShowsAnEmptyBox() {
    testsupport::SeenBox seen;
    modals_.ExpectMessageBox(seen);
    app::Guarded([] { throw 42; });
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, QString());
  }

  void nothingIsShownWhenNothingFails() {
    bool ran = false;
    app::Guarded([&] { ran = true; });
    QVERIFY(ran);
    QCOMPARE(modals_.Pending(), 0);
  }

  void exceptionEscapingAnEventIsShownAndTheLoopGoesOn() {
    FailingReceiver receiver;
    testsupport::SeenBox first;
    testsupport::SeenBox second;
    modals_.ExpectMessageBox(first);
    modals_.ExpectMessageBox(second);
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QTRY_COMPARE(receiver.handled, 2);
    QCOMPARE(first.text, QStringLiteral("Event failed."));
    QCOMPARE(second.text, QStringLiteral("Event failed."));
  }
};

int main(int argc, char** argv) {
  ErrorDisplayTest::initMain();
  app::TrevanaApplication application(argc, argv);
  ErrorDisplayTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "errordisplay_test.moc"
