// UTF-8 and UTF-16 into each other, by the rules the window's toolkit follows, so that a text
// reads the same in the window, in bagsolve and on the web page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plaintext {

inline constexpr char16_t kReplacement = 0xFFFD;

// The length of the well-formed UTF-8 sequence of a character beyond ASCII at bytes[at] (no
// overlong form, surrogate or code past U+10FFFF), or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at);

// Each byte that starts no well-formed sequence becomes one U+FFFD by itself, and reading goes
// on at the next byte. A byte-order mark at the very start is dropped (so a file that opens
// with two loses both); elsewhere it is a character like any other.
std::u16string Utf8ToUtf16(std::string_view bytes);

// A lone surrogate, which no encoding can hold, becomes "?".
std::string Utf16ToUtf8(std::u16string_view text);

constexpr bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
constexpr bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }
constexpr bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xE000; }

}  // namespace plaintext
