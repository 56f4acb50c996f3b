// The header conversion, one line at a time.
#include <gtest/gtest.h>

#include <optional>

#include "base/convert.h"
#include "base/errors.h"

namespace {

struct ConvertRow {
  const char* name;
  std::string_view text;
  std::optional<std::int32_t> value;  // nothing: the line fails
  const char* quoted = nullptr;        // how the message quotes a failing line, when not as it is
};

void PrintTo(const ConvertRow& row, std::ostream* out) { *out << row.name; }

class HeaderConversion : public testing::TestWithParam<ConvertRow> {};

TEST_P(HeaderConversion, ConvertsOrFails) {
  const ConvertRow& row = GetParam();
  EXPECT_EQ(bagfunc::TryConvertHeader(row.text), row.value);
  if (row.value) {
    EXPECT_EQ(bagfunc::ConvertHeader(row.text), *row.value);
  } else {
    // The message quotes the whole line, as given unless it holds control characters.
    const std::string quoted = row.quoted ? row.quoted : std::string(row.text);
    try {
      bagfunc::ConvertHeader(row.text);
      ADD_FAILURE() << "no error raised";
    } catch (const bagfunc::EConvertError& error) {
      EXPECT_EQ(error.what(), "'" + quoted + "' is not a valid integer value");
    }
  }
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(Rows, HeaderConversion, testing::ValuesIn(std::vector<ConvertRow>{
  {"LeadingSpace", " 4", 4},
  {"LeadingSpaces", "  007", 7},
  {"PlusSign", "+4", 4},
  {"LeadingZeroIsNotOctal", "010", 10},
  {"Zero", "0", 0},
  {"MinusZero", "-0", 0},
  {"DollarHex", "$4", 4},
  {"DollarHexTen", "$10", 16},
  {"LowerXHex", "x4", 4},
  {"UpperXHex", "X1f", 31},
  {"ZeroXHex", "0x4", 4},
  {"ZeroUpperXHex", "0XaB", 171},
  {"Largest", "2147483647", 2147483647},
  {"Smallest", "-2147483648", -2147483647 - 1},
  {"HexAllOnesIsMinusOne", "$FFFFFFFF", -1},
  {"HexTopBitIsMostNegative", "$80000000", -2147483647 - 1},
  {"HexLeadingZerosDoNotCount", "$000000000000FFFFFFFF", -1},
  {"HexEighthDigitAfterSmallValue", "$0FFFFFF0", 0x0FFFFFF0},
  {"ManyLeadingZeros", "000000000000000000042", 42},
  {"TrailingSpace", "4 ", std::nullopt},
  {"SpaceAfterSign", "- 4", std::nullopt},
  {"SignBeforeHexPrefix", "-$4", std::nullopt},
  {"SignBeforeZeroX", "-0x4", std::nullopt},
  {"TwoNumbers", "4,0", std::nullopt},
  {"Word", "four", std::nullopt},
  {"LeadingTab", "\t4", std::nullopt},
  {"Empty", "", std::nullopt},
  {"SpacesOnly", "   ", std::nullopt},
  {"SignOnly", "-", std::nullopt},
  {"PlusOnly", "+", std::nullopt},
  {"DollarOnly", "$", std::nullopt},
  {"ZeroXOnly", "0x", std::nullopt},
  {"DoubleSign", "+-4", std::nullopt},
  {"AboveLargest", "2147483648", std::nullopt},
  {"BelowSmallest", "-2147483649", std::nullopt},
  {"FarTooLong", "99999999999999999999999", std::nullopt},
  {"NineHexDigits", "$100000000", std::nullopt},
  {"HexBadDigit", "$4G", std::nullopt},
  {"Exponent", "1e3", std::nullopt},
  {"TrailingCarriageReturn", "4\r", std::nullopt, "4\\x0D"},
  {"EmbeddedNul", "2\0" "1"sv, std::nullopt, "2\\x001"},
}));

}  // namespace
