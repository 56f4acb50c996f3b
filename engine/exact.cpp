// The best packing: bound, heuristics, fixing, then the search over what is left open.
#include "engine/exact.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "engine/exactsearch.h"
#include "engine/exacttable.h"
#include "engine/exactsession.h"
#include "engine/lagrange.h"

namespace bagfunc {
namespace {

// The table takes one bit a cell: at most this many keeps it near 32 MB and a second or two.
constexpr std::uint64_t kMostTableCells = std::uint64_t{1} << 28;

struct Candidate {
  std::int32_t number = 0;
  BoundItem item;
};

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

// A pick and its totals while it is being built.
struct Pick {
  std::vector<std::int32_t> numbers;
  std::int64_t weight = 0;
  std::int64_t value = 0;

  void Add(const Candidate& c) {
    numbers.push_back(c.number);
    weight += c.item.weight;
    value += c.item.value;
  }
};

class Solver {
 public:
  Solver(const ExactProblem& problem, const ExactOptions& options)
      : problem_(problem), session_(problem, options), capacity_(problem.maxWeight) {}

  ExactResult Solve();

 private:
  bool StartPick();
  void CountRange();
  std::int64_t FewestForBetterValue() const;
  void Greedy(const Multipliers& multipliers);
  SearchSpace Fix(const Multipliers& multipliers) const;

  const ExactProblem& problem_;
  SolveSession session_;
  std::int64_t capacity_;
  std::int64_t slots_ = 0;
  std::vector<Candidate> items_;
  Pick start_;
  std::int64_t fewest_ = 0;  // no pick within the weight limit holds fewer items...
  std::int64_t most_ = 0;    // ...or more
};

// The lightest pick that fits: the items of most negative weight, as few as reach the limit.
// False when even the lightest set within the slot limit is too heavy.
bool Solver::StartPick() {
  if (capacity_ >= 0) return true;
  std::vector<const Candidate*> light;
  for (const Candidate& c : items_) {
    if (c.item.weight < 0) light.push_back(&c);
  }
  std::sort(light.begin(), light.end(), [](const Candidate* a, const Candidate* b) {
    return a->item.weight != b->item.weight ? a->item.weight < b->item.weight
                                            : a->number < b->number;
  });
  for (const Candidate* c : light) {
    if (start_.weight <= capacity_ || static_cast<std::int64_t>(start_.numbers.size()) >= slots_) {
      break;
    }
    start_.Add(*c);
  }
  return start_.weight <= capacity_;
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

// Adds items to the start pick in the order of their reduced values while they fit.
void Solver::Greedy(const Multipliers& multipliers) {
  std::vector<std::pair<Wide, const Candidate*>> order;
  order.reserve(items_.size());
  for (const Candidate& c : items_) order.emplace_back(multipliers.Reduced(c.item), &c);
  std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    if (a.second->item.weight != b.second->item.weight) {
      return a.second->item.weight < b.second->item.weight;
    }
    return a.second->number < b.second->number;
  });
  Pick pick = start_;
  std::vector<bool> in(problem_.items.size() + 1);
  for (const std::int32_t number : pick.numbers) in[static_cast<std::size_t>(number)] = true;
  for (const auto& [reduced, c] : order) {
    if (static_cast<std::int64_t>(pick.numbers.size()) >= slots_) break;
    if (in[static_cast<std::size_t>(c->number)]) continue;
    if (pick.weight + c->item.weight > capacity_) continue;
    if (c->item.value <= 0 && pick.weight <= capacity_) continue;
    pick.Add(*c);
    in[static_cast<std::size_t>(c->number)] = true;
  }
  session_.Offer(pick.numbers, pick.weight, pick.value);
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
  session_.Offer(start_.numbers, start_.weight, start_.value);
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
