// The one dispatch over SolveVariant.
#include "engine/variant.h"

#include <utility>

#include "engine/wrap.h"

namespace bagfunc {
namespace {

constexpr std::array<std::string_view, kAllVariants.size()> kVariantNames{"solve", "max",
                                                                          "max1", "best"};

// A search's pick as its report lists it, with the totals the report prints.
void TakeSearchPick(const BagEngine& engine, VariantOutcome& outcome) {
  std::int32_t totalWeight = 0;
  std::int32_t totalValue = 0;
  outcome.items = engine.PickedItems();
  for (const std::int32_t number : outcome.items) {
    const Item& item = engine.ItemTable[static_cast<std::size_t>(number)];
    totalWeight = WrapAdd(totalWeight, item.Weight);
    totalValue = WrapAdd(totalValue, item.Value);
  }
  outcome.totalWeight = totalWeight;
  outcome.totalValue = totalValue;
}

}  // namespace

std::string_view VariantName(SolveVariant variant) {
  return kVariantNames[static_cast<std::size_t>(variant)];
}

std::optional<SolveVariant> VariantByName(std::string_view name) {
  for (const SolveVariant variant : kAllVariants) {
    if (VariantName(variant) == name) return variant;
  }
  return std::nullopt;
}

VariantOutcome RunVariant(BagEngine& engine, SolveVariant variant, const ExactOptions& options,
                          const ExactRunner& runExact) {
  VariantOutcome outcome;
  outcome.variant = variant;
  const std::int32_t slots = engine.BagSlotCount;
  const std::int32_t count = engine.ItemCount;
  switch (variant) {
    case SolveVariant::SolveBag:
      outcome.returned = engine.SolveBag(slots, count);
      break;
    case SolveVariant::SolveBagMax:
      outcome.returned = engine.SolveBagMax(slots, count);
      break;
    case SolveVariant::SolveBagMaxWith1Data:
      outcome.returned = engine.SolveBagMaxWith1Data(slots, count);
      break;
    case SolveVariant::BestPacking: {
      const ExactProblem problem = ExactProblemOf(engine);
      ExactResult result = runExact ? runExact(problem, options) : SolveExact(problem, options);
      outcome.items = result.pick;
      outcome.totalWeight = result.totalWeight;
      outcome.totalValue = result.totalValue;
      outcome.exact = std::move(result);
      return outcome;
    }
  }
  TakeSearchPick(engine, outcome);
  return outcome;
}

void ReportOutcome(const BagEngine& engine, const VariantOutcome& outcome, LineList& dst) {
  if (outcome.exact) {
    ReportExactPick(ExactProblemOf(engine), *outcome.exact, dst);
  } else {
    engine.ReportBestPick(&dst);
  }
}

std::vector<VariantOutcome> RunAllVariants(BagEngine& engine, const ExactOptions& options) {
  std::vector<VariantOutcome> outcomes;
  for (const SolveVariant variant : kAllVariants) {
    // What the solve command does before its search; the best packing touches no table.
    engine.BestValue = 0;
    engine.ResetPicks();
    outcomes.push_back(RunVariant(engine, variant, options));
  }
  return outcomes;
}

}  // namespace bagfunc
