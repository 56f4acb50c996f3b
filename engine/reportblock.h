// The lines of a result block, shared by the searches' report and the best packing's: one
// place for every label.
#pragma once

#include <cstdint>

#include "engine/bagfunc.h"

namespace bagfunc {

// The 29 "*", the bag's weight limit (not the weight of the pick) and the value.
void AppendBlockHead(LineList& dst, std::int64_t weightLimit, std::int64_t value);
// The three lines of the picked item at position (counted from 1) with item number `number`.
void AppendBlockItem(LineList& dst, std::int64_t position, std::int64_t number, const Item& item);
// The 32 "=" and the two totals.
void AppendBlockTail(LineList& dst, std::int64_t totalWeight, std::int64_t totalValue);

}  // namespace bagfunc
