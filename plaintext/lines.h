// Lines of text and the limits on what the program reads: the same for the window's boxes,
// bagsolve and the web page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace plaintext {

// The largest text file the program reads: a file loaded into either box, bagsolve's input
// (16 MiB).
inline constexpr std::int64_t kMaxTextFileBytes = 16LL * 1024 * 1024;

// The longest line (or paragraph) either box takes from a file, in UTF-16 code units.
inline constexpr std::size_t kMaxLineChars = 100'000;

// Splits at CR LF, lone CR and lone LF. "a\r\nb" gives {"a", "b"}; "a\n" gives {"a", ""}. The
// pieces point into text. maxLines > 0 stops after that many lines, dropping the rest unread.
template <class Char>
std::vector<std::basic_string_view<Char>> SplitLines(std::basic_string_view<Char> text,
                                                     std::size_t maxLines = 0) {
  std::vector<std::basic_string_view<Char>> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Char ch = text[i];
    if (ch != Char('\r') && ch != Char('\n')) continue;
    lines.push_back(text.substr(start, i - start));
    if (lines.size() == maxLines) return lines;
    if (ch == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Finds a line longer than a limit in text that may come in pieces (the runs of a document).
// Line breaks are CR, LF and the document's paragraph and line separators (U+2029, U+2028).
class LineLengthCheck {
 public:
  explicit LineLengthCheck(std::size_t maxChars = kMaxLineChars) : maxChars_(maxChars) {}

  // False once a line of more than maxChars has been seen.
  bool Add(std::u16string_view text) {
    for (const char16_t ch : text) {
      const bool lineBreak = ch == u'\n' || ch == u'\r' || ch == u'\u2029' || ch == u'\u2028';
      length_ = lineBreak ? 0 : length_ + 1;
      if (length_ > maxChars_) exceeded_ = true;
    }
    return !exceeded_;
  }

 private:
  std::size_t maxChars_;
  std::size_t length_ = 0;
  bool exceeded_ = false;
};

}  // namespace plaintext
