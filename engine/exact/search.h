// The depth-first part of the best packing. Every item left open by the bound has a default
// (in the pick when its reduced value is positive) and a penalty (what leaving its default
// costs the bound). The search walks the sets of departures from the defaults, cheapest items
// first, and prunes a set as soon as its penalties, or the penalties that the slot and weight
// limits still force, leave no room for a pick better than the best known.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "engine/exact/bound.h"
#include "engine/exact/pick.h"
#include "engine/exact/session.h"
#include "engine/exact/wide.h"

namespace bagfunc {

struct SearchItem {
  std::int32_t number = 0;
  std::int64_t weight = 0;
  std::int64_t value = 0;
  Wide penalty = 0;    // |reduced value| times the bound's denominator
  bool taken = false;  // the default
};

struct SearchSpace {
  std::vector<SearchItem> items;       // the open items, lowest penalty first
  std::vector<std::int32_t> fixedIn;   // items in every better pick
  std::int64_t fixedWeight = 0;        // their totals
  std::int64_t fixedValue = 0;
  std::int64_t capacity = 0;           // the weight limit, for fixed and open items together
  std::int64_t minCount = 0;           // a better pick holds minCount..maxCount items
  std::int64_t maxCount = 0;
  Wide bound = 0;                      // the bound with every item at its default, times den
  std::int64_t den = 1;
  // A bound on the picks that lie outside this space (other counts, searched separately);
  // what the search reports as the bound is never below it.
  std::int64_t elsewhere = std::numeric_limits<std::int64_t>::min();
};

enum class SearchEnd {
  Done,         // searched to the end: no pick is worth more than the session's best
  Interrupted,  // the time limit or a stop request
  OverBudget,   // visited the given number of nodes without finishing
};

// The space of the picks within the limits that may be worth at least `target`: every
// candidate whose departure from its default under the multipliers would cost more than the
// bound can spare is fixed at it; the rest are open, the cheapest departure first.
SearchSpace FixByBound(std::span<const Candidate> candidates, const Multipliers& multipliers,
                       const BoundLimits& limits, std::int64_t target);

// Offers every better pick it meets to the session.
SearchEnd SearchDeviations(const SearchSpace& space, SolveSession& session,
                           std::uint64_t nodeBudget);

}  // namespace bagfunc
