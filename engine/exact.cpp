// The best packing: bound, heuristics, fixing, then the search over what is left open.
#include "engine/exact.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "engine/exactimprove.h"
#include "engine/exactpick.h"
#include "engine/exactsearch.h"
#include "engine/exacttable.h"
#include "engine/exactsession.h"
#include "engine/lagrange.h"

namespace bagfunc {
namespace {

// The table takes one bit a cell: at most this many keeps it near 32 MB and a second or two.
constexpr std::uint64_t kMostTableCells = std::uint64_t{1} << 28;

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
  std::int64_t FewestForBetterValue() const;
  void Greedy(const Multipliers& multipliers);
  SearchSpace Fix(const Multipliers& multipliers) const;

  const ExactProblem& problem_;
  SolveSession session_;
  std::int64_t capacity_;
  std::int64_t slots_ = 0;
  std::vector<Candidate> items_;
  Pick start_{0};
  std::int64_t fewest_ = 0;  // no pick within the weight limit holds fewer items...
  std::int64_t most_ = 0;    // ...or more
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
  for (std::int64_t k = 0; k <= slots_; ++k) {
    if (k > 0) sum += weights[static_cast<std::size_t>(k - 1)];
    if (sum <= capacity_) {
      if (fewest_ < 0) fewest_ = k;
      most_ = k;
    }
  }
}

// A pick worth more than the best known needs at least this many items.
std::int64_t Solver::FewestForBetterValue() const {
  const std::int64_t target = session_.BestValue() + 1;
  if (target <= 0) return 0;
  std::vector<std::int64_t> values;
  for (const Candidate& c : items_) {
    if (c.item.value > 0) values.push_back(c.item.value);
  }
  std::sort(values.begin(), values.end(), std::greater<>());
  std::int64_t sum = 0;
  for (std::size_t k = 0; k < values.size(); ++k) {
    sum += values[k];
    if (sum >= target) return static_cast<std::int64_t>(k + 1);
  }
  return slots_ + 1;
}

// A fixed shuffle of item numbers (a multiplicative hash), to break ties without favouring
// light or heavy items.
std::uint32_t Spread(std::int32_t number) {
  return static_cast<std::uint32_t>(number) * 2654435761u;
}

// Adds candidates to the start pick in the order of their reduced values while they fit, then
// improves the pick by exchanges.
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
  Pick pick = start_;
  for (const auto& [reduced, i] : order) {
    if (pick.Count() >= slots_) break;
    const BoundItem& item = items_[i].item;
    if (pick.Has(i) || pick.Weight() + item.weight > capacity_ || item.value <= 0) continue;
    pick.Add(i, item);
  }
  Offer(pick);
  // For the exchanges: the same order, except that equal reduced values are spread over the
  // weights, so that the candidates near the edge are not all of one size.
  std::vector<std::size_t> edge(order.size());
  std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    return Spread(items_[a.second].number) < Spread(items_[b.second].number);
  });
  std::transform(order.begin(), order.end(), edge.begin(), [](const auto& o) { return o.second; });
  ImproveByMoves(items_, edge, pick, {capacity_, slots_, multipliers.Bound()}, session_);
  Offer(pick);
}

// Fixes every item whose departure from its default would cost more than the bound can
// spare; the rest go to the search, cheapest departure first.
SearchSpace Solver::Fix(const Multipliers& multipliers) const {
  SearchSpace space;
  space.den = multipliers.den;
  space.bound = multipliers.scaled;
  space.capacity = capacity_;
  space.maxCount = most_;
  space.minCount = std::max(fewest_, FewestForBetterValue());
  const Wide slack = multipliers.scaled - (Wide{session_.BestValue()} + 1) * multipliers.den;
  for (const Candidate& c : items_) {
    const Wide reduced = multipliers.Reduced(c.item);
    const Wide penalty = reduced < 0 ? -reduced : reduced;
    if (penalty > slack) {
      if (reduced > 0) {
        space.fixedIn.push_back(c.number);
        space.fixedWeight += c.item.weight;
        space.fixedValue += c.item.value;
      }
      continue;
    }
    space.items.push_back({c.number, c.item.weight, c.item.value, penalty, reduced > 0});
  }
  std::sort(space.items.begin(), space.items.end(), [](const SearchItem& a, const SearchItem& b) {
    return a.penalty != b.penalty ? a.penalty < b.penalty : a.number < b.number;
  });
  return space;
}

ExactResult Solver::Solve() {
  items_ = UsefulItems(problem_);
  slots_ = std::min<std::int64_t>(problem_.slotLimit, static_cast<std::int64_t>(items_.size()));
  // The plainest bound first, so that a result always has one: the best values that fit in
  // the slots, weights ignored.
  {
    std::vector<std::int64_t> values;
    for (const Candidate& c : items_) values.push_back(std::max<std::int64_t>(c.item.value, 0));
    std::sort(values.begin(), values.end(), std::greater<>());
    const auto slots = static_cast<std::size_t>(std::max<std::int64_t>(slots_, 0));
    session_.LowerBound(std::accumulate(values.begin(), values.begin() + slots, std::int64_t{0}));
  }
  if (problem_.slotLimit < 1 || problem_.items.empty()) {
    // Only the empty set, which fits unless the limit is below 0.
    if (capacity_ >= 0) session_.Offer({}, 0, 0);
    return session_.Finish(true);
  }
  if (!StartPick()) return session_.Finish(true);
  Offer(start_);
  CountRange();
  if (session_.Interrupted()) return session_.Finish(false);

  const BoundLimits limits{capacity_, std::max(fewest_, FewestForBetterValue()), most_};
  std::vector<BoundItem> bounded;
  bounded.reserve(items_.size());
  for (const Candidate& c : items_) bounded.push_back(c.item);
  const Multipliers multipliers = MinimiseBound(bounded, limits);
  if (multipliers.infeasible) return session_.Finish(true);
  session_.LowerBound(multipliers.Bound());
  if (multipliers.Bound() <= session_.BestValue()) return session_.Finish(true);
  Greedy(multipliers);
  if (multipliers.Bound() <= session_.BestValue()) return session_.Finish(true);
  if (session_.Interrupted()) return session_.Finish(false);
  const SearchSpace space = Fix(multipliers);
  SearchEnd end = SearchEnd::OverBudget;
  const std::uint64_t cells = TableCells(space);
  if (cells <= kMostTableCells) {
    // The search first, on a budget: it settles most problems in a few nodes, while the
    // table's time is fixed in advance and ties cannot slow it.
    end = SearchDeviations(space, session_, std::max<std::uint64_t>(cells / 16, 100000));
    if (end == SearchEnd::OverBudget) end = SolveByTable(space, session_);
  } else {
    end = SearchDeviations(space, session_, std::numeric_limits<std::uint64_t>::max());
  }
  return session_.Finish(end == SearchEnd::Done);
}

}  // namespace

ExactResult SolveExact(const ExactProblem& problem, const ExactOptions& options) {
  return Solver(problem, options).Solve();
}

}  // namespace bagfunc
