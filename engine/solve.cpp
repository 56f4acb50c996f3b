#include "engine/solve.h"

#include <algorithm>

#include "base/errors.h"

namespace bagfunc {

std::vector<VariantOutcome> RunSolve(BagEngine& engine, const LineList& src, LineList& dst,
                                     const SolveRequest& request) {
  engine.ReadProblem(&src, &dst);
  if (request.echoed) request.echoed(dst);
  std::vector<VariantOutcome> outcomes;
  for (const SolveVariant variant : request.variants) {
    // What the solve command does before its search; the best packing touches no table.
    engine.BestValue = 0;
    engine.ResetPicks();
    outcomes.push_back(RunVariant(engine, variant, request.exact, request.runExact));
  }
  return outcomes;
}

void ReportPickWithBound(const ExactProblem& problem, std::span<const std::int32_t> pick,
                         std::int64_t bound, LineList& dst) {
  ExactResult result;
  result.feasible = true;
  result.ending = ExactEnding::StopRequest;
  const auto itemCount = static_cast<std::int32_t>(problem.items.size());
  for (std::size_t k = 0; k < pick.size(); ++k) {
    const std::int32_t number = pick[k];
    if (number < 1 || number > itemCount || (k > 0 && number <= pick[k - 1])) {
      throw Error("The kept pick does not belong to this problem");
    }
    const Item& item = problem.items[static_cast<std::size_t>(number - 1)];
    result.pick.push_back(number);
    result.totalWeight += item.Weight;
    result.totalValue += item.Value;
  }
  result.upperBound = std::max(bound, result.totalValue);
  result.optimal = result.upperBound == result.totalValue;
  ReportExactPick(problem, result, dst);
}

}  // namespace bagfunc
