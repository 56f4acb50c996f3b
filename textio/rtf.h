// The result box's file format: a Rich Text Format document in code page 936. The writer
// emits what the box holds; the reader takes documents from any source, never recurses and
// gives up cleanly on what it cannot load.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace textio {

// A stretch of text in one format. Paragraphs are separated by U+2029; U+2028 is a line break
// inside a paragraph.
struct TextRun {
  QString text;
  bool bold = false;
  bool italic = false;
  int halfPoints = 0;  // font size in half points; 0 is the box's own size

  bool operator==(const TextRun&) const = default;
};

// The reader keeps one state per open group, on the heap; a document that nests groups
// deeper than this much memory allows is not loaded. A mail client's 2,714 levels take
// about 100 KiB.
inline constexpr std::size_t kMaxRtfGroupMemory = 32u << 20;
int MaxRtfGroupDepth();

// True when the bytes (after a UTF-8 byte-order mark, if any) open an RTF document.
bool LooksLikeRtf(const QByteArray& bytes);

// The text and character formats of an RTF document, neighbouring runs of one format merged.
// Bytes are read in the code page of their font's character set (\fcharset, \cpg), else of
// the document (\ansicpg), else 936; symbol fonts (Symbol, Wingdings) map to Unicode. East
// Asian text takes the associated formats (\ab, \ai, \afs) where given. Field results, list
// numbers (\pntext, \listtext) and the Unicode twin of \upr are shown; a destination marked
// \* that the reader does not know is left out to the end of its own group. A document
// that is cut short loads as far as it goes; nothing when it nests groups deeper than
// MaxRtfGroupDepth() or is no RTF at all.
std::optional<std::vector<TextRun>> ReadRtf(const QByteArray& bytes);

// An RTF document in code page 936 with the given font as its only face: one \par after each
// paragraph; every character beyond ASCII as \uN followed by its code page 936 bytes (or "?"
// where it has none), \uc giving their count, so that readers which ignore the code page
// and readers without Unicode both get it right.
// defaultHalfPoints is the size written for runs that have none of their own.
QByteArray WriteRtf(const std::vector<TextRun>& runs, const QString& fontFamily,
                    int defaultHalfPoints);

}  // namespace textio
