#include "engine/exacttable.h"

#include <algorithm>
#include <limits>

namespace bagfunc {
namespace {

constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::min();

// The table's shape. Items of negative weight come first, so the weight only falls while they
// are added and only rises afterwards: it stays between the sum of the negative weights and
// the larger of 0 and the limit left for the open items.
struct Shape {
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  std::int64_t counts = 0;  // 0..counts - 1 open items

  std::uint64_t Width() const { return static_cast<std::uint64_t>(highest - lowest + 1); }
};

Shape ShapeOf(const SearchSpace& space) {
  Shape shape;
  for (const SearchItem& item : space.items) shape.lowest += std::min<std::int64_t>(item.weight, 0);
  shape.highest = std::max<std::int64_t>(space.capacity - space.fixedWeight, 0);
  const auto fixed = static_cast<std::int64_t>(space.fixedIn.size());
  shape.counts = std::min(space.maxCount - fixed, static_cast<std::int64_t>(space.items.size())) + 1;
  return shape;
}

}  // namespace

std::uint64_t TableCells(const SearchSpace& space) {
  const Shape shape = ShapeOf(space);
  if (shape.counts <= 0) return 0;
  // Weights can span 2^45, so the product is taken in 128 bits and saturated.
  const Wide cells = Wide{shape.counts} * shape.Width() * space.items.size();
  return cells > Wide{std::numeric_limits<std::uint64_t>::max()}
             ? std::numeric_limits<std::uint64_t>::max()
             : static_cast<std::uint64_t>(cells);
}

SearchEnd SolveByTable(const SearchSpace& space, SolveSession& session) {
  const Shape shape = ShapeOf(space);
  if (shape.counts <= 0) return SearchEnd::Done;
  const std::int64_t limit = space.capacity - space.fixedWeight;  // for the open items
  if (limit < shape.lowest) return SearchEnd::Done;
  const std::uint64_t width = shape.Width();
  const auto counts = static_cast<std::size_t>(shape.counts);

  std::vector<const SearchItem*> order;
  for (const SearchItem& item : space.items) order.push_back(&item);
  std::stable_partition(order.begin(), order.end(),
                        [](const SearchItem* item) { return item->weight < 0; });

  // best[count * width + weight - lowest]: the best value of that many open items of that
  // weight; took[item] marks the cells that item improved.
  std::vector<std::int64_t> best(counts * width, kUnreached);
  best[static_cast<std::size_t>(-shape.lowest)] = 0;
  const std::uint64_t bitsPerItem = counts * width;
  std::vector<std::uint64_t> took((order.size() * bitsPerItem + 63) / 64);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::int64_t weight = order[i]->weight;
    const std::int64_t value = order[i]->value;
    const std::uint64_t bitBase = i * bitsPerItem;
    for (std::size_t count = std::min(counts - 1, i + 1); count >= 1; --count) {
      if (session.Interrupted(width / 16 + 1)) return SearchEnd::Interrupted;
      if (session.HeartbeatDue()) session.Heartbeat();
      const std::int64_t* from = &best[(count - 1) * width];
      std::int64_t* to = &best[count * width];
      const std::int64_t first = std::max<std::int64_t>(0, weight);
      const std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(width), static_cast<std::int64_t>(width) + weight);
      for (std::int64_t at = first; at < last; ++at) {
        const std::int64_t before = from[at - weight];
        if (before == kUnreached || before + value <= to[at]) continue;
        to[at] = before + value;
        const std::uint64_t bit = bitBase + count * width + static_cast<std::uint64_t>(at);
        took[bit / 64] |= std::uint64_t{1} << (bit % 64);
      }
    }
  }

  // The best cell within the limit, fewest items and least weight first among equals.
  std::size_t bestCount = 0;
  std::int64_t bestAt = -1;
  for (std::size_t count = 0; count < counts; ++count) {
    for (std::int64_t at = 0; at <= limit - shape.lowest && at < static_cast<std::int64_t>(width); ++at) {
      const std::int64_t value = best[count * width + static_cast<std::size_t>(at)];
      if (value == kUnreached) continue;
      if (bestAt < 0 || value > best[bestCount * width + static_cast<std::size_t>(bestAt)]) {
        bestCount = count;
        bestAt = at;
      }
    }
  }
  if (bestAt < 0) return SearchEnd::Done;
  const std::int64_t value = best[bestCount * width + static_cast<std::size_t>(bestAt)];
  std::vector<std::int32_t> pick = space.fixedIn;
  std::int64_t weight = bestAt + shape.lowest;
  std::size_t count = bestCount;
  std::int64_t at = bestAt;
  for (std::size_t i = order.size(); i-- > 0 && count > 0;) {
    const std::uint64_t bit = i * bitsPerItem + count * width + static_cast<std::uint64_t>(at);
    if ((took[bit / 64] >> (bit % 64) & 1) == 0) continue;
    pick.push_back(order[i]->number);
    at -= order[i]->weight;
    --count;
  }
  session.Offer(std::move(pick), weight + space.fixedWeight, value + space.fixedValue);
  return SearchEnd::Done;
}

}  // namespace bagfunc
