// The best packing, phase by phase. Each phase ends the solve when the best pick found meets
// the bound; n is the number of candidates (the items that can help a pick).
//  1. Candidates and steps (O(n)): items worth nothing that weigh something are dropped; the
//     weight limit rounds down to a multiple of the weights' common divisor, and every bound
//     to one of the values'.
//  2. A start pick (O(n log n)): the lightest that fits, from items of negative weight; none
//     means no pick fits at all.
//  3. Bounds (O(n) per tangent, a few dozen tangents): the linear relaxation with both limits
//     through its Lagrangian dual (bound.h), and for values that follow the weights the bound
//     that no fraction of an item can reach (ResidueBound).
//  4. Greedy filling by reduced value and single exchanges (improve.h, O(n log n) a move).
//  5. A first glance at the expanding core of phase 9, on a small budget of states and without
//     the bounds by count (which cost more to set up than such a run): settles in a few
//     milliseconds most problems whose many items nearly tie (spanner, weakly correlated).
//  6. A short depth-first search over departures from the bound's pick (search.h, a fixed
//     budget of nodes): settles most problems whose items are far apart.
//  7. Each count a better pick may have, searched on its own in weights shifted by those of
//     its lightest items (shifted.h, O(n) a node, on a budget of a few milliseconds per
//     thousand candidates): settles the problems whose values grow more slowly than their
//     weights (circle), where the bound fills its last room with fractions of items far too
//     heavy to take whole.
//  8. The core of phase 9 on a budget still small; then exchanges of up to two against two
//     near the edge (O(m^2 log m), m = 600 a side): the exact fills that tied, strongly
//     correlated items need.
//  9. The expanding core (core.h): dynamic programming over the states of a window around the
//     edge, with dominance and per-state bounds (by weight, and by count); memory bounded by
//     its state budget. This proves the classes that make many exchanges among items of
//     nearly equal value per weight: spanner, inverse strongly correlated, ...
// 10. Where the core outgrows its budget or cannot take the candidates: phase 7 on a budget of
//     a second or two, then the search of phase 6 without a budget, each count apart where
//     there are few, with a table over weight (and count) taking over where it is small
//     enough (table.h).
// Time and stop requests cut any phase short; the pick is then the best found, with the least
// bound proven so far.
#include "engine/exact/solve.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>

#include "engine/exact/bound.h"
#include "engine/exact/core.h"
#include "engine/exact/improve.h"
#include "engine/exact/pick.h"
#include "engine/exact/search.h"
#include "engine/exact/session.h"
#include "engine/exact/shifted.h"
#include "engine/exact/table.h"
#include "engine/exact/tuning.h"

namespace bagfunc {
namespace {

using namespace tuning;

// The items that can help a pick: one worth nothing or less that weighs nothing or more can
// be left out of any pick without loss.
std::vector<Candidate> UsefulItems(const ExactProblem& problem) {
  std::vector<Candidate> useful;
  for (std::size_t i = 0; i < problem.items.size(); ++i) {
    const Item& item = problem.items[i];
    if (item.Value <= 0 && item.Weight >= 0) continue;
    useful.push_back({static_cast<std::int32_t>(i + 1), {item.Weight, item.Value}});
  }
  return useful;
}

class Solver {
 public:
  Solver(const ExactProblem& problem, const ExactOptions& options)
      : problem_(problem), session_(problem, options), capacity_(problem.maxWeight) {}

  ExactResult Solve();

 private:
  bool StartPick();
  void Offer(const Pick& pick);
  void CountRange();
  void SumMostValues();
  std::int64_t FewestForBetterValue() const;
  void Greedy(const Multipliers& multipliers);
  void Improve(const Multipliers& multipliers, bool exchangesOfTwo);
  SearchEnd Search(const SearchSpace& space);
  SearchSpace Fix(const Multipliers& multipliers, const BoundLimits& limits) const;
  BoundLimits Limits() const;
  SearchEnd SearchByCount(const Multipliers& multipliers);
  // How a walk over the counts ended: at its end, by its visitor, after too many counts, or
  // by the time limit or a stop request.
  enum class Walk { Complete, Ended, TooLong, Interrupted };
  std::int64_t BoundPickCount(const Multipliers& overall, const BoundLimits& limits) const;
  template <typename Visit>
  Walk WalkCounts(const Multipliers& overall, const BoundLimits& limits,
                  std::size_t mostEvaluated, Visit visit);
  std::vector<PickBound> CountBounds(const Multipliers& overall, const BoundLimits& limits);
  SearchEnd SearchShifted(std::uint64_t work);
  struct OverallBounds {
    BoundLimits limits;
    Multipliers multipliers;
    std::optional<PickBound> residue;
  };
  const OverallBounds& Overall();
  bool HoldsAtLeast(const Multipliers& multipliers, std::int64_t count) const;
  SearchEnd SearchByCore(std::uint64_t mostStates, bool boundsByCount);

  const ExactProblem& problem_;
  SolveSession session_;
  std::int64_t capacity_;
  std::int64_t slots_ = 0;
  std::vector<Candidate> items_;
  std::vector<BoundItem> bounded_;  // the same, as the bound sees them
  std::vector<std::int64_t> mostValue_;  // mostValue_[k]: the k most valuable together
  std::optional<OverallBounds> overall_;
  Pick start_{0};
  Pick pick_{0};                   // the heuristics' pick
  std::vector<std::size_t> edge_;  // candidates from most to least worth having
  std::int64_t fewest_ = 0;  // no pick within the weight limit holds fewer items...
  std::int64_t most_ = 0;    // ...or more
  bool slotsBind_ = false;   // some pick within the weight limit would hold more than the slots
};

// The lightest pick that fits: the items of most negative weight, as few as reach the limit.
// False when even the lightest set within the slot limit is too heavy.
bool Solver::StartPick() {
  start_ = Pick(items_.size());
  if (capacity_ >= 0) return true;
  std::vector<std::size_t> light;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].item.weight < 0) light.push_back(i);
  }
  // Candidates are in item order, so the sort is stable on item numbers.
  std::stable_sort(light.begin(), light.end(), [&](std::size_t a, std::size_t b) {
    return items_[a].item.weight < items_[b].item.weight;
  });
  for (const std::size_t i : light) {
    if (start_.Weight() <= capacity_ || start_.Count() >= slots_) break;
    start_.Add(i, items_[i].item);
  }
  return start_.Weight() <= capacity_;
}

void Solver::Offer(const Pick& pick) {
  session_.Offer(pick.Numbers(items_), pick.Weight(), pick.Value());
}

// The weights alone limit the count: k items weigh at least the k lightest together, and
// those sums are convex in k, so the counts that can fit form one range.
void Solver::CountRange() {
  std::vector<std::int64_t> weights;
  weights.reserve(items_.size());
  for (const Candidate& c : items_) weights.push_back(c.item.weight);
  std::sort(weights.begin(), weights.end());
  fewest_ = -1;
  most_ = 0;
  std::int64_t sum = 0;
  const auto all = static_cast<std::int64_t>(weights.size());
  for (std::int64_t k = 0; k <= all; ++k) {
    if (k > 0) sum += weights[static_cast<std::size_t>(k - 1)];
    if (sum > capacity_) continue;
    if (k > slots_) {
      slotsBind_ = true;
      break;
    }
    if (fewest_ < 0) fewest_ = k;
    most_ = k;
  }
}

// The sums of the k most valuable candidates, for every k, once.
void Solver::SumMostValues() {
  std::vector<std::int64_t> values;
  for (const Candidate& c : items_) {
    if (c.item.value > 0) values.push_back(c.item.value);
  }
  std::sort(values.begin(), values.end(), std::greater<>());
  mostValue_.assign(1, 0);
  for (const std::int64_t v : values) mostValue_.push_back(mostValue_.back() + v);
}

// A pick worth more than the best known needs at least this many items.
std::int64_t Solver::FewestForBetterValue() const {
  const std::int64_t target = session_.NextBetterValue();
  if (target <= 0) return 0;
  const auto reaches = std::lower_bound(mostValue_.begin(), mostValue_.end(), target);
  return reaches == mostValue_.end() ? slots_ + 1 : reaches - mostValue_.begin();
}

// The bounds over all counts for the limits a better pick must meet, made again only when
// those limits change (a better pick can raise the fewest items it needs).
const Solver::OverallBounds& Solver::Overall() {
  const BoundLimits limits = Limits();
  if (overall_ && overall_->limits == limits) return *overall_;
  // Where only the fewest items rose and the bound's pick already holds that many, with no
  // count multiplier, the same multipliers give the least bound again.
  if (overall_ && overall_->limits.capacity == limits.capacity &&
      overall_->limits.maxCount == limits.maxCount &&
      HoldsAtLeast(overall_->multipliers, limits.minCount)) {
    overall_->limits = limits;
    overall_->residue = ResidueBound(bounded_, limits);
    return *overall_;
  }
  overall_ = OverallBounds{limits, MinimiseBound(bounded_, limits), ResidueBound(bounded_, limits)};
  return *overall_;
}

// Whether the pick of a bound without a count multiplier holds at least `count` items.
bool Solver::HoldsAtLeast(const Multipliers& multipliers, std::int64_t count) const {
  if (multipliers.infeasible || multipliers.lambda != 0) return false;
  std::int64_t positive = 0;
  for (const BoundItem& item : bounded_) positive += multipliers.Reduced(item) > 0 ? 1 : 0;
  return positive >= count;
}

// A fixed shuffle of item numbers (a multiplicative hash), to break ties without favouring
// light or heavy items.
std::uint32_t Spread(std::int32_t number) {
  return static_cast<std::uint32_t>(number) * 2654435761u;
}

// Adds candidates to the start pick in the order of their reduced values while they fit, then
// improves the pick by single moves.
void Solver::Greedy(const Multipliers& multipliers) {
  std::vector<std::pair<Wide, std::size_t>> order;
  order.reserve(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    order.emplace_back(multipliers.Reduced(items_[i].item), i);
  }
  // The highest reduced value first; among equals the lightest, then the first.
  std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    const std::int64_t wa = items_[a.second].item.weight;
    const std::int64_t wb = items_[b.second].item.weight;
    return wa != wb ? wa < wb : a.second < b.second;
  });
  pick_ = start_;
  for (const auto& [reduced, i] : order) {
    if (pick_.Count() >= slots_) break;
    const BoundItem& item = items_[i].item;
    if (pick_.Has(i) || pick_.Weight() + item.weight > capacity_ || item.value <= 0) continue;
    pick_.Add(i, item);
  }
  Offer(pick_);
  // For the exchanges: the same order, except that equal reduced values are spread over the
  // weights, so that the candidates near the edge are not all of one size.
  std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    return Spread(items_[a.second].number) < Spread(items_[b.second].number);
  });
  edge_.resize(order.size());
  std::transform(order.begin(), order.end(), edge_.begin(), [](const auto& o) { return o.second; });
  Improve(multipliers, false);
}

void Solver::Improve(const Multipliers& multipliers, bool exchangesOfTwo) {
  ImproveByMoves(items_, edge_, pick_,
                 {capacity_, slots_, multipliers.Bound(), exchangesOfTwo}, session_);
  Offer(pick_);
}

// The candidates fixed by the bound for a pick better than the best known (search.h).
SearchSpace Solver::Fix(const Multipliers& multipliers, const BoundLimits& limits) const {
  return FixByBound(items_, multipliers, limits, session_.NextBetterValue());
}

// What a better pick must meet: the weight limit, and a count the weights and the best value
// so far allow.
BoundLimits Solver::Limits() const {
  return {capacity_, std::max(fewest_, FewestForBetterValue()), most_};
}

ExactResult Solver::Solve() {
  items_ = UsefulItems(problem_);
  slots_ = std::min<std::int64_t>(problem_.slotLimit, static_cast<std::int64_t>(items_.size()));
  // Every pick's weight is a multiple of the weights' common divisor, and its value of the
  // values': the limit rounds down, and so does every bound.
  std::int64_t weightStep = 0;
  std::int64_t valueStep = 0;
  for (const Candidate& c : items_) {
    if (weightStep == 1 && valueStep == 1) break;
    weightStep = std::gcd(weightStep, c.item.weight);
    valueStep = std::gcd(valueStep, c.item.value);
  }
  if (weightStep > 1) capacity_ = static_cast<std::int64_t>(FloorDiv(capacity_, weightStep)) * weightStep;
  if (valueStep > 1) session_.SetValueStep(valueStep);
  // The plainest bound first, so that a result always has one: the best values that fit in
  // the slots, weights ignored.
  SumMostValues();
  const auto most = static_cast<std::int64_t>(mostValue_.size()) - 1;
  session_.CapBound(mostValue_[static_cast<std::size_t>(std::clamp<std::int64_t>(slots_, 0, most))]);
  if (problem_.slotLimit < 1 || problem_.items.empty()) {
    // Only the empty set, which fits unless the limit is below 0.
    if (capacity_ >= 0) session_.Offer({}, 0, 0);
    return session_.Finish(true);
  }
  if (!StartPick()) return session_.Finish(true);
  Offer(start_);
  CountRange();
  if (session_.Interrupted()) return session_.Finish(false);

  for (const Candidate& c : items_) bounded_.push_back(c.item);
  const OverallBounds overall = Overall();
  const Multipliers& multipliers = overall.multipliers;
  if (multipliers.infeasible) return session_.Finish(true);
  session_.CapBound(multipliers.Bound());
  if (overall.residue) session_.CapBound(overall.residue->Whole(capacity_));
  if (session_.Settled()) return session_.Finish(true);
  Greedy(multipliers);
  if (session_.Settled()) return session_.Finish(true);
  if (session_.Interrupted()) return session_.Finish(false);
  // A glance at the core, then a short search settle most problems. Where they do not, many
  // items often tie, and exchanges of two may meet the bound; a better pick also fixes more.
  if (const SearchEnd end = SearchByCore(kScoutCoreStates, false); end != SearchEnd::OverBudget) {
    return session_.Finish(end == SearchEnd::Done);
  }
  const SearchEnd quick =
      SearchDeviations(Fix(multipliers, Limits()), session_, kQuickSearchNodes);
  if (quick != SearchEnd::OverBudget) return session_.Finish(quick == SearchEnd::Done);
  const auto candidates = static_cast<std::uint64_t>(items_.size());
  if (const SearchEnd end = SearchShifted(kFirstShiftedWorkPerItem * candidates);
      end != SearchEnd::OverBudget) {
    return session_.Finish(end == SearchEnd::Done);
  }
  // The core with the bounds by count, on a budget still small: where it does not settle the
  // problem (strongly correlated items), exchanges of two often meet the bound instead.
  const std::uint64_t firstStates = std::max(kFirstCoreStates, kFirstCoreStatesPerItem * candidates);
  if (const SearchEnd end = SearchByCore(firstStates, true); end != SearchEnd::OverBudget) {
    return session_.Finish(end == SearchEnd::Done);
  }
  Improve(multipliers, true);
  if (session_.Settled()) return session_.Finish(true);
  if (const SearchEnd end = SearchByCore(kMostCoreStates, true); end != SearchEnd::OverBudget) {
    return session_.Finish(end == SearchEnd::Done);
  }
  if (const SearchEnd end = SearchShifted(kShiftedSearchWork); end != SearchEnd::OverBudget) {
    return session_.Finish(end == SearchEnd::Done);
  }
  return session_.Finish(SearchByCount(multipliers) == SearchEnd::Done);
}

// Whether a's bound is at most b's, before either is rounded.
bool AtMost(const Multipliers& a, const Multipliers& b) {
  const Wide wholeA = FloorDiv(a.scaled, a.den);
  const Wide wholeB = FloorDiv(b.scaled, b.den);
  if (wholeA != wholeB) return wholeA < wholeB;
  // The remainders are below their 64-bit denominators, so the products fit.
  return (a.scaled - wholeA * a.den) * b.den <= (b.scaled - wholeB * b.den) * a.den;
}

// The count of the bound's own pick, where the bounds of exactly k items are highest: the
// items of positive reduced value, and as many of those that tie at 0 as the weight left
// takes, the heaviest first.
std::int64_t Solver::BoundPickCount(const Multipliers& overall, const BoundLimits& limits) const {
  std::int64_t count = 0;
  std::int64_t room = capacity_;
  std::vector<std::int64_t> tied;
  for (const BoundItem& item : bounded_) {
    const Wide reduced = overall.Reduced(item);
    if (reduced > 0) {
      ++count;
      room -= item.weight;
    } else if (reduced == 0) {
      tied.push_back(item.weight);
    }
  }
  std::sort(tied.begin(), tied.end(), std::greater<>());
  for (const std::int64_t weight : tied) {
    if (weight > 0 && room <= 0) continue;
    ++count;
    room -= weight;
  }
  return std::clamp(count, limits.minCount, limits.maxCount);
}

// Walks the counts a better pick may have, from the count of the bound's pick outwards, and
// hands each count whose bound of picks of exactly k items leaves room for a better pick to
// `visit`, until it returns false. That bound is concave in k, so each way the walk ends
// where it is too low and falling (or no fraction of a pick of that many items fits).
template <typename Visit>
Solver::Walk Solver::WalkCounts(const Multipliers& overall, const BoundLimits& limits,
                                std::size_t mostEvaluated, Visit visit) {
  const std::int64_t middle = BoundPickCount(overall, limits);
  std::size_t evaluated = 0;
  for (const std::int64_t step : {std::int64_t{-1}, std::int64_t{1}}) {
    std::optional<Multipliers> previous;
    for (std::int64_t k = step < 0 ? middle : middle + 1;
         k >= limits.minCount && k <= limits.maxCount; k += step) {
      if (++evaluated > mostEvaluated) return Walk::TooLong;
      if (session_.Interrupted()) return Walk::Interrupted;
      const Multipliers exactly = MinimiseBound(bounded_, {capacity_, k, k});
      if (exactly.infeasible) break;
      if (exactly.Bound() >= session_.NextBetterValue()) {
        if (!visit(k, exactly)) return Walk::Ended;
      } else if (previous && AtMost(exactly, *previous)) {
        break;
      }
      previous = exactly;
    }
  }
  return Walk::Complete;
}

// The bounds of picks of exactly k items, for every count whose bound leaves room for a better
// pick. Empty when the counts are many: the bound over all counts then serves alone.
std::vector<PickBound> Solver::CountBounds(const Multipliers& overall,
                                            const BoundLimits& limits) {
  std::vector<PickBound> bounds;
  const Walk walk = WalkCounts(overall, limits, 4 * kMostCoreCountBounds,
                               [&](std::int64_t k, const Multipliers& exactly) {
                                 bounds.push_back({exactly, k, 0, 1});
                                 return bounds.size() <= kMostCoreCountBounds;
                               });
  if (walk != Walk::Complete) return {};
  // The most promising first, as a state passes on the first bound it meets.
  std::stable_sort(bounds.begin(), bounds.end(), [](const PickBound& a, const PickBound& b) {
    return a.multipliers.Bound() > b.multipliers.Bound();
  });
  return bounds;
}

// Each count a better pick may have, searched on its own in shifted weights (shifted.h), on
// one budget of work for all counts; a count's bound and set-up are charged as a search that
// looks at kShiftedWorkPerCount items per candidate.
SearchEnd Solver::SearchShifted(std::uint64_t work) {
  const OverallBounds bounds = Overall();
  if (bounds.multipliers.infeasible) return SearchEnd::Done;
  const std::uint64_t perCount = kShiftedWorkPerCount * items_.size() + 1;
  SearchEnd end = SearchEnd::Done;
  const Walk walk = WalkCounts(bounds.multipliers, bounds.limits, work / perCount,
                               [&](std::int64_t k, const Multipliers& exactly) {
                                 end = SearchCountShifted(Fix(exactly, {capacity_, k, k}), exactly,
                                                          session_, work);
                                 return end == SearchEnd::Done && !session_.Settled();
                               });
  if (walk == Walk::Interrupted) return SearchEnd::Interrupted;
  return walk == Walk::TooLong ? SearchEnd::OverBudget : end;
}

// The expanding core, where it applies and its states stay within bounds; with or without the
// bounds of picks of exactly k items (a bound over the weights and slots alone stands in).
SearchEnd Solver::SearchByCore(std::uint64_t mostStates, bool boundsByCount) {
  if (!CoreApplies(items_, slotsBind_)) return SearchEnd::OverBudget;
  const OverallBounds bounds = Overall();
  const BoundLimits& limits = bounds.limits;
  const Multipliers& overall = bounds.multipliers;
  if (overall.infeasible || overall.Bound() < session_.NextBetterValue()) return SearchEnd::Done;
  // The residue bound costs a state two divisions: only where it is below the plain one.
  std::optional<PickBound> residue = bounds.residue;
  if (residue && residue->Whole(capacity_) >= overall.Bound()) residue.reset();
  CoreLimits core{capacity_, slots_, slotsBind_ ? &overall : nullptr, slotsBind_,
                  boundsByCount ? CountBounds(overall, limits) : std::vector<PickBound>{},
                  residue, mostStates, &overall};
  if (core.countBounds.empty() && (slotsBind_ || overall.lambda != 0)) {
    core.countBounds.push_back(LinearBound(overall, limits));
  }
  return SolveByCore(items_, core, session_);
}

// Searches each count a better pick may have on its own where there are few: the bound of
// picks of exactly k items is often well below the bound over all counts (a fraction of an
// item no longer counts), and it fixes more items. Otherwise one search over all counts.
SearchEnd Solver::SearchByCount(const Multipliers& multipliers) {
  const BoundLimits limits = Limits();
  const std::int64_t counts = limits.maxCount - limits.minCount + 1;
  if (counts <= 1 || counts > kMostCountsApart ||
      counts * static_cast<std::int64_t>(items_.size()) > kMostCountBoundWork) {
    return Search(Fix(multipliers, limits));
  }
  std::vector<std::pair<std::int64_t, Multipliers>> byCount;  // count, bound of that count
  for (std::int64_t k = limits.minCount; k <= limits.maxCount; ++k) {
    const Multipliers exactly = MinimiseBound(bounded_, {capacity_, k, k});
    if (!exactly.infeasible && exactly.Bound() > session_.BestValue()) {
      byCount.emplace_back(k, exactly);
    }
  }
  // The most promising count first; the bound is then that of the counts still to search.
  std::stable_sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
    return a.second.Bound() > b.second.Bound();
  });
  for (std::size_t i = 0; i < byCount.size(); ++i) {
    const auto& [k, exactly] = byCount[i];
    session_.CapBound(exactly.Bound());
    if (session_.Settled()) return SearchEnd::Done;
    if (exactly.Bound() < session_.NextBetterValue()) continue;
    SearchSpace space = Fix(exactly, {capacity_, k, k});
    if (i + 1 < byCount.size()) space.elsewhere = byCount[i + 1].second.Bound();
    if (const SearchEnd end = Search(space); end != SearchEnd::Done) return end;
  }
  return SearchEnd::Done;
}

SearchEnd Solver::Search(const SearchSpace& space) {
  const std::uint64_t cells = TableCells(space);
  if (cells > kMostTableCells) {
    // Without the slot limit the table may be small, and its best pick may keep to the limit.
    if (TableCells(space, true) <= kMostTableCells) {
      if (const SearchEnd end = SolveByTable(space, session_, true); end != SearchEnd::OverBudget) {
        return end;
      }
    }
    return SearchDeviations(space, session_, std::numeric_limits<std::uint64_t>::max());
  }
  // The search first, on a budget, as the table's time is fixed in advance.
  const SearchEnd end = SearchDeviations(space, session_, cells / 16);
  return end == SearchEnd::OverBudget ? SolveByTable(space, session_) : end;
}

}  // namespace

ExactResult SolveExact(const ExactProblem& problem, const ExactOptions& options) {
  return Solver(problem, options).Solve();
}

}  // namespace bagfunc
