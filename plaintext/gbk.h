// Code page 936 (GBK, with GB18030's four-byte codes): the encoding of the program's files.
#pragma once

#include <string>
#include <string_view>

namespace plaintext {

// GBK bytes (and GB18030 four-byte sequences) to UTF-16, whatever they begin with. A byte that
// starts no code, or a code with no character, becomes U+FFFD. A file whose encoding is not
// known goes through DecodeFile (textfile.h) instead.
std::u16string DecodeGbk(std::string_view bytes);

// UTF-16 to GBK bytes; a character that GBK cannot hold becomes its GB18030 four-byte
// sequence, never "?", and a lone surrogate that of U+FFFD.
std::string EncodeGbk(std::u16string_view text);

// The same from and to UTF-8 (plaintext/unicode.h's rules).
std::string GbkToUtf8(std::string_view bytes);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace plaintext
