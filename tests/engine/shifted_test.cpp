// The search of one count in shifted weights, against every subset of that count: for every
// count of small problems (the literature's classes with negative items mixed in, and numbers
// near the 32-bit extremes), it must find the best pick of exactly that many items once the
// best known is one below it, and nothing once the best known is that pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <limits>
#include <random>

#include "engine/exact/bound.h"
#include "engine/exact/session.h"
#include "engine/exact/shifted.h"
#include "tests/oracle/hardclasses.h"

namespace enginetest {
namespace {

using bagfunc::ExactProblem;
using bagfunc::Item;

struct Best {
  bool found = false;
  std::int64_t value = 0;
};

// The best value of exactly k items within the limit, for every k.
std::vector<Best> BestByCount(const std::vector<Item>& items, std::int64_t limit) {
  std::vector<Best> best(items.size() + 1);
  for (std::uint32_t set = 0; set < (1u << items.size()); ++set) {
    std::int64_t weight = 0;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if ((set >> i & 1u) == 0) continue;
      weight += items[i].Weight;
      value += items[i].Value;
    }
    if (weight > limit) continue;
    Best& b = best[static_cast<std::size_t>(std::popcount(set))];
    if (!b.found || value > b.value) b = {true, value};
  }
  return best;
}

struct CountRow {
  const char* name;
  int hardClass;            // 0: random numbers below
  std::int32_t low, high;   // their range
  int seeds;
};

void PrintTo(const CountRow& row, std::ostream* out) { *out << row.name; }

std::vector<Item> RowItems(const CountRow& row, unsigned seed, int n) {
  if (row.hardClass != 0) {
    std::vector<Item> items = oracle::MakeHardInstance(row.hardClass, n, 1000, seed).items;
    items[0] = {-items[0].Weight, -items[0].Value};
    items[1].Weight = -items[1].Weight;
    items[2].Value = -items[2].Value;
    return items;
  }
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::int32_t> number(row.low, row.high);
  std::vector<Item> items(static_cast<std::size_t>(n));
  for (Item& item : items) item = {number(random), number(random)};
  return items;
}

class ShiftedAgainstEverySubset : public testing::TestWithParam<CountRow> {};

TEST_P(ShiftedAgainstEverySubset, BestOfEachCount) {
  const CountRow& row = GetParam();
  for (int seed = 1; seed <= row.seeds; ++seed) {
    const int n = 9 + seed % 5;
    const std::vector<Item> items = RowItems(row, static_cast<unsigned>(seed), n);
    std::int64_t positive = 0;
    for (const Item& item : items) positive += std::max(item.Weight, 0);
    for (std::int64_t limit : {positive / 4, positive / 2, std::int64_t{0}}) {
      limit = std::min<std::int64_t>(limit, std::numeric_limits<std::int32_t>::max());
      const std::vector<Best> best = BestByCount(items, limit);
      std::vector<bagfunc::Candidate> candidates;
      std::vector<bagfunc::BoundItem> bounded;
      for (std::size_t i = 0; i < items.size(); ++i) {
        bounded.push_back({items[i].Weight, items[i].Value});
        candidates.push_back({static_cast<std::int32_t>(i + 1), bounded.back()});
      }
      const ExactProblem problem{items, n, static_cast<std::int32_t>(limit)};
      for (std::int64_t k = 0; k <= n; ++k) {
        const auto context = testing::Message() << "seed " << seed << " limit " << limit
                                                << " count " << k;
        const bagfunc::BoundLimits count{limit, k, k};
        const bagfunc::Multipliers exactly = bagfunc::MinimiseBound(bounded, count);
        const Best& expected = best[static_cast<std::size_t>(k)];
        // Known: one below the best of this count (or anything, where nothing fits).
        const std::int64_t known = expected.found ? expected.value - 1 : 0;
        for (const std::int64_t start : {known, known + 1}) {
          const bagfunc::ExactOptions options;
          bagfunc::SolveSession session(problem, options);
          session.Offer({}, 0, start);
          std::uint64_t work = std::numeric_limits<std::uint64_t>::max();
          const bagfunc::SearchSpace space =
              bagfunc::FixByBound(candidates, exactly, count, session.NextBetterValue());
          ASSERT_EQ(bagfunc::SearchCountShifted(space, exactly, session, work),
                    bagfunc::SearchEnd::Done) << context;
          const bagfunc::ExactResult result = session.Finish(true);
          if (!expected.found || start > known) {
            EXPECT_TRUE(result.pick.empty()) << context << " start " << start;
            continue;
          }
          ASSERT_EQ(result.totalValue, expected.value) << context;
          EXPECT_EQ(static_cast<std::int64_t>(result.pick.size()), k) << context;
          EXPECT_LE(result.totalWeight, limit) << context;
        }
      }
    }
  }
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(Rows, ShiftedAgainstEverySubset, testing::Values(
    CountRow{"Spanner", 12, 0, 0, 6},
    CountRow{"StronglyCorrelatedSpanner", 13, 0, 0, 6},
    CountRow{"InverseStronglyCorrelated", 4, 0, 0, 6},
    CountRow{"ProfitCeiling", 15, 0, 0, 6},
    CountRow{"Circle", 16, 0, 0, 6},
    CountRow{"TiesAndNegatives", 0, -3, 4, 10},
    CountRow{"Extremes", 0, -kMax, kMax, 10}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace enginetest
