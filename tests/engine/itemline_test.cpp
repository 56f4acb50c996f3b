// The item line reading: which fields a line writes, and which keep their earlier value.
#include <gtest/gtest.h>

#include "engine/bagfunc.h"

namespace {

constexpr std::int32_t kKept = -777;  // what a field holds before the line is read

struct ItemLineRow {
  const char* name;
  std::string_view line;
  std::int32_t weight;
  std::int32_t value;
};

void PrintTo(const ItemLineRow& row, std::ostream* out) { *out << row.name; }

class ItemLineReading : public testing::TestWithParam<ItemLineRow> {};

TEST_P(ItemLineReading, WritesOnlyTheFieldsItReads) {
  const ItemLineRow& row = GetParam();
  bagfunc::Item item{kKept, kKept};
  bagfunc::ReadItemLine(row.line, item);
  EXPECT_EQ(item.Weight, row.weight);
  EXPECT_EQ(item.Value, row.value);
}

INSTANTIATE_TEST_SUITE_P(Rows, ItemLineReading, testing::ValuesIn(std::vector<ItemLineRow>{
  {"Plain", "5,6", 5, 6},
  {"SpacesBeforeEachNumber", " 5, 6", 5, 6},
  {"WhiteSpaceOfEveryKind", "\t\v\f\r\n 5,\t\n6", 5, 6},
  {"Signs", "+5,-6", 5, -6},
  {"ThirdNumberIgnored", "5,6,7", 5, 6},
  {"TrailingTextIgnored", "5,6xyz", 5, 6},
  {"LeadingZerosAreDecimal", "010,020", 10, 20},
  {"WeightOnly", "5", 5, kKept},
  {"CommaAndNothing", "5,", 5, kKept},
  {"SpaceBeforeComma", "5 ,6", 5, kKept},
  {"OtherSeparator", "5;6", 5, kKept},
  {"HexPrefixReadsZero", "0x5,6", 0, kKept},
  {"SignWithoutDigitAfterComma", "5,-", 5, kKept},
  {"Empty", "", kKept, kKept},
  {"SpacesOnly", "   ", kKept, kKept},
  {"NoWeight", ",6", kKept, kKept},
  {"LetterWeight", "a,6", kKept, kKept},
  {"SignWithoutDigit", "-,6", kKept, kKept},
  {"LargestNumbers", "2147483647,-2147483648", 2147483647, -2147483647 - 1},
  {"WeightSaturatesHigh", "2147483648,1", 2147483647, 1},
  {"ValueSaturatesLow", "1,-2147483649", 1, -2147483647 - 1},
  {"VeryLongDigitRuns", "99999999999999999999999999,-99999999999999999999999999", 2147483647,
   -2147483647 - 1},
}));

}  // namespace
