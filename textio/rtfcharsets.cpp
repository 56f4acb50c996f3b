#include "textio/rtfcharsets.h"

#include "textio/gbk.h"

#include <QStringDecoder>

#include <array>
#include <utility>

namespace textio::rtf {
namespace {

constexpr std::pair<int, int> kCharsetCodePages[] = {
    {0, 1252},   {77, 10000}, {128, 932},  {129, 949},  {134, 936},  {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
    {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850},
};

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
  return decoder->decode(bytes);
}

}  // namespace textio::rtf
