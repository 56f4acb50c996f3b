// The engine's searches against the step-by-step transcription, on many random problems:
// every position of both pick tables, BestValue and the returned number must agree.
#include <gtest/gtest.h>

#include <random>

#include "engine/variant.h"
#include "tests/engine/problem.h"
#include "tests/oracle/literal.h"

namespace enginetest {
namespace {

using bagfunc::BagEngine;
using bagfunc::SolveVariant;

struct Shape {
  int maxItems;
  int lowNumber;   // item numbers are drawn from lowNumber..highNumber
  int highNumber;
};

void FillRandom(std::mt19937& random, BagEngine& a, BagEngine& b, const Shape& shape,
                std::int32_t& slots, std::int32_t& count) {
  std::uniform_int_distribution<int> countDist(0, shape.maxItems);
  std::uniform_int_distribution<int> numberDist(shape.lowNumber, shape.highNumber);
  std::uniform_int_distribution<int> coin(0, 9);
  count = countDist(random);
  // Slot limits around the interesting edges: none, one, two, three, the item count, beyond.
  const std::int32_t slotChoices[] = {0, 1, 1, 2, 2, 3, count, count + 1, count + 5, -1};
  slots = slotChoices[std::uniform_int_distribution<int>(0, 9)(random)];
  a.MaxBagWeight = numberDist(random) * 2;
  // Sometimes a bar other than 0, as a caller could leave.
  a.BestValue = coin(random) == 0 ? numberDist(random) : 0;
  for (std::int32_t i = 1; i <= count; ++i) {
    auto& item = a.ItemTable[static_cast<std::size_t>(i)];
    item.Weight = numberDist(random);
    item.Value = numberDist(random);
    // Now and then an extreme number, so that totals wrap.
    if (coin(random) == 0) item.Value = coin(random) < 5 ? 2147483647 - coin(random) : -2147483647 - 1;
    if (coin(random) == 0) item.Weight = coin(random) < 5 ? 2147483647 : -2147483647 - 1;
  }
  // Leftovers of an earlier search that both must clear in the same way.
  for (std::size_t p = 0; p < 20; ++p) {
    a.TrialPick[p] = coin(random);
    a.BestPick[p] = coin(random) - 1;
  }
  b = a;
}

void CompareOn(const Shape& shape, int problems, unsigned seed) {
  std::mt19937 random(seed);
  auto fast = NewEngine();
  auto literal = NewEngine();
  for (int n = 0; n < problems; ++n) {
    for (auto variant : {SolveVariant::SolveBag, SolveVariant::SolveBagMax,
                         SolveVariant::SolveBagMaxWith1Data}) {
      std::int32_t slots = 0;
      std::int32_t count = 0;
      FillRandom(random, *fast, *literal, shape, slots, count);
      fast->BagSlotCount = slots;
      fast->ItemCount = count;
      const std::int32_t returned = bagfunc::RunVariant(*fast, variant).returned;
      const std::int32_t expected = oracle::Solve(*literal, variant, slots, count);
      const auto context = testing::Message()
                           << "problem " << n << " variant " << static_cast<int>(variant)
                           << " items " << count << " slots " << slots;
      ASSERT_EQ(returned, expected) << context;
      ASSERT_EQ(fast->BestValue, literal->BestValue) << context;
      ASSERT_TRUE(fast->BestPick == literal->BestPick) << context;
      ASSERT_TRUE(fast->TrialPick == literal->TrialPick) << context;
    }
  }
}

TEST(AgainstLiteral, SmallProblemsWithTies) { CompareOn({12, -2, 4}, 20000, 1); }

TEST(AgainstLiteral, SmallProblemsWideNumbers) { CompareOn({12, -30, 60}, 10000, 2); }

TEST(AgainstLiteral, HundredsOfItems) { CompareOn({400, -3, 12}, 40, 3); }

// Light items let long trials build up and be cut back again.
TEST(AgainstLiteral, HundredsOfLightItems) { CompareOn({300, -1, 2}, 40, 4); }

}  // namespace
}  // namespace enginetest
