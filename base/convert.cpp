#include "base/convert.h"

#include <string>

#include "base/errors.h"
#include "base/quote.h"

namespace bagfunc {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decimal digits only, the whole of text; out of range fails instead of wrapping.
std::optional<std::int32_t> ParseDecimal(std::string_view text, bool negative) {
  if (text.empty()) return std::nullopt;
  constexpr std::int64_t kLimit = 2147483648;  // magnitude of the most negative value
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  if (magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(magnitude);
}

// Hexadecimal digits taken as a 32-bit pattern: eight significant digits at most.
std::optional<std::int32_t> ParseHex(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint32_t pattern = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || pattern > 0x0FFFFFFFu) return std::nullopt;
    pattern = (pattern << 4) | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(pattern);
}

}  // namespace

std::optional<std::int32_t> TryConvertHeader(std::string_view text) {
  // Only the space character is skipped: a tab in front of the number fails the line.
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  const std::string_view rest = text.substr(start);
  const char lead = rest.front();
  if (lead == '-' || lead == '+') return ParseDecimal(rest.substr(1), lead == '-');
  if (lead == '$' || lead == 'x' || lead == 'X') return ParseHex(rest.substr(1));
  if (lead == '0' && rest.size() >= 2 && (rest[1] == 'x' || rest[1] == 'X')) {
    return ParseHex(rest.substr(2));
  }
  return ParseDecimal(rest, false);
}

std::int32_t ConvertHeader(std::string_view text) {
  if (auto value = TryConvertHeader(text)) return *value;
  throw bagfunc::EConvertError(
      bagfunc::FormatMessage("'%s' is not a valid integer value", bagfunc::QuotedLine(text)));
}

}  // namespace bagfunc
