// The result box's file format: a Rich Text Format document in code page 936. The writer
// emits what the box holds; the reader takes documents from any source, never recurses and
// gives up cleanly on what it cannot load.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace textio {

// The kinds of underline a word processor offers; the box draws those it cannot (double, words
// only, thick) as a single line but keeps the kind for saving.
enum class Underline : std::uint8_t {
  kNone, kSingle, kWords, kDouble, kThick, kDotted, kDashed, kDashDot, kDashDotDot, kWave
};

enum class Alignment : std::uint8_t { kLeft, kCenter, kRight, kJustify };

// How a paragraph is laid out. Indents are in twips (1/1440 inch), at most kMaxIndentTwips
// either way (so that a run stays small); the first line's is relative to the left one,
// negative for a hanging indent.
inline constexpr std::int16_t kMaxIndentTwips = 31'680;  // 22 inches, the widest page
struct ParagraphFormat {
  Alignment alignment = Alignment::kLeft;
  std::int16_t leftTwips = 0;
  std::int16_t rightTwips = 0;
  std::int16_t firstLineTwips = 0;

  bool operator==(const ParagraphFormat&) const = default;
};

// What runs share rather than carry each: a colour and a paragraph format. The distinct ones
// are kept once, in a table that lives as long as the program (a document holds few of them:
// its colour table's entries and the layouts of its paragraphs), and a run holds the index of
// its own. Equal formats have equal indices; index 0 is the box's own colour on a plain
// paragraph. Safe to use from any thread.
struct SharedFormat {
  std::uint32_t color = 0xFFFFFFFFu;  // 0xRRGGBB, or the box's own text colour
  ParagraphFormat paragraph;

  bool operator==(const SharedFormat&) const = default;
};
std::uint32_t SharedFormatIndex(const SharedFormat& format);
const SharedFormat& SharedFormatAt(std::uint32_t index);

// A stretch of text in one format. Paragraphs are separated by U+2029; U+2028 is a line break
// inside a paragraph. A run lies in one paragraph, or in several of the same paragraph format;
// the U+2029 that ends a paragraph belongs to it.
// Packed into 32 bytes: a long document holds millions of runs.
struct TextRun {
  QString text;
  bool bold : 1 = false;
  bool italic : 1 = false;
  std::int16_t halfPoints : 13 = 0;  // font size in half points; 0 is the box's own size
  bool strike : 1 = false;
  Underline underline = Underline::kNone;
  std::uint32_t shared = 0;  // colour and paragraph format: an index of SharedFormatAt

  static constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;

  std::uint32_t color() const { return SharedFormatAt(shared).color; }
  const ParagraphFormat& paragraph() const { return SharedFormatAt(shared).paragraph; }
  void SetColor(std::uint32_t color) { shared = SharedFormatIndex({color, paragraph()}); }
  void SetParagraph(const ParagraphFormat& paragraph) {
    shared = SharedFormatIndex({color(), paragraph});
  }
  bool SameParagraph(const TextRun& other) const {
    return shared == other.shared || paragraph() == other.paragraph();
  }

  bool SameFormat(const TextRun& other) const {
    return bold == other.bold && italic == other.italic && halfPoints == other.halfPoints &&
           underline == other.underline && strike == other.strike && shared == other.shared;
  }
  bool operator==(const TextRun&) const = default;
};
static_assert(sizeof(TextRun) <= 32);

// The reader keeps one state per open group, on the heap; a document that nests groups
// deeper than this much memory allows is not loaded. A mail client's 2,714 levels take
// about 100 KiB.
inline constexpr std::size_t kMaxRtfGroupMemory = 32u << 20;
int MaxRtfGroupDepth();

// True when the bytes (after a UTF-8 byte-order mark, if any) open an RTF document.
bool LooksLikeRtf(const QByteArray& bytes);

// The text, character and paragraph formats of an RTF document, neighbouring runs of one
// format merged. Bytes are read in the code page of their font's character set (\fcharset,
// \cpg), else of the document (\ansicpg; \ansi alone is 1252, \mac 10000, \pc 437, \pca 850),
// else 936; symbol fonts (Symbol, Wingdings) map to Unicode. East
// Asian text takes the associated formats (\ab, \ai, \afs) where given. Field results, list
// numbers (\pntext, \listtext, else, or where those show only blanks, the label that the list
// table gives a \ls paragraph) and the Unicode twin of \upr are shown; a destination marked
// \* that the reader does not know is left out to the end of its own group. A document
// that is cut short loads as far as it goes; nothing when it nests groups deeper than
// MaxRtfGroupDepth() or is no RTF at all.
std::optional<std::vector<TextRun>> ReadRtf(const QByteArray& bytes);

// An RTF document in code page 936 with the given font as its only face: one \par after each
// paragraph, a \pard with the paragraph's format where it changes, a colour table of the
// runs' colours; every character beyond ASCII as \uN followed by its code page 936 bytes (or "?"
// where it has none), \uc giving their count, so that readers which ignore the code page
// and readers without Unicode both get it right.
// defaultHalfPoints is the size written for runs that have none of their own.
QByteArray WriteRtf(const std::vector<TextRun>& runs, const QString& fontFamily,
                    int defaultHalfPoints);

}  // namespace textio
