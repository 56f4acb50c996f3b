// How a box holds a long text. The text widgets pay for each paragraph (a block: about 5 µs and
// some hundred bytes however short it is), so a text of many lines loads in seconds and takes
// hundreds of megabytes when each line is a paragraph. A long text therefore keeps runs of
// lines together in one paragraph, held apart by line separators (U+2028): the box shows and
// edits them as the same lines, and what it saves or hands on turns them back into line ends.
#pragma once

#include "textio/rtf.h"

#include <QString>

#include <vector>

class QTextDocument;

namespace textio {

// From this many lines on, lines share paragraphs: below it, every line is a paragraph.
inline constexpr qsizetype kMostSeparateLines = 10'000;
// A shared paragraph ends after this many lines, or after the line that brings it to this many
// characters, so that laying one out when it comes into view stays quick.
inline constexpr qsizetype kLinesPerParagraph = 100;
inline constexpr qsizetype kCharsPerParagraph = 10'000;

// The text's lines (ended by CR LF, CR or LF) with "\n" between them, as setPlainText takes
// them. With more than kMostSeparateLines lines, "\n" ends only every shared paragraph and
// U+2028 the other lines. grouped (when given) says which was done. A text that holds line
// separators of its own is never grouped, so that saving cannot mistake them for line ends;
// nor are such runs.
QString BoxLines(const QString& text, bool* grouped = nullptr);

// The same for a document's runs, whose paragraphs end in U+2029: beyond kMostSeparateLines
// paragraphs, runs of them share one, their ends turned into U+2028. True when it did so.
bool GroupParagraphs(std::vector<TextRun>& runs);

// Undoes GroupParagraphs before the runs are written: every line separator ends a paragraph.
void UngroupParagraphs(std::vector<TextRun>& runs);

// Whether a box's document holds grouped paragraphs, so that saving it undoes the grouping.
// Content that replaces the document's (a solve's report) clears the mark.
void MarkGrouped(QTextDocument* document, bool grouped);
bool IsGrouped(const QTextDocument& document);

}  // namespace textio
