// The one solve sequence of every caller (the window's buttons and best packing, bagsolve, the
// web page): read the problem from a line list, echo it, run a variant, hand back the outcome.
// Each caller writes what it shows of the outcome: the report (ReportOutcome), bagsolve's
// comparison or JSON.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "engine/bagfunc.h"
#include "engine/exact.h"
#include "engine/variant.h"

namespace bagfunc {

struct SolveRequest {
  // The variants to run in turn, each from the state the solve command gives its search
  // (BestValue 0, picks reset): one, or kAllVariants for a comparison.
  std::vector<SolveVariant> variants{SolveVariant::SolveBag};
  ExactOptions exact;  // the best packing's time limit, stop request and progress
  ExactRunner runExact;  // empty: SolveExact
  // Called once the echo lines stand in dst, before any variant runs. May be empty.
  std::function<void(const LineList& dst)> echoed;
};

// Reads the problem (BagEngine::ReadProblem: dst is cleared and takes the echo lines), then
// runs the request's variants on it. A header line that does not convert, or too many items,
// raises the command's error with the echo so far left in dst.
std::vector<VariantOutcome> RunSolve(BagEngine& engine, const LineList& src, LineList& dst,
                                     const SolveRequest& request);

// The report of any pick of the problem with a bound on its best value, as the best packing
// writes it: a page that stopped a search shows what it kept. The pick is ascending item
// numbers of the problem; its totals are found from the items, and it counts as proven when
// the bound has come down to its value. Raises bagfunc::Error for a pick that is not one.
void ReportPickWithBound(const ExactProblem& problem, std::span<const std::int32_t> pick,
                         std::int64_t bound, LineList& dst);

}  // namespace bagfunc
