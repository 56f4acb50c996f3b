// The three searches. Each leaves exactly what the step-by-step procedure leaves (BestPick in
// every position, BestValue, TrialPick, the returned number) without walking it the slow way:
//  - a trial's totals are carried from the trial before (the trial is a stack; totals wrap,
//    so taking an item off again is an exact subtraction);
//  - a recording rewrites only the BestPick positions that change, instead of clearing the
//    whole table and copying the trial again;
//  - a trial that is not admissible changes nothing but TrialPick at the candidate's
//    position, which the next trial overwrites: only the last such write of a pass is made.
#include <algorithm>

#include "engine/bagfunc.h"
#include "engine/wrap.h"

namespace bagfunc {
namespace {

// BestPick as SolveBag keeps it: items at positions 1..length, -1 from length + 1 on.
struct RecordedPick {
  std::int32_t* best;
  std::int32_t length = 0;

  // Makes BestPick equal to trial positions 1..trialLength, given that positions
  // 1..alreadySame agree already; the old pick's tail past the new length becomes -1.
  void Record(const std::int32_t* trial, std::int32_t trialLength, std::int32_t alreadySame) {
    for (std::int32_t p = alreadySame + 1; p <= trialLength; ++p) best[p] = trial[p];
    for (std::int32_t p = trialLength + 1; p <= length; ++p) best[p] = -1;
    length = trialLength;
  }
};

// An item count past the tables is cut to the last item number.
std::int32_t ItemsInTable(std::int32_t itemCount) { return std::min(itemCount, kMaxItemCount); }

}  // namespace

std::int32_t BagEngine::SolveBag(std::int32_t slotLimit, std::int32_t itemCount) {
  if (slotLimit < 1) return -1;
  if (itemCount < 1) return -2;
  ResetPicks();
  const std::int32_t n = ItemsInTable(itemCount);
  const std::int32_t maxWeight = MaxBagWeight;
  const Item* const items = ItemTable.data();
  std::int32_t* const trial = TrialPick.data();
  std::int32_t best = BestValue;
  RecordedPick recorded{BestPick.data()};
  // TrialPick positions 1..same equal BestPick's: a recording writes only from same + 1 on.
  std::int32_t same = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    trial[1] = i;
    same = 0;
    const Item first = items[i];
    if (first.Weight > maxWeight) continue;
    // Totals of positions 1..length - 1; the candidate at `length` completes the trial.
    std::int32_t length = 2;
    std::int32_t baseValue = first.Value;
    std::int32_t baseWeight = first.Weight;
    std::int32_t lastStored = 0;
    for (std::int32_t j = i + 1; j <= n; ++j) {
      const Item candidate = items[j];
      const std::int32_t value = WrapAdd(baseValue, candidate.Value);
      const std::int32_t weight = WrapAdd(baseWeight, candidate.Weight);
      if (value < best || weight > maxWeight) continue;
      trial[length] = j;
      lastStored = j;
      if (length <= same) same = length - 1;
      if (length > slotLimit) {
        // One over the limit: the candidate and the item before it both drop out.
        --length;
        const Item dropped = items[trial[length]];
        baseValue = WrapSub(baseValue, dropped.Value);
        baseWeight = WrapSub(baseWeight, dropped.Weight);
        continue;
      }
      best = value;
      recorded.Record(trial, length, same);
      same = length;
      baseValue = value;
      baseWeight = weight;
      ++length;
    }
    if (i < n && lastStored != n) trial[length] = n;
  }
  BestValue = best;
  return best;
}

namespace {

// The pair search shared by both Solve Max variants; withSingles adds the single-item trial
// of each pass's first item. A recorded pick holds at most two items, so recording writes
// BestPick positions 1 and 2 only; position 3 keeps the -1 of the reset for good.
std::int32_t SolvePairs(BagEngine& engine, std::int32_t slotLimit, std::int32_t itemCount,
                        bool withSingles) {
  if (slotLimit < 1) return -1;
  if (itemCount < 1) return -2;
  engine.ResetPicks();
  const std::int32_t n = ItemsInTable(itemCount);
  const std::int32_t maxWeight = engine.MaxBagWeight;
  const Item* const items = engine.ItemTable.data();
  std::int32_t* const trial = engine.TrialPick.data();
  std::int32_t* const pick = engine.BestPick.data();
  std::int32_t best = engine.BestValue;
  for (std::int32_t i = 1; i <= n; ++i) {
    trial[1] = i;
    const Item first = items[i];
    if (first.Weight > maxWeight) continue;
    if (withSingles && first.Value >= best) {
      best = first.Value;
      pick[1] = i;
      pick[2] = -1;
    }
    // The candidate's position: 2 for pairs; 1 once a slot limit of 1 has cut the pass's
    // first admissible pair, after which the rest of the pass tries candidates alone.
    std::int32_t length = 2;
    std::int32_t baseValue = first.Value;
    std::int32_t baseWeight = first.Weight;
    std::int32_t lastStored = 0;
    for (std::int32_t j = i + 1; j <= n; ++j) {
      const Item candidate = items[j];
      const std::int32_t value = WrapAdd(baseValue, candidate.Value);
      const std::int32_t weight = WrapAdd(baseWeight, candidate.Weight);
      if (value < best || weight > maxWeight) continue;
      trial[length] = j;
      lastStored = j;
      if (length > slotLimit) {
        length = 1;
        baseValue = 0;
        baseWeight = 0;
        continue;
      }
      best = value;
      pick[1] = trial[1];
      pick[2] = length == 2 ? j : -1;
    }
    if (i < n && lastStored != n) trial[length] = n;
  }
  engine.BestValue = best;
  return best;
}

}  // namespace

std::int32_t BagEngine::SolveBagMax(std::int32_t slotLimit, std::int32_t itemCount) {
  return SolvePairs(*this, slotLimit, itemCount, false);
}

std::int32_t BagEngine::SolveBagMaxWith1Data(std::int32_t slotLimit, std::int32_t itemCount) {
  return SolvePairs(*this, slotLimit, itemCount, true);
}

}  // namespace bagfunc
