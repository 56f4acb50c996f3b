// The best packing against the cbc program (COIN-OR branch and cut) on medium problems. cbc is
// installed by ./build.sh deps; when it is missing these tests fail rather than pass unseen.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <random>

#include "engine/exact.h"
#include "tests/oracle/bestvalue.h"
#include "tests/oracle/hardclasses.h"

namespace enginetest {
namespace {

// The best packing, without a time limit, proves the value CBC proves.
void ExpectAsCbc(const bagfunc::ExactProblem& problem) {
  std::string folder = (std::filesystem::temp_directory_path() / "cbc_test_XXXXXX").string();
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  const auto cbc =
      oracle::SolveWithCbc(problem.items, problem.slotLimit, problem.maxWeight, 120, folder);
  std::filesystem::remove_all(folder);
  ASSERT_TRUE(cbc.ran) << "the cbc program did not run (is coinor-cbc installed?)";
  ASSERT_TRUE(cbc.proven) << cbc.status;
  bagfunc::ExactOptions options;
  options.timeLimitSeconds = 0;
  const auto result = bagfunc::SolveExact(problem, options);
  EXPECT_TRUE(result.optimal);
  EXPECT_EQ(result.feasible, cbc.answer.feasible);
  EXPECT_EQ(result.totalValue, cbc.answer.value) << cbc.status;
}

struct CbcRow {
  const char* name;
  int items;
  std::int32_t weightLow, weightHigh;
  std::int32_t valueLow, valueHigh;
  // Both 0: values drawn apart from the weights. Else value = weight + correlation + a number
  // drawn from -noise..noise, at least 1.
  std::int32_t correlation;
  std::int32_t noise;
  std::int32_t slots;
  std::int32_t limit;
};

void PrintTo(const CbcRow& row, std::ostream* out) { *out << row.name; }

class AgainstCbc : public testing::TestWithParam<CbcRow> {};

TEST_P(AgainstCbc, SameBestValue) {
  const CbcRow& row = GetParam();
  std::mt19937 random(static_cast<unsigned>(row.items * 31 + row.slots));
  std::uniform_int_distribution<std::int32_t> weight(row.weightLow, row.weightHigh);
  std::uniform_int_distribution<std::int32_t> value(row.valueLow, row.valueHigh);
  bagfunc::ExactProblem problem;
  std::uniform_int_distribution<std::int32_t> noise(-row.noise, row.noise);
  for (int i = 0; i < row.items; ++i) {
    const std::int32_t w = weight(random);
    const bool apart = row.correlation == 0 && row.noise == 0;
    problem.items.push_back({w, apart ? value(random)
                                      : std::max(1, w + row.correlation + noise(random))});
  }
  problem.slotLimit = row.slots;
  problem.maxWeight = row.limit;

  ExpectAsCbc(problem);
}

INSTANTIATE_TEST_SUITE_P(Rows, AgainstCbc, testing::Values(
    CbcRow{"Uncorrelated", 200, 1, 1000, 1, 1000, 0, 0, 10, 5000},
    CbcRow{"StronglyCorrelated", 80, 1, 1000, 0, 0, 100, 0, 80, 20001},
    CbcRow{"MixedSigns", 120, -500, 1000, -200, 1000, 0, 0, 20, 2000},
    CbcRow{"NegativeLimit", 60, -100, 100, -100, 100, 0, 0, 15, -300},
    CbcRow{"SmallNumbersManyTies", 150, 1, 20, 1, 20, 0, 0, 40, 150},
    // Many items tie and the slots allow more items than fit by weight.
    CbcRow{"WeaklyCorrelatedManyTies", 1000, 1, 100, 0, 0, 0, 10, 1000, 25000},
    CbcRow{"InverseStronglyCorrelated", 1000, 11, 110, 0, 0, -10, 0, 1000, 30000}),
    [](const auto& info) { return std::string(info.param.name); });

// The classes that take many exchanges among items of nearly one value per weight, at a size
// where the table cannot serve: spanner, profit ceiling, circle, inverse strongly correlated.
// (CBC does not prove the strongly correlated spanner without a slot limit in minutes.)
struct HardCbcRow {
  const char* name;
  int classNumber;
  std::int32_t slots;
};

void PrintTo(const HardCbcRow& row, std::ostream* out) { *out << row.name; }

class HardClassAgainstCbc : public testing::TestWithParam<HardCbcRow> {};

TEST_P(HardClassAgainstCbc, SameBestValue) {
  const HardCbcRow& row = GetParam();
  const auto instance = oracle::MakeHardInstance(row.classNumber, 400, 10000, 3);
  const bagfunc::ExactProblem problem{instance.items, row.slots,
                                      *oracle::HardWeightLimit(instance, 50)};
  ExpectAsCbc(problem);
}

INSTANTIATE_TEST_SUITE_P(Rows, HardClassAgainstCbc, testing::Values(
    HardCbcRow{"StronglyCorrelatedSpannerSlots", 13, 40},
    HardCbcRow{"WeaklyCorrelatedSpanner", 12, 400},
    HardCbcRow{"InverseStronglyCorrelated", 4, 400},
    HardCbcRow{"ProfitCeilingSlots", 15, 40},
    HardCbcRow{"Circle", 16, 400},
    HardCbcRow{"CircleSlots", 16, 40}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace enginetest
