#include "engine/exact/bound.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "engine/exact/tuning.h"

namespace bagfunc {
namespace {

// Past every point where two items' reduced values cross or one crosses zero (values and
// weights are 32-bit), so the order of the reduced values there is the order at infinity.
constexpr std::int64_t kBeyondEveryBreak = std::int64_t{1} << 34;

// G at one mu, with the tangent line there: G(x) >= slope * x + intercept for every x,
// with equality at mu.
struct Tangent {
  Multipliers at;
  std::int64_t slope = 0;      // capacity - weight of the chosen set
  std::int64_t intercept = 0;  // value of the chosen set
};

class Evaluator {
 public:
  Evaluator(std::span<const BoundItem> items, const BoundLimits& limits)
      : items_(items), limits_(limits), reduced_(items.size()), order_(items.size()) {}

  Tangent At(std::int64_t num, std::int64_t den) {
    const auto n = static_cast<std::int64_t>(items_.size());
    const std::int64_t most = std::min(limits_.maxCount, n);
    const std::int64_t least = limits_.minCount;
    std::int64_t positive = 0;
    for (std::size_t j = 0; j < items_.size(); ++j) {
      reduced_[j] = Wide{den} * items_[j].value - Wide{num} * items_[j].weight;
      positive += reduced_[j] > 0 ? 1 : 0;
    }
    Tangent tangent;
    tangent.at.num = num;
    tangent.at.den = den;
    tangent.at.scaled = Wide{num} * limits_.capacity;
    std::int64_t weight = 0;
    const auto take = [&](std::size_t j) {
      tangent.at.scaled += reduced_[j];
      weight += items_[j].weight;
      tangent.intercept += items_[j].value;
    };
    // Most often neither count limit binds: the best set is every positive reduced value, with
    // no selection to make and lambda 0 (as below, where the set then holds fewer than `most`).
    // Where they are exactly `most`, lambda is the least of them, as below.
    if (positive >= least && positive <= most) {
      Wide leastPositive = 0;
      for (std::size_t j = 0; j < items_.size(); ++j) {
        if (reduced_[j] <= 0) continue;
        take(j);
        if (leastPositive == 0 || reduced_[j] < leastPositive) leastPositive = reduced_[j];
      }
      tangent.slope = limits_.capacity - weight;
      if (positive == most && most > 0) tangent.at.lambda = leastPositive;
      return tangent;
    }
    std::iota(order_.begin(), order_.end(), 0);
    const auto higher = [&](std::size_t a, std::size_t b) {
      return reduced_[a] != reduced_[b] ? reduced_[a] > reduced_[b] : a < b;
    };
    // The best set: the `least` highest reduced values, then every positive one of the next
    // up to `most`.
    Wide atMost = 0;
    Wide atLeast = 0;
    if (most > 0) {
      std::nth_element(order_.begin(), order_.begin() + (most - 1), order_.end(), higher);
      atMost = reduced_[order_[static_cast<std::size_t>(most - 1)]];
    }
    if (least > 0) {
      std::nth_element(order_.begin(), order_.begin() + (least - 1), order_.begin() + most,
                       higher);
      atLeast = reduced_[order_[static_cast<std::size_t>(least - 1)]];
    }
    std::int64_t chosen = 0;
    for (std::int64_t p = 0; p < most; ++p) {
      const std::size_t j = order_[static_cast<std::size_t>(p)];
      if (p >= least && reduced_[j] <= 0) continue;
      ++chosen;
      take(j);
    }
    tangent.slope = limits_.capacity - weight;
    // lambda: the reduced value at the edge of the set when a count limit binds, else 0.
    if (chosen == most && most > 0 && atMost > 0) {
      tangent.at.lambda = atMost;
    } else if (chosen == least && least > 0 && atLeast < 0) {
      tangent.at.lambda = atLeast;
    }
    return tangent;
  }

 private:
  std::span<const BoundItem> items_;
  BoundLimits limits_;
  std::vector<Wide> reduced_;
  std::vector<std::size_t> order_;
};

}  // namespace

Multipliers MinimiseBound(std::span<const BoundItem> items, const BoundLimits& limits) {
  const auto n = static_cast<std::int64_t>(items.size());
  if (limits.minCount > std::min(limits.maxCount, n)) {
    Multipliers none;
    none.infeasible = true;
    return none;
  }
  Evaluator evaluate(items, limits);
  Tangent left = evaluate.At(0, 1);
  if (left.slope >= 0) return left.at;
  Tangent right = evaluate.At(kBeyondEveryBreak, 1);
  // Still falling at infinity: no fractional pick meets the weight limit.
  if (right.slope < 0) {
    right.at.infeasible = true;
    return right.at;
  }
  Multipliers best = right.at;
  const auto lower = [](const Multipliers& a, const Multipliers& b) {
    return a.Bound() < b.Bound();
  };
  if (lower(left.at, best)) best = left.at;
  for (int round = 0; round < tuning::kMostTangents && right.slope > 0; ++round) {
    // Where the two tangents cross; the least value lies between left and right.
    std::int64_t num = left.intercept - right.intercept;
    std::int64_t den = right.slope - left.slope;
    const std::int64_t divisor = std::gcd(num, den);
    if (divisor > 1) {
      num /= divisor;
      den /= divisor;
    }
    const Tangent middle = evaluate.At(num, den);
    if (lower(middle.at, best)) best = middle.at;
    const Wide onTangents = Wide{left.slope} * num + Wide{left.intercept} * den;
    if (middle.at.scaled == onTangents || middle.slope == 0) return middle.at;
    (middle.slope < 0 ? left : right) = middle;
  }
  return best;
}

bool PickBound::Reaches(std::int64_t target, std::int64_t capacity, std::int64_t weight,
                        std::int64_t value, std::int64_t pickCount, Wide gain) const {
  const Wide scaled = Scaled(capacity, weight, value, pickCount, gain);
  // Without the rounding first: it only lowers the bound, and it costs two divisions.
  if (scaled < Wide{target - alpha * capacity} * multipliers.den) return false;
  return step == 1 || OfScaled(capacity, scaled) >= target;
}

PickBound LinearBound(const Multipliers& multipliers, const BoundLimits& limits) {
  return {multipliers, multipliers.lambda >= 0 ? limits.maxCount : limits.minCount, 0, 1};
}

std::optional<PickBound> ResidueBound(std::span<const BoundItem> items, const BoundLimits& limits) {
  std::optional<PickBound> best;
  if (limits.capacity < 0) return best;
  std::vector<BoundItem> residues(items.size());
  for (std::int64_t alpha = 1; alpha <= tuning::kMostResidueMultiplier; ++alpha) {
    std::int64_t step = 0;
    for (std::size_t j = 0; j < items.size() && step != 1; ++j) {
      step = std::gcd(step, items[j].value - alpha * items[j].weight);
    }
    if (step <= 1) continue;
    for (std::size_t j = 0; j < items.size(); ++j) {
      residues[j] = {items[j].weight, items[j].value - alpha * items[j].weight};
    }
    const Multipliers residue = MinimiseBound(residues, limits);
    if (residue.infeasible) continue;
    PickBound bound = LinearBound(residue, limits);
    bound.alpha = alpha;
    bound.step = step;
    if (!best || bound.Whole(limits.capacity) < best->Whole(limits.capacity)) {
      best = bound;
    }
  }
  return best;
}

}  // namespace bagfunc
