// The literal shared steps: totals of a trial and the copy of a trial into the recorded pick.
#include <gtest/gtest.h>

#include "tests/engine/problem.h"

namespace enginetest {
namespace {

TEST(KeepBestPick, ItemZeroBecomesEndMark) {
  auto engine = NewEngine();
  engine->ResetPicks();
  engine->TrialPick[1] = 7;
  engine->TrialPick[2] = 0;
  engine->TrialPick[3] = 9;
  engine->BestPick[5] = 4;  // not the routine's to clear
  EXPECT_EQ(engine->KeepBestPick(1, 3), 0);
  EXPECT_EQ(engine->BestPick[1], 7);
  EXPECT_EQ(engine->BestPick[2], -1);
  EXPECT_EQ(engine->BestPick[3], 9);
  EXPECT_EQ(engine->BestPick[4], -1);
  EXPECT_EQ(engine->BestPick[5], 4);
  EXPECT_EQ(PickOf(*engine), std::vector<std::int32_t>{7});
}

TEST(KeepBestPick, EmptyRangeWritesMarkAtFirst) {
  auto engine = NewEngine();
  engine->BestPick.fill(3);
  engine->KeepBestPick(4, 2);
  EXPECT_EQ(engine->BestPick[4], -1);
  EXPECT_EQ(engine->BestPick[3], 3);
  EXPECT_EQ(engine->BestPick[5], 3);
}

TEST(KeepBestPick, RangeBeyondTableStaysInside) {
  auto engine = NewEngine();
  engine->TrialPick.fill(2);
  engine->BestPick.fill(5);
  engine->KeepBestPick(-3, 2147483647);
  EXPECT_EQ(engine->BestPick[0], 2);
  EXPECT_EQ(engine->BestPick[bagfunc::kTableSize - 1], 2);
}

TEST(SumPick, FirstAfterLastGivesZeros) {
  auto engine = NewEngine();
  engine->ItemTable[1] = {3, 4};
  engine->TrialPick[1] = 1;
  std::int32_t value = 99;
  std::int32_t weight = 99;
  EXPECT_EQ(engine->SumPick(2, 1, value, weight), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(weight, 0);
}

TEST(SumPick, TotalsWrapAround) {
  auto engine = NewEngine();
  engine->ItemTable[1] = {2147483647, -2147483647 - 1};
  engine->ItemTable[2] = {2, -1};
  engine->TrialPick[1] = 1;
  engine->TrialPick[2] = 2;
  std::int32_t value = 0;
  std::int32_t weight = 0;
  engine->SumPick(1, 2, value, weight);
  EXPECT_EQ(weight, -2147483647);
  EXPECT_EQ(value, 2147483647);
}

TEST(SumPick, NumbersOutsideTableCountAsNothing) {
  auto engine = NewEngine();
  engine->ItemTable[1] = {3, 4};
  engine->TrialPick[1] = 1;
  engine->TrialPick[2] = -5;
  engine->TrialPick[3] = 123456;
  std::int32_t value = 0;
  std::int32_t weight = 0;
  engine->SumPick(1, 3, value, weight);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(weight, 3);
}

TEST(ResetPicks, ClearsEveryPosition) {
  auto engine = NewEngine();
  engine->TrialPick.fill(8);
  engine->BestPick.fill(8);
  engine->ResetPicks();
  for (std::size_t p = 0; p < bagfunc::kTableSize; ++p) {
    ASSERT_EQ(engine->TrialPick[p], 0) << p;
    ASSERT_EQ(engine->BestPick[p], -1) << p;
  }
}

}  // namespace
}  // namespace enginetest
