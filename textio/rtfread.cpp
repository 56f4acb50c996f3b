#include "textio/rtf.h"
#include "textio/rtfcharsets.h"
#include "textio/textfile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace textio {
namespace {

using rtf::SymbolFont;

constexpr std::int64_t kNumberLimit = 1'000'000'000;  // larger parameters are clamped
constexpr int kMaxHalfPoints = 3276;                   // 1638 points
constexpr std::size_t kMaxWordLength = 32;
constexpr int kDocumentDefaultCodePage = 936;          // when the document declares none
constexpr int kListLevels = 9;

// Destinations whose content is not part of the visible text.
constexpr std::string_view kSkippedDestinations[] = {
    "listname",  "stylesheet", "info",       "pict",        "object",     "header",
    "headerl",   "headerr",    "headerf",    "footer",      "footerl",    "footerr",
    "footerf",   "footnote",   "fldinst",    "levelnumbers",
    "revtbl",    "rsidtbl",    "generator",  "xmlnstbl",    "themedata",  "colorschememapping",
    "latentstyles", "datastore", "filetbl",  "pgdsctbl",    "nonshppict", "userprops",
    "bkmkstart", "bkmkend",    "annotation", "atnid",       "atnauthor",  "txe",
    "pn",        "pntxta",     "pntxtb",     "xe",          "tc",         "sp"};

// Destinations that hold text to show, also when marked with \* as optional: field results,
// list numbers and bullets, and the Unicode twin of \upr.
constexpr std::string_view kShownDestinations[] = {"fldrslt", "pntext", "listtext", "ud"};

template <std::size_t N>
bool Contains(const std::string_view (&words)[N], std::string_view word) {
  return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

// Which kind of characters follows (\loch, \hich, \dbch, \rtlch): decides which font the
// associated font word \af sets and which font the bytes are read in.
enum class CharType : std::uint8_t { kLow, kHigh, kDouble, kRightToLeft };
// kNestedRowProperties is skipped like kSkipped, but its \nestrow ends it: one converter leaves
// the group open around the text that follows. The list tables give the labels of \ls
// paragraphs.
enum class Destination : std::uint8_t {
  kText, kSkipped, kFontTable, kColorTable, kNestedRowProperties, kListTable, kLevelText,
  kListOverrideTable
};

struct CharacterState {
  bool bold = false;
  bool italic = false;
  int halfPoints = 0;
  Underline underline = Underline::kNone;
  bool strike = false;
  int color = 0;  // \cf: an entry of the colour table; 0 and unknown entries are the box's own
  // The associated formats of East Asian text (\ab, \ai, \afs); -1 where the text takes the
  // plain format.
  std::int8_t eastBold = -1;
  std::int8_t eastItalic = -1;
  int eastHalfPoints = -1;
  int font = -1;  // \f, the font of low (and by default all) characters
  int highFont = -1;
  int doubleFont = -1;
  CharType charType = CharType::kLow;
  std::uint8_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  Destination destination = Destination::kText;
  bool upr = false;  // a \upr group: its plain twin is not shown, its \ud twin is
  ParagraphFormat paragraph;
  int listOverride = 0;  // \ls; 0 outside lists
  bool listText = false;  // inside the paragraph's own label (\listtext, \pntext)
  int listLevel = 0;     // \ilvl
};

// A level of a list from the list table: its label, with the numbers of levels to fill in.
struct ListLevel {
  int numberFormat = 0;  // \levelnfc: 0 decimal, 1/2 upper/lower roman, 3/4 letters, 23 bullet
  int startAt = 1;
  int follow = 0;        // \levelfollow: 0 a tab, 1 a space, 2 nothing
  int font = -1;
  // \leveltext as read: bytes as U+F000 + byte, \uN as themselves; the first unit is the
  // label's length, and bytes 0 to 8 stand for the numbers of those levels.
  QString text;
  bool textDone = false;
};

struct ListCounters {
  std::array<int, kListLevels> number{};
  std::array<bool, kListLevels> started{};
};

struct FontInfo {
  int charset = 1;
  int codePage = 0;  // \cpg, or the charset's; 0: the document's
  QByteArray name;
  SymbolFont symbol = SymbolFont::kNone;
};

std::optional<Underline> UnderlineOf(std::string_view word) {
  static constexpr std::pair<std::string_view, Underline> kKinds[] = {
      {"ul", Underline::kSingle},         {"ulw", Underline::kWords},
      {"uldb", Underline::kDouble},       {"ulth", Underline::kThick},
      {"uld", Underline::kDotted},        {"ulthd", Underline::kDotted},
      {"uldash", Underline::kDashed},     {"ulthdash", Underline::kDashed},
      {"ulldash", Underline::kDashed},    {"ulthldash", Underline::kDashed},
      {"uldashd", Underline::kDashDot},   {"ulthdashd", Underline::kDashDot},
      {"uldashdd", Underline::kDashDotDot}, {"ulthdashdd", Underline::kDashDotDot},
      {"ulwave", Underline::kWave},       {"ulhwave", Underline::kWave},
      {"ululdbwave", Underline::kWave}};
  for (const auto& [name, kind] : kKinds)
    if (name == word) return kind;
  return std::nullopt;
}

// East Asian characters take the associated formats.
bool IsEastAsian(char16_t ch) {
  return (ch >= 0x1100 && ch <= 0x11FF) || (ch >= 0x2E80 && ch <= 0xA4CF) ||
         (ch >= 0xAC00 && ch <= 0xD7AF) || (ch >= 0xD840 && ch <= 0xD87F) ||  // planes 2 and 3
         (ch >= 0xDC00 && ch <= 0xDFFF) || (ch >= 0xF900 && ch <= 0xFAFF) ||
         (ch >= 0xFE30 && ch <= 0xFE4F) || (ch >= 0xFF00 && ch <= 0xFFEF);
}

class Reader {
 public:
  explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

  std::optional<std::vector<TextRun>> Read();

 private:
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(bytes_[pos_]); }
  bool OpenGroup();
  bool CloseGroup();
  void ReadControl();
  void ReadControlWord();
  void ReadHexByte();
  void ApplyWord(std::string_view word, bool hasNumber, std::int64_t number, bool optional);
  void ApplyFontTableWord(std::string_view word, std::int64_t number);
  void AddText(const QString& text);
  void AddCharacter(char16_t ch);
  void AppendRun(QStringView text, bool eastAsian);
  void AddByte(char byte);
  void Flush();
  void EndParagraph(bool withSeparator);
  void ApplyListWord(std::string_view word, std::int64_t number);
  void AddListLabel();
  void DropBlankLabel();
  QString LevelLabel(int listId, int level, ListCounters& counters);
  std::uint32_t ColorOf(int index) const;
  std::vector<TextRun> TakeRuns();
  bool ConsumeFallback();
  const FontInfo* CurrentFont() const;
  std::vector<ListLevel>& definedLevels() { return lists_[definedList_]; }

  const QByteArray& bytes_;
  qsizetype pos_ = 0;
  std::vector<CharacterState> stack_;
  CharacterState state_;
  bool groupStart_ = false;    // nothing read yet in the group just opened
  bool optionalNext_ = false;  // \* at the start of a group: the next word may be skipped
  std::unordered_map<int, FontInfo> fonts_;
  int definedFont_ = -1;       // the font table entry being read
  int defaultFont_ = -1;
  int codePage_ = 0;           // \ansicpg; 0 when not given
  int charsetCodePage_ = 0;    // \ansi, \mac, \pc, \pca; 0 when not given
  std::vector<std::uint32_t> colors_;  // the colour table
  std::uint32_t nextColor_ = 0;        // the entry being read, and whether it has components
  bool nextColorGiven_ = false;
  std::unordered_map<int, std::vector<ListLevel>> lists_;  // by \listid
  int definedList_ = 0;  // the list being read: its \listid, or a negative key before that
  std::unordered_map<int, int> overrides_;  // \ls to \listid
  int definedOverrideList_ = 0;
  std::unordered_map<int, ListCounters> counters_;  // by \ls
  // The run the paragraph being read starts in, and where in its text: a paragraph's first
  // text joins the run that ends the previous one while their formats agree.
  std::size_t paragraphStart_ = 0;
  qsizetype paragraphStartOffset_ = 0;
  bool labelDone_ = false;          // the paragraph has its label, or text before any
  std::size_t labelRun_ = 0;        // where the paragraph's own label starts: the run count,
  qsizetype labelOffset_ = 0;       // and the length of the last run then
  bool utf8_ = false;          // a byte-order mark makes every byte UTF-8
  rtf::CodePageDecoders decoders_;
  QByteArray pending_;  // bytes in state_'s font, not yet decoded
  std::int64_t fallbackLeft_ = 0;
  std::vector<TextRun> runs_;
};

const FontInfo* Reader::CurrentFont() const {
  int number = state_.font;
  if (state_.charType == CharType::kDouble && state_.doubleFont >= 0) number = state_.doubleFont;
  if (state_.charType == CharType::kHigh && state_.highFont >= 0) number = state_.highFont;
  const auto it = fonts_.find(number);
  return it == fonts_.end() ? nullptr : &it->second;
}

void Reader::Flush() {
  if (pending_.isEmpty()) return;
  const FontInfo* font = CurrentFont();
  QString text;
  if (font != nullptr && font->symbol != SymbolFont::kNone) {
    for (const char byte : pending_) {
      const auto code = static_cast<unsigned char>(byte);
      const char16_t ch = rtf::SymbolCharacter(font->symbol, code);
      text += QChar(ch != 0 ? ch : static_cast<char16_t>(0xF000 + code));
    }
  } else if (utf8_) {
    text = QString::fromUtf8(pending_);
  } else {
    // The font's own code page, else the document's, else its character set's, else 936.
    int codePage = font != nullptr ? font->codePage : 0;
    if (codePage == 0 || !decoders_.Knows(codePage)) codePage = codePage_;
    if (codePage == 0 || !decoders_.Knows(codePage)) codePage = charsetCodePage_;
    if (codePage == 0 || !decoders_.Knows(codePage)) codePage = kDocumentDefaultCodePage;
    text = decoders_.Decode(codePage, pending_);
  }
  pending_.clear();
  AddText(text);
}

std::uint32_t Reader::ColorOf(int index) const {
  return index > 0 && static_cast<std::size_t>(index) < colors_.size() ? colors_[index]
                                                                       : TextRun::kNoColor;
}

void Reader::AppendRun(QStringView text, bool eastAsian) {
  bool bold = state_.bold;
  bool italic = state_.italic;
  int halfPoints = state_.halfPoints;
  if (eastAsian) {
    if (state_.eastBold >= 0) bold = state_.eastBold != 0;
    if (state_.eastItalic >= 0) italic = state_.eastItalic != 0;
    if (state_.eastHalfPoints >= 0) halfPoints = state_.eastHalfPoints;
  }
  TextRun run{QString(), bold, italic, static_cast<std::int16_t>(halfPoints)};
  run.strike = state_.strike;
  run.underline = state_.underline;
  // Within a paragraph runs differ by character format only: EndParagraph gives them all the
  // paragraph's format.
  const ParagraphFormat* paragraph = &state_.paragraph;
  if (!runs_.empty()) {
    const bool straddles = runs_.size() - 1 == paragraphStart_ && paragraphStartOffset_ > 0;
    if (!straddles) paragraph = &runs_.back().paragraph();
  }
  run.shared = SharedFormatIndex({ColorOf(state_.color), *paragraph});
  if (!runs_.empty()) {
    TextRun& last = runs_.back();
    if (last.SameFormat(run)) {
      last.text += text;
      return;
    }
  }
  run.text = text.toString();
  runs_.push_back(std::move(run));
}

// The paragraph's format is the one in force where it ends.
void Reader::EndParagraph(bool withSeparator) {
  std::size_t from = paragraphStart_;
  if (from < runs_.size() && paragraphStartOffset_ > 0) {
    // The run that ends the previous paragraph keeps its format; this one's text leaves it
    // where the formats differ.
    TextRun& first = runs_[from];
    if (first.text.size() > paragraphStartOffset_ && first.paragraph() != state_.paragraph) {
      TextRun rest = first;
      rest.text = first.text.mid(paragraphStartOffset_);
      first.text.truncate(paragraphStartOffset_);
      runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(from) + 1, std::move(rest));
    }
    ++from;
  }
  for (std::size_t i = from; i < runs_.size(); ++i) runs_[i].SetParagraph(state_.paragraph);
  if (withSeparator) AddCharacter(QChar::ParagraphSeparator);
  paragraphStart_ = runs_.empty() ? 0 : runs_.size() - 1;
  paragraphStartOffset_ = runs_.empty() ? 0 : runs_.back().text.size();
  labelDone_ = false;
}

// The runs, neighbours of one format merged in place.
std::vector<TextRun> Reader::TakeRuns() {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    if (kept > 0 && runs_[kept - 1].SameFormat(runs_[i])) {
      runs_[kept - 1].text += runs_[i].text;
    } else {
      if (kept != i) runs_[kept] = std::move(runs_[i]);
      ++kept;
    }
  }
  runs_.resize(kept);
  return std::move(runs_);
}

void Reader::AddText(const QString& raw) {
  if (state_.destination == Destination::kLevelText && !definedLevels().empty()) {
    ListLevel& level = definedLevels().back();
    if (!level.textDone) level.text += raw;
    return;
  }
  if (state_.destination != Destination::kText) return;
  // Line ends in an RTF file are layout of the file, not of the text; paragraphs come from
  // \par. A NUL cannot stand in the box.
  QString text = raw;
  text.remove(u'\r');
  text.remove(u'\n');
  text.remove(QChar(0));
  if (text.isEmpty()) return;
  if (!labelDone_) {
    labelDone_ = true;
    if (state_.listOverride > 0) AddListLabel();
  }
  if (state_.eastBold < 0 && state_.eastItalic < 0 && state_.eastHalfPoints < 0) {
    AppendRun(text, false);
    return;
  }
  qsizetype start = 0;
  for (qsizetype i = 1; i <= text.size(); ++i) {
    if (i < text.size() && IsEastAsian(text[i].unicode()) == IsEastAsian(text[start].unicode()))
      continue;
    AppendRun(QStringView(text).mid(start, i - start), IsEastAsian(text[start].unicode()));
    start = i;
  }
}

void Reader::AddCharacter(char16_t ch) { AddText(QString(QChar(ch))); }

void Reader::AddByte(char byte) {
  switch (state_.destination) {
    case Destination::kText:
      pending_.append(byte);
      break;
    case Destination::kFontTable:
      if (definedFont_ < 0) break;
      if (byte == ';') {
        FontInfo& font = fonts_[definedFont_];
        font.symbol = rtf::SymbolFontOf(font.charset, QString::fromLatin1(font.name));
        definedFont_ = -1;
      } else {
        fonts_[definedFont_].name.append(byte);
      }
      break;
    case Destination::kColorTable:
      if (byte == ';') {
        colors_.push_back(nextColorGiven_ ? nextColor_ : TextRun::kNoColor);
        nextColor_ = 0;
        nextColorGiven_ = false;
      }
      break;
    case Destination::kLevelText:
      if (definedLevels().empty()) break;
      if (ListLevel& level = definedLevels().back(); byte == ';') {
        level.textDone = true;
      } else if (!level.textDone) {
        level.text += QChar(static_cast<char16_t>(0xF000 + static_cast<unsigned char>(byte)));
      }
      break;
    case Destination::kSkipped:
    case Destination::kNestedRowProperties:
    case Destination::kListTable:
    case Destination::kListOverrideTable:
      break;
  }
}

namespace {

QString Roman(int n, bool upper) {
  static constexpr std::pair<int, const char*> kDigits[] = {
      {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
      {50, "l"},   {40, "xl"},  {10, "x"},  {9, "ix"},   {5, "v"},   {4, "iv"}, {1, "i"}};
  QString out;
  for (const auto& [value, digits] : kDigits)
    for (; n >= value && out.size() < 40; n -= value) out += QLatin1String(digits);
  return upper ? out.toUpper() : out;
}

QString Letters(int n, bool upper) {
  // a..z, then aa..zz, as word processors count on.
  if (n < 1) return QString();
  const QChar letter(static_cast<char16_t>((upper ? u'A' : u'a') + (n - 1) % 26));
  return QString(std::min((n - 1) / 26 + 1, 40), letter);
}

QString ListNumber(int n, int format) {
  switch (format) {
    case 1: return Roman(n, true);
    case 2: return Roman(n, false);
    case 3: return Letters(n, true);
    case 4: return Letters(n, false);
    case 22: return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
    case 23:
    case 255: return QString();
    default: return QString::number(n);
  }
}

}  // namespace

QString Reader::LevelLabel(int listId, int level, ListCounters& counters) {
  const std::vector<ListLevel>& levels = lists_[listId];
  if (static_cast<std::size_t>(level) >= levels.size()) return QString();
  // This level counts on; the levels below it start again.
  counters.number[level] = counters.started[level] ? counters.number[level] + 1
                                                   : levels[level].startAt;
  counters.started[level] = true;
  for (int below = level + 1; below < kListLevels; ++below) counters.started[below] = false;

  const ListLevel& format = levels[level];
  const auto fontIt = fonts_.find(format.font);
  const FontInfo* font = fontIt == fonts_.end() ? nullptr : &fontIt->second;
  QString label;
  QByteArray bytes;  // bytes of the font's code page, not yet decoded
  const auto flush = [&] {
    if (bytes.isEmpty()) return;
    int codePage = font != nullptr ? font->codePage : 0;
    if (codePage == 0) codePage = codePage_ != 0 ? codePage_ : charsetCodePage_;
    label += decoders_.Decode(codePage != 0 ? codePage : kDocumentDefaultCodePage, bytes);
    bytes.clear();
  };
  const qsizetype length = format.text.isEmpty() ? 0 : format.text[0].unicode() & 0xFF;
  for (qsizetype i = 1; i <= length && i < format.text.size(); ++i) {
    const char16_t unit = format.text[i].unicode();
    const bool isByte = unit >= 0xF000 && unit <= 0xF0FF;
    if (isByte && unit - 0xF000 < kListLevels) {
      flush();
      const int other = unit - 0xF000;
      if (static_cast<std::size_t>(other) < levels.size() && counters.started[other])
        label += ListNumber(counters.number[other], levels[other].numberFormat);
    } else if (font != nullptr && font->symbol != SymbolFont::kNone) {
      const char16_t ch = rtf::SymbolCharacter(font->symbol, unit);
      // A bullet the font draws as a picture with no Unicode name: the usual bullet.
      label += QChar(ch != 0 ? ch : format.numberFormat == 23 ? u'\u2022' : unit);
    } else if (isByte) {
      bytes += static_cast<char>(unit - 0xF000);
    } else {
      flush();
      label += QChar(unit);
    }
  }
  flush();
  if (format.follow == 0) label += u'\t';
  if (format.follow == 1) label += u' ';
  return label;
}

// A paragraph of a list that carries no label of its own (\listtext, \pntext) gets the one its
// list level gives, as word processors show it.
void Reader::AddListLabel() {
  const auto list = overrides_.find(state_.listOverride);
  if (list == overrides_.end()) return;
  const int level = std::clamp(state_.listLevel, 0, kListLevels - 1);
  const QString label = LevelLabel(list->second, level, counters_[state_.listOverride]);
  if (!label.isEmpty()) AppendRun(label, false);
}

// A label of the paragraph's own that shows nothing but blanks (its bytes undecodable in the
// font's code page, say) is taken out again: the paragraph gets the one its list level gives.
void Reader::DropBlankLabel() {
  if (labelRun_ > runs_.size()) return;
  QString label;
  if (labelRun_ > 0) label = runs_[labelRun_ - 1].text.mid(labelOffset_);
  for (std::size_t i = labelRun_; i < runs_.size(); ++i) label += runs_[i].text;
  if (!label.trimmed().isEmpty()) return;
  if (labelRun_ > 0) runs_[labelRun_ - 1].text.truncate(labelOffset_);
  runs_.resize(labelRun_);
  labelDone_ = false;
}

// After \uN the next characters stand in for readers without Unicode; one of them is consumed
// here. Returns true when the token was such a stand-in.
bool Reader::ConsumeFallback() {
  if (fallbackLeft_ <= 0) return false;
  --fallbackLeft_;
  return true;
}

bool Reader::OpenGroup() {
  Flush();
  fallbackLeft_ = 0;
  // Nesting is bounded by memory only: the states live in a vector, never on the call stack.
  if (stack_.size() >= static_cast<std::size_t>(MaxRtfGroupDepth())) return false;
  stack_.push_back(state_);
  state_.upr = false;
  // The first twin inside \upr is the plain text; its \ud twin is shown instead.
  if (stack_.back().upr) state_.destination = Destination::kSkipped;
  groupStart_ = true;
  optionalNext_ = false;
  return true;
}

bool Reader::CloseGroup() {
  Flush();
  fallbackLeft_ = 0;
  groupStart_ = false;
  optionalNext_ = false;
  if (stack_.empty()) return false;
  if (state_.listText && !stack_.back().listText) DropBlankLabel();
  if (state_.destination == Destination::kFontTable && stack_.back().destination != Destination::kFontTable)
    definedFont_ = -1;
  state_ = stack_.back();
  stack_.pop_back();
  return !stack_.empty();  // false once the document's own group has closed
}

std::optional<std::vector<TextRun>> Reader::Read() {
  if (bytes_.startsWith(kUtf8ByteOrderMark)) {
    pos_ = 3;
    utf8_ = true;
  }
  if (!bytes_.mid(pos_, 5).startsWith("{\\rtf")) return std::nullopt;
  while (!AtEnd()) {
    const unsigned char c = Peek();
    if (c == '{') {
      ++pos_;
      if (!OpenGroup()) return std::nullopt;
    } else if (c == '}') {
      ++pos_;
      if (stack_.size() == 1) {
        // The last paragraph, unended, takes the format in force in the document.
        Flush();
        EndParagraph(false);
      }
      if (!CloseGroup()) break;
    } else if (c == '\\') {
      ReadControl();
    } else if (c == '\r' || c == '\n') {
      ++pos_;
    } else {
      ++pos_;
      groupStart_ = false;
      if (ConsumeFallback()) continue;
      if (c == '\t') {
        Flush();
        AddText(QStringLiteral("\t"));
      } else {
        AddByte(static_cast<char>(c));
      }
    }
  }
  Flush();
  EndParagraph(false);
  std::vector<TextRun> runs = TakeRuns();
  if (!runs.empty() && runs.back().text.endsWith(QChar::ParagraphSeparator)) {
    runs.back().text.chop(1);
    if (runs.back().text.isEmpty()) runs.pop_back();
  }
  return runs;
}

void Reader::ReadControl() {
  ++pos_;  // the backslash
  if (AtEnd()) return;
  const unsigned char c = Peek();
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    ReadControlWord();
    return;
  }
  if (c == '\'') {
    ++pos_;
    groupStart_ = false;
    ReadHexByte();
    return;
  }
  ++pos_;
  if (c == '*') {
    // Marks the destination that starts its group as one a reader may leave out. Anywhere
    // else it means nothing.
    optionalNext_ = groupStart_;
    groupStart_ = false;
    return;
  }
  groupStart_ = false;
  if (ConsumeFallback()) return;
  switch (c) {
    case '\\':
    case '{':
    case '}':
      AddByte(static_cast<char>(c));
      break;
    case '~':
      Flush();
      AddCharacter(0x00A0);
      break;
    case '_':
      Flush();
      AddCharacter(0x2011);
      break;
    case '\r':
    case '\n':
      Flush();
      AddCharacter(QChar::ParagraphSeparator);
      break;
    case '-':
      Flush();
      AddCharacter(0x00AD);  // an optional hyphen: a soft hyphen
      break;
    default:
      break;  // \| and \: and anything unknown
  }
}

void Reader::ReadHexByte() {
  int value = 0;
  int digits = 0;
  while (digits < 2 && !AtEnd()) {
    const unsigned char c = Peek();
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    value = value * 16 + digit;
    ++digits;
    ++pos_;
  }
  if (digits == 0) return;  // a broken escape stands for nothing
  if (ConsumeFallback()) return;
  AddByte(static_cast<char>(value));
}

void Reader::ReadControlWord() {
  const qsizetype start = pos_;
  while (!AtEnd() && ((Peek() >= 'a' && Peek() <= 'z') || (Peek() >= 'A' && Peek() <= 'Z')))
    ++pos_;
  std::string_view word(bytes_.constData() + start, static_cast<std::size_t>(pos_ - start));
  if (word.size() > kMaxWordLength) word = {};  // no such word: ignored
  bool negative = false;
  if (!AtEnd() && Peek() == '-') {
    negative = true;
    ++pos_;
  }
  bool hasNumber = false;
  std::int64_t number = 0;
  while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
    hasNumber = true;
    number = std::min(number * 10 + (Peek() - '0'), kNumberLimit);
    ++pos_;
  }
  if (negative) number = -number;
  if (!AtEnd() && Peek() == ' ') ++pos_;

  const bool optional = optionalNext_;
  optionalNext_ = false;
  groupStart_ = false;
  if (word == "bin") {
    // Binary data follows: its bytes are no text and no markup.
    Flush();
    pos_ += std::clamp<std::int64_t>(number, 0, bytes_.size() - pos_);
    return;
  }
  if (ConsumeFallback()) return;
  Flush();
  ApplyWord(word, hasNumber, number, optional);
}

// The list table's levels and the overrides that \ls numbers name.
void Reader::ApplyListWord(std::string_view word, std::int64_t number) {
  const int value = static_cast<int>(number);
  if (state_.destination == Destination::kListOverrideTable) {
    if (word == "listoverride") definedOverrideList_ = 0;
    if (word == "listid") definedOverrideList_ = value;
    if (word == "ls") overrides_[value] = definedOverrideList_;
    return;
  }
  if (word == "list") {
    definedList_ = -static_cast<int>(lists_.size()) - 1;  // until its \listid comes
    lists_[definedList_].clear();
  } else if (word == "listid" && definedList_ < 0) {
    lists_[value] = std::move(lists_[definedList_]);
    lists_.erase(definedList_);
    definedList_ = value;
  } else if (word == "listlevel") {
    if (definedLevels().size() < static_cast<std::size_t>(kListLevels))
      definedLevels().emplace_back();
  } else if (!definedLevels().empty()) {
    ListLevel& level = definedLevels().back();
    if (word == "levelnfc" || word == "levelnfcn") level.numberFormat = value;
    if (word == "levelstartat") level.startAt = std::clamp(value, 0, 1'000'000);
    if (word == "levelfollow") level.follow = value;
    if (word == "f") level.font = value;
  }
}

void Reader::ApplyFontTableWord(std::string_view word, std::int64_t number) {
  const int value = static_cast<int>(number);
  if (word == "f") {
    definedFont_ = value;
    fonts_[value] = FontInfo{};
  } else if (definedFont_ >= 0 && word == "fcharset") {
    FontInfo& font = fonts_[definedFont_];
    font.charset = value;
    if (font.codePage == 0 || font.codePage == rtf::CodePageOfCharset(font.charset))
      font.codePage = rtf::CodePageOfCharset(value);
  } else if (definedFont_ >= 0 && word == "cpg") {
    fonts_[definedFont_].codePage = value;  // outranks the character set
  }
}

void Reader::ApplyWord(std::string_view word, bool hasNumber, std::int64_t number,
                       bool optional) {
  if (state_.destination == Destination::kSkipped) {
    if (word == "ud" && !stack_.empty() && stack_.back().upr)
      state_.destination = stack_.back().destination;
    return;
  }
  if (state_.destination == Destination::kNestedRowProperties) {
    if (word == "nestrow" && !stack_.empty()) {
      state_.destination = stack_.back().destination;
      EndParagraph(true);
    }
    return;
  }
  if (Contains(kShownDestinations, word)) {
    if (word == "ud" && !stack_.empty() && stack_.back().upr)
      state_.destination = stack_.back().destination;
    if ((word == "listtext" || word == "pntext") && !state_.listText) {
      labelDone_ = true;
      state_.listText = true;
      labelRun_ = runs_.size();
      labelOffset_ = runs_.empty() ? 0 : runs_.back().text.size();
    }
    return;
  }
  if (word == "fonttbl" || word == "colortbl" || word == "listtable" ||
      word == "listoverridetable" || word == "nesttableprops") {
    state_.destination = word == "fonttbl"             ? Destination::kFontTable
                         : word == "colortbl"          ? Destination::kColorTable
                         : word == "listtable"         ? Destination::kListTable
                         : word == "listoverridetable" ? Destination::kListOverrideTable
                                                       : Destination::kNestedRowProperties;
    return;
  }
  if ((state_.destination == Destination::kListTable ||
       state_.destination == Destination::kLevelText) &&
      word == "leveltext") {
    state_.destination = Destination::kLevelText;
    return;
  }
  if (optional || Contains(kSkippedDestinations, word)) {
    state_.destination = Destination::kSkipped;
    return;
  }
  switch (state_.destination) {
    case Destination::kFontTable:
      ApplyFontTableWord(word, number);
      return;
    case Destination::kColorTable:
      if (word == "red" || word == "green" || word == "blue") {
        const int shift = word == "red" ? 16 : word == "green" ? 8 : 0;
        nextColor_ = (nextColor_ & ~(0xFFu << shift)) |
                     (static_cast<std::uint32_t>(std::clamp<std::int64_t>(number, 0, 255)) << shift);
        nextColorGiven_ = true;
      }
      return;
    case Destination::kListTable:
    case Destination::kListOverrideTable:
      ApplyListWord(word, number);
      return;
    case Destination::kLevelText:
      if (word == "u" && number >= -32768 && number <= 65535) {
        AddText(QString(QChar(static_cast<char16_t>(static_cast<std::uint16_t>(number)))));
        fallbackLeft_ = state_.unicodeSkip;
      }
      return;
    default:
      break;
  }

  const bool on = !hasNumber || number != 0;
  const int value = static_cast<int>(number);
  const bool associated = state_.charType != CharType::kRightToLeft;
  if (word == "par" || word == "page" || word == "sect" || word == "row" || word == "nestrow") {
    EndParagraph(true);
  } else if (word == "line") {
    AddCharacter(QChar::LineSeparator);
  } else if (word == "tab" || word == "cell" || word == "nestcell") {
    AddText(QStringLiteral("\t"));
  } else if (word == "u") {
    // A signed 16-bit unit; surrogate pairs come as two of them. Anything wider is no
    // character, but its stand-ins are still skipped.
    if (number >= -32768 && number <= 65535) {
      auto unit = static_cast<char16_t>(static_cast<std::uint16_t>(number));
      const FontInfo* font = CurrentFont();
      if (font != nullptr && font->symbol != SymbolFont::kNone) {
        if (const char16_t ch = rtf::SymbolCharacter(font->symbol, unit); ch != 0) unit = ch;
      }
      AddCharacter(unit);
    }
    fallbackLeft_ = state_.unicodeSkip;
  } else if (word == "uc") {
    state_.unicodeSkip = static_cast<std::uint8_t>(std::clamp<std::int64_t>(number, 0, 16));
  } else if (word == "b") {
    state_.bold = on;
  } else if (word == "i") {
    state_.italic = on;
  } else if (word == "fs") {
    state_.halfPoints = std::clamp(value, 0, kMaxHalfPoints);
  } else if (word == "ulnone") {
    state_.underline = Underline::kNone;
  } else if (const std::optional<Underline> kind = UnderlineOf(word)) {
    state_.underline = on ? *kind : Underline::kNone;
  } else if (word == "strike" || word == "striked") {
    state_.strike = on;
  } else if (word == "cf") {
    state_.color = value;
  } else if (word == "pard") {
    state_.paragraph = ParagraphFormat{};
    state_.listOverride = 0;
    state_.listLevel = 0;
  } else if (word == "ql" || word == "qc" || word == "qr" || word == "qj" || word == "qd") {
    state_.paragraph.alignment = word == "qc"   ? Alignment::kCenter
                                 : word == "qr" ? Alignment::kRight
                                 : word == "ql" ? Alignment::kLeft
                                                : Alignment::kJustify;
  } else if (word == "li" || word == "lin" || word == "ri" || word == "rin" || word == "fi") {
    const auto twips = static_cast<std::int16_t>(
        std::clamp<std::int64_t>(number, -kMaxIndentTwips, kMaxIndentTwips));
    if (word[0] == 'l') state_.paragraph.leftTwips = twips;
    if (word[0] == 'r') state_.paragraph.rightTwips = twips;
    if (word[0] == 'f') state_.paragraph.firstLineTwips = twips;
  } else if (word == "ls") {
    state_.listOverride = value;
  } else if (word == "ilvl") {
    state_.listLevel = value;
  } else if (word == "ab" && associated) {
    state_.eastBold = on ? 1 : 0;
  } else if (word == "ai" && associated) {
    state_.eastItalic = on ? 1 : 0;
  } else if (word == "afs" && associated) {
    state_.eastHalfPoints = std::clamp(value, 0, kMaxHalfPoints);
  } else if (word == "f") {
    state_.font = value;
  } else if (word == "af") {
    if (state_.charType == CharType::kDouble) state_.doubleFont = value;
    if (state_.charType == CharType::kHigh) state_.highFont = value;
    if (state_.charType == CharType::kLow) state_.font = value;
  } else if (word == "loch" || word == "ltrch") {
    state_.charType = CharType::kLow;
  } else if (word == "hich") {
    state_.charType = CharType::kHigh;
  } else if (word == "dbch") {
    state_.charType = CharType::kDouble;
  } else if (word == "rtlch") {
    state_.charType = CharType::kRightToLeft;
  } else if (word == "plain") {
    const CharacterState reset;
    state_.bold = reset.bold;
    state_.italic = reset.italic;
    state_.halfPoints = reset.halfPoints;
    state_.underline = reset.underline;
    state_.strike = reset.strike;
    state_.color = reset.color;
    state_.eastBold = reset.eastBold;
    state_.eastItalic = reset.eastItalic;
    state_.eastHalfPoints = reset.eastHalfPoints;
    state_.font = defaultFont_;
    state_.highFont = state_.doubleFont = -1;
    state_.charType = CharType::kLow;
  } else if (word == "upr") {
    state_.upr = true;
  } else if (word == "deff") {
    defaultFont_ = value;
    if (state_.font < 0) state_.font = value;
  } else if (word == "ansicpg") {
    codePage_ = value;
  } else if (word == "ansi" || word == "mac" || word == "pc" || word == "pca") {
    charsetCodePage_ = word == "ansi" ? 1252 : word == "mac" ? 10000 : word == "pc" ? 437 : 850;
  } else if (word == "emdash") {
    AddCharacter(0x2014);
  } else if (word == "endash") {
    AddCharacter(0x2013);
  } else if (word == "bullet") {
    AddCharacter(0x2022);
  } else if (word == "lquote") {
    AddCharacter(0x2018);
  } else if (word == "rquote") {
    AddCharacter(0x2019);
  } else if (word == "ldblquote") {
    AddCharacter(0x201C);
  } else if (word == "rdblquote") {
    AddCharacter(0x201D);
  } else if (word == "emspace") {
    AddCharacter(0x2003);
  } else if (word == "enspace") {
    AddCharacter(0x2002);
  }
}

}  // namespace

int MaxRtfGroupDepth() {
  return static_cast<int>(kMaxRtfGroupMemory / sizeof(CharacterState));
}

bool LooksLikeRtf(const QByteArray& bytes) {
  const qsizetype start = bytes.startsWith(kUtf8ByteOrderMark) ? 3 : 0;
  return bytes.mid(start, 5) == "{\\rtf";
}

std::optional<std::vector<TextRun>> ReadRtf(const QByteArray& bytes) {
  return Reader(bytes).Read();
}

}  // namespace textio
