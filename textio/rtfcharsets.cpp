#include "textio/rtfcharsets.h"

#include "textio/gbk.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace textio::rtf {
namespace {

// Windows' character sets, and from 77 to 89 the Macintosh ones (82, the old Mac Johab, has no
// code page of its own).
constexpr std::pair<int, int> kCharsetCodePages[] = {
    {0, 1252},    {77, 10000},  {78, 10001},  {79, 10003},  {80, 10008},  {81, 10002},
    {83, 10005},  {84, 10004},  {85, 10006},  {86, 10081},  {87, 10021},  {88, 10029},
    {89, 10007},  {128, 932},   {129, 949},   {130, 1361},  {134, 936},   {136, 950},
    {161, 1253},  {162, 1254},  {163, 1258},  {177, 1255},  {178, 1256},  {186, 1257},
    {204, 1251},  {222, 874},   {238, 1250},  {254, 437},   {255, 850},
};

// Code pages the system's converter knows by another name. Mac Japanese is Shift_JIS but for
// a few single bytes, and Johab is the Korean standard's letters in another arrangement: both
// are decoded here on top of those converters.
constexpr std::pair<int, const char*> kCodePageNames[] = {
    {10000, "macintosh"},      {10001, "Shift_JIS"},     {10002, "Big5"},
    {10003, "EUC-KR"},         {10006, "x-mac-greek"},   {10007, "x-mac-cyrillic"},
    {10008, "GB2312"},         {10029, "x-mac-centraleurroman"}, {10081, "x-mac-turkish"},
    {1361, "EUC-KR"},
};

// Mac Japanese bytes that are no Shift_JIS characters.
char16_t MacJapaneseSingle(unsigned char byte) {
  switch (byte) {
    case 0x80: return u'\\';
    case 0xA0: return u'\u00A0';
    case 0xFD: return u'\u00A9';
    case 0xFE: return u'\u2122';
    case 0xFF: return u'\u2026';
    default: return 0;
  }
}

bool IsShiftJisLead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Johab's letters: five bits each for the initial consonant, the vowel and the final
// consonant. Each table gives the letter's index in Unicode's syllable order, -1 for the fill
// code (no letter) and -2 for codes that mean nothing.
constexpr std::int8_t kJohabInitial[32] = {
    -2, -1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
    14, 15, 16, 17, 18, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2};
constexpr std::int8_t kJohabVowel[32] = {
    -2, -2, -1, 0,  1,  2,  3,  4,  -2, -2, 5,  6,  7,  8,  9,  10,
    -2, -2, 11, 12, 13, 14, 15, 16, -2, -2, 17, 18, 19, 20, -2, -2};
constexpr std::int8_t kJohabFinal[32] = {
    -2, -1, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
    15, 16, -2, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, -2, -2};
// The letters alone, as compatibility letters: initials, then finals (by index from 1).
constexpr char16_t kLoneInitial[19] = {
    0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141, 0x3142, 0x3143, 0x3145,
    0x3146, 0x3147, 0x3148, 0x3149, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E};
constexpr char16_t kLoneFinal[28] = {
    0,      0x3131, 0x3132, 0x3133, 0x3134, 0x3135, 0x3136, 0x3137, 0x3139, 0x313A,
    0x313B, 0x313C, 0x313D, 0x313E, 0x313F, 0x3140, 0x3141, 0x3142, 0x3144, 0x3145,
    0x3146, 0x3147, 0x3148, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E};

// A Hangul code of Johab (lead byte 0x84 to 0xD3); 0 where it names nothing.
char16_t JohabHangul(unsigned code) {
  const int initial = kJohabInitial[(code >> 10) & 0x1F];
  const int vowel = kJohabVowel[(code >> 5) & 0x1F];
  const int final = kJohabFinal[code & 0x1F];
  if (initial == -2 || vowel == -2 || final == -2) return 0;
  if (initial >= 0 && vowel >= 0)
    return static_cast<char16_t>(0xAC00 + (initial * 21 + vowel) * 28 + std::max(final, 0));
  if (final >= 0) return initial < 0 && vowel < 0 ? kLoneFinal[final] : 0;
  if (initial >= 0) return kLoneInitial[initial];
  if (vowel >= 0) return static_cast<char16_t>(0x314F + vowel);
  return 0x3000;  // all three fill codes: a full-width space
}

// The symbols and Hanja of Johab (lead bytes 0xD9 to 0xDE and 0xE0 to 0xF9) are the Korean
// standard's rows, two to a lead byte: the same character's EUC-KR bytes, or none.
QByteArray JohabToEucKr(unsigned char lead, unsigned char trail) {
  int row;
  if (lead >= 0xD9 && lead <= 0xDE) {
    row = 0x21 + (lead - 0xD9) * 2;
  } else if (lead >= 0xE0 && lead <= 0xF9) {
    row = 0x4A + (lead - 0xE0) * 2;
  } else {
    return {};
  }
  int offset;
  if (trail >= 0x31 && trail <= 0x7E) {
    offset = trail - 0x31;
  } else if (trail >= 0x91 && trail <= 0xFE) {
    offset = trail - 0x43;
  } else {
    return {};
  }
  if (offset >= 94) {
    ++row;
    offset -= 94;
  }
  // The modern letters of row 4 are the Hangul area's lone letters in Johab.
  if (row == 0x24 && offset <= 0x53 - 0x21) return {};
  const char bytes[2] = {static_cast<char>(0x80 | row), static_cast<char>(0xA1 + offset)};
  return QByteArray(bytes, 2);
}

// Adobe's Symbol font from 0x20 to 0xFF, by rows of sixteen; 0 where it draws nothing named.
constexpr char16_t kSymbol[224] = {
    // 0x20
    u' ', u'!', u'∀', u'#', u'∃', u'%', u'&', u'∋', u'(', u')', u'∗', u'+', u',', u'−', u'.', u'/',
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    // 0x40
    u'≅', u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ', u'Κ', u'Λ', u'Μ', u'Ν', u'Ο',
    u'Π', u'Θ', u'Ρ', u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ', u'[', u'∴', u']', u'⊥', u'_',
    // 0x60
    u'‾', u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι', u'ϕ', u'κ', u'λ', u'μ', u'ν', u'ο',
    u'π', u'θ', u'ρ', u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ', u'{', u'|', u'}', u'∼', 0,
    // 0x80
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    u'€', u'ϒ', u'′', u'≤', u'⁄', u'∞', u'ƒ', u'♣', u'♦', u'♥', u'♠', u'↔', u'←', u'↑', u'→', u'↓',
    u'°', u'±', u'″', u'≥', u'×', u'∝', u'∂', u'•', u'÷', u'≠', u'≡', u'≈', u'…', u'⏐', u'⎯', u'↵',
    // 0xC0
    u'ℵ', u'ℑ', u'ℜ', u'℘', u'⊗', u'⊕', u'∅', u'∩', u'∪', u'⊃', u'⊇', u'⊄', u'⊂', u'⊆', u'∈', u'∉',
    u'∠', u'∇', u'®', u'©', u'™', u'∏', u'√', u'⋅', u'¬', u'∧', u'∨', u'⇔', u'⇐', u'⇑', u'⇒', u'⇓',
    // 0xE0
    u'◊', u'〈', u'®', u'©', u'™', u'∑', u'⎛', u'⎜', u'⎝', u'⎡', u'⎢', u'⎣', u'⎧', u'⎨', u'⎩', u'⎪',
    0, u'〉', u'∫', u'⌠', u'⎮', u'⌡', u'⎞', u'⎟', u'⎠', u'⎤', u'⎥', u'⎦', u'⎫', u'⎬', u'⎭', 0,
};

// The Wingdings characters that documents use as list bullets and marks.
constexpr std::pair<unsigned, char16_t> kWingdings[] = {
    {0x46, u'☞'}, {0x4A, u'☺'}, {0x4C, u'☹'}, {0x6C, u'●'}, {0x6D, u'❍'}, {0x6E, u'■'},
    {0x6F, u'□'}, {0x70, u'◻'}, {0x71, u'❑'}, {0x72, u'❒'}, {0x73, u'⬧'}, {0x74, u'⧫'},
    {0x75, u'◆'}, {0x76, u'❖'}, {0x77, u'⬥'}, {0x9F, u'•'}, {0xA1, u'○'}, {0xA7, u'▪'},
    {0xA8, u'◻'}, {0xD8, u'➢'}, {0xE0, u'➔'}, {0xE8, u'➔'}, {0xF0, u'⇨'}, {0xFB, u'✗'},
    {0xFC, u'✓'}, {0xFD, u'☒'}, {0xFE, u'☑'},
};

}  // namespace

int CodePageOfCharset(int charset) {
  for (const auto& [set, page] : kCharsetCodePages)
    if (set == charset) return page;
  return 0;
}

SymbolFont SymbolFontOf(int charset, const QString& name) {
  const QString base = name.trimmed();
  if (base.startsWith(QStringLiteral("Wingdings"), Qt::CaseInsensitive))
    return SymbolFont::kWingdings;
  if (charset == 2 || base.compare(QStringLiteral("Symbol"), Qt::CaseInsensitive) == 0)
    return SymbolFont::kSymbol;
  return SymbolFont::kNone;
}

char16_t SymbolCharacter(SymbolFont font, unsigned byte) {
  if (byte >= 0xF000 && byte <= 0xF0FF) byte -= 0xF000;
  if (byte > 0xFF) return 0;
  if (font == SymbolFont::kSymbol) return byte >= 0x20 ? kSymbol[byte - 0x20] : 0;
  for (const auto& [code, ch] : kWingdings)
    if (code == byte) return ch;
  return 0;
}

CodePageDecoders::CodePageDecoders() = default;
CodePageDecoders::~CodePageDecoders() = default;

QStringDecoder* CodePageDecoders::DecoderFor(int codePage) {
  auto [it, added] = decoders_.try_emplace(codePage);
  if (added && codePage != 936) {
    auto decoder =
        std::make_unique<QStringDecoder>(QByteArray("windows-" + QByteArray::number(codePage)));
    for (const auto& [page, name] : kCodePageNames)
      if (page == codePage) decoder = std::make_unique<QStringDecoder>(name);
    if (!decoder->isValid())
      decoder = std::make_unique<QStringDecoder>(QByteArray("cp" + QByteArray::number(codePage)));
    if (codePage == 65001) decoder = std::make_unique<QStringDecoder>(QStringDecoder::Utf8);
    if (decoder->isValid()) it->second = std::move(decoder);
  }
  return it->second.get();
}

bool CodePageDecoders::Knows(int codePage) { return codePage == 936 || DecoderFor(codePage); }

QString CodePageDecoders::Decode(int codePage, const QByteArray& bytes) {
  QStringDecoder* decoder = DecoderFor(codePage);
  if (decoder == nullptr) return DecodeGbk(bytes);
  decoder->resetState();
  if (codePage == 10001) return DecodeMacJapanese(*decoder, bytes);
  if (codePage == 1361) return DecodeJohab(*decoder, bytes);
  return decoder->decode(bytes);
}

QString CodePageDecoders::DecodeMacJapanese(QStringDecoder& shiftJis, const QByteArray& bytes) {
  QString text;
  qsizetype start = 0;  // bytes from here on go to the Shift_JIS decoder
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (IsShiftJisLead(byte)) {
      ++i;
    } else if (const char16_t ch = MacJapaneseSingle(byte); ch != 0) {
      text += shiftJis.decode(QByteArrayView(bytes).sliced(start, i - start));
      text += QChar(ch);
      start = i + 1;
    }
  }
  text += shiftJis.decode(QByteArrayView(bytes).sliced(std::min(start, bytes.size())));
  return text;
}

QString CodePageDecoders::DecodeJohab(QStringDecoder& eucKr, const QByteArray& bytes) {
  QString text;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      text += QChar(lead);
      continue;
    }
    if (i + 1 >= bytes.size()) {
      text += QChar(QChar::ReplacementCharacter);
      break;
    }
    const auto trail = static_cast<unsigned char>(bytes[++i]);
    char16_t ch = 0;
    if (lead >= 0x84 && lead <= 0xD3) {
      ch = JohabHangul((lead << 8) | trail);
    } else if (const QByteArray euc = JohabToEucKr(lead, trail); !euc.isEmpty()) {
      eucKr.resetState();
      const QString decoded = eucKr.decode(euc);
      if (decoded.size() == 1 && decoded[0] != QChar::ReplacementCharacter) ch = decoded[0].unicode();
      // The two signs the Korean standard added in 1998, which EUC-KR converters may lack.
      if (euc == "\xA2\xE6") ch = u'\u20AC';
      if (euc == "\xA2\xE7") ch = u'\u00AE';
    }
    text += QChar(ch != 0 ? ch : char16_t{QChar::ReplacementCharacter});
  }
  return text;
}

}  // namespace textio::rtf
