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
  const auto itemCount = static_cast<std::int32_t>(problem.items.size());
  for (std::size_t k = 0; k < pick.size(); ++k) {
    if (pick[k] < 1 || pick[k] > itemCount || (k > 0 && pick[k] <= pick[k - 1])) {
      throw Error("The kept pick does not belong to this problem");
    }
  }
  const ExactResult result = ResultOfPick(problem, {pick.begin(), pick.end()}, bound,
                                          ExactEnding::StopRequest);
  ReportExactPick(problem, result, dst);
}

}  // namespace bagfunc
