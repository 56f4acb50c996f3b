#include "cli/solving.h"

#include "base/errors.h"
#include "engine/exact.h"

namespace cli {

Solution SolveProblem(const bagfunc::LineList& lines, const Options& options) {
  Solution solution;
  // A fresh engine: nothing carries over from an earlier problem.
  solution.engine = std::make_unique<bagfunc::BagEngine>();
  bagfunc::BagEngine& engine = *solution.engine;
  try {
    engine.ReadProblem(&lines, &solution.echo);
  } catch (const bagfunc::Error& error) {
    solution.failure = bagfunc::WithFullStop(error.what());
    return solution;
  }
  bagfunc::ExactOptions exact;
  exact.timeLimitSeconds = options.timeLimitSeconds;
  if (options.compare) {
    solution.outcomes = bagfunc::RunAllVariants(engine, exact);
  } else {
    solution.outcomes.push_back(bagfunc::RunVariant(engine, options.variant, exact));
  }
  return solution;
}

}  // namespace cli
