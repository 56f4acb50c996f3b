// The best packing: a proven optimum of the slot-limited bag problem, beside the three fixed
// searches. It reads a copy of the problem (never the engine's tables while it runs), so it may
// run on a worker thread, and it ends early on a time limit or a stop request with the best
// pick found so far and a proven bound on the best value.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/bagfunc.h"  // Item

namespace bagfunc {

// The time limit that bagsolve and the window use unless told otherwise, in seconds.
inline constexpr double kDefaultTimeLimitSeconds = 10.0;

// Choose a set S of distinct items with |S| <= slotLimit and the sum of their weights <=
// maxWeight, maximising the sum of their values. Every 32-bit weight and value is allowed
// (zero, negative, the extremes); sums are exact 64-bit numbers and never wrap. The empty set
// is a pick (value 0, weight 0); a slot limit below 1 or no items leaves only the empty set.
struct ExactProblem {
  std::vector<Item> items;  // item number i is items[i - 1]
  std::int32_t slotLimit = 0;
  std::int32_t maxWeight = 0;
};

// Where the search stands, handed to the progress callback.
struct ExactProgress {
  double seconds = 0;               // since the solve began
  bool feasible = false;            // a pick that fits is known
  std::vector<std::int32_t> pick;   // the best pick so far, ascending item numbers
  std::int64_t totalWeight = 0;     // its totals
  std::int64_t totalValue = 0;
  std::int64_t upperBound = 0;      // no pick is worth more (never rises during a solve)
};

struct ExactOptions {
  // Seconds of wall-clock time after which the search ends with what it has; 0: no limit.
  double timeLimitSeconds = kDefaultTimeLimitSeconds;
  // Set from any thread to end the search early; read every few milliseconds.
  const std::atomic<bool>* stop = nullptr;
  // Called on the solving thread: at once with the first pick and bound, whenever a better
  // pick is found or the bound drops, and at least about every tenth of a second. Keep it
  // short; copy what it needs. It may be empty.
  std::function<void(const ExactProgress&)> progress;
};

// Why the search ended.
enum class ExactEnding {
  Finished,     // searched to the end: the pick is proven best (or no pick fits)
  TimeLimit,    // the time limit ran out first
  StopRequest,  // the stop flag was set
};

struct ExactResult {
  bool feasible = false;            // false only when no set fits (a negative weight limit)
  std::vector<std::int32_t> pick;   // ascending item numbers; empty when none fits
  std::int64_t totalWeight = 0;     // the pick's real totals
  std::int64_t totalValue = 0;
  std::int64_t upperBound = 0;      // proven: no pick is worth more; 0 when none fits
  bool optimal = false;             // upperBound == totalValue, or proven that none fits
  double seconds = 0;               // wall-clock time of the solve
  ExactEnding ending = ExactEnding::Finished;
};

// The result for a pick of the problem (ascending item numbers, distinct, in range) with a
// bound on the best value: its totals summed from the items, the bound never below its value,
// and proven when the bound is down to it.
ExactResult ResultOfPick(const ExactProblem& problem, std::vector<std::int32_t> pick,
                         std::int64_t bound, ExactEnding ending);

// Solves the problem exactly, or as far as the time limit and the stop request allow.
// Whatever ends it, the pick is valid (distinct items in range, within both limits) and its
// totals are its real totals. Deterministic: a search that runs to its end gives the same
// pick for the same problem every time; among picks of the best value it leans to fewer
// items and a lighter bag where that costs no search time.
// How: a linear-programming bound on both limits (exact rational arithmetic), greedy and
// exchange heuristics, a short branch and bound, then dynamic programming over an expanding
// core of the items nearest the bound's edge; the branch and bound again without a budget
// where the core would need more memory than it may take (engine/exact/solve.cpp lists the
// phases). Memory stays under about 200 MB; the time is exponential in the worst case,
// which is what the time limit is for.
ExactResult SolveExact(const ExactProblem& problem, const ExactOptions& options = {});

}  // namespace bagfunc
