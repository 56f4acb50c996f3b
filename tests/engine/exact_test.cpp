// The best packing against answers found without it: every subset for small problems, a table
// over slots and weight for larger ones with small numbers; and what an interrupted search
// leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <random>
#include <set>

#include "engine/exact.h"
#include "engine/exact/bound.h"
#include "tests/oracle/bestvalue.h"
#include "tests/oracle/hardclasses.h"

namespace enginetest {
namespace {

using bagfunc::ExactOptions;
using bagfunc::ExactProblem;
using bagfunc::ExactResult;
using bagfunc::Item;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// What every result must be, however the search ended.
void ExpectValid(const ExactProblem& problem, const ExactResult& result) {
  std::int64_t weight = 0;
  std::int64_t value = 0;
  std::set<std::int32_t> seen;
  for (const std::int32_t number : result.pick) {
    ASSERT_GE(number, 1);
    ASSERT_LE(number, static_cast<std::int32_t>(problem.items.size()));
    ASSERT_TRUE(seen.insert(number).second) << "item " << number << " twice";
    weight += problem.items[static_cast<std::size_t>(number - 1)].Weight;
    value += problem.items[static_cast<std::size_t>(number - 1)].Value;
  }
  EXPECT_TRUE(std::is_sorted(result.pick.begin(), result.pick.end()));
  EXPECT_EQ(result.totalWeight, weight);
  EXPECT_EQ(result.totalValue, value);
  if (result.feasible) {
    EXPECT_LE(weight, problem.maxWeight);
    EXPECT_LE(static_cast<std::int64_t>(result.pick.size()),
              std::max<std::int64_t>(problem.slotLimit, 0));
    EXPECT_GE(result.upperBound, result.totalValue);
    EXPECT_EQ(result.optimal, result.upperBound == result.totalValue);
  } else {
    EXPECT_TRUE(result.pick.empty());
  }
}

// Numbers drawn for one kind of problem.
struct Shape {
  const char* name;
  std::int32_t low, high;  // weights and values uniform in low..high...
  int extremePercent;      // ...except this share, drawn from the 32-bit extremes
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

Item RandomItem(std::mt19937& random, const Shape& shape) {
  std::uniform_int_distribution<std::int32_t> number(shape.low, shape.high);
  std::uniform_int_distribution<int> percent(0, 99);
  constexpr std::int32_t kExtremes[] = {kMin, kMin + 1, -kMax / 2, kMax / 2, kMax - 1, kMax};
  const auto draw = [&] {
    if (percent(random) < shape.extremePercent) return kExtremes[percent(random) % 6];
    return number(random);
  };
  const std::int32_t weight = draw();
  return {weight, draw()};
}

// A weight limit around the interesting edges: below every set, none, half, everything.
std::int32_t RandomLimit(std::mt19937& random, const std::vector<Item>& items) {
  std::int64_t negative = 0;
  std::int64_t positive = 0;
  for (const Item& item : items) (item.Weight < 0 ? negative : positive) += item.Weight;
  std::uniform_int_distribution<std::int64_t> between(negative - 2, positive / 2 + 2);
  const std::int64_t choices[] = {between(random), between(random), between(random), 0, -1,
                                  kMin, kMax};
  const std::int64_t limit = choices[std::uniform_int_distribution<int>(0, 6)(random)];
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(limit, kMin, kMax));
}

class AgainstEverySubset : public testing::TestWithParam<Shape> {};

TEST_P(AgainstEverySubset, SameBestValueForEverySlotLimit) {
  const Shape& shape = GetParam();
  std::mt19937 random(20231);
  for (int problemNumber = 0; problemNumber < 160; ++problemNumber) {
    const int n = problemNumber < 150 ? problemNumber % 13 : 13 + problemNumber % 6;
    ExactProblem problem;
    for (int i = 0; i < n; ++i) problem.items.push_back(RandomItem(random, shape));
    problem.maxWeight = RandomLimit(random, problem.items);
    const auto answers = oracle::BestBySlotLimitTryingAll(problem.items, problem.maxWeight);
    for (std::int32_t slots : {kMin, -1}) {
      problem.slotLimit = slots;
      EXPECT_EQ(bagfunc::SolveExact(problem).totalValue, 0);
    }
    for (std::int32_t slots = 0; slots <= n + 1; ++slots) {
      problem.slotLimit = slots;
      const auto& expected = answers[static_cast<std::size_t>(std::min(slots, n))];
      const ExactResult result = bagfunc::SolveExact(problem);
      const auto context = testing::Message() << "problem " << problemNumber << " items " << n
                                              << " slots " << slots << " limit "
                                              << problem.maxWeight;
      ASSERT_EQ(result.feasible, expected.feasible) << context;
      ASSERT_EQ(result.totalValue, expected.feasible ? expected.value : 0) << context;
      ASSERT_TRUE(result.optimal) << context;
      ASSERT_EQ(result.ending, bagfunc::ExactEnding::Finished) << context;
      ExpectValid(problem, result);
      EXPECT_EQ(bagfunc::SolveExact(problem).pick, result.pick) << context;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, AgainstEverySubset, testing::Values(
    Shape{"TiesAndZeros", -2, 3, 0},
    Shape{"SmallPositive", 0, 9, 0},
    Shape{"WideMixedSigns", -1000, 1000, 0},
    Shape{"Extremes", -5, 5, 30},
    Shape{"MostlyExtremes", -1, 1, 80}),
    [](const auto& info) { return std::string(info.param.name); });

// Larger problems with small numbers, against the table over slot count and weight.
TEST(AgainstTable, HundredsOfItems) {
  std::mt19937 random(7);
  struct Size { int items; std::int32_t low, high; };
  for (const Size size : {Size{300, 0, 30}, Size{300, 1, 12}, Size{120, -8, 25},
                          Size{200, -3, 6}}) {
    for (int round = 0; round < 4; ++round) {
      ExactProblem problem;
      std::int64_t total = 0;
      for (int i = 0; i < size.items; ++i) {
        std::uniform_int_distribution<std::int32_t> number(size.low, size.high);
        const std::int32_t weight = number(random);
        problem.items.push_back({weight, number(random)});
        total += weight;
      }
      problem.maxWeight = static_cast<std::int32_t>(total / (2 + round));
      const auto answers =
          oracle::BestBySlotLimitByTable(problem.items, problem.maxWeight, size.items);
      for (std::int32_t slots : {1, 3, size.items / 10, size.items / 3, size.items}) {
        problem.slotLimit = slots;
        const auto& expected = answers[static_cast<std::size_t>(slots)];
        ExactOptions options;
        options.timeLimitSeconds = 0;
        const ExactResult result = bagfunc::SolveExact(problem, options);
        ASSERT_EQ(result.totalValue, expected.value)
            << size.items << " items " << size.low << ".." << size.high << " slots " << slots;
        ASSERT_TRUE(result.optimal);
        ExpectValid(problem, result);
      }
    }
  }
}

// Small instances of the classes of the knapsack literature, three items turned negative (in
// weight and value, in weight, in value): against every subset, and against the table over
// slot count and weight with more items, with and without a slot limit that binds.
class HardClassAgainstReferences : public testing::TestWithParam<oracle::HardClass> {};

std::vector<Item> WithNegatives(std::vector<Item> items) {
  items[0] = {-items[0].Weight, -items[0].Value};
  items[1].Weight = -items[1].Weight;
  items[2].Value = -items[2].Value;
  return items;
}

TEST_P(HardClassAgainstReferences, SameBestValue) {
  const int classNumber = GetParam().number;
  ExactOptions options;
  options.timeLimitSeconds = 0;
  for (const int h : {25, 50, 75}) {
    const auto small = oracle::MakeHardInstance(classNumber, 16, 1000, static_cast<unsigned>(h));
    ExactProblem problem{WithNegatives(small.items), 0, *oracle::HardWeightLimit(small, h)};
    const auto answers = oracle::BestBySlotLimitTryingAll(problem.items, problem.maxWeight);
    for (const std::int32_t slots : {16, 3}) {
      problem.slotLimit = slots;
      const ExactResult result = bagfunc::SolveExact(problem, options);
      const auto context = testing::Message() << "16 items, h " << h << ", slots " << slots;
      ASSERT_EQ(result.totalValue, answers[static_cast<std::size_t>(slots)].value) << context;
      ASSERT_TRUE(result.optimal) << context;
      ExpectValid(problem, result);
      EXPECT_EQ(bagfunc::SolveExact(problem, options).pick, result.pick) << context;
    }
  }
  if (classNumber == 9) return;  // weights of 100,000 and more, whatever the range: no table
  const auto larger = oracle::MakeHardInstance(classNumber, 100, 60, 1);
  ExactProblem problem{WithNegatives(larger.items), 0, *oracle::HardWeightLimit(larger, 50)};
  const auto answers = oracle::BestBySlotLimitByTable(problem.items, problem.maxWeight, 100);
  for (const std::int32_t slots : {100, 10}) {
    problem.slotLimit = slots;
    const ExactResult result = bagfunc::SolveExact(problem, options);
    ASSERT_EQ(result.totalValue, answers[static_cast<std::size_t>(slots)].value)
        << "100 items, slots " << slots;
    ASSERT_TRUE(result.optimal);
    ExpectValid(problem, result);
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, HardClassAgainstReferences,
                         testing::ValuesIn(oracle::HardClasses()), [](const auto& info) {
                           std::string name = "Class" + std::to_string(info.param.number);
                           return name;
                         });

// A problem whose bound no pick meets (even weights that are the values, under an odd limit),
// with one odd item worth less than its weight so that no divisor of the weights or values
// settles it, and weights far too large for the table: the search proper runs for much longer
// than any limit set here, on any machine, so how the run ends never depends on its speed.
ExactProblem OpenProblem() {
  std::mt19937 random(99);
  std::uniform_int_distribution<std::int32_t> weight(1'000'000, 2'000'000);
  ExactProblem problem;
  std::int64_t total = 0;
  for (int i = 0; i < 400; ++i) {
    const std::int32_t w = 2 * weight(random);
    problem.items.push_back({w, w});
    total += w;
  }
  problem.items.push_back({3, 1});
  problem.slotLimit = 401;
  problem.maxWeight = static_cast<std::int32_t>(total / 2) | 1;  // odd: never filled exactly
  return problem;
}

TEST(Interrupted, StopRequestKeepsAValidPickAndItsBound) {
  const ExactProblem problem = OpenProblem();
  std::atomic<bool> stop{false};
  ExactOptions options;
  options.stop = &stop;
  int reports = 0;
  options.progress = [&](const bagfunc::ExactProgress& progress) {
    ++reports;
    EXPECT_GE(progress.upperBound, progress.totalValue);
    stop = true;
  };
  const ExactResult result = bagfunc::SolveExact(problem, options);
  EXPECT_EQ(result.ending, bagfunc::ExactEnding::StopRequest);
  EXPECT_TRUE(result.feasible);
  EXPECT_FALSE(result.optimal);
  EXPECT_GT(result.upperBound, result.totalValue);
  EXPECT_GT(reports, 0);
  ExpectValid(problem, result);
}

// The limit ends the search proper, in the middle of its tree.
TEST(Interrupted, TimeLimitKeepsAValidPickAndItsBound) {
  const ExactProblem problem = OpenProblem();
  ExactOptions options;
  options.timeLimitSeconds = 0.3;
  const ExactResult result = bagfunc::SolveExact(problem, options);
  EXPECT_EQ(result.ending, bagfunc::ExactEnding::TimeLimit);
  EXPECT_TRUE(result.feasible);
  EXPECT_GT(result.upperBound, result.totalValue);
  ExpectValid(problem, result);
}

// Without a count limit that binds, the bound is Dantzig's: the items by value per weight as
// long as they fit, and the fraction of the next that fills the limit.
struct DantzigRow {
  const char* name;
  int items;
  std::int32_t low, high;  // weights and values
  unsigned seed;
};

void PrintTo(const DantzigRow& row, std::ostream* out) { *out << row.name; }

class BoundWithoutCountLimits : public testing::TestWithParam<DantzigRow> {};

TEST_P(BoundWithoutCountLimits, IsDantzigsBound) {
  const DantzigRow& row = GetParam();
  std::mt19937 random(row.seed);
  std::uniform_int_distribution<std::int32_t> draw(row.low, row.high);
  std::vector<bagfunc::BoundItem> items;
  std::int64_t weights = 0;
  for (int i = 0; i < row.items; ++i) {
    items.push_back({draw(random), draw(random)});
    weights += items.back().weight;
  }
  for (const std::int64_t capacity : {weights / 7, weights / 2, weights - 1}) {
    std::vector<bagfunc::BoundItem> order = items;
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
      return a.value * b.weight > b.value * a.weight;
    });
    std::int64_t room = capacity;
    std::int64_t expected = 0;
    for (const bagfunc::BoundItem& item : order) {
      if (item.weight > room) {
        expected += static_cast<std::int64_t>(bagfunc::Wide{room} * item.value / item.weight);
        break;
      }
      room -= item.weight;
      expected += item.value;
    }
    const auto limits = bagfunc::BoundLimits{capacity, 0, static_cast<std::int64_t>(row.items)};
    EXPECT_EQ(bagfunc::MinimiseBound(items, limits).Bound(), expected) << "limit " << capacity;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BoundWithoutCountLimits, testing::Values(
    DantzigRow{"SmallNumbers", 40, 1, 20, 1},        // many ties in value per weight
    DantzigRow{"LargeNumbers", 2000, 1, 1'000'000, 2},
    DantzigRow{"Extremes", 300, kMax - 1000, kMax, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// Multiple strongly correlated items: every value is the weight plus 2 or 3 million, so the bound
// of the values' steps is met by a pick that fills the limit exactly, which the search finds
// well before it could prove it on its own bound. Meeting the bound ends the search there.
TEST(Settled, APickThatMeetsTheBoundEndsTheSearch) {
  const auto instance = oracle::MakeHardInstance(14, 1000, 10'000'000, 1);
  const ExactProblem problem{instance.items, 1000, *oracle::HardWeightLimit(instance, 25)};
  ExactOptions options;
  options.timeLimitSeconds = 120;
  const ExactResult result = bagfunc::SolveExact(problem, options);
  EXPECT_EQ(result.ending, bagfunc::ExactEnding::Finished);
  EXPECT_TRUE(result.optimal);
  EXPECT_EQ(result.totalWeight, problem.maxWeight);
  ExpectValid(problem, result);
}

}  // namespace
}  // namespace enginetest
