#include "settings/profile.h"

#include <optional>
#include <vector>

namespace settings {
namespace {

enum class LineKind { Other, Section, Key };

// One line of the file as offsets into its bytes, so that a rewrite can splice exactly.
struct Line {
  std::size_t end = 0;  // one past the line break, or the end of the file
  bool hasBreak = false;
  LineKind kind = LineKind::Other;
  std::string_view name;                       // section or key name, trimmed
  std::size_t valueBegin = 0, valueEnd = 0;    // the trimmed value (key lines only)
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// Narrows [begin, end) of content to its part without surrounding blanks.
void Trim(std::string_view content, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(content[begin])) ++begin;
  while (end > begin && IsBlank(content[end - 1])) --end;
}

Line Classify(std::string_view content, std::size_t begin, std::size_t end) {
  Line line;
  Trim(content, begin, end);
  if (begin == end || content[begin] == ';') return line;
  const std::string_view text = content.substr(begin, end - begin);
  if (text.front() == '[') {
    if (auto close = text.find(']'); close != std::string_view::npos) {
      std::size_t nameBegin = begin + 1, nameEnd = begin + close;
      Trim(content, nameBegin, nameEnd);
      line.kind = LineKind::Section;
      line.name = content.substr(nameBegin, nameEnd - nameBegin);
      return line;
    }
  }
  if (auto eq = text.find('='); eq != std::string_view::npos) {
    std::size_t nameBegin = begin, nameEnd = begin + eq;
    Trim(content, nameBegin, nameEnd);
    line.valueBegin = begin + eq + 1;
    line.valueEnd = end;
    Trim(content, line.valueBegin, line.valueEnd);
    line.kind = LineKind::Key;
    line.name = content.substr(nameBegin, nameEnd - nameBegin);
  }
  return line;
}

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t begin = content.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  while (begin < content.size()) {
    std::size_t stop = content.find_first_of("\r\n", begin);
    const bool hasBreak = stop != std::string_view::npos;
    if (!hasBreak) stop = content.size();
    Line line = Classify(content, begin, stop);
    line.hasBreak = hasBreak;
    line.end = !hasBreak ? stop
               : (content[stop] == '\r' && stop + 1 < content.size() && content[stop + 1] == '\n')
                   ? stop + 2
                   : stop + 1;
    lines.push_back(line);
    begin = line.end;
  }
  return lines;
}

// Where a section's lines are: its section line and the first line after its body.
struct SectionSpan {
  std::size_t header = 0, bodyEnd = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view name) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !SameName(lines[i].name, name)) continue;
    std::size_t j = i + 1;
    while (j < lines.size() && lines[j].kind != LineKind::Section) ++j;
    return SectionSpan{i, j};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionSpan section,
                                   std::string_view key) {
  for (std::size_t i = section.header + 1; i < section.bodyEnd; ++i)
    if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key)) return i;
  return std::nullopt;
}

std::string_view LineBreakOf(std::string_view content) {
  const std::size_t at = content.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (content[at] == '\n') return "\n";
  return content.substr(at + 1, 1) == "\n" ? "\r\n" : "\r";
}

}  // namespace

std::string ReadProfileString(std::string_view content, std::string_view section,
                              std::string_view key) {
  const auto lines = SplitLines(content);
  const auto span = FindSection(lines, section);
  if (!span) return {};
  const auto at = FindKey(lines, *span, key);
  if (!at) return {};
  std::string_view value =
      content.substr(lines[*at].valueBegin, lines[*at].valueEnd - lines[*at].valueBegin);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kMaxProfileValue));
}

std::string WriteProfileString(std::string_view content, std::string_view section,
                               std::string_view key, std::string_view value) {
  const auto lines = SplitLines(content);
  const std::string_view lineBreak = LineBreakOf(content);
  std::string result;
  result.reserve(content.size() + section.size() + key.size() + value.size() + 8);

  const auto span = FindSection(lines, section);
  if (!span) {
    result = content;
    if (!result.empty() && result.back() != '\n' && result.back() != '\r') result += lineBreak;
    result.append("[").append(section).append("]").append(lineBreak);
    result.append(key).append("=").append(value).append(lineBreak);
    return result;
  }

  if (const auto at = FindKey(lines, *span, key)) {
    result.append(content.substr(0, lines[*at].valueBegin)).append(value);
    result.append(content.substr(lines[*at].valueEnd));
    return result;
  }

  // The new key goes after the section's last key, so that comments and blank lines that
  // lead into the next section stay with it.
  std::size_t anchor = span->header;
  for (std::size_t i = span->header + 1; i < span->bodyEnd; ++i)
    if (lines[i].kind == LineKind::Key) anchor = i;
  const std::size_t insertAt = lines[anchor].end;
  result.append(content.substr(0, insertAt));
  if (!lines[anchor].hasBreak) result += lineBreak;
  result.append(key).append("=").append(value).append(lineBreak);
  result.append(content.substr(insertAt));
  return result;
}

}  // namespace settings
