#include "engine/exact/table.h"

#include <algorithm>
#include <limits>

namespace bagfunc {
namespace {

constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::min();

// The table's shape. Items of negative weight come first, so the weight only falls while they
// are added and only rises afterwards: it stays between the sum of the negative weights and
// the larger of 0 and the limit left for the open items. A row per count of open items, or a
// single row when the slot limit cannot bind (it allows every open item at once).
struct Shape {
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  std::int64_t rows = 0;
  bool counted = true;

  std::uint64_t Width() const { return static_cast<std::uint64_t>(highest - lowest + 1); }
};

Shape ShapeOf(const SearchSpace& space, bool ignoreSlots) {
  Shape shape;
  for (const SearchItem& item : space.items) shape.lowest += std::min<std::int64_t>(item.weight, 0);
  shape.highest = std::max<std::int64_t>(space.capacity - space.fixedWeight, 0);
  const auto open = static_cast<std::int64_t>(space.items.size());
  const std::int64_t slots = space.maxCount - static_cast<std::int64_t>(space.fixedIn.size());
  shape.counted = !ignoreSlots && slots < open;
  shape.rows = shape.counted ? slots + 1 : 1;
  return shape;
}

}  // namespace

std::uint64_t TableCells(const SearchSpace& space, bool ignoreSlots) {
  const Shape shape = ShapeOf(space, ignoreSlots);
  if (shape.rows <= 0) return 0;
  // Weights can span 2^45, so the product is taken in 128 bits and saturated.
  const Wide cells = Wide{shape.rows} * shape.Width() * space.items.size();
  return cells > Wide{std::numeric_limits<std::uint64_t>::max()}
             ? std::numeric_limits<std::uint64_t>::max()
             : static_cast<std::uint64_t>(cells);
}

SearchEnd SolveByTable(const SearchSpace& space, SolveSession& session, bool ignoreSlots) {
  const Shape shape = ShapeOf(space, ignoreSlots);
  if (shape.rows <= 0) return SearchEnd::Done;
  const std::int64_t limit = space.capacity - space.fixedWeight;  // for the open items
  if (limit < shape.lowest) return SearchEnd::Done;
  const auto width = static_cast<std::int64_t>(shape.Width());
  const auto rows = static_cast<std::size_t>(shape.rows);
  const auto cell = [&](std::size_t row, std::int64_t at) {
    return row * static_cast<std::size_t>(width) + static_cast<std::size_t>(at);
  };

  std::vector<const SearchItem*> order;
  for (const SearchItem& item : space.items) order.push_back(&item);
  std::stable_partition(order.begin(), order.end(),
                        [](const SearchItem* item) { return item->weight < 0; });

  // best[cell(row, weight - lowest)]: the best value of open items of that weight (and, when
  // counted, that many of them); took[item] marks the cells that item improved.
  std::vector<std::int64_t> best(rows * static_cast<std::size_t>(width), kUnreached);
  best[cell(0, -shape.lowest)] = 0;
  const std::size_t bitsPerItem = best.size();
  std::vector<std::uint64_t> took((order.size() * bitsPerItem + 63) / 64);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::int64_t weight = order[i]->weight;
    const std::int64_t value = order[i]->value;
    const std::size_t bitBase = i * bitsPerItem;
    // Counted, row r comes from row r - 1, the highest row first. In one row, the cells are
    // visited so that each reads a cell this item has not yet changed.
    const std::size_t top = shape.counted ? std::min(rows - 1, i + 1) : 0;
    for (std::size_t row = top; shape.counted ? row >= 1 : row == 0; --row) {
      if (session.Interrupted(static_cast<std::uint64_t>(width) / 16 + 1)) {
        return SearchEnd::Interrupted;
      }
      if (session.HeartbeatDue()) session.Heartbeat();
      const std::size_t from = shape.counted ? row - 1 : row;
      const std::int64_t first = std::max<std::int64_t>(0, weight);
      const std::int64_t last = std::min(width, width + weight) - 1;
      const bool rising = weight < 0;
      for (std::int64_t step = 0; step <= last - first; ++step) {
        const std::int64_t at = rising ? first + step : last - step;
        const std::int64_t before = best[cell(from, at - weight)];
        std::int64_t& target = best[cell(row, at)];
        if (before == kUnreached || before + value <= target) continue;
        target = before + value;
        const std::size_t bit = bitBase + cell(row, at);
        took[bit / 64] |= std::uint64_t{1} << (bit % 64);
      }
      if (row == 0) break;
    }
  }

  // The best cell within the limit; among equals the first found (fewest items, least weight).
  std::size_t bestRow = 0;
  std::int64_t bestAt = -1;
  const std::int64_t lastAt = std::min(limit - shape.lowest, width - 1);
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::int64_t at = 0; at <= lastAt; ++at) {
      const std::int64_t value = best[cell(row, at)];
      if (value == kUnreached) continue;
      if (bestAt < 0 || value > best[cell(bestRow, bestAt)]) {
        bestRow = row;
        bestAt = at;
      }
    }
  }
  if (bestAt < 0) return SearchEnd::Done;
  const std::int64_t value = best[cell(bestRow, bestAt)];
  std::vector<std::int32_t> pick = space.fixedIn;
  const std::int64_t weight = bestAt + shape.lowest;
  std::size_t row = bestRow;
  std::int64_t at = bestAt;
  for (std::size_t i = order.size(); i-- > 0;) {
    const std::size_t bit = i * bitsPerItem + cell(row, at);
    if ((took[bit / 64] >> (bit % 64) & 1) == 0) continue;
    pick.push_back(order[i]->number);
    at -= order[i]->weight;
    if (shape.counted) --row;
  }
  if (static_cast<std::int64_t>(pick.size()) > space.maxCount) return SearchEnd::OverBudget;
  session.Offer(std::move(pick), weight + space.fixedWeight, value + space.fixedValue);
  return SearchEnd::Done;
}

}  // namespace bagfunc
