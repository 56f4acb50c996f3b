// The linear-programming bound of the slot-limited bag problem, in exact arithmetic.
// For a weight multiplier mu >= 0,
//   G(mu) = mu * capacity + the best sum of (value - mu * weight) over sets of
//           minCount..maxCount items,
// is at least the value of every pick within the limits, and its least value over mu is the
// bound of the linear relaxation with both limits. G is convex and piecewise linear, so the
// least value is found by intersecting tangents, on exact fractions mu = num / den.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/exact/wide.h"

namespace bagfunc {

struct BoundItem {
  std::int64_t weight = 0;
  std::int64_t value = 0;
};

// The pick must hold minCount..maxCount items and weigh at most capacity.
struct BoundLimits {
  std::int64_t capacity = 0;
  std::int64_t minCount = 0;
  std::int64_t maxCount = 0;
  bool operator==(const BoundLimits&) const = default;
};

// A pair of multipliers (mu for the weight, lambda for the count) and the bound they give.
// Reduced(item) is the item's reduced value d; then for every pick within the limits
//   value(pick) <= bound + sum over the pick of min(0, d) - sum outside it of max(0, d),
// all scaled by den, which is what fixes items and prunes the search.
struct Multipliers {
  std::int64_t num = 0;  // mu = num / den
  std::int64_t den = 1;
  Wide lambda = 0;       // lambda * den; below 0 when the lower count limit is what binds
  Wide scaled = 0;       // the bound times den
  bool infeasible = false;  // not even a fractional pick meets the limits: no bound at all

  Wide Reduced(const BoundItem& item) const {
    return Wide{den} * item.value - Wide{num} * item.weight - lambda;
  }
  // The bound rounded down to a whole value (values are whole numbers).
  std::int64_t Bound() const { return static_cast<std::int64_t>(FloorDiv(scaled, den)); }
};

// The least G over mu >= 0 (exact for any item signs), with the lambda that makes the bound
// mu * capacity + lambda * count + sum of max(0, d) equal to it. Costs O(n) per tangent, a few
// dozen tangents at most.
Multipliers MinimiseBound(std::span<const BoundItem> items, const BoundLimits& limits);

// A bound on the value of the picks within some limits, read off a pick's (or a partial
// pick's) own totals: with G = (value - alpha * weight) * den + num * (capacity - weight)
//                              + lambda * (count - the pick's count) + what may still be gained,
// no such pick is worth more than alpha * capacity + step * floor(floor(G / den) / step).
// With alpha 0 and step 1 it is the bound above; `count` is the count lambda is measured from.
struct PickBound {
  Multipliers multipliers;
  std::int64_t count = 0;
  std::int64_t alpha = 0;
  std::int64_t step = 1;

  // What making an item (or change) gains under the multipliers, times den.
  Wide Reduced(std::int64_t weight, std::int64_t value, std::int64_t count) const {
    return Wide{multipliers.den} * (value - alpha * weight) - Wide{multipliers.num} * weight -
           multipliers.lambda * count;
  }
  // G above, for totals whose gains still to come are `gain` (times den); the bound grows
  // with it.
  Wide Scaled(std::int64_t capacity, std::int64_t weight, std::int64_t value,
              std::int64_t pickCount, Wide gain) const {
    return Wide{value - alpha * weight} * multipliers.den +
           Wide{multipliers.num} * (capacity - weight) +
           multipliers.lambda * (count - pickCount) + gain;
  }
  // The bound for a given G.
  std::int64_t OfScaled(std::int64_t capacity, Wide scaled) const {
    return static_cast<std::int64_t>(Wide{alpha} * capacity +
                                     FloorDiv(FloorDiv(scaled, multipliers.den), step) * step);
  }
  // The bound over the whole problem (no pick made yet, every gain still to come).
  std::int64_t Whole(std::int64_t capacity) const {
    return static_cast<std::int64_t>(Wide{alpha} * capacity +
                                     FloorDiv(multipliers.Bound(), step) * step);
  }
  // Whether that bound reaches target.
  bool Reaches(std::int64_t target, std::int64_t capacity, std::int64_t weight,
               std::int64_t value, std::int64_t pickCount, Wide gain) const;
};

// The bound of the limits on their own, as a PickBound: the count is the limit lambda binds.
PickBound LinearBound(const Multipliers& multipliers, const BoundLimits& limits);

// Where every item's value less alpha times its weight is a multiple of one step > 1 (values
// that follow the weights: a constant or one of a few constants above them), every pick is
// worth alpha * its weight + step * m for a whole m, so no pick within the limits is worth
// more than alpha * capacity + step * floor(D / step), D the bound above for the values
// p - alpha * w. Where the bound above leaves a fraction of an item, this one cannot. The
// least such bound for alpha = 1, 2, 3; nothing where no alpha has such a step.
std::optional<PickBound> ResidueBound(std::span<const BoundItem> items, const BoundLimits& limits);

}  // namespace bagfunc
