// The result box's file format: a Rich Text Format document in code page 936. The writer
// emits what the box holds; the reader takes documents from any source, never recurses and
// gives up cleanly on what it cannot load.
#pragma once

#include <QByteArray>
#include <QString>

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

// Groups nested deeper than this are not loaded: a document from a real editor stays far
// below it, and the reader's memory stays bounded.
inline constexpr int kMaxRtfGroupDepth = 1000;

// True when the bytes (after a UTF-8 byte-order mark, if any) open an RTF document.
bool LooksLikeRtf(const QByteArray& bytes);

// The text and character formats of an RTF document, neighbouring runs of one format merged.
// A document that is cut short loads as far as it goes; nothing when it nests groups deeper
// than kMaxRtfGroupDepth or is no RTF at all.
std::optional<std::vector<TextRun>> ReadRtf(const QByteArray& bytes);

// An RTF document in code page 936 with the given font as its only face: one \par after each
// paragraph, characters outside code page 936 as \u with a "?" for older readers.
// defaultHalfPoints is the size written for runs that have none of their own.
QByteArray WriteRtf(const std::vector<TextRun>& runs, const QString& fontFamily,
                    int defaultHalfPoints);

}  // namespace textio
