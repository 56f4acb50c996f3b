#include "textio/gbk.h"
#include "textio/rtf.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

namespace textio {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::int64_t kNumberLimit = 1'000'000'000;  // larger parameters are clamped
constexpr int kMaxHalfPoints = 3276;                   // 1638 points
constexpr std::size_t kMaxWordLength = 32;

// Destinations whose content is not part of the visible text.
constexpr std::string_view kSkippedDestinations[] = {
    "fonttbl",   "colortbl",   "stylesheet", "info",         "pict",
    "object",    "header",     "headerl",    "headerr",      "headerf",
    "footer",    "footerl",    "footerr",    "footerf",      "footnote",
    "fldinst",   "listtable",  "listoverridetable",          "revtbl",
    "rsidtbl",   "generator",  "xmlnstbl",   "themedata",    "colorschememapping",
    "latentstyles", "datastore", "filetbl",  "pgdsctbl",     "nonshppict",
    "userprops", "bkmkstart",  "bkmkend",    "annotation",   "atnid",
    "atnauthor", "pntext",     "txe"};

struct CharacterState {
  bool bold = false;
  bool italic = false;
  int halfPoints = 0;
  int unicodeSkip = 1;     // \ucN: fallback characters after each \uN
  bool skipped = false;    // inside a destination that is not shown
};

// Turns the document's 8-bit text into Unicode in its declared code page.
class CodePage {
 public:
  void Set(std::int64_t number) {
    if (forced_) return;  // a byte-order mark outranks the declared code page
    other_.reset();
    utf8_ = number == 65001;
    if (number == 936 || utf8_) return;
    for (const QString& name : {QStringLiteral("windows-%1").arg(number),
                                QStringLiteral("cp%1").arg(number)}) {
      auto decoder = std::make_unique<QStringDecoder>(name.toLatin1().constData());
      if (decoder->isValid()) {
        other_ = std::move(decoder);
        return;
      }
    }
  }
  void ForceUtf8() {
    utf8_ = true;
    forced_ = true;
  }
  QString Decode(const QByteArray& bytes) const {
    if (utf8_) return QString::fromUtf8(bytes);
    if (other_) {
      other_->resetState();
      return other_->decode(bytes);
    }
    return DecodeGbk(bytes);
  }

 private:
  bool utf8_ = false;
  bool forced_ = false;
  std::unique_ptr<QStringDecoder> other_;
};

class Reader {
 public:
  explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

  std::optional<std::vector<TextRun>> Read();

 private:
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(bytes_[pos_]); }
  void ReadControl();
  void ReadControlWord();
  void ReadHexByte();
  void ApplyWord(std::string_view word, bool hasNumber, std::int64_t number);
  void AddText(QString text);
  void AddByte(char byte);
  void Flush();
  bool ConsumeFallback();

  const QByteArray& bytes_;
  qsizetype pos_ = 0;
  std::vector<CharacterState> stack_;
  CharacterState state_;
  CodePage codePage_;
  QByteArray pending_;  // code-page bytes in state_'s format, not yet decoded
  std::int64_t fallbackLeft_ = 0;
  std::vector<TextRun> runs_;
};

void Reader::Flush() {
  if (pending_.isEmpty()) return;
  const QString text = codePage_.Decode(pending_);
  pending_.clear();
  AddText(text);
}

void Reader::AddText(QString text) {
  if (state_.skipped) return;
  // Line ends in an RTF file are layout of the file, not of the text; paragraphs come from
  // \par. A NUL cannot stand in the box.
  text.remove(u'\r');
  text.remove(u'\n');
  text.remove(QChar(0));
  if (text.isEmpty()) return;
  if (!runs_.empty()) {
    TextRun& last = runs_.back();
    if (last.bold == state_.bold && last.italic == state_.italic &&
        last.halfPoints == state_.halfPoints) {
      last.text += text;
      return;
    }
  }
  runs_.push_back(TextRun{text, state_.bold, state_.italic, state_.halfPoints});
}

void Reader::AddByte(char byte) {
  if (!state_.skipped) pending_.append(byte);
}

// After \uN the next characters stand in for readers without Unicode; one of them is consumed
// here. Returns true when the token was such a stand-in.
bool Reader::ConsumeFallback() {
  if (fallbackLeft_ <= 0) return false;
  --fallbackLeft_;
  return true;
}

std::optional<std::vector<TextRun>> Reader::Read() {
  if (bytes_.startsWith(QByteArray::fromRawData(kByteOrderMark.data(), kByteOrderMark.size()))) {
    pos_ = kByteOrderMark.size();
    codePage_.ForceUtf8();
  }
  if (!bytes_.mid(pos_, 5).startsWith("{\\rtf")) return std::nullopt;
  while (!AtEnd()) {
    const unsigned char c = Peek();
    if (c == '{') {
      ++pos_;
      Flush();
      fallbackLeft_ = 0;
      if (static_cast<int>(stack_.size()) >= kMaxRtfGroupDepth) return std::nullopt;
      stack_.push_back(state_);
    } else if (c == '}') {
      ++pos_;
      Flush();
      fallbackLeft_ = 0;
      if (stack_.empty()) break;
      state_ = stack_.back();
      stack_.pop_back();
      if (stack_.empty()) break;  // the document's own group has closed
    } else if (c == '\\') {
      ReadControl();
    } else if (c == '\r' || c == '\n') {
      ++pos_;
    } else {
      ++pos_;
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
    ReadHexByte();
    return;
  }
  ++pos_;
  if (c == '*') {
    // Marks a destination that a reader which does not know it leaves out.
    Flush();
    state_.skipped = true;
    return;
  }
  if (ConsumeFallback()) return;
  switch (c) {
    case '\\':
    case '{':
    case '}':
      AddByte(static_cast<char>(c));
      break;
    case '~':
      Flush();
      AddText(QString(QChar(0x00A0)));
      break;
    case '_':
      Flush();
      AddText(QString(QChar(0x2011)));
      break;
    case '\r':
    case '\n':
      Flush();
      AddText(QString(QChar::ParagraphSeparator));
      break;
    default:
      break;  // \- (optional hyphen), \| and \: and anything unknown
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

  if (word == "bin") {
    // Binary data follows: its bytes are no text and no markup.
    Flush();
    pos_ += std::clamp<std::int64_t>(number, 0, bytes_.size() - pos_);
    return;
  }
  if (ConsumeFallback()) return;
  Flush();
  ApplyWord(word, hasNumber, number);
}

void Reader::ApplyWord(std::string_view word, bool hasNumber, std::int64_t number) {
  const bool on = !hasNumber || number != 0;
  if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), word) !=
      std::end(kSkippedDestinations)) {
    state_.skipped = true;
  } else if (word == "par" || word == "page" || word == "sect" || word == "row") {
    AddText(QString(QChar::ParagraphSeparator));
  } else if (word == "line") {
    AddText(QString(QChar::LineSeparator));
  } else if (word == "tab" || word == "cell") {
    AddText(QStringLiteral("\t"));
  } else if (word == "u") {
    // A signed 16-bit unit; surrogate pairs come as two of them. Anything wider is no
    // character, but its stand-ins are still skipped.
    if (number >= -32768 && number <= 65535)
      AddText(QString(QChar(static_cast<char16_t>(static_cast<std::uint16_t>(number)))));
    fallbackLeft_ = state_.unicodeSkip;
  } else if (word == "uc") {
    state_.unicodeSkip = static_cast<int>(std::clamp<std::int64_t>(number, 0, 16));
  } else if (word == "b") {
    state_.bold = on;
  } else if (word == "i") {
    state_.italic = on;
  } else if (word == "fs") {
    state_.halfPoints = static_cast<int>(std::clamp<std::int64_t>(number, 0, kMaxHalfPoints));
  } else if (word == "plain") {
    state_.bold = false;
    state_.italic = false;
    state_.halfPoints = 0;
  } else if (word == "ansicpg") {
    codePage_.Set(number);
  } else if (word == "emdash") {
    AddText(QString(QChar(0x2014)));
  } else if (word == "endash") {
    AddText(QString(QChar(0x2013)));
  } else if (word == "bullet") {
    AddText(QString(QChar(0x2022)));
  } else if (word == "lquote") {
    AddText(QString(QChar(0x2018)));
  } else if (word == "rquote") {
    AddText(QString(QChar(0x2019)));
  } else if (word == "ldblquote") {
    AddText(QString(QChar(0x201C)));
  } else if (word == "rdblquote") {
    AddText(QString(QChar(0x201D)));
  } else if (word == "emspace") {
    AddText(QString(QChar(0x2003)));
  } else if (word == "enspace") {
    AddText(QString(QChar(0x2002)));
  }
}

}  // namespace

bool LooksLikeRtf(const QByteArray& bytes) {
  const qsizetype start = bytes.startsWith(kByteOrderMark.data()) ? 3 : 0;
  return bytes.mid(start, 5) == "{\\rtf";
}

std::optional<std::vector<TextRun>> ReadRtf(const QByteArray& bytes) {
  return Reader(bytes).Read();
}

}  // namespace textio
