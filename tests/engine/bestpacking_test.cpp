// The best packing seen from outside: its report lines after the solve command's echo, and
// the one dispatch that runs any variant.
#include <gtest/gtest.h>

#include <atomic>

#include "engine/exact.h"
#include "engine/variant.h"
#include "tests/engine/problem.h"

namespace enginetest {
namespace {

using bagfunc::SolveVariant;
using bagfunc::StringLines;
using Lines = std::vector<std::string>;

const std::string kStars(29, '*');
const std::string kEquals(32, '=');

struct BlockRow {
  const char* name;
  Problem problem;
  Lines block;  // the lines after the echo
};

void PrintTo(const BlockRow& row, std::ostream* out) { *out << row.name; }

class BestPackingBlock : public testing::TestWithParam<BlockRow> {};

TEST_P(BestPackingBlock, FollowsTheEcho) {
  const BlockRow& row = GetParam();
  auto engine = NewEngine();
  const StringLines src = ProblemLines(row.problem);
  StringLines dst;
  ASSERT_EQ(engine->RunSolveCommand(&src, &dst, SolveVariant::BestPacking), 0);
  const std::size_t echo = 6 + static_cast<std::size_t>(std::max(row.problem.itemCount, 0));
  ASSERT_GE(dst.Lines().size(), echo);
  EXPECT_EQ(Lines(dst.Lines().begin() + static_cast<std::ptrdiff_t>(echo), dst.Lines().end()),
            row.block);
  // The searches' tables are left as the command's reset leaves them.
  EXPECT_TRUE(PickOf(*engine).empty());
  EXPECT_EQ(engine->BestValue, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, BestPackingBlock, testing::ValuesIn(std::vector<BlockRow>{
  {"SampleProblem", SampleProblem(),
   {kStars, "背包重量Weight=8", "背包重量Value=30",
    "背包中物体Item 1序号 Id =1", "背包中物体1序号重量ItemWeight=1", "背包中物体1序号价值ItemValue=22",
    "背包中物体Item 2序号 Id =4", "背包中物体2序号重量ItemWeight=7", "背包中物体2序号价值ItemValue=8",
    kEquals, "背包中物体总重量Total Weights =8", "背包中物体总价值Total Value =30",
    "最优价值上界Upper Bound =30", "已证明为最优解Proven Optimal"}},
  // Three items past the 32-bit range: the totals are exact, not wrapped.
  {"TotalsBeyondThirtyTwoBits", {3, 3, 10, {{1, 2147483647}, {2, 2147483647}, {3, 2147483647}}},
   {kStars, "背包重量Weight=10", "背包重量Value=6442450941",
    "背包中物体Item 1序号 Id =1", "背包中物体1序号重量ItemWeight=1",
    "背包中物体1序号价值ItemValue=2147483647",
    "背包中物体Item 2序号 Id =2", "背包中物体2序号重量ItemWeight=2",
    "背包中物体2序号价值ItemValue=2147483647",
    "背包中物体Item 3序号 Id =3", "背包中物体3序号重量ItemWeight=3",
    "背包中物体3序号价值ItemValue=2147483647",
    kEquals, "背包中物体总重量Total Weights =6", "背包中物体总价值Total Value =6442450941",
    "最优价值上界Upper Bound =6442450941", "已证明为最优解Proven Optimal"}},
  // Only a set of negative weight fits; the one-slot limit allows none.
  {"NothingFits", {2, 1, -10, {{-3, 5}, {-4, 6}}},
   {kStars, "背包重量Weight=-10", "背包重量Value=0", kEquals, "背包中物体总重量Total Weights =0",
    "背包中物体总价值Total Value =0", "没有符合限制的装法No Feasible Pick"}},
  // The empty set is a pick: no slots, or nothing worth taking.
  {"NoSlotsEmptyPick", {4, 0, 8, SampleProblem().items},
   {kStars, "背包重量Weight=8", "背包重量Value=0", kEquals, "背包中物体总重量Total Weights =0",
    "背包中物体总价值Total Value =0", "最优价值上界Upper Bound =0", "已证明为最优解Proven Optimal"}},
  {"NoSlotsNegativeLimit", {1, 0, -1, {{-5, 1}}},
   {kStars, "背包重量Weight=-1", "背包重量Value=0", kEquals, "背包中物体总重量Total Weights =0",
    "背包中物体总价值Total Value =0", "没有符合限制的装法No Feasible Pick"}},
  // A negative limit met only by taking a loss.
  {"NegativeLimitCostsValue", {3, 2, -1, {{-5, -7}, {-3, -1}, {2, 9}}},
   {kStars, "背包重量Weight=-1", "背包重量Value=8",
    "背包中物体Item 1序号 Id =2", "背包中物体1序号重量ItemWeight=-3", "背包中物体1序号价值ItemValue=-1",
    "背包中物体Item 2序号 Id =3", "背包中物体2序号重量ItemWeight=2", "背包中物体2序号价值ItemValue=9",
    kEquals, "背包中物体总重量Total Weights =-1", "背包中物体总价值Total Value =8",
    "最优价值上界Upper Bound =8", "已证明为最优解Proven Optimal"}},
}), [](const auto& info) { return std::string(info.param.name); });

TEST(BestPackingBlock, StoppedSearchSaysNotProven) {
  bagfunc::ExactProblem problem;
  problem.items = {{1, 22}, {3, 4}, {5, 6}, {7, 8}};
  problem.slotLimit = 3;
  problem.maxWeight = 8;
  bagfunc::ExactResult result;  // as a search stopped before any pick would leave it
  result.feasible = true;
  result.upperBound = 40;
  StringLines dst;
  bagfunc::ReportExactPick(problem, result, dst);
  EXPECT_EQ(dst.Lines(), (Lines{kStars, "背包重量Weight=8", "背包重量Value=0", kEquals,
                                "背包中物体总重量Total Weights =0", "背包中物体总价值Total Value =0",
                                "最优价值上界Upper Bound =40", "未证明为最优解Not Proven Optimal"}));
}

// Items an earlier problem left in the table count, exactly as the searches see them.
TEST(BestPackingCommand, ReadsWhatTheItemLinesLeft) {
  auto engine = NewEngine();
  const StringLines sample = ProblemLines(SampleProblem());
  StringLines dst;
  engine->RunSolveCommand(&sample, &dst, SolveVariant::SolveBag);
  const StringLines next({"2", "1", "5", "9", "4;7"});
  engine->RunSolveCommand(&next, &dst, SolveVariant::BestPacking);
  // Item 1 is (9, 22) and too heavy; item 2 keeps its value 4 from the sample.
  EXPECT_EQ(dst.Lines()[6], "Item[1],Weight=9,value=22");
  EXPECT_EQ(dst.Lines()[11], "背包中物体Item 1序号 Id =2");
}

TEST(Dispatch, EveryVariantOnTheSampleProblem) {
  auto engine = NewEngine();
  const StringLines src = ProblemLines(SampleProblem());
  StringLines echo;
  ASSERT_EQ(engine->ReadProblem(&src, &echo), 0);
  EXPECT_EQ(echo.Lines().size(), 10u);
  const auto outcomes = bagfunc::RunAllVariants(*engine);
  ASSERT_EQ(outcomes.size(), 4u);
  struct Expected { SolveVariant variant; std::vector<std::int32_t> items; std::int64_t weight, value; };
  const Expected expected[] = {{SolveVariant::SolveBag, {1, 2}, 4, 26},
                               {SolveVariant::SolveBagMax, {1, 4}, 8, 30},
                               {SolveVariant::SolveBagMaxWith1Data, {1, 4}, 8, 30},
                               {SolveVariant::BestPacking, {1, 4}, 8, 30}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(outcomes[i].variant, expected[i].variant);
    EXPECT_EQ(outcomes[i].items, expected[i].items);
    EXPECT_EQ(outcomes[i].totalWeight, expected[i].weight);
    EXPECT_EQ(outcomes[i].totalValue, expected[i].value);
    EXPECT_EQ(outcomes[i].exact.has_value(), expected[i].variant == SolveVariant::BestPacking);
    EXPECT_EQ(bagfunc::VariantByName(bagfunc::VariantName(expected[i].variant)),
              expected[i].variant);
  }
  EXPECT_TRUE(outcomes[3].exact->optimal);
  EXPECT_FALSE(bagfunc::VariantByName("Best").has_value());
}

// A search's totals are the wrapped 32-bit ones its report prints.
TEST(Dispatch, SearchTotalsAsTheReportPrintsThem) {
  auto engine = NewEngine();
  const StringLines src = ProblemLines({2, 2, 10, {{1, 0}, {2147483647, 0}}});
  StringLines dst;
  engine->ReadProblem(&src, &dst);
  const auto outcome = bagfunc::RunVariant(*engine, SolveVariant::SolveBag);
  EXPECT_EQ(outcome.items, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(outcome.totalWeight, -2147483648LL);
  const auto best = bagfunc::RunVariant(*engine, SolveVariant::BestPacking);
  EXPECT_EQ(best.items, (std::vector<std::int32_t>{}));
  EXPECT_EQ(best.totalWeight, 0);
}

}  // namespace
}  // namespace enginetest
