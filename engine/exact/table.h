// The best packing's dynamic programme: over the items the bound left open, the best value of
// every (count, weight) pair, for problems where that table is small. Unlike the search it
// does not care how many items tie.
#pragma once

#include <cstdint>

#include "engine/exact/search.h"

namespace bagfunc {

// Cells the table would have: open items times counts times weights. Without the slots, one
// row of weights.
std::uint64_t TableCells(const SearchSpace& space, bool ignoreSlots = false);

// Finds the best pick among those the space allows and offers it to the session. Done or
// Interrupted. Memory: one bit per cell, plus one row of values per count. With ignoreSlots
// it solves the problem without the slot limit: when that pick keeps to the limit anyway it is
// the answer (Done); when it does not, nothing is offered (OverBudget).
SearchEnd SolveByTable(const SearchSpace& space, SolveSession& session, bool ignoreSlots = false);

}  // namespace bagfunc
