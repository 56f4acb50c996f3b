#include "app/boxcommands.h"
#include "app/filedialogs.h"
#include "app/linelists.h"
#include "engine/bagfunc.h"
#include "tests/support/filedialogs.h"
#include "tests/support/tempfolder.h"
#include "tests/support/windowtest.h"
#include "textio/gbk.h"
#include "textio/rtf.h"
#include "textio/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QStringEncoder>

#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>

using testsupport::TypeAndAccept;

namespace {

const QString kTextFilter = QStringLiteral("文本数据文件(*.txt)");
const QString kAllFilter = QStringLiteral("所有文件(*.*)");

enum class Box { Input, Result };

const QString kEncodedProblem =
    QStringLiteral("3\r\n2\r\n10\r\n1,22 物品\r\n3,4 😀 Grüezi\r\n5,6 한");

// kEncodedProblem in the encodings other programs save, made by the system's converters.
std::vector<std::pair<const char*, QByteArray>> EncodedProblems() {
  const auto encoded = [](const char* encoding, const QByteArray& mark) {
    QStringEncoder encoder(encoding);
    return mark + QByteArray(encoder.encode(kEncodedProblem));
  };
  return {{"gb18030", encoded("GB18030", {})},
          {"utf8", encoded("UTF-8", {})},
          {"utf8WithMark", encoded("UTF-8", "\xEF\xBB\xBF")},
          {"utf16LeWithMark", encoded("UTF-16LE", "\xFF\xFE")},
          {"utf16BeWithMark", encoded("UTF-16BE", "\xFE\xFF")}};
}

}  // namespace

Q_DECLARE_METATYPE(Box)

class TestBoxCommands : public testsupport::WindowTest {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void dialogSettings_data();
  void dialogSettings();
  void defaultSuffixIsAdded_data();
  void defaultSuffixIsAdded();
  void eachDialogRemembersItsOwnFileAndFilter();
  void cancelChangesNothing();
  void clearLeavesNoText();

  void inputSaveIsByteExact_data();
  void inputSaveIsByteExact();
  void inputLoadNormalisesBreaks_data();
  void inputLoadNormalisesBreaks();
  void inputLoadThenSave_data();
  void inputLoadThenSave();
  void savingReplacesAnExistingFileWithoutAQuestion();

  void resultSavedAsRtfUnderAnyName();
  void resultLoadsPlainText_data();
  void resultLoadsPlainText();
  void largeReportAfterLoadThenClear();
  void longFilesKeepEveryLine();

  void failures_data();
  void failures();
  void fullDiskKeepsTheOldFile_data();
  void fullDiskKeepsTheOldFile();

 private:
  // Runs a box command; returns its error message, or an empty text.
  QString Run(const std::function<void()>& command);
  QString Path(const QString& name) const { return dir_->File(name); }
  void Put(const QString& name, const QByteArray& bytes) const;
  QByteArray Get(const QString& name) const;
  void Open(Box box, const QString& name);
  void Save(Box box, const QString& name);

  std::unique_ptr<testsupport::TempFolder> dir_;
  std::unique_ptr<QWidget> window_;
  QPlainTextEdit* input_ = nullptr;
  QTextEdit* result_ = nullptr;
  QFileDialog* openDlg_ = nullptr;
  QFileDialog* saveDlg_ = nullptr;
};

void TestBoxCommands::init() {
  dir_ = std::make_unique<testsupport::TempFolder>();
  window_ = std::make_unique<QWidget>();
  input_ = new QPlainTextEdit(window_.get());
  input_->setPlainText(QStringLiteral("4\n3\n8\n1,22\n3,4\n5,6\n7,8\n"));
  result_ = new QTextEdit(window_.get());
  QFont song(QStringLiteral("宋体"));
  song.setPixelSize(15);
  result_->setFont(song);
  result_->setPlainText(QStringLiteral("就绪"));
  openDlg_ = new QFileDialog(window_.get());
  app::SetUpFileDialog(openDlg_, false);
  saveDlg_ = new QFileDialog(window_.get());
  app::SetUpFileDialog(saveDlg_, true);
}

void TestBoxCommands::cleanup() {
  window_.reset();
  dir_.reset();
  WindowTest::cleanup();
}

QString TestBoxCommands::Run(const std::function<void()>& command) {
  QString message;
  try {
    command();
  } catch (const bagfunc::Error& error) {
    message = QString::fromUtf8(error.what());
  }
  const QStringList problems = modals_.Problems();
  modals_.Reset();
  if (!problems.isEmpty()) QTest::qFail(qPrintable(problems.join(", ")), __FILE__, __LINE__);
  return message;
}

void TestBoxCommands::Put(const QString& name, const QByteArray& bytes) const {
  QVERIFY(dir_->Write(name, bytes));
}

QByteArray TestBoxCommands::Get(const QString& name) const {
  return dir_->Read(name).value_or(QByteArray("<missing>"));
}

void TestBoxCommands::Open(Box box, const QString& name) {
  modals_.ExpectFileDialog(
      [path = Path(name)](QFileDialog* dialog) { TypeAndAccept(dialog, path); });
  const QString message = Run([&] {
    box == Box::Input ? app::OpenInputBox(openDlg_, input_)
                      : app::OpenResultBox(openDlg_, result_);
  });
  QCOMPARE(message, QString());
}

void TestBoxCommands::Save(Box box, const QString& name) {
  modals_.ExpectFileDialog(
      [path = Path(name)](QFileDialog* dialog) { TypeAndAccept(dialog, path); });
  const QString message = Run([&] {
    box == Box::Input ? app::SaveInputBox(saveDlg_, input_)
                      : app::SaveResultBox(saveDlg_, result_);
  });
  QCOMPARE(message, QString());
}

void TestBoxCommands::dialogSettings_data() {
  QTest::addColumn<bool>("forSaving");
  QTest::newRow("open") << false;
  QTest::newRow("save") << true;
}

void TestBoxCommands::dialogSettings() {
  QFETCH(bool, forSaving);
  QFileDialog* dialog = forSaving ? saveDlg_ : openDlg_;
  QCOMPARE(testsupport::FilterCaptions(dialog), (QStringList{kTextFilter, kAllFilter}));
  QCOMPARE(testsupport::ChosenFilterCaption(dialog), kTextFilter);
  QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
  QCOMPARE(dialog->acceptMode(), forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);  // one file, any name may be typed
  QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
  QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), forSaving);
  QVERIFY(!dialog->testOption(QFileDialog::ReadOnly));
}

void TestBoxCommands::defaultSuffixIsAdded_data() {
  QTest::addColumn<bool>("forSaving");
  QTest::newRow("open") << false;
  QTest::newRow("save") << true;
}

void TestBoxCommands::defaultSuffixIsAdded() {
  QFETCH(bool, forSaving);
  if (forSaving) {
    Save(Box::Input, QStringLiteral("data"));
    QCOMPARE(Get(QStringLiteral("data.txt")), QByteArray("4\r\n3\r\n8\r\n1,22\r\n3,4\r\n5,6\r\n7,8\r\n"));
    QVERIFY(!QFile::exists(Path(QStringLiteral("data"))));
  } else {
    Put(QStringLiteral("data.txt"), "from data.txt");
    Open(Box::Input, QStringLiteral("data"));
    QCOMPARE(input_->toPlainText(), QStringLiteral("from data.txt"));
  }
}

void TestBoxCommands::eachDialogRemembersItsOwnFileAndFilter() {
  QVERIFY(QDir(dir_->Path()).mkpath(QStringLiteral("in")));
  QVERIFY(QDir(dir_->Path()).mkpath(QStringLiteral("out")));
  Put(QStringLiteral("in/a.dat"), "a");
  // Open a.dat into the input box with the second filter.
  modals_.ExpectFileDialog([&](QFileDialog* dialog) {
    testsupport::ChooseFilter(dialog, kAllFilter);
    TypeAndAccept(dialog, Path(QStringLiteral("in/a.dat")));
  });
  QCOMPARE(Run([&] { app::OpenInputBox(openDlg_, input_); }), QString());
  // Save the result box to out/r.txt with the first filter.
  Save(Box::Result, QStringLiteral("out/r.txt"));

  // The open dialog offers a.dat and its filter again, also for the other box.
  QString offeredFile, offeredFilter, offeredFolder;
  const auto look = [&](QFileDialog* dialog) {
    offeredFile = dialog->selectedFiles().value(0);
    offeredFilter = testsupport::ChosenFilterCaption(dialog);
    offeredFolder = dialog->directory().absolutePath();
    dialog->reject();
  };
  modals_.ExpectFileDialog(look);
  QCOMPARE(Run([&] { app::OpenResultBox(openDlg_, result_); }), QString());
  QCOMPARE(offeredFile, Path(QStringLiteral("in/a.dat")));
  QCOMPARE(offeredFilter, kAllFilter);
  QCOMPARE(offeredFolder, QFileInfo(Path(QStringLiteral("in"))).absoluteFilePath());

  // The save dialog offers its own last file, not the one last opened.
  modals_.ExpectFileDialog(look);
  QCOMPARE(Run([&] { app::SaveInputBox(saveDlg_, input_); }), QString());
  QCOMPARE(offeredFile, Path(QStringLiteral("out/r.txt")));
  QCOMPARE(offeredFilter, kTextFilter);
  QCOMPARE(offeredFolder, QFileInfo(Path(QStringLiteral("out"))).absoluteFilePath());
}

void TestBoxCommands::cancelChangesNothing() {
  const QString input = input_->toPlainText();
  const QString result = result_->toPlainText();
  const auto cancel = [](QFileDialog* dialog) { dialog->reject(); };
  for (int i = 0; i < 4; ++i) modals_.ExpectFileDialog(cancel);
  QCOMPARE(Run([&] {
             app::OpenInputBox(openDlg_, input_);
             app::OpenResultBox(openDlg_, result_);
             app::SaveInputBox(saveDlg_, input_);
             app::SaveResultBox(saveDlg_, result_);
           }),
           QString());
  QCOMPARE(input_->toPlainText(), input);
  QCOMPARE(result_->toPlainText(), result);
  QVERIFY(QDir(dir_->Path()).isEmpty());
}

void TestBoxCommands::clearLeavesNoText() {
  app::ClearInputBox(input_);
  app::ClearResultBox(result_);
  QCOMPARE(input_->toPlainText(), QString());
  QCOMPARE(result_->toPlainText(), QString());
  // An empty box saves as an empty file, and as an RTF document without a paragraph.
  Save(Box::Input, QStringLiteral("empty.txt"));
  QCOMPARE(Get(QStringLiteral("empty.txt")), QByteArray());
  Save(Box::Result, QStringLiteral("empty.rtf"));
  QVERIFY(!Get(QStringLiteral("empty.rtf")).contains("\\par\r\n"));
}

void TestBoxCommands::inputSaveIsByteExact_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("textEndingInABreak") << "4\n3\n" << QByteArray("4\r\n3\r\n");
  QTest::newRow("textEndingInsideALine") << "4\n3" << QByteArray("4\r\n3");
  QTest::newRow("emptyBox") << "" << QByteArray();
  QTest::newRow("onlyABreak") << "\n" << QByteArray("\r\n");
  QTest::newRow("emptyLinesKept") << "\n\na\n\n" << QByteArray("\r\n\r\na\r\n\r\n");
  QTest::newRow("chineseInCodePage936") << QStringLiteral("物品,1") << QByteArray::fromHex("ceefc6b72c31");
  QTest::newRow("emojiAsFourBytes") << QStringLiteral("😀") << QByteArray::fromHex("9439fc36");
  QTest::newRow("spacesAndTabsKept") << " a\t \n" << QByteArray(" a\t \r\n");
}

void TestBoxCommands::inputSaveIsByteExact() {
  QFETCH(QString, text);
  QFETCH(QByteArray, bytes);
  input_->setPlainText(text);
  Save(Box::Input, QStringLiteral("out.txt"));
  QCOMPARE(Get(QStringLiteral("out.txt")).toHex(' '), bytes.toHex(' '));
}

void TestBoxCommands::inputLoadNormalisesBreaks_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("crlf") << QByteArray("a\r\nb") << "a\nb";
  QTest::newRow("lf") << QByteArray("a\nb\n") << "a\nb\n";
  QTest::newRow("loneCr") << QByteArray("a\rb\r") << "a\nb\n";
  QTest::newRow("mixed") << QByteArray("a\r\n\rb\n\r\nc") << "a\n\nb\n\nc";
  QTest::newRow("lfCrIsTwoBreaks") << QByteArray("a\n\rb") << "a\n\nb";
  QTest::newRow("empty") << QByteArray() << "";
  QTest::newRow("codePage936") << QByteArray::fromHex("ceefc6b7") << QStringLiteral("物品");
  QTest::newRow("utf8ByteOrderMark") << QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD\n") << QStringLiteral("中\n");
  QTest::newRow("rtfShownAsMarkup") << QByteArray("{\\rtf1 \\'d6\\'d0\\par\r\n}")
                                    << "{\\rtf1 \\'d6\\'d0\\par\n}";
  for (const auto& [name, bytes] : EncodedProblems())
    QTest::newRow(name) << bytes << QString(kEncodedProblem).replace("\r\n", "\n");
  const QByteArray longest(app::kMaxBoxLineChars, 'a');
  QTest::newRow("longestLineLoads") << longest + "\r\n" + longest << QString(longest + "\n" + longest);
}

void TestBoxCommands::inputLoadNormalisesBreaks() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  Put(QStringLiteral("in.txt"), bytes);
  Open(Box::Input, QStringLiteral("in.txt"));
  QCOMPARE(input_->toPlainText(), text);
}

void TestBoxCommands::inputLoadThenSave_data() {
  QTest::addColumn<QByteArray>("loaded");
  QTest::addColumn<QByteArray>("saved");
  QTest::newRow("lfBecomesCrLf") << QByteArray("4\n3\n8\n") << QByteArray("4\r\n3\r\n8\r\n");
  QTest::newRow("crBecomesCrLf") << QByteArray("4\r3") << QByteArray("4\r\n3");
  QTest::newRow("crlfKept") << QByteArray("4\r\n3") << QByteArray("4\r\n3");
  QByteArray everyCode;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      everyCode.append(static_cast<char>(lead)).append(static_cast<char>(trail));
    }
    everyCode += "\r\n";
  }
  QTest::newRow("everyDoubleByteCodeKept") << everyCode << everyCode;
  const QByteArray fourByte = QByteArray::fromHex("9439fc368336c934fe50800d0a");
  QTest::newRow("fourByteCodesKept") << fourByte << fourByte;
  QTest::newRow("noBreakSpaceKept") << QByteArray::fromHex("6181308432620a") << QByteArray::fromHex("6181308432620d0a");
  QTest::newRow("utf8WithMarkStaysUtf8") << QByteArray::fromHex("efbbbfe4b8ad61c2a0620a")
                                         << QByteArray::fromHex("efbbbfe4b8ad61c2a0620d0a");
  // Files as other programs write them: the same encoding and mark come back, byte for byte.
  for (const auto& [name, bytes] : EncodedProblems()) QTest::newRow(name) << bytes << bytes;
  QTest::newRow("utf16LfBecomesCrLf") << QByteArray::fromHex("fffe340a33000a00")
                                      << QByteArray::fromHex("fffe340a33000d000a00");
}

void TestBoxCommands::inputLoadThenSave() {
  QFETCH(QByteArray, loaded);
  QFETCH(QByteArray, saved);
  Put(QStringLiteral("in.txt"), loaded);
  Open(Box::Input, QStringLiteral("in.txt"));
  Save(Box::Input, QStringLiteral("out.txt"));
  QCOMPARE(Get(QStringLiteral("out.txt")).toHex(' '), saved.toHex(' '));
  // A new box saves code page 936 again, whatever the last file was.
  app::ClearInputBox(input_);
  input_->setPlainText(QStringLiteral("物"));
  Save(Box::Input, QStringLiteral("new.txt"));
  QCOMPARE(Get(QStringLiteral("new.txt")), QByteArray("\xCE\xEF"));
}

void TestBoxCommands::savingReplacesAnExistingFileWithoutAQuestion() {
  Put(QStringLiteral("old.txt"), QByteArray(10000, 'o'));
  input_->setPlainText(QStringLiteral("new"));
  Save(Box::Input, QStringLiteral("old.txt"));  // Run() fails on any extra dialog
  QCOMPARE(Get(QStringLiteral("old.txt")), QByteArray("new"));
  QCOMPARE(QDir(dir_->Path()).entryList(QDir::Files), QStringList{"old.txt"});
}

void TestBoxCommands::resultSavedAsRtfUnderAnyName() {
  const QString report = QStringLiteral("物品总数:\n4\n{最优值} \\ Best Value:\t26\n😀 한\n");
  result_->setPlainText(report);
  QTextCursor cursor(result_->document()->findBlockByNumber(2));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.mergeCharFormat(bold);

  Save(Box::Result, QStringLiteral("report.txt"));
  const QByteArray bytes = Get(QStringLiteral("report.txt"));
  QVERIFY(bytes.startsWith("{\\rtf1\\ansi\\ansicpg936"));

  // The input box shows the markup as it stands in the file.
  Open(Box::Input, QStringLiteral("report.txt"));
  QCOMPARE(input_->toPlainText(), textio::SplitLines(textio::DecodeText(bytes)).join('\n'));
  QVERIFY(input_->toPlainText().contains(QStringLiteral("\\par")));

  // The result box shows the report again, with its bold line.
  result_->clear();
  Open(Box::Result, QStringLiteral("report.txt"));
  QCOMPARE(result_->toPlainText(), report);
  const QTextBlock line = result_->document()->findBlockByNumber(2);
  QVERIFY(line.begin().fragment().charFormat().font().bold());
  QVERIFY(!result_->document()->findBlockByNumber(1).begin().fragment().charFormat().font().bold());
  // The box's own font size is kept where the file gives the default size.
  QVERIFY(!line.begin().fragment().charFormat().hasProperty(QTextFormat::FontPointSize));
}

void TestBoxCommands::resultLoadsPlainText_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << "a\nb\n";
  QTest::newRow("loneCrAndLf") << QByteArray("a\rb\nc") << "a\nb\nc";
  QTest::newRow("codePage936") << QByteArray::fromHex("ceefc6b7") << QStringLiteral("物品");
  QTest::newRow("utf8ByteOrderMark") << QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD") << QStringLiteral("中");
  QTest::newRow("markupLookingText") << QByteArray("<b>x</b> {\\rtf") << "<b>x</b> {\\rtf";
  QTest::newRow("empty") << QByteArray() << "";
}

void TestBoxCommands::resultLoadsPlainText() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  Put(QStringLiteral("plain.txt"), bytes);
  Open(Box::Result, QStringLiteral("plain.txt"));
  QCOMPARE(result_->toPlainText(), text);
}

void TestBoxCommands::largeReportAfterLoadThenClear() {
  Put(QStringLiteral("small.txt"), "small");
  Open(Box::Result, QStringLiteral("small.txt"));
  app::ClearResultBox(result_);
  // A problem whose report is far above 65,536 characters.
  constexpr int kItems = 4000;
  QString problem = QStringLiteral("%1\n1\n5\n").arg(kItems);
  for (int i = 1; i <= kItems; ++i) problem += QStringLiteral("%1,%2\n").arg(i % 7 + 1).arg(i);
  input_->setPlainText(problem);
  bagfunc::BagEngine engine;
  app::SolveOnBoxes(engine, input_, result_, bagfunc::SolveVariant::SolveBag);
  const QString report = result_->toPlainText();
  QVERIFY2(report.size() > 65536, qPrintable(QString::number(report.size())));
  QVERIFY(result_->document()->blockCount() > kItems);

  // It saves and loads back whole.
  Save(Box::Result, QStringLiteral("large.rtf"));
  result_->clear();
  Open(Box::Result, QStringLiteral("large.rtf"));
  QCOMPARE(result_->toPlainText(), report);
}

// Files of many lines load with their lines held together in fewer paragraphs; what the boxes
// show, hand to a solve and save is line for line what the file holds.
void TestBoxCommands::longFilesKeepEveryLine() {
  constexpr int kLines = 12'000;
  QByteArray text;
  const QByteArray rtfHead = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 ";
  QByteArray rtf = rtfHead;
  QByteArray rtfWithBreaks = rtfHead;
  QStringList lines;
  for (int i = 0; i < kLines; ++i) {
    const QByteArray line = i % 500 == 0 ? QByteArray(12'000, 'x') : QByteArray::number(i) + ",7 \xce\xef";
    text += line + "\r\n";
    lines += textio::DecodeText(line);
    const QByteArray formatted = i % 3 == 0 ? "\\b " + line + "\\b0" : line;
    rtf += formatted + "\\par\r\n";
    rtfWithBreaks += formatted + (i % 1000 == 1 ? "\\line\r\n" : "\\par\r\n");
  }
  lines += QString();
  rtf += "}";
  rtfWithBreaks += "}";
  const QString shown = lines.join(u'\n');

  Put(QStringLiteral("long.txt"), text);
  Open(Box::Input, QStringLiteral("long.txt"));
  QCOMPARE(input_->toPlainText(), shown);
  QVERIFY(input_->document()->blockCount() < kLines / 10);
  // The scroll bar reaches every line at once, before the box has laid the lines out.
  QVERIFY(input_->verticalScrollBar()->maximum() > kLines - 100);
  const app::SnapshotLines snapshot(input_);
  for (int n : {0, 1, 499, 500, 501, 7'777, kLines - 1}) QCOMPARE(snapshot.Get(n), lines[n].toStdString());
  Save(Box::Input, QStringLiteral("saved.txt"));
  QVERIFY(Get(QStringLiteral("saved.txt")) == text);

  // As plain text and as RTF in the result box; saved RTF keeps each paragraph and line break.
  // (The RTF's last \\par ends its last paragraph; the text's last line end begins an empty one.)
  // A document with line breaks of its own keeps a paragraph for each of its paragraphs.
  for (const QString name : {QStringLiteral("long.txt"), QStringLiteral("long.rtf"),
                             QStringLiteral("breaks.rtf")}) {
    const bool isRtf = name.endsWith(u"rtf");
    const int breaks = name == u"breaks.rtf" ? kLines / 1000 : 0;
    Put(name, !isRtf ? text : breaks > 0 ? rtfWithBreaks : rtf);
    Open(Box::Result, name);
    const QString expected = isRtf ? shown.chopped(1) : shown;
    QCOMPARE(result_->toPlainText(), expected);
    QCOMPARE(result_->document()->blockCount() < kLines / 10, breaks == 0);
    Save(Box::Result, QStringLiteral("saved.rtf"));
    const QByteArray saved = Get(QStringLiteral("saved.rtf"));
    const auto words = [&](const char* word) {
      return QString::fromLatin1(saved).count(QRegularExpression(QStringLiteral("\\\\%1(?![a-z])").arg(word)));
    };
    QCOMPARE(words("line"), breaks);
    QCOMPARE(words("par"), (isRtf ? kLines : kLines + 1) - breaks);
    result_->clear();
    Open(Box::Result, QStringLiteral("saved.rtf"));
    QCOMPARE(result_->toPlainText(), expected);
  }
  QVERIFY(result_->document()->findBlockByNumber(0).begin().fragment().charFormat().font().bold());
}

// What the boxes and the disk hold after each failure.
void TestBoxCommands::failures_data() {
  QTest::addColumn<Box>("box");
  QTest::addColumn<bool>("saving");
  QTest::addColumn<QString>("name");       // typed in the dialog, relative to the test folder
  QTest::addColumn<QByteArray>("content");  // put there first, unless null
  QTest::addColumn<QString>("message");     // %1 is the full name

  const QByteArray none;
  const QByteArray tooLarge(app::kMaxBoxFileBytes + 1, 'a');
  QByteArray tooDeep = "{\\rtf1 " + QByteArray(textio::MaxRtfGroupDepth() + 1, '{');
  QTest::newRow("openMissingIntoInput")
      << Box::Input << false << "missing.txt" << none << "Cannot open file %1";
  QTest::newRow("openMissingIntoResult")
      << Box::Result << false << "missing.txt" << none << "Cannot open file %1";
  QTest::newRow("openTooLargeIntoInput")
      << Box::Input << false << "large.txt" << tooLarge << "Text exceeds memo capacity";
  QTest::newRow("openTooLargeIntoResult")
      << Box::Result << false << "large.txt" << tooLarge << "Failed to Load Stream";
  QTest::newRow("openTooDeepRtfIntoResult")
      << Box::Result << false << "deep.rtf" << tooDeep << "Failed to Load Stream";
  const QByteArray longLine = "short\r\n" + QByteArray(app::kMaxBoxLineChars + 1, 'a');
  QTest::newRow("openTooLongLineIntoInput")
      << Box::Input << false << "long.txt" << longLine << "Text exceeds memo capacity";
  QTest::newRow("openTooLongLineIntoResult")
      << Box::Result << false << "long.txt" << longLine << "Failed to Load Stream";
  QTest::newRow("openTooLongRtfLineIntoResult")
      << Box::Result << false << "long.rtf" << "{\\rtf1 a\\par " + longLine + "}"
      << "Failed to Load Stream";
  QTest::newRow("saveInputIntoMissingFolder")
      << Box::Input << true << "nowhere/a.txt" << none << "Cannot create file %1";
  QTest::newRow("saveResultIntoMissingFolder")
      << Box::Result << true << "nowhere/a.txt" << none << "Cannot create file %1";
}

void TestBoxCommands::failures() {
  QFETCH(Box, box);
  QFETCH(bool, saving);
  QFETCH(QString, name);
  QFETCH(QByteArray, content);
  QFETCH(QString, message);
  QVERIFY(QDir(dir_->Path()).mkdir(QStringLiteral("folder.txt")));
  if (!content.isNull()) Put(name, content);
  const QString input = input_->toPlainText();
  const QString result = result_->toPlainText();
  const QStringList files = QDir(dir_->Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

  const QString typed = Path(name);
  modals_.ExpectFileDialog([typed](QFileDialog* dialog) { TypeAndAccept(dialog, typed); });
  const QString shown = Run([&] {
    if (box == Box::Input) {
      saving ? app::SaveInputBox(saveDlg_, input_)
             : app::OpenInputBox(openDlg_, input_);
    } else {
      saving ? app::SaveResultBox(saveDlg_, result_)
             : app::OpenResultBox(openDlg_, result_);
    }
  });
  QCOMPARE(shown, message.contains(QStringLiteral("%1")) ? message.arg(typed) : message);
  QCOMPARE(input_->toPlainText(), input);
  QCOMPARE(result_->toPlainText(), result);
  QCOMPARE(QDir(dir_->Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
  if (!content.isNull()) QVERIFY(Get(name) == content);
  QVERIFY(QFileInfo(Path(QStringLiteral("folder.txt"))).isDir());
}

void TestBoxCommands::fullDiskKeepsTheOldFile_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("message");
  QTest::newRow("input") << "input" << app::kStreamWriteError;
  QTest::newRow("result") << "result" << app::kFailedToSaveStream;
}

// The child process below may write no file past a few bytes, as on a full disk.
void TestBoxCommands::fullDiskKeepsTheOldFile() {
  QFETCH(QString, box);
  QFETCH(QString, message);
  const QByteArray old = "old content\r\n";
  Put(QStringLiteral("full.txt"), old);
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TREVANA_FULL_DISK_CHILD"), box);
  environment.insert(QStringLiteral("TREVANA_FULL_DISK_FILE"), Path(QStringLiteral("full.txt")));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {});
  QVERIFY(child.waitForFinished(60000));
  QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), message);
  QVERIFY(Get(QStringLiteral("full.txt")) == old);
  QCOMPARE(QDir(dir_->Path()).entryList(QDir::Files), QStringList{"full.txt"});
}

namespace {

// Child mode: saves a box of 100,000 characters under a 1,000-byte file size limit and
// prints the error message.
int FullDiskChild(const QString& box, const QString& path) {
  std::signal(SIGXFSZ, SIG_IGN);
  QWidget window;
  QPlainTextEdit input(&window);
  QTextEdit result(&window);
  const QString text(100000, u'x');
  input.setPlainText(text);
  result.setPlainText(text);
  QFileDialog dialog(&window);
  app::SetUpFileDialog(&dialog, true);
  testsupport::ModalWatchdog modals;
  modals.ExpectFileDialog([path](QFileDialog* shown) { TypeAndAccept(shown, path); });
  const rlimit limit{1000, 1000};
  setrlimit(RLIMIT_FSIZE, &limit);
  try {
    box == QStringLiteral("input") ? app::SaveInputBox(&dialog, &input)
                                   : app::SaveResultBox(&dialog, &result);
  } catch (const bagfunc::Error& error) {
    std::fputs(error.what(), stdout);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TestBoxCommands::initMain();
  QApplication app(argc, argv);
  if (qEnvironmentVariableIsSet("TREVANA_FULL_DISK_CHILD")) {
    return FullDiskChild(qEnvironmentVariable("TREVANA_FULL_DISK_CHILD"),
                         qEnvironmentVariable("TREVANA_FULL_DISK_FILE"));
  }
  TestBoxCommands test;
  return QTest::qExec(&test, argc, argv);
}
#include "boxcommands_test.moc"
