#include "settings/profile.h"

#include <algorithm>
#include <array>
#include <optional>

namespace settings {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line of the file: its bytes and the line break that ends it ("" for a last line
// without one).
struct RawLine {
  std::string text;
  std::string_view lineBreak;
};

// Splits a source into lines at CR LF, lone CR and lone LF, holding one line at a time.
class LineReader {
 public:
  explicit LineReader(ProfileSource& source) : source_(source) {}

  bool Next(RawLine& line) {
    line.text.clear();
    line.lineBreak = {};
    for (;;) {
      if (at_ == end_ && !Fill()) return !line.text.empty();
      const char* const begin = buffer_.data() + at_;
      const char* const limit = buffer_.data() + end_;
      const char* const stop =
          std::find_if(begin, limit, [](char c) { return c == '\r' || c == '\n'; });
      line.text.append(begin, stop);
      at_ = static_cast<std::size_t>(stop - buffer_.data());
      if (at_ == end_) continue;
      const char brk = buffer_[at_++];
      line.lineBreak = brk == '\n' ? "\n" : "\r";
      if (brk == '\r' && (at_ < end_ || Fill()) && buffer_[at_] == '\n') {
        ++at_;
        line.lineBreak = "\r\n";
      }
      return true;
    }
  }

 private:
  bool Fill() {
    at_ = 0;
    end_ = source_.Read(buffer_);
    return end_ > 0;
  }

  ProfileSource& source_;
  std::array<char, 4096> buffer_{};
  std::size_t at_ = 0, end_ = 0;
};

enum class LineKind { Other, Section, Key };

// What a line is, as offsets into its text, so that a rewrite can splice exactly.
struct LineShape {
  LineKind kind = LineKind::Other;
  std::string_view name;                     // section or key name, trimmed
  std::size_t valueBegin = 0, valueEnd = 0;  // the trimmed value (key lines only)
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Narrows [begin, end) of text to its part without surrounding blanks.
void Trim(std::string_view text, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
}

// The first line of a file may start with a byte-order mark, which is no part of its shape.
LineShape Classify(std::string_view text, bool firstLine) {
  LineShape line;
  std::size_t begin = firstLine && text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  std::size_t end = text.size();
  Trim(text, begin, end);
  if (begin == end || text[begin] == ';') return line;
  const std::string_view trimmed = text.substr(begin, end - begin);
  if (trimmed.front() == '[') {
    if (auto close = trimmed.find(']'); close != std::string_view::npos) {
      std::size_t nameBegin = begin + 1, nameEnd = begin + close;
      Trim(text, nameBegin, nameEnd);
      line.kind = LineKind::Section;
      line.name = text.substr(nameBegin, nameEnd - nameBegin);
      return line;
    }
  }
  if (auto eq = trimmed.find('='); eq != std::string_view::npos) {
    std::size_t nameBegin = begin, nameEnd = begin + eq;
    Trim(text, nameBegin, nameEnd);
    line.valueBegin = begin + eq + 1;
    line.valueEnd = end;
    Trim(text, line.valueBegin, line.valueEnd);
    line.kind = LineKind::Key;
    line.name = text.substr(nameBegin, nameEnd - nameBegin);
  }
  return line;
}

// Walks the lines of a source and says, for each, where it stands against one section and
// key: the first section of that name is "the section", its first key of that name "the key".
class SectionWalk {
 public:
  SectionWalk(ProfileSource& source, std::string_view section, std::string_view key)
      : lines_(source), section_(section), key_(key) {}

  // The next line and its shape; false at the end of the file.
  bool Next() {
    if (!lines_.Next(line)) return false;
    shape = Classify(line.text, number == 0);
    ++number;
    if (shape.kind == LineKind::Section) {
      inSection = !seenSection && SameName(shape.name, section_);
      seenSection = seenSection || inSection;
    }
    isKey = inSection && !seenKey && shape.kind == LineKind::Key && SameName(shape.name, key_);
    seenKey = seenKey || isKey;
    return true;
  }

  RawLine line;
  LineShape shape;
  std::size_t number = 0;    // lines read so far, this one included
  bool inSection = false;    // this line is the section line or lies in the section's body
  bool seenSection = false;  // the section has started at or before this line
  bool isKey = false;        // this line is the key's line
  bool seenKey = false;

 private:
  LineReader lines_;
  std::string_view section_, key_;
};

// What the first reading of a file finds out for the rewrite.
struct EditPlan {
  std::optional<std::size_t> keyLine;     // line number (from 1) of the key
  std::optional<std::size_t> anchorLine;  // where a missing key goes after: last key or header
  std::string_view lineBreak = "\r\n";    // the file's first line break
  bool endsWithBreak = true;              // an empty file counts as ended
};

EditPlan PlanEdit(ProfileSource& source, std::string_view section, std::string_view key) {
  EditPlan plan;
  bool breakSeen = false;
  SectionWalk walk(source, section, key);
  while (walk.Next()) {
    if (!breakSeen && !walk.line.lineBreak.empty()) {
      plan.lineBreak = walk.line.lineBreak;
      breakSeen = true;
    }
    plan.endsWithBreak = !walk.line.lineBreak.empty();
    if (walk.isKey) plan.keyLine = walk.number;
    const bool header = walk.inSection && walk.shape.kind == LineKind::Section;
    if (walk.inSection && !plan.keyLine && (header || walk.shape.kind == LineKind::Key))
      plan.anchorLine = walk.number;
  }
  return plan;
}

}  // namespace

std::size_t BytesSource::Read(std::span<char> buffer) {
  const std::string_view piece = bytes_.substr(at_, buffer.size());
  std::ranges::copy(piece, buffer.begin());
  at_ += piece.size();
  return piece.size();
}

std::string ReadProfileString(ProfileSource& source, std::string_view section,
                              std::string_view key) {
  SectionWalk walk(source, section, key);
  while (walk.Next()) {
    if (walk.seenSection && !walk.inSection) break;  // past the section: no more to find
    if (!walk.isKey) continue;
    std::string_view value = std::string_view(walk.line.text)
                                 .substr(walk.shape.valueBegin,
                                         walk.shape.valueEnd - walk.shape.valueBegin);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxProfileValue));
  }
  return {};
}

void WriteProfileString(ProfileSource& source, const ProfileSink& sink, std::string_view section,
                        std::string_view key, std::string_view value) {
  const EditPlan plan = PlanEdit(source, section, key);
  const auto keyLine = [&] {
    sink(key);
    sink("=");
    sink(value);
    sink(plan.lineBreak);
  };

  source.Rewind();
  SectionWalk walk(source, section, key);
  while (walk.Next()) {
    const RawLine& line = walk.line;
    if (walk.number == plan.keyLine) {
      const std::string_view text = line.text;
      sink(text.substr(0, walk.shape.valueBegin));
      sink(value);
      sink(text.substr(walk.shape.valueEnd));
      sink(line.lineBreak);
      continue;
    }
    sink(line.text);
    sink(line.lineBreak);
    // The new key goes after the section's last key, so that comments and blank lines that
    // lead into the next section stay with it.
    if (!plan.keyLine && walk.number == plan.anchorLine) {
      if (line.lineBreak.empty()) sink(plan.lineBreak);
      keyLine();
    }
  }
  if (plan.keyLine || plan.anchorLine) return;
  if (!plan.endsWithBreak) sink(plan.lineBreak);
  sink("[");
  sink(section);
  sink("]");
  sink(plan.lineBreak);
  keyLine();
}

}  // namespace settings
