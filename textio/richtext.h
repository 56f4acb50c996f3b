// The result box's document seen as formatted runs, and back: the bridge between the widget and
// the RTF reader and writer.
#pragma once

#include "textio/rtf.h"

#include <vector>

class QFont;
class QTextDocument;

namespace textio {

// The font's size in half points; a size in pixels counts at 96 dots per inch.
int HalfPointsOf(const QFont& font);

// The document's text with bold, italic and any size of its own; sizes that only come from
// the document's default font are 0.
std::vector<TextRun> DocumentRuns(const QTextDocument& document);

// Replaces the document's content by the runs. A run whose size is 0 or equal to
// defaultHalfPoints keeps the document's default font size. Each run's text is let go of once
// the document holds it: a long document's runs (moved in) do not stay beside its copy.
void SetDocumentRuns(QTextDocument* document, std::vector<TextRun> runs, int defaultHalfPoints);

}  // namespace textio
