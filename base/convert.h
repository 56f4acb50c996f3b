// The header conversion: how a header line of a problem, or a value in the settings file,
// becomes a signed 32-bit integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace bagfunc {

// Leading spaces (character 32 only) are skipped; then either a decimal number with an
// optional sign, in range -2147483648..2147483647, or a hexadecimal one after "$", "x", "X",
// "0x" or "0X" (at most eight significant digits, taken as a 32-bit pattern). Nothing may
// follow the number. Returns nothing when the text does not convert.
std::optional<std::int32_t> TryConvertHeader(std::string_view text);

// As TryConvertHeader, but a text that does not convert raises bagfunc::EConvertError with
// the message "'<text>' is not a valid integer value", the text quoted by bagfunc::QuotedLine.
std::int32_t ConvertHeader(std::string_view text);

}  // namespace bagfunc
