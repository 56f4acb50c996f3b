// The comparison's share, at the roundings and signs a process run rarely meets.
#include <gtest/gtest.h>

#include <cstdint>

#include "cli/printing.h"

namespace {

struct ShareRow {
  const char* name;
  std::int64_t value;
  std::int64_t best;
  const char* text;
};

void PrintTo(const ShareRow& row, std::ostream* out) { *out << row.name; }

class Share : public testing::TestWithParam<ShareRow> {};

TEST_P(Share, PercentWithOneDecimal) {
  EXPECT_EQ(cli::ShareText(GetParam().value, GetParam().best), GetParam().text);
}

constexpr std::int64_t kLargestBest = 9999LL * INT32_MAX;

INSTANTIATE_TEST_SUITE_P(Rows, Share, testing::ValuesIn(std::vector<ShareRow>{
  {"Whole", 30, 30, "100.0%"},
  {"RoundsDown", 26, 30, "86.7%"},
  {"HalfRoundsAwayFromZero", 1, 16, "6.3%"},  // 6.25
  {"NegativeHalfRoundsAwayFromZero", -1, 16, "-6.3%"},
  {"NothingOfIt", 0, 7, "0.0%"},
  {"TinyNegativeIsZero", -1, 100000, "0.0%"},
  {"AboveAHundred", 19, 10, "190.0%"},
  {"SearchAtItsLowest", INT32_MIN, 1, "-214748364800.0%"},
  {"LargestBest", INT32_MAX, kLargestBest, "0.0%"},
  {"LargestBestWhole", kLargestBest, kLargestBest, "100.0%"},
  {"BestZero", 5, 0, "-"},
  {"BestNegative", -5, -3, "-"},
}), [](const testing::TestParamInfo<ShareRow>& info) { return std::string(info.param.name); });

}  // namespace
