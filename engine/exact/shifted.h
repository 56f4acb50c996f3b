// The best packing's search of one count at a time, in shifted weights.
//
// For the picks of exactly k items, take as base the k lightest open items and s, the weight
// of the heaviest of them. Every other pick of k items is the base with some items put in and
// as many taken out, and each such change adds |w - s| >= 0 to the base's weight. So the room
// the changes share, the weight limit less the base's weight, only shrinks along a branch of
// the search, and a change that needs more than the room left cannot be made below it. The
// search takes the changes from the heaviest down, and bounds a branch by the linear
// relaxation of the changes that still fit, with a value per count that lets the changes in
// and out be counted apart (the bound of exactly k items, moved to the shifted weights).
//
// That is what the linear bound over all counts misses where values grow more slowly than the
// weights (circle values): the lightest items are nearly free to drop, so the bound fills the
// weight left by the bound's pick with fractions of changes that are far too heavy to be made
// whole. Here they drop out as soon as the room is smaller than they are.
//
// Cost: O(n) per node for the bound, n the open items; the work is counted in items looked at.
#pragma once

#include <cstdint>

#include "engine/exact/bound.h"
#include "engine/exact/search.h"
#include "engine/exact/session.h"

namespace bagfunc {

// Searches the picks of exactly space.minCount (= maxCount) items in `space` (FixByBound
// under `exactly`, the bound of picks of that many items, whose multipliers also price a
// count), and offers every better one it meets to the session. Done when none of them is
// better than the best known; OverBudget when the work (items looked at) passes `work`, which
// is decreased by the work done either way.
SearchEnd SearchCountShifted(const SearchSpace& space, const Multipliers& exactly,
                             SolveSession& session, std::uint64_t& work);

}  // namespace bagfunc
