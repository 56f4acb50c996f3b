// The program's file dialogs as a person uses them: what the filters list, which file a typed
// name opens, what a new showing offers, and that nothing of a dialog stays on screen.
#include "app/filedialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <optional>

#include "tests/support/filedialogs.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"

using testsupport::NameBox;
using testsupport::TypeAndAccept;

namespace {

const QString kTextFilter = QStringLiteral("文本数据文件(*.txt)");
const QString kAllFilter = QStringLiteral("所有文件(*.*)");

}  // namespace

class FileDialogsTest : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<testsupport::TempFolder>();
    owner_ = std::make_unique<QWidget>();
    for (bool forSaving : {false, true}) {
      auto* dialog = new QFileDialog(owner_.get());
      app::SetUpFileDialog(dialog, forSaving);
      (forSaving ? saveDlg_ : openDlg_) = dialog;
    }
  }
  void cleanup() {
    owner_.reset();
    folder_.reset();
    WindowTest::cleanup();
  }

  void filterLists_data() {
    QTest::addColumn<bool>("forSaving");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("listed");
    const QStringList textFiles{"a.txt", "sub"};
    const QStringList everyFile{"a.txt", "b.dat", "noext", "sub"};
    QTest::newRow("open, text files") << false << kTextFilter << textFiles;
    QTest::newRow("open, all files with or without an extension")
        << false << kAllFilter << everyFile;
    QTest::newRow("save, all files with or without an extension")
        << true << kAllFilter << everyFile;
  }
  void filterLists() {
    QFETCH(bool, forSaving);
    QFETCH(QString, filter);
    QFETCH(QStringList, listed);
    for (const char* name : {"a.txt", "b.dat", "noext"}) QVERIFY(folder_->Write(name, name));
    QVERIFY(QDir(folder_->Path()).mkdir(QStringLiteral("sub")));
    QStringList seen;
    modals_.ExpectFileDialog([&](QFileDialog* dialog) {
      TypeAndAccept(dialog, folder_->Path());  // a folder's name opens the folder
      testsupport::ChooseFilter(dialog, filter);
      seen = testsupport::ListedNames(dialog);
      dialog->reject();
    });
    QVERIFY(!app::ChooseFile(forSaving ? saveDlg_ : openDlg_));
    QCOMPARE(seen, listed);
  }

  // Windows' rule for the open dialog: a name is taken as typed when that file exists; the
  // default extension is added only to a name without one that does not exist as typed.
  void typedNameInTheOpenDialog_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::newRow("name without an extension that exists") << QStringList{"noext"} << "noext"
                                                           << "noext";
    QTest::newRow("the extension is added when only that exists")
        << QStringList{"data.txt"} << "data"
        << "data.txt";
    QTest::newRow("as typed wins over the added extension")
        << QStringList{"both", "both.txt"} << "both"
        << "both";
    QTest::newRow("another extension as typed") << QStringList{"x.dat"} << "x.dat"
                                                << "x.dat";
    QTest::newRow("neither exists: the name with the extension") << QStringList{} << "gone"
                                                                 << "gone.txt";
    QTest::newRow("a name with an extension gets none added") << QStringList{"y.txt"} << "y.dat"
                                                              << "y.dat";
  }
  void typedNameInTheOpenDialog() {
    QFETCH(QStringList, present);
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    for (const QString& name : present) QVERIFY(folder_->Write(name, name.toUtf8()));
    modals_.ExpectFileDialog(
        [&](QFileDialog* dialog) { TypeAndAccept(dialog, folder_->File(typed)); });
    QCOMPARE(app::ChooseFile(openDlg_), std::optional<QString>(folder_->File(opened)));
  }

  // What each showing offers in the name box, after cancelled and confirmed uses.
  void offeredName_data() {
    QTest::addColumn<bool>("forSaving");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
  }
  void offeredName() {
    QFETCH(bool, forSaving);
    QFileDialog* dialog = forSaving ? saveDlg_ : openDlg_;
    QVERIFY(folder_->Write("a.txt", "a"));
    const auto typeAndCancel = [](QFileDialog* shown) {
      QTest::keyClicks(NameBox(shown), QStringLiteral("typed then cancelled"));
      shown->reject();
    };
    struct Offer {
      QString text;
      QString selected;
      bool focused = false;
    } offer;
    const auto look = [&offer](QFileDialog* shown) {
      offer = {NameBox(shown)->text(), NameBox(shown)->selectedText(), NameBox(shown)->hasFocus()};
      shown->reject();
    };

    // Before the first confirmed use the name box is empty, whatever a cancelled showing held.
    modals_.ExpectFileDialog(typeAndCancel);
    QVERIFY(!app::ChooseFile(dialog));
    modals_.ExpectFileDialog(look);
    QVERIFY(!app::ChooseFile(dialog));
    QCOMPARE(offer.text, QString());

    // After one, its name, selected in the focused name box.
    modals_.ExpectFileDialog(
        [&](QFileDialog* shown) { TypeAndAccept(shown, folder_->File("a.txt")); });
    QCOMPARE(app::ChooseFile(dialog), std::optional<QString>(folder_->File("a.txt")));
    modals_.ExpectFileDialog(typeAndCancel);
    QVERIFY(!app::ChooseFile(dialog));
    modals_.ExpectFileDialog(look);
    QVERIFY(!app::ChooseFile(dialog));
    QCOMPARE(offer.text, QStringLiteral("a.txt"));
    QCOMPARE(offer.selected, offer.text);
    QVERIFY(offer.focused);

    // So a name typed at once replaces it instead of being appended to it.
    QVERIFY(folder_->Write("cr.txt", "cr"));
    modals_.ExpectFileDialog([](QFileDialog* shown) {
      QTest::keyClicks(NameBox(shown), QStringLiteral("cr.txt"));
      QTest::keyClick(NameBox(shown), Qt::Key_Return);
    });
    QCOMPARE(app::ChooseFile(dialog), std::optional<QString>(folder_->File("cr.txt")));
  }

  // The name box's completion list is a window of its own: it must not outlive the dialog.
  void completionListGoesWithTheDialog() {
    for (const char* name : {"lf.txt", "lf2.txt"}) QVERIFY(folder_->Write(name, name));
    QAbstractItemView* list = nullptr;
    bool listShown = false;
    modals_.ExpectFileDialog([&](QFileDialog* dialog) {
      TypeAndAccept(dialog, folder_->Path());
      QLineEdit* box = NameBox(dialog);
      list = box->completer()->popup();
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);  // the folder's name is still there
      QTest::keyClicks(box, QStringLiteral("l"));
      QTest::qWait(300);
      QTest::keyClicks(box, QStringLiteral("f"));
      listShown = QTest::qWaitFor([&] { return list->isVisible(); }, 3000);
      QTest::keyClicks(box, QStringLiteral(".txt"));
      QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(app::ChooseFile(openDlg_), std::optional<QString>(folder_->File("lf.txt")));
    QVERIFY2(listShown, "typing showed no completion list");
    QTest::qWait(100);
    QVERIFY(!list->isVisible());
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
  }

 private:
  std::unique_ptr<testsupport::TempFolder> folder_;
  std::unique_ptr<QWidget> owner_;
  QFileDialog* openDlg_ = nullptr;
  QFileDialog* saveDlg_ = nullptr;
};

QTEST_MAIN(FileDialogsTest)
#include "filedialogs_test.moc"
