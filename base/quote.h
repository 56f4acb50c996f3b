// How a message shows a line the user supplied: a problem file can hold any bytes, and what it
// holds must not retitle or clear the terminal that shows the message, nor cut the message
// short, nor flood it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bagfunc {

// The most characters of a line that a message quotes.
inline constexpr std::size_t kMaxQuotedChars = 200;

// line (UTF-8) as a message quotes it: its first kMaxQuotedChars characters, followed by "…"
// when it has more. Inside, NUL and every other control character except TAB (U+0000 to
// U+001F, U+007F to U+009F) are written as \xNN with the code in upper-case hexadecimal, and
// so is each byte that begins no valid UTF-8 character (it counts as one character). Every
// other character stays as it is. The result is valid UTF-8.
std::string QuotedLine(std::string_view line);

}  // namespace bagfunc
