// What the bytes of an RTF document mean: the code page of each font's character set, the
// decoders for them, and the symbol fonts whose letters are pictures (Symbol, Wingdings).
#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

class QStringDecoder;

namespace textio::rtf {

// The Windows code page of an RTF \fcharset value; 0 when the font takes the document's
// (the default and unknown character sets).
int CodePageOfCharset(int charset);

// Fonts whose characters are not letters of any code page.
enum class SymbolFont { kNone, kSymbol, kWingdings };

// Recognised by character set 2 (symbol) or by the font's name.
SymbolFont SymbolFontOf(int charset, const QString& name);

// The Unicode character a symbol font draws for a byte (or for the private-use character
// U+F000 + byte that Unicode-aware writers use); 0 when it draws none that Unicode names.
char16_t SymbolCharacter(SymbolFont font, unsigned byte);

// Turns bytes into text in a code page; decoders are made once per code page. Code page 936
// (and any page the system cannot decode) goes through the program's GBK decoder; 65001 is
// UTF-8; Mac Japanese (10001) and Johab (1361) are decoded on top of the system's Shift_JIS
// and EUC-KR.
class CodePageDecoders {
 public:
  CodePageDecoders();
  ~CodePageDecoders();
  QString Decode(int codePage, const QByteArray& bytes);
  bool Knows(int codePage);

 private:
  QStringDecoder* DecoderFor(int codePage);
  static QString DecodeMacJapanese(QStringDecoder& shiftJis, const QByteArray& bytes);
  static QString DecodeJohab(QStringDecoder& eucKr, const QByteArray& bytes);
  std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

}  // namespace textio::rtf
