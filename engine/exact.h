// The best packing as the engine offers it: a copy of the tables for the solver in
// engine/exact/, and the result block of its answer.
#pragma once

#include "engine/bagfunc.h"
#include "engine/exact/solve.h"

namespace bagfunc {

// The problem the last solve command read: ItemTable 1..ItemCount (earlier values that an
// item line left standing included), BagSlotCount and MaxBagWeight. A count below 1 gives no
// items; the tables are only read.
ExactProblem ExactProblemOf(const BagEngine& engine);

// Appends the result block of the best packing: the lines of the searches' block (the 29 "*",
// the weight limit, the value, three lines per picked item, the 32 "=", the two totals), every
// number exact, then the bound and whether the pick is proven best; or, when no set fits, an
// empty block with totals 0 and the one line that says so.
void ReportExactPick(const ExactProblem& problem, const ExactResult& result, LineList& dst);

}  // namespace bagfunc
