#include "textio/rtf.h"
#include "textio/rtfcharsets.h"
#include "textio/textfile.h"

#include <algorithm>
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

// Destinations whose content is not part of the visible text.
constexpr std::string_view kSkippedDestinations[] = {
    "colortbl",  "stylesheet", "info",       "pict",        "object",     "header",
    "headerl",   "headerr",    "headerf",    "footer",      "footerl",    "footerr",
    "footerf",   "footnote",   "fldinst",    "listtable",   "listoverridetable",
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
enum class Destination : std::uint8_t { kText, kSkipped, kFontTable };

struct CharacterState {
  bool bold = false;
  bool italic = false;
  int halfPoints = 0;
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
};

struct FontInfo {
  int charset = 1;
  int codePage = 0;  // \cpg, or the charset's; 0: the document's
  QByteArray name;
  SymbolFont symbol = SymbolFont::kNone;
};

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
  bool ConsumeFallback();
  const FontInfo* CurrentFont() const;

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
    // The font's own code page, else the document's, else code page 936.
    int codePage = font != nullptr ? font->codePage : 0;
    if (codePage == 0 || !decoders_.Knows(codePage)) codePage = codePage_;
    if (codePage == 0 || !decoders_.Knows(codePage)) codePage = kDocumentDefaultCodePage;
    text = decoders_.Decode(codePage, pending_);
  }
  pending_.clear();
  AddText(text);
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
  if (!runs_.empty()) {
    TextRun& last = runs_.back();
    if (last.bold == bold && last.italic == italic && last.halfPoints == halfPoints) {
      last.text += text;
      return;
    }
  }
  runs_.push_back(TextRun{text.toString(), bold, italic, halfPoints});
}

void Reader::AddText(const QString& raw) {
  if (state_.destination != Destination::kText) return;
  // Line ends in an RTF file are layout of the file, not of the text; paragraphs come from
  // \par. A NUL cannot stand in the box.
  QString text = raw;
  text.remove(u'\r');
  text.remove(u'\n');
  text.remove(QChar(0));
  if (text.isEmpty()) return;
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
    case Destination::kSkipped:
      break;
  }
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
  if (!runs_.empty() && runs_.back().text.endsWith(QChar::ParagraphSeparator)) {
    runs_.back().text.chop(1);
    if (runs_.back().text.isEmpty()) runs_.pop_back();
  }
  return std::move(runs_);
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
  if (Contains(kShownDestinations, word)) {
    if (word == "ud" && !stack_.empty() && stack_.back().upr)
      state_.destination = stack_.back().destination;
    return;
  }
  if (word == "fonttbl") {
    state_.destination = Destination::kFontTable;
    return;
  }
  if (optional || Contains(kSkippedDestinations, word)) {
    state_.destination = Destination::kSkipped;
    return;
  }
  if (state_.destination == Destination::kFontTable) {
    ApplyFontTableWord(word, number);
    return;
  }

  const bool on = !hasNumber || number != 0;
  const int value = static_cast<int>(number);
  const bool associated = state_.charType != CharType::kRightToLeft;
  if (word == "par" || word == "page" || word == "sect" || word == "row") {
    AddCharacter(QChar::ParagraphSeparator);
  } else if (word == "line") {
    AddCharacter(QChar::LineSeparator);
  } else if (word == "tab" || word == "cell") {
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
