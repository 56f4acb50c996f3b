#include "tests/oracle/literal.h"

#include <algorithm>

namespace oracle {
namespace {

using bagfunc::BagEngine;

void Record(BagEngine& engine, std::int32_t value, std::int32_t length) {
  engine.BestValue = value;
  engine.ResetBestPick();
  engine.KeepBestPick(1, length);
}

std::int32_t Pairs(BagEngine& engine, std::int32_t slotLimit, std::int32_t itemCount,
                   bool withSingles) {
  if (slotLimit < 1) return -1;
  if (itemCount < 1) return -2;
  engine.ResetPicks();
  engine.ResetBestPick();
  const std::int32_t n = std::min(itemCount, bagfunc::kMaxItemCount);
  for (std::int32_t i = 1; i <= n; ++i) {
    engine.TrialPick[1] = i;
    const auto& first = engine.ItemTable[static_cast<std::size_t>(i)];
    if (first.Weight > engine.MaxBagWeight) continue;
    if (withSingles && first.Value >= engine.BestValue && first.Weight <= engine.MaxBagWeight) {
      Record(engine, first.Value, 1);
    }
    std::int32_t length = 2;
    for (std::int32_t j = i + 1; j <= n; ++j) {
      engine.TrialPick[static_cast<std::size_t>(length)] = j;
      std::int32_t value = 0;
      std::int32_t weight = 0;
      engine.SumPick(1, length, value, weight);
      if (value >= engine.BestValue && weight <= engine.MaxBagWeight) {
        if (length > slotLimit) {
          --length;
        } else {
          Record(engine, value, length);
        }
      }
    }
  }
  return engine.BestValue;
}

}  // namespace

std::int32_t SolveBag(BagEngine& engine, std::int32_t slotLimit, std::int32_t itemCount) {
  if (slotLimit < 1) return -1;
  if (itemCount < 1) return -2;
  engine.ResetPicks();
  engine.ResetBestPick();
  const std::int32_t n = std::min(itemCount, bagfunc::kMaxItemCount);
  for (std::int32_t i = 1; i <= n; ++i) {
    engine.TrialPick[1] = i;
    if (engine.ItemTable[static_cast<std::size_t>(i)].Weight > engine.MaxBagWeight) continue;
    std::int32_t length = 2;
    for (std::int32_t j = i + 1; j <= n; ++j) {
      engine.TrialPick[static_cast<std::size_t>(length)] = j;
      std::int32_t value = 0;
      std::int32_t weight = 0;
      engine.SumPick(1, length, value, weight);
      if (value >= engine.BestValue && weight <= engine.MaxBagWeight) {
        if (length > slotLimit) {
          --length;
        } else {
          Record(engine, value, length);
          ++length;
        }
      }
    }
  }
  return engine.BestValue;
}

std::int32_t SolveBagMax(BagEngine& engine, std::int32_t slotLimit, std::int32_t itemCount) {
  return Pairs(engine, slotLimit, itemCount, false);
}

std::int32_t SolveBagMaxWith1Data(BagEngine& engine, std::int32_t slotLimit,
                                  std::int32_t itemCount) {
  return Pairs(engine, slotLimit, itemCount, true);
}

std::int32_t Solve(BagEngine& engine, bagfunc::SolveVariant variant, std::int32_t slotLimit,
                   std::int32_t itemCount) {
  switch (variant) {
    case bagfunc::SolveVariant::SolveBag:
      return SolveBag(engine, slotLimit, itemCount);
    case bagfunc::SolveVariant::SolveBagMax:
      return SolveBagMax(engine, slotLimit, itemCount);
    case bagfunc::SolveVariant::SolveBagMaxWith1Data:
      return SolveBagMaxWith1Data(engine, slotLimit, itemCount);
    case bagfunc::SolveVariant::BestPacking:
      break;  // not a fixed walk: nothing to transcribe
  }
  return 0;
}

}  // namespace oracle
