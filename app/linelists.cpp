#include "app/linelists.h"

#include "textio/gbk.h"
#include "textio/paragraphs.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace app {

SnapshotLines::SnapshotLines(const QPlainTextEdit* box) {
  // toPlainText turns paragraph and line separators into "\n"; a stray CR in a pasted text
  // is a line break as well, as it would be after saving and loading the box.
  const QStringList lines = textio::SplitLines(box->toPlainText());
  lines_.reserve(static_cast<std::size_t>(lines.size()));
  for (const QString& line : lines) lines_.push_back(line.toStdString());
}

void SnapshotLines::Clear() { lines_.clear(); }

std::string SnapshotLines::Get(int n) const {
  if (n < 0 || static_cast<std::size_t>(n) >= lines_.size()) return {};
  return lines_[static_cast<std::size_t>(n)];
}

void SnapshotLines::Append(std::string_view line) { lines_.emplace_back(line); }

ResultLines::ResultLines(QTextEdit* box) : box_(box) {}

void ResultLines::Clear() {
  cleared_ = true;
  pending_.clear();
}

std::string ResultLines::Get(int n) const {
  // Only what this list has collected: the engine never reads the result back.
  if (n < 0 || static_cast<std::size_t>(n) >= pending_.size()) return {};
  return pending_[static_cast<std::size_t>(n)];
}

void ResultLines::Append(std::string_view line) { pending_.emplace_back(line); }

void ResultLines::Flush() {
  if (!cleared_ && pending_.empty()) return;
  std::string joined;
  std::size_t size = pending_.size();
  for (const std::string& line : pending_) size += line.size();
  joined.reserve(size);
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += pending_[i];
  }
  const QString text = QString::fromStdString(joined);
  if (cleared_) {
    // setPlainText keeps the cursor's character format: after a loaded document that ends
    // in bold, the whole report would come out bold.
    box_->setCurrentCharFormat(QTextCharFormat());
    box_->setPlainText(text);
    textio::MarkGrouped(box_->document(), false);
  } else {
    // After what the box holds; never append(), which would take a line that looks like
    // markup for rich text.
    QTextCursor end(box_->document());
    end.movePosition(QTextCursor::End);
    if (!box_->document()->isEmpty()) end.insertBlock();
    end.insertText(text);
  }
  cleared_ = false;
  pending_.clear();
}

void SolveOnBoxes(bagfunc::BagEngine& engine, const QPlainTextEdit* source, QTextEdit* result,
                  bagfunc::SolveVariant variant) {
  const SnapshotLines src(source);
  ResultLines dst(result);
  try {
    engine.RunSolveCommand(&src, &dst, variant);
  } catch (...) {
    dst.Flush();
    throw;
  }
  dst.Flush();
}

}  // namespace app
