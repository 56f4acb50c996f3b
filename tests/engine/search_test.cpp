// The edge cases of the three searches, one row a case, run through the solve command.
#include <gtest/gtest.h>

#include "engine/variant.h"
#include "tests/engine/problem.h"

namespace enginetest {
namespace {

using bagfunc::Item;
using bagfunc::SolveVariant;
using Pick = std::vector<std::int32_t>;

struct SearchRow {
  const char* name;
  SolveVariant variant;
  Problem problem;
  std::int32_t returned;
  Pick pick;
  std::int32_t best;
};

void PrintTo(const SearchRow& row, std::ostream* out) { *out << row.name; }

const std::vector<Item> kSample{{1, 22}, {3, 4}, {5, 6}, {7, 8}};
const std::vector<Item> kTooHeavy{{9, 5}, {10, 6}, {20, 7}};
const std::vector<Item> kNoPairFits{{5, 5}, {6, 6}, {7, 7}};
const std::vector<Item> kEqualValues{{1, 5}, {1, 5}, {1, 5}};
const std::vector<Item> kGrowingWeights{{1, 5}, {2, 5}, {3, 5}, {4, 5}};
const std::vector<Item> kZeros{{0, 0}, {0, 0}, {0, 0}};
const std::vector<Item> kNegativeValues{{1, -5}, {1, -5}, {1, 20}};
const std::vector<Item> kNegativeWeight{{-4, 3}, {5, 4}, {2, 9}};
const std::vector<Item> kNegativeLimit{{-4, 3}, {-5, 4}, {2, 9}};
const std::vector<Item> kHeavyFirst{{9, 50}, {1, 1}, {1, 1}, {1, 1}};
const std::vector<Item> kRising{{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}};

constexpr auto kBag = SolveVariant::SolveBag;
constexpr auto kMax = SolveVariant::SolveBagMax;
constexpr auto kMax1 = SolveVariant::SolveBagMaxWith1Data;

class SearchTable : public testing::TestWithParam<SearchRow> {};

TEST_P(SearchTable, LeavesPickAndValue) {
  const SearchRow& row = GetParam();
  auto engine = NewEngine();
  const Outcome outcome = Solve(*engine, row.problem, row.variant);
  EXPECT_EQ(outcome.returned, row.returned);
  EXPECT_EQ(outcome.pick, row.pick);
  EXPECT_EQ(outcome.best, row.best);
}

std::string RowName(const testing::TestParamInfo<SearchRow>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(SolveBag, SearchTable, testing::ValuesIn(std::vector<SearchRow>{
  {"SampleProblem", kBag, {4, 3, 8, kSample}, 26, {1, 2}, 26},
  {"TwoSlots", kBag, {4, 2, 8, kSample}, 26, {1, 2}, 26},
  {"SlotsEqualItemCount", kBag, {4, 4, 8, kSample}, 26, {1, 2}, 26},
  {"SlotsAboveItemCount", kBag, {4, 10, 8, kSample}, 26, {1, 2}, 26},
  {"OneSlotTriesLaterCandidatesAlone", kBag, {4, 1, 8, kSample}, 8, {4}, 8},
  {"OverfullTrialDropsTwoItems", kBag, {4, 3, 100, kSample}, 32, {1, 2, 3}, 32},
  {"EverythingFits", kBag, {4, 4, 100, kSample}, 40, {1, 2, 3, 4}, 40},
  {"EveryItemTooHeavy", kBag, {3, 2, 8, kTooHeavy}, 0, {}, 0},
  {"EachFitsAloneNoPairFits", kBag, {3, 2, 8, kNoPairFits}, 0, {}, 0},
  {"SingleItemIsNeverATrial", kBag, {1, 3, 8, {{1, 22}}}, 0, {}, 0},
  {"TieGoesToLaterTrial", kBag, {3, 2, 10, kEqualValues}, 10, {2, 3}, 10},
  {"TieIgnoresWeight", kBag, {4, 2, 10, kGrowingWeights}, 10, {3, 4}, 10},
  {"ZeroValueTrialsRecorded", kBag, {3, 3, 0, kZeros}, 0, {2, 3}, 0},
  {"NegativeValues", kBag, {3, 3, 10, kNegativeValues}, 15, {2, 3}, 15},
  {"NegativeWeight", kBag, {3, 2, 1, kNegativeWeight}, 7, {1, 2}, 7},
  {"NegativeLimit", kBag, {3, 2, -1, kNegativeLimit}, 13, {2, 3}, 13},
  {"FirstItemTooHeavy", kBag, {4, 3, 8, kHeavyFirst}, 3, {2, 3, 4}, 3},
  {"RisingValuesTwoSlots", kBag, {5, 2, 100, kRising}, 9, {4, 5}, 9},
  {"RisingValuesOneSlot", kBag, {5, 1, 100, kRising}, 5, {5}, 5},
  {"OneSlotHeavyCandidateAlone", kBag, {3, 1, 5, {{1, 1}, {1, 2}, {5, 9}}}, 9, {3}, 9},
  {"NoSlots", kBag, {4, 0, 8, kSample}, -1, {}, 0},
  {"NoItems", kBag, {0, 3, 8, {}}, -2, {}, 0},
  {"SlotLimitTestedFirst", kBag, {0, -1, 8, {}}, -1, {}, 0},
  {"NegativeItemCount", kBag, {-5, 3, 8, {}}, -2, {}, 0},
}), RowName);

// The two Solve Max variants side by side: each problem once per variant.
INSTANTIATE_TEST_SUITE_P(SolveMax, SearchTable, testing::ValuesIn(std::vector<SearchRow>{
  {"SampleProblem_Max", kMax, {4, 3, 8, kSample}, 30, {1, 4}, 30},
  {"SampleProblem_Max1", kMax1, {4, 3, 8, kSample}, 30, {1, 4}, 30},
  {"TwoSlots_Max", kMax, {4, 2, 8, kSample}, 30, {1, 4}, 30},
  {"ManySlots_Max1", kMax1, {4, 10, 8, kSample}, 30, {1, 4}, 30},
  {"NeverThreeItems_Max", kMax, {4, 3, 100, kSample}, 30, {1, 4}, 30},
  {"NeverThreeItems_Max1", kMax1, {4, 3, 100, kSample}, 30, {1, 4}, 30},
  {"OneSlot_Max", kMax, {4, 1, 8, kSample}, 8, {4}, 8},
  {"OneSlot_Max1", kMax1, {4, 1, 8, kSample}, 22, {1}, 22},
  {"OneSlotWideLimit_Max", kMax, {4, 1, 100, kSample}, 8, {4}, 8},
  {"OneSlotWideLimit_Max1", kMax1, {4, 1, 100, kSample}, 22, {1}, 22},
  {"OnlyFirstItemFits_Max", kMax, {4, 3, 1, kSample}, 0, {}, 0},
  {"OnlyFirstItemFits_Max1", kMax1, {4, 3, 1, kSample}, 22, {1}, 22},
  {"OneItemFits_Max", kMax, {1, 3, 8, {{1, 22}}}, 0, {}, 0},
  {"OneItemFits_Max1", kMax1, {1, 3, 8, {{1, 22}}}, 22, {1}, 22},
  {"OneItemOneSlot_Max1", kMax1, {1, 1, 8, {{1, 22}}}, 22, {1}, 22},
  {"OneItemTooHeavy_Max1", kMax1, {1, 3, 8, {{9, 22}}}, 0, {}, 0},
  {"EveryItemTooHeavy_Max", kMax, {3, 2, 8, kTooHeavy}, 0, {}, 0},
  {"EveryItemTooHeavy_Max1", kMax1, {3, 2, 8, kTooHeavy}, 0, {}, 0},
  {"EachFitsAloneNoPairFits_Max", kMax, {3, 2, 8, kNoPairFits}, 0, {}, 0},
  {"EachFitsAloneNoPairFits_Max1", kMax1, {3, 2, 8, kNoPairFits}, 7, {3}, 7},
  {"PairTooHeavy_Max", kMax, {2, 2, 8, {{5, 22}, {4, 30}}}, 0, {}, 0},
  {"PairTooHeavy_Max1", kMax1, {2, 2, 8, {{5, 22}, {4, 30}}}, 30, {2}, 30},
  {"EqualPairs_Max", kMax, {3, 2, 8, {{7, 50}, {1, 1}, {1, 1}}}, 51, {1, 3}, 51},
  {"EqualPairs_Max1", kMax1, {3, 2, 8, {{7, 50}, {1, 1}, {1, 1}}}, 51, {1, 3}, 51},
  {"EqualValues_Max", kMax, {3, 2, 10, kEqualValues}, 10, {2, 3}, 10},
  {"EqualValues_Max1", kMax1, {3, 2, 10, kEqualValues}, 10, {2, 3}, 10},
  {"TieIgnoresWeight_Max", kMax, {4, 2, 10, kGrowingWeights}, 10, {3, 4}, 10},
  {"TieIgnoresWeight_Max1", kMax1, {4, 2, 10, kGrowingWeights}, 10, {3, 4}, 10},
  {"PairTiesEarlierSingle_Max1", kMax1, {2, 2, 10, {{1, 10}, {9, 0}}}, 10, {1, 2}, 10},
  {"PairTiesEarlierSingle_Max", kMax, {2, 2, 10, {{1, 10}, {9, 0}}}, 10, {1, 2}, 10},
  {"SingleTiesEarlierPair_Max", kMax, {3, 2, 9, {{1, 2}, {1, 1}, {9, 3}}}, 3, {1, 2}, 3},
  {"SingleTiesEarlierPair_Max1", kMax1, {3, 2, 9, {{1, 2}, {1, 1}, {9, 3}}}, 3, {3}, 3},
  {"AllZero_Max", kMax, {3, 3, 0, kZeros}, 0, {2, 3}, 0},
  {"AllZero_Max1", kMax1, {3, 3, 0, kZeros}, 0, {3}, 0},
  {"NegativeValues_Max", kMax, {3, 3, 10, kNegativeValues}, 15, {2, 3}, 15},
  {"NegativeValues_Max1", kMax1, {3, 3, 10, kNegativeValues}, 20, {3}, 20},
  {"AllValuesNegative_Max", kMax, {3, 3, 10, {{1, -5}, {1, -6}, {1, -7}}}, 0, {}, 0},
  {"AllValuesNegative_Max1", kMax1, {3, 3, 10, {{1, -5}, {1, -6}, {1, -7}}}, 0, {}, 0},
  {"NegativeWeight_Max", kMax, {3, 2, 1, kNegativeWeight}, 12, {1, 3}, 12},
  {"NegativeWeight_Max1", kMax1, {3, 2, 1, kNegativeWeight}, 12, {1, 3}, 12},
  {"HeavyFirstNegativePartner_Max", kMax, {2, 2, 8, {{10, 5}, {-5, 5}}}, 0, {}, 0},
  {"HeavyFirstNegativePartner_Max1", kMax1, {2, 2, 8, {{10, 5}, {-5, 5}}}, 5, {2}, 5},
  {"NegativeLimit_Max", kMax, {3, 2, -1, kNegativeLimit}, 13, {2, 3}, 13},
  {"NegativeLimit_Max1", kMax1, {3, 2, -1, kNegativeLimit}, 13, {2, 3}, 13},
  {"FirstItemTooHeavy_Max", kMax, {4, 3, 8, kHeavyFirst}, 2, {3, 4}, 2},
  {"FirstItemTooHeavy_Max1", kMax1, {4, 3, 8, kHeavyFirst}, 2, {3, 4}, 2},
  {"RisingValuesOneSlot_Max", kMax, {5, 1, 100, kRising}, 5, {5}, 5},
  {"RisingValuesOneSlot_Max1", kMax1, {5, 1, 100, kRising}, 5, {5}, 5},
  {"OneSlotBigFirst_Max", kMax, {3, 1, 10, {{1, 50}, {1, 2}, {1, 3}}}, 3, {3}, 3},
  {"OneSlotBigFirst_Max1", kMax1, {3, 1, 10, {{1, 50}, {1, 2}, {1, 3}}}, 50, {1}, 50},
  {"OneSlotHeavyFirst_Max", kMax, {3, 1, 8, {{9, 1}, {1, 5}, {1, 6}}}, 0, {}, 0},
  {"OneSlotHeavyFirst_Max1", kMax1, {3, 1, 8, {{9, 1}, {1, 5}, {1, 6}}}, 6, {3}, 6},
  {"NoSlots_Max", kMax, {4, 0, 8, kSample}, -1, {}, 0},
  {"NoSlots_Max1", kMax1, {4, 0, 8, kSample}, -1, {}, 0},
  {"NoItems_Max", kMax, {0, 3, 8, {}}, -2, {}, 0},
  {"NoItems_Max1", kMax1, {0, 3, 8, {}}, -2, {}, 0},
  {"SlotLimitTestedFirst_Max", kMax, {0, -1, 8, {}}, -1, {}, 0},
  {"SlotLimitTestedFirst_Max1", kMax1, {0, -1, 8, {}}, -1, {}, 0},
}), RowName);

// Totals leave the 32-bit range and wrap; the comparisons see the wrapped totals.
INSTANTIATE_TEST_SUITE_P(Wrapping, SearchTable, testing::ValuesIn(std::vector<SearchRow>{
  // Two large values wrap to a negative total, which is below the bar of 0.
  {"PositiveValuesWrapNegative_Max", kMax, {2, 2, 10, {{1, 2147483647}, {1, 1}}}, 0, {}, 0},
  {"PositiveValuesWrapNegative_Max1", kMax1, {2, 2, 10, {{1, 2147483647}, {1, 1}}},
   2147483647, {1}, 2147483647},
  // Two negative values wrap to the largest total.
  {"NegativeValuesWrapPositive_Max", kMax, {2, 2, 10, {{0, -2147483647 - 1}, {0, -1}}},
   2147483647, {1, 2}, 2147483647},
  {"NegativeValuesWrapPositive_Bag", kBag, {2, 2, 10, {{0, -2147483647 - 1}, {0, -1}}},
   2147483647, {1, 2}, 2147483647},
  // A heavy candidate wraps the weight total below the limit.
  {"WeightWrapsUnderLimit_Bag", kBag, {2, 2, 10, {{1, 0}, {2147483647, 0}}}, 0, {1, 2}, 0},
  {"WeightWrapsUnderLimit_Max", kMax, {2, 2, 10, {{1, 0}, {2147483647, 0}}}, 0, {1, 2}, 0},
}), RowName);

// The search starts from the bar the caller leaves in BestValue; it never lowers it to 0.
TEST(SearchBar, StartsFromCallersBestValue) {
  for (auto variant : {kBag, kMax, kMax1}) {
    auto engine = NewEngine();
    engine->MaxBagWeight = 8;
    for (std::size_t i = 1; i <= 4; ++i) engine->ItemTable[i] = kSample[i - 1];
    engine->BestValue = 1000;
    engine->BagSlotCount = 3;
    engine->ItemCount = 4;
    const std::int32_t returned = bagfunc::RunVariant(*engine, variant).returned;
    EXPECT_EQ(returned, 1000);
    EXPECT_EQ(engine->BestValue, 1000);
    EXPECT_TRUE(PickOf(*engine).empty());
  }
}

// A refused argument changes nothing at all, not even picks left from before.
TEST(SearchBar, RefusedArgumentsLeaveTablesAlone) {
  auto engine = NewEngine();
  engine->TrialPick[3] = 7;
  engine->BestPick[1] = 2;
  engine->BestValue = 5;
  EXPECT_EQ(engine->SolveBag(0, 4), -1);
  EXPECT_EQ(engine->SolveBagMax(2, 0), -2);
  EXPECT_EQ(engine->SolveBagMaxWith1Data(-3, -3), -1);
  EXPECT_EQ(engine->TrialPick[3], 7);
  EXPECT_EQ(engine->BestPick[1], 2);
  EXPECT_EQ(engine->BestValue, 5);
}

// The largest problem: a pick of every one of the 9999 items still ends in a mark inside the
// table, whatever the slot limit.
TEST(SearchLimits, FullTablePickKeepsItsEndMark) {
  auto engine = NewEngine();
  engine->MaxBagWeight = 0;
  for (std::size_t i = 1; i <= bagfunc::kMaxItemCount; ++i) engine->ItemTable[i] = {0, 1};
  // Pass 1 grows the trial to every item; no later trial reaches its value again.
  EXPECT_EQ(engine->SolveBag(2147483647, bagfunc::kMaxItemCount), bagfunc::kMaxItemCount);
  const Pick pick = PickOf(*engine);
  ASSERT_EQ(pick.size(), static_cast<std::size_t>(bagfunc::kMaxItemCount));
  EXPECT_EQ(pick.front(), 1);
  EXPECT_EQ(pick.back(), bagfunc::kMaxItemCount);
  EXPECT_EQ(engine->BestPick[bagfunc::kTableSize - 1], -1);
}

TEST(SearchLimits, ItemCountPastTableIsCut) {
  auto engine = NewEngine();
  engine->MaxBagWeight = 10;
  engine->ItemTable[bagfunc::kMaxItemCount - 1] = {1, 5};
  engine->ItemTable[bagfunc::kMaxItemCount] = {1, 6};
  EXPECT_EQ(engine->SolveBagMax(2, 2147483647), 11);
  EXPECT_EQ(PickOf(*engine), (Pick{bagfunc::kMaxItemCount - 1, bagfunc::kMaxItemCount}));
}

}  // namespace
}  // namespace enginetest
