// The solve command: echo, report, failures and what stays in the tables between commands.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "tests/engine/problem.h"

namespace enginetest {
namespace {

using bagfunc::SolveVariant;
using bagfunc::StringLines;
using Lines = std::vector<std::string>;

const std::string kStars(29, '*');
const std::string kEquals(32, '=');

const Lines kSampleEcho{
    "待放入背包的物体的数量=4", "Items Count for Wait to bag=4", "背包的格数=3",
    "Bag Items Count=3",       "背包的最大重量=8",              "Max bag Weight=8",
    "Item[1],Weight=1,value=22", "Item[2],Weight=3,value=4",  "Item[3],Weight=5,value=6",
    "Item[4],Weight=7,value=8"};

StringLines SampleInput() { return StringLines({"4", "3", "8", "1,22", "3,4", "5,6", "7,8", ""}); }

Lines Concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Lines RunLines(bagfunc::BagEngine& engine, const StringLines& src, SolveVariant variant) {
  StringLines dst({"就绪"});
  EXPECT_EQ(engine.RunSolveCommand(&src, &dst, variant), 0);
  return dst.Lines();
}

TEST(SolveCommand, SampleProblemGivesTheTwentyTwoLines) {
  auto engine = NewEngine();
  const Lines expected = Concat(kSampleEcho, {
      kStars, "背包重量Weight=8", "背包重量Value=26",
      "背包中物体Item 1序号 Id =1", "背包中物体1序号重量ItemWeight=1",
      "背包中物体1序号价值ItemValue=22",
      "背包中物体Item 2序号 Id =2", "背包中物体2序号重量ItemWeight=3",
      "背包中物体2序号价值ItemValue=4",
      kEquals, "背包中物体总重量Total Weights =4", "背包中物体总价值Total Value =26"});
  EXPECT_EQ(RunLines(*engine, SampleInput(), SolveVariant::SolveBag), expected);
  // The same command again yields the same text.
  EXPECT_EQ(RunLines(*engine, SampleInput(), SolveVariant::SolveBag), expected);
}

TEST(SolveCommand, SolveMaxVariantsReportItemsOneAndFour) {
  const Lines expected = Concat(kSampleEcho, {
      kStars, "背包重量Weight=8", "背包重量Value=30",
      "背包中物体Item 1序号 Id =1", "背包中物体1序号重量ItemWeight=1",
      "背包中物体1序号价值ItemValue=22",
      "背包中物体Item 2序号 Id =4", "背包中物体2序号重量ItemWeight=7",
      "背包中物体2序号价值ItemValue=8",
      kEquals, "背包中物体总重量Total Weights =8", "背包中物体总价值Total Value =30"});
  for (auto variant : {SolveVariant::SolveBagMax, SolveVariant::SolveBagMaxWith1Data}) {
    auto engine = NewEngine();
    EXPECT_EQ(RunLines(*engine, SampleInput(), variant), expected);
  }
}

struct ReportRow {
  const char* name;
  Problem problem;
  SolveVariant variant;
  Lines block;  // the lines after the echo
};

void PrintTo(const ReportRow& row, std::ostream* out) { *out << row.name; }

class ReportBlock : public testing::TestWithParam<ReportRow> {};

TEST_P(ReportBlock, FollowsTheEcho) {
  const ReportRow& row = GetParam();
  auto engine = NewEngine();
  const Lines lines = RunLines(*engine, ProblemLines(row.problem), row.variant);
  const std::size_t echo = 6 + static_cast<std::size_t>(std::max(row.problem.itemCount, 0));
  ASSERT_GE(lines.size(), echo);
  EXPECT_EQ(Lines(lines.begin() + static_cast<std::ptrdiff_t>(echo), lines.end()), row.block);
}

const Lines kEmptyTail{kEquals, "背包中物体总重量Total Weights =0", "背包中物体总价值Total Value =0"};

INSTANTIATE_TEST_SUITE_P(Rows, ReportBlock, testing::ValuesIn(std::vector<ReportRow>{
  {"NothingRecorded", {3, 2, 8, {{9, 5}, {10, 6}, {20, 7}}}, SolveVariant::SolveBagMax,
   Concat({kStars, "背包重量Weight=8", "背包重量Value=0"}, kEmptyTail)},
  {"SearchRefusedSlots", {4, 0, 8, {{1, 22}, {3, 4}, {5, 6}, {7, 8}}}, SolveVariant::SolveBag,
   Concat({kStars, "背包重量Weight=8", "背包重量Value=0"}, kEmptyTail)},
  {"NoItemsNoEchoLines", {0, 3, 8, {}}, SolveVariant::SolveBagMaxWith1Data,
   Concat({kStars, "背包重量Weight=8", "背包重量Value=0"}, kEmptyTail)},
  {"NegativeItemCount", {-3, 3, 8, {}}, SolveVariant::SolveBag,
   Concat({kStars, "背包重量Weight=8", "背包重量Value=0"}, kEmptyTail)},
  {"SingleItemPick", {4, 1, 8, {{1, 22}, {3, 4}, {5, 6}, {7, 8}}},
   SolveVariant::SolveBagMaxWith1Data,
   {kStars, "背包重量Weight=8", "背包重量Value=22", "背包中物体Item 1序号 Id =1",
    "背包中物体1序号重量ItemWeight=1", "背包中物体1序号价值ItemValue=22", kEquals,
    "背包中物体总重量Total Weights =1", "背包中物体总价值Total Value =22"}},
  {"NegativeNumbersAndLimitNotPickWeight", {3, 2, 1, {{-4, 3}, {5, 4}, {2, 9}}},
   SolveVariant::SolveBagMax,
   {kStars, "背包重量Weight=1", "背包重量Value=12", "背包中物体Item 1序号 Id =1",
    "背包中物体1序号重量ItemWeight=-4", "背包中物体1序号价值ItemValue=3",
    "背包中物体Item 2序号 Id =3", "背包中物体2序号重量ItemWeight=2",
    "背包中物体2序号价值ItemValue=9", kEquals, "背包中物体总重量Total Weights =-2",
    "背包中物体总价值Total Value =12"}},
  {"TotalsWrap", {2, 2, 10, {{1, 0}, {2147483647, 0}}}, SolveVariant::SolveBag,
   {kStars, "背包重量Weight=10", "背包重量Value=0", "背包中物体Item 1序号 Id =1",
    "背包中物体1序号重量ItemWeight=1", "背包中物体1序号价值ItemValue=0",
    "背包中物体Item 2序号 Id =2", "背包中物体2序号重量ItemWeight=2147483647",
    "背包中物体2序号价值ItemValue=0", kEquals,
    "背包中物体总重量Total Weights =-2147483648", "背包中物体总价值Total Value =0"}},
}));

// What a failing header line leaves, by the line that fails.
struct FailureRow {
  const char* name;
  Lines input;
  std::string message;
  Lines output;
  std::int32_t itemCount;
  std::int32_t slotCount;
};

void PrintTo(const FailureRow& row, std::ostream* out) { *out << row.name; }

class HeaderFailure : public testing::TestWithParam<FailureRow> {};

TEST_P(HeaderFailure, StopsAndKeepsWhatWasWritten) {
  const FailureRow& row = GetParam();
  auto engine = NewEngine();
  RunLines(*engine, SampleInput(), SolveVariant::SolveBagMax);  // leaves picks and items
  const auto items = engine->ItemTable;

  const StringLines src(row.input);
  StringLines dst({"old line"});
  try {
    engine->RunSolveCommand(&src, &dst, SolveVariant::SolveBag);
    ADD_FAILURE() << "no error raised";
  } catch (const bagfunc::EConvertError& error) {
    EXPECT_EQ(error.what(), row.message);
  }
  EXPECT_EQ(dst.Lines(), row.output);
  EXPECT_EQ(engine->ItemCount, row.itemCount);
  EXPECT_EQ(engine->BagSlotCount, row.slotCount);
  EXPECT_EQ(engine->MaxBagWeight, 0);
  EXPECT_EQ(engine->BestValue, 0);
  for (std::size_t p = 0; p < bagfunc::kTableSize; ++p) {
    ASSERT_EQ(engine->TrialPick[p], 0) << p;
    ASSERT_EQ(engine->BestPick[p], -1) << p;
  }
  EXPECT_TRUE(engine->ItemTable == items);
}

INSTANTIATE_TEST_SUITE_P(Rows, HeaderFailure, testing::ValuesIn(std::vector<FailureRow>{
  {"EmptyInput", {}, "'' is not a valid integer value", {}, 0, 0},
  {"Line0TrailingSpace", {"4 ", "3", "8"}, "'4 ' is not a valid integer value", {}, 0, 0},
  {"Line1", {"4", "three", "8"}, "'three' is not a valid integer value",
   {"待放入背包的物体的数量=4", "Items Count for Wait to bag=4"}, 4, 0},
  {"Line2Missing", {"4", "3"}, "'' is not a valid integer value",
   {"待放入背包的物体的数量=4", "Items Count for Wait to bag=4", "背包的格数=3",
    "Bag Items Count=3"}, 4, 3},
}));

TEST(SolveCommand, TooManyItemsRefusedBeforeAnyEcho) {
  auto engine = NewEngine();
  RunLines(*engine, SampleInput(), SolveVariant::SolveBag);
  const auto items = engine->ItemTable;
  for (const char* count : {"10000", "2147483647", "$FFFFFFF"}) {
    const StringLines src({count, "3", "8", "1,2"});
    StringLines dst({"old line"});
    try {
      engine->RunSolveCommand(&src, &dst, SolveVariant::SolveBagMax);
      ADD_FAILURE() << "no error raised for " << count;
    } catch (const bagfunc::EConvertError&) {
      ADD_FAILURE() << "refusal must not look like a conversion error";
    } catch (const bagfunc::Error& error) {
      EXPECT_STREQ(error.what(), "物体的数量不能超过9999 Items Count must not exceed 9999");
    }
    EXPECT_TRUE(dst.Lines().empty()) << count;
    EXPECT_EQ(engine->ItemCount, 0);
    EXPECT_EQ(engine->BestPick[1], -1);
    EXPECT_TRUE(engine->ItemTable == items);
  }
}

TEST(SolveCommand, LargestItemCountIsAccepted) {
  auto engine = NewEngine();
  const StringLines src({"9999", "9999", "0"});
  StringLines dst;
  EXPECT_EQ(engine->RunSolveCommand(&src, &dst, SolveVariant::SolveBag), 0);
  EXPECT_EQ(dst.Lines().size(), 6u + 9999u + 6u + 3u * 2u);
  EXPECT_EQ(dst.Lines()[6 + 9998], "Item[9999],Weight=0,value=0");
}

TEST(SolveCommand, StaleFieldsComeFromTheLastProblem) {
  auto engine = NewEngine();
  RunLines(*engine, SampleInput(), SolveVariant::SolveBag);
  const Lines lines = RunLines(*engine, StringLines({"2", "1", "5", "9", "4;7"}),
                               SolveVariant::SolveBag);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[6], "Item[1],Weight=9,value=22");
  EXPECT_EQ(lines[7], "Item[2],Weight=4,value=4");
}

TEST(SolveCommand, MissingItemLinesShowEarlierEntries) {
  auto engine = NewEngine();
  RunLines(*engine, SampleInput(), SolveVariant::SolveBag);
  const Lines lines = RunLines(*engine, StringLines({"5", "2", "100", "2,2"}),
                               SolveVariant::SolveBag);
  ASSERT_GE(lines.size(), 11u);
  EXPECT_EQ(lines[6], "Item[1],Weight=2,value=2");
  EXPECT_EQ(lines[7], "Item[2],Weight=3,value=4");
  EXPECT_EQ(lines[9], "Item[4],Weight=7,value=8");
  EXPECT_EQ(lines[10], "Item[5],Weight=0,value=0");
}

TEST(SolveCommand, LinesAfterTheLastItemAreNotRead) {
  auto engine = NewEngine();
  const Lines lines = RunLines(*engine, StringLines({"2", "3", "8", "1,22", "3,4", "5,6"}),
                               SolveVariant::SolveBag);
  EXPECT_EQ(lines.size(), 6u + 2u + 12u);  // echo, two items, a two-item report
  EXPECT_EQ(engine->ItemTable[3], (bagfunc::Item{0, 0}));
}

TEST(SolveCommand, EchoShowsConvertedNumbers) {
  auto engine = NewEngine();
  const Lines lines = RunLines(*engine, StringLines({"  001", "$10", "-0"}),
                               SolveVariant::SolveBag);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "待放入背包的物体的数量=1");
  EXPECT_EQ(lines[3], "Bag Items Count=16");
}

TEST(SolveCommand, MissingListsChangeNothingButTheScalars) {
  auto engine = NewEngine();
  RunLines(*engine, SampleInput(), SolveVariant::SolveBag);
  const StringLines src = SampleInput();
  StringLines dst({"kept"});
  EXPECT_EQ(engine->RunSolveCommand(nullptr, &dst, SolveVariant::SolveBag), -1);
  EXPECT_EQ(engine->RunSolveCommand(&src, nullptr, SolveVariant::SolveBag), -2);
  EXPECT_EQ(dst.Lines(), Lines{"kept"});
  EXPECT_EQ(engine->ItemCount, 0);
  EXPECT_EQ(engine->BestValue, 0);
  EXPECT_EQ(PickOf(*engine), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(engine->ReportBestPick(nullptr), -1);
}

TEST(SolveCommand, ProcessEngineIsOneEngine) {
  EXPECT_EQ(&bagfunc::ProcessEngine(), &bagfunc::ProcessEngine());
}

}  // namespace
}  // namespace enginetest
