// The three searches written out step by step, each trial summed again with SumPick and each
// recording made with ResetBestPick and KeepBestPick: slow and plainly right, the reference
// that the engine's own searches must match in every table position.
#pragma once

#include <cstdint>

#include "engine/bagfunc.h"

namespace oracle {

std::int32_t SolveBag(bagfunc::BagEngine& engine, std::int32_t slotLimit, std::int32_t itemCount);
std::int32_t SolveBagMax(bagfunc::BagEngine& engine, std::int32_t slotLimit,
                         std::int32_t itemCount);
std::int32_t SolveBagMaxWith1Data(bagfunc::BagEngine& engine, std::int32_t slotLimit,
                                  std::int32_t itemCount);

std::int32_t Solve(bagfunc::BagEngine& engine, bagfunc::SolveVariant variant,
                   std::int32_t slotLimit, std::int32_t itemCount);

}  // namespace oracle
