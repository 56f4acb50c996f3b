// The two text boxes seen as the engine's line lists, and the solve command run on them.
// Both adapters touch their widget once: the source copies the input box when made, the
// result collects every line and sets the box in one go, so a long report appears at once.
#pragma once

#include "engine/bagfunc.h"

#include <string>
#include <vector>

class QPlainTextEdit;
class QTextEdit;

namespace app {

// A copy of the input box's lines, one per visible line break. A line too long for the box
// wraps on screen but stays one line here.
class SnapshotLines : public bagfunc::LineList {
 public:
  explicit SnapshotLines(const QPlainTextEdit* box);

  void Clear() override;
  std::string Get(int n) const override;
  void Append(std::string_view line) override;

 private:
  std::vector<std::string> lines_;
};

// Collects what the engine writes to the result box until Flush puts it there.
class ResultLines : public bagfunc::LineList {
 public:
  explicit ResultLines(QTextEdit* box);

  void Clear() override;
  std::string Get(int n) const override;
  void Append(std::string_view line) override;

  // Puts the collected lines into the box: the whole text when the list was cleared, else
  // after what the box held. Does nothing when nothing happened to the list.
  void Flush();

 private:
  QTextEdit* box_;
  bool cleared_ = false;
  std::vector<std::string> pending_;
};

// One solve command from the input box into the result box. What the command wrote before a
// failure stands in the result box; the failure goes on to the caller.
void SolveOnBoxes(bagfunc::BagEngine& engine, const QPlainTextEdit* source, QTextEdit* result,
                  bagfunc::SolveVariant variant);

}  // namespace app
