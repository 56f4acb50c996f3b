#include "app/boxcommands.h"

#include "app/filedialogs.h"

#include "textio/files.h"
#include "textio/gbk.h"
#include "textio/paragraphs.h"
#include "textio/textfile.h"
#include "textio/richtext.h"
#include "textio/rtf.h"

#include <QFileDialog>
#include <QAbstractTextDocumentLayout>
#include <QPlainTextDocumentLayout>
#include <QPointer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

namespace app {
namespace {

// The input box keeps the encoding (and byte-order mark) of the file it was loaded from, so
// that saving writes the same encoding again; a new or cleared box has none: GBK.
constexpr char kFileFormatProperty[] = "trevanaFileFormat";

void RememberFormat(QPlainTextEdit* box, textio::TextFormat format) {
  box->setProperty(kFileFormatProperty,
                   static_cast<int>(format.encoding) * 2 + (format.byteOrderMark ? 1 : 0));
}

textio::TextFormat RememberedFormat(const QPlainTextEdit* box) {
  const int code = box->property(kFileFormatProperty).toInt();
  return {static_cast<textio::Encoding>(code / 2), code % 2 != 0};
}

QString JoinLines(const QString& text, const QString& separator) {
  return textio::SplitLines(text).join(separator);
}

// Refuses text with a line (or paragraph) longer than the boxes can show; the text may come in
// pieces (the runs of a document).
class LineLengthCheck {
 public:
  explicit LineLengthCheck(const char* message) : message_(message) {}

  void operator()(QStringView text) {
    if (!check_.Add(textio::UnitsView(text))) throw textio::FileTooLargeError(message_);
  }

 private:
  const char* message_;
  plaintext::LineLengthCheck check_{kMaxBoxLineChars};
};

// Builds the box's new content in a document of its own and only then hands it to the box:
// a document that a widget shows is laid out again as it grows, which made large files take
// minutes. The new document keeps the old one's settings (font, margins, tab stops); a
// document an earlier load made goes with it.
template <class Box>
void ReplaceDocument(Box* box, const std::function<void(QTextDocument*)>& fill) {
  // The box deletes a document of its own making when it gets another; the pointer knows.
  const QPointer<QTextDocument> old = box->document();
  auto document = std::make_unique<QTextDocument>();
  document->setDefaultFont(old->defaultFont());
  document->setDefaultTextOption(old->defaultTextOption());
  document->setDocumentMargin(old->documentMargin());
  document->setIndentWidth(old->indentWidth());
  document->setUseDesignMetrics(old->useDesignMetrics());
  document->setUndoRedoEnabled(false);  // loading is no step to undo, as before
  fill(document.get());
  document->setUndoRedoEnabled(old->isUndoRedoEnabled());
  if constexpr (std::is_same_v<Box, QPlainTextEdit>)
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
  document->setParent(box);
  box->setDocument(document.release());
  if (old != nullptr && old->parent() == box) delete old;
}

// Shows a file's text in a box, after refusing a line longer than the box can show. True when
// the lines share paragraphs (textio::BoxLines).
template <class Box>
bool SetBoxText(Box* box, const QString& text, const char* tooLongMessage) {
  LineLengthCheck{tooLongMessage}(text);
  bool grouped = false;
  const QString lines = textio::BoxLines(text, &grouped);
  ReplaceDocument(box, [&](QTextDocument* document) { document->setPlainText(lines); });
  return grouped;
}

// The plain-text box counts a paragraph as one line until it lays it out (when it comes into
// view), so that a box of shared paragraphs would first offer a scroll bar for a hundredth of
// its lines. Each paragraph is counted at its lines from the start.
void CountSharedLines(QTextDocument* document) {
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    const int lines = static_cast<int>(block.text().count(QChar(QChar::LineSeparator))) + 1;
    if (block.lineCount() < lines) block.setLineCount(lines);
  }
  QAbstractTextDocumentLayout* layout = document->documentLayout();
  emit layout->documentSizeChanged(layout->documentSize());
}

}  // namespace

void ClearInputBox(QPlainTextEdit* box) {
  box->clear();
  RememberFormat(box, {});
}

void OpenInputBox(QFileDialog* openDlg, QPlainTextEdit* box) {
  if (const std::optional<QString> path = ChooseFile(openDlg)) LoadInputBox(*path, box);
}

void LoadInputBox(const QString& path, QPlainTextEdit* box) {
  const QByteArray bytes = textio::ReadFileBytes(path, kMaxBoxFileBytes, kTextExceedsCapacity);
  const textio::DecodedText decoded = textio::DecodeFile(bytes);
  if (SetBoxText(box, decoded.text, kTextExceedsCapacity)) CountSharedLines(box->document());
  RememberFormat(box, decoded.format);
}

void SaveInputBox(QFileDialog* saveDlg, const QPlainTextEdit* box) {
  const std::optional<QString> path = ChooseFile(saveDlg);
  if (!path) return;
  // The raw text: toPlainText() would turn no-break spaces into plain ones.
  QString raw = box->document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
  const QString text = JoinLines(raw, QStringLiteral("\r\n"));
  textio::ReplaceFile(*path, textio::EncodeFile(text, RememberedFormat(box)), kStreamWriteError);
}

void ClearResultBox(QTextEdit* box) {
  box->clear();
  textio::MarkGrouped(box->document(), false);
}

void OpenResultBox(QFileDialog* openDlg, QTextEdit* box) {
  if (const std::optional<QString> path = ChooseFile(openDlg)) LoadResultBox(*path, box);
}

void LoadResultBox(const QString& path, QTextEdit* box) {
  QByteArray bytes = textio::ReadFileBytes(path, kMaxBoxFileBytes, kFailedToLoadStream);
  if (!textio::LooksLikeRtf(bytes)) {
    const bool grouped = SetBoxText(box, textio::DecodeText(bytes), kFailedToLoadStream);
    textio::MarkGrouped(box->document(), grouped);
    return;
  }
  std::optional<std::vector<textio::TextRun>> runs = textio::ReadRtf(bytes);
  bytes = QByteArray();  // the file's bytes are done with before the document is built
  if (!runs) throw StreamLoadError();
  LineLengthCheck check(kFailedToLoadStream);
  for (const textio::TextRun& run : *runs) check(run.text);
  const bool grouped = textio::GroupParagraphs(*runs);
  const int defaultHalfPoints = textio::HalfPointsOf(box->document()->defaultFont());
  ReplaceDocument(box, [&](QTextDocument* document) {
    textio::SetDocumentRuns(document, std::move(*runs), defaultHalfPoints);
  });
  textio::MarkGrouped(box->document(), grouped);
}

void SaveResultBox(QFileDialog* saveDlg, const QTextEdit* box) {
  const std::optional<QString> path = ChooseFile(saveDlg);
  if (!path) return;
  const QFont font = box->document()->defaultFont();
  std::vector<textio::TextRun> runs = textio::DocumentRuns(*box->document());
  if (textio::IsGrouped(*box->document())) textio::UngroupParagraphs(runs);
  const QByteArray bytes = textio::WriteRtf(runs, font.family(), textio::HalfPointsOf(font));
  textio::ReplaceFile(*path, bytes, kFailedToSaveStream);
}

}  // namespace app
