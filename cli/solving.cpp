#include "cli/solving.h"

#include "base/errors.h"
#include "engine/solve.h"

namespace cli {

Solution SolveProblem(const bagfunc::LineList& lines, const Options& options) {
  Solution solution;
  // A fresh engine: nothing carries over from an earlier problem.
  solution.engine = std::make_unique<bagfunc::BagEngine>();
  bagfunc::BagEngine& engine = *solution.engine;
  bagfunc::SolveRequest request;
  if (options.compare) {
    request.variants.assign(bagfunc::kAllVariants.begin(), bagfunc::kAllVariants.end());
  } else {
    request.variants = {options.variant};
  }
  request.exact.timeLimitSeconds = options.timeLimitSeconds;
  try {
    solution.outcomes = bagfunc::RunSolve(engine, lines, solution.echo, request);
  } catch (const bagfunc::Error& error) {
    solution.failure = bagfunc::WithFullStop(error.what());
  }
  return solution;
}

}  // namespace cli
