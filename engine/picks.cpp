// The shared steps of every search, kept literal: the searches themselves use faster
// equivalents, and the literal forms are what those equivalents are checked against.
#include <algorithm>

#include "engine/bagfunc.h"
#include "engine/wrap.h"

namespace bagfunc {
namespace {

constexpr std::int64_t kLastPosition = static_cast<std::int64_t>(kTableSize) - 1;

// A number that names no table entry counts as item 0, which weighs and is worth nothing.
const Item& ItemOrNone(const std::array<Item, kTableSize>& table, std::int32_t number) {
  static constexpr Item kNone{};
  if (number < 0 || static_cast<std::size_t>(number) >= kTableSize) return kNone;
  return table[static_cast<std::size_t>(number)];
}

}  // namespace

void BagEngine::ResetPicks() {
  TrialPick.fill(0);
  BestPick.fill(-1);
}

void BagEngine::ResetBestPick() { BestPick.fill(-1); }

std::int32_t BagEngine::SumPick(std::int32_t first, std::int32_t last, std::int32_t& value,
                                std::int32_t& weight) const {
  value = 0;
  weight = 0;
  // Positions outside the table hold nothing, so they add nothing.
  const std::int64_t from = std::max<std::int64_t>(first, 0);
  const std::int64_t to = std::min<std::int64_t>(last, kLastPosition);
  for (std::int64_t p = from; p <= to; ++p) {
    const Item& item = ItemOrNone(ItemTable, TrialPick[static_cast<std::size_t>(p)]);
    value = WrapAdd(value, item.Value);
    weight = WrapAdd(weight, item.Weight);
  }
  return 0;
}

std::int32_t BagEngine::KeepBestPick(std::int32_t first, std::int32_t last) {
  const std::int64_t from = std::max<std::int64_t>(first, 0);
  const std::int64_t to = std::min<std::int64_t>(last, kLastPosition);
  for (std::int64_t p = from; p <= to; ++p) {
    const auto at = static_cast<std::size_t>(p);
    BestPick[at] = TrialPick[at] == 0 ? -1 : TrialPick[at];
  }
  const std::int64_t mark = first > last ? std::int64_t{first} : std::int64_t{last} + 1;
  if (mark >= 0 && mark <= kLastPosition) BestPick[static_cast<std::size_t>(mark)] = -1;
  return 0;
}

}  // namespace bagfunc
