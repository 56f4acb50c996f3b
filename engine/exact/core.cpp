#include "engine/exact/core.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/exact/tuning.h"

namespace bagfunc {
namespace {

// A change of the base pick: it makes the pick heavier by weight and worth more by value.
// Equal candidates change together in bundles of 1, 2, 4, ... of them, so that any number of
// them is some bundles, and the states do not count the same totals many times over.
struct Change {
  std::size_t first = 0;    // its candidates: members_[first .. first + size)
  std::size_t size = 0;
  std::int64_t weight = 0;  // > 0
  std::int64_t value = 0;   // > 0
  std::int32_t count = 0;   // +size: the candidates go in; -size: they leave the base
  Wide rank = 0;            // with counts: the reduced value under the bound's multipliers
};

struct State {
  std::int64_t weight = 0;
  std::int64_t value = 0;
  std::int32_t node = -1;  // the changes made or undone inside the window, as a chain
  std::int32_t count = 0;
};

// One link of a state's chain: the change it flipped and the chain before it.
struct Node {
  std::int32_t parent = -1;
  std::int32_t change = 0;
};

// Below every value: no state of that count seen yet.
constexpr std::int64_t kNoBest = std::numeric_limits<std::int64_t>::min();

// The greatest value over the states seen so far of at most a given item count, for the
// dominance test with counts: a Fenwick tree of maxima, cleared per step by a generation mark.
class CountMaxima {
 public:
  explicit CountMaxima(std::size_t counts) : best_(counts + 1), stamp_(counts + 1) {}
  void Clear() { ++generation_; }
  std::int64_t UpTo(std::int32_t count) const {
    std::int64_t best = kNoBest;
    for (std::size_t i = Slot(count); i > 0; i -= i & (~i + 1)) {
      if (stamp_[i] == generation_) best = std::max(best, best_[i]);
    }
    return best;
  }
  void Raise(std::int32_t count, std::int64_t value) {
    for (std::size_t i = Slot(count); i < best_.size(); i += i & (~i + 1)) {
      if (stamp_[i] != generation_) {
        stamp_[i] = generation_;
        best_[i] = value;
      } else {
        best_[i] = std::max(best_[i], value);
      }
    }
  }

 private:
  std::size_t Slot(std::int32_t count) const {
    const auto most = static_cast<std::int32_t>(best_.size()) - 2;
    return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, most)) + 1;
  }
  std::vector<std::int64_t> best_;
  std::vector<std::uint32_t> stamp_;
  std::uint32_t generation_ = 1;
};

// What making the change gains under a bound's multipliers, times their denominator.
Wide Reduced(const PickBound& bound, const Change& c) {
  return bound.Reduced(c.weight, c.value, c.count);
}

class Core {
 public:
  Core(std::span<const Candidate> candidates, const CoreLimits& limits, SolveSession& session)
      : candidates_(candidates), limits_(limits), session_(session),
        maxima_(candidates.size()) {}

  SearchEnd Run();

 private:
  void BuildChanges();
  void BuildGains();
  void UpdateGains();
  bool Promising(const State& state, std::int64_t target);
  bool LinearReaches(const State& state, std::int64_t room, std::int64_t target);
  std::int64_t OpenBound() const;
  bool Fixed(std::size_t change) const;
  void Step(std::size_t change, bool undo);
  bool Dominated(const State& state, std::int64_t& bestValue);
  bool Fits(const State& state) const {
    return state.weight <= limits_.capacity && state.count <= limits_.slots;
  }
  void OfferState(const State& state);
  bool CollectNodes();

  std::span<const Candidate> candidates_;
  const CoreLimits& limits_;
  SolveSession& session_;
  bool ranked_ = false;  // ordered by reduced value, not by value per weight
  std::vector<Change> changes_;
  std::vector<PickBound> bounds_;  // the bounds by count, then the residue bound
  // Per bound b: what the changes outside the window can gain under its multipliers,
  // undoing one of the first i (gainLeft_[b][i]) or making one from i on (gainRight_[b][i]);
  // and the sum for the window as it stands.
  std::vector<std::vector<Wide>> gainLeft_, gainRight_;
  std::vector<Wide> gainNow_;
  // Weights and values of the changes before each, in order, for the linear bound.
  std::vector<std::int64_t> sumWeight_, sumValue_;
  // Where the step's last such bound took its change in part (or kUnset).
  static constexpr std::size_t kUnset = std::numeric_limits<std::size_t>::max();
  std::size_t fillAt_ = kUnset;
  std::size_t shedAt_ = kUnset;
  std::vector<std::size_t> members_;    // the candidates of each change, change by change
  std::vector<std::int32_t> changeOf_;  // per candidate: its change, or -1
  std::vector<std::uint8_t> inBase_;
  State start_;
  std::size_t edge_ = 0;   // changes before it are in the starting pick
  std::size_t left_ = 0;   // the window: changes left_..right_-1 are decided by each state
  std::size_t right_ = 0;
  std::vector<State> states_, next_;
  std::vector<Node> nodes_;
  std::size_t nextCollection_ = tuning::kFirstNodeCollection;
  CountMaxima maxima_;
  std::uint64_t work_ = 0;
};

void Core::BuildChanges() {
  ranked_ = limits_.rankBy != nullptr;
  inBase_.assign(candidates_.size(), 0);
  changeOf_.assign(candidates_.size(), -1);
  // Each candidate's own change: weight, value and count, and the candidate.
  struct Single {
    std::int64_t weight, value;
    std::int32_t count;
    std::size_t candidate;
  };
  std::vector<Single> singles;
  for (std::size_t i = 0; i < candidates_.size(); ++i) {
    const BoundItem& item = candidates_[i].item;
    if (item.weight > 0 && item.value > 0) {
      singles.push_back({item.weight, item.value, 1, i});
      continue;
    }
    // Weightless or lighter, and worth something or (with negative weight) nothing: the base
    // holds it; one of negative value may leave it, which makes the pick heavier.
    inBase_[i] = 1;
    start_.weight += item.weight;
    start_.value += item.value;
    ++start_.count;
    if (item.value < 0) singles.push_back({-item.weight, -item.value, -1, i});
  }
  std::sort(singles.begin(), singles.end(), [](const Single& a, const Single& b) {
    if (a.weight != b.weight) return a.weight < b.weight;
    if (a.value != b.value) return a.value < b.value;
    return a.count != b.count ? a.count < b.count : a.candidate < b.candidate;
  });
  for (std::size_t i = 0; i < singles.size();) {
    const Single& one = singles[i];
    std::size_t equal = 1;
    while (i + equal < singles.size() && singles[i + equal].weight == one.weight &&
           singles[i + equal].value == one.value && singles[i + equal].count == one.count) {
      ++equal;
    }
    for (std::size_t size = 1, left = equal; left > 0; size *= 2) {
      const std::size_t take = std::min(size, left);
      const auto times = static_cast<std::int64_t>(take);
      changes_.push_back({members_.size(), take, one.weight * times, one.value * times,
                          static_cast<std::int32_t>(one.count * times), 0});
      for (std::size_t k = 0; k < take; ++k) members_.push_back(singles[i + equal - left + k].candidate);
      left -= take;
    }
    i += equal;
  }
  if (ranked_) {
    const PickBound rank{*limits_.rankBy, 0, 0, 1};
    for (Change& c : changes_) c.rank = Reduced(rank, c);
  }
  // Most worth making first: by reduced value with counts, else by value per weight; ties by
  // the lighter change, then the candidate's place.
  std::sort(changes_.begin(), changes_.end(), [&](const Change& a, const Change& b) {
    if (ranked_ && a.rank != b.rank) return a.rank > b.rank;
    const Wide ab = Wide{a.value} * b.weight;
    const Wide ba = Wide{b.value} * a.weight;
    if (ab != ba) return ab > ba;
    return a.weight != b.weight ? a.weight < b.weight : a.first < b.first;
  });
  for (std::size_t k = 0; k < changes_.size(); ++k) {
    for (std::size_t m = 0; m < changes_[k].size; ++m) {
      changeOf_[members_[changes_[k].first + m]] = static_cast<std::int32_t>(k);
    }
  }
  sumWeight_.assign(1, 0);
  sumValue_.assign(1, 0);
  for (const Change& c : changes_) {
    sumWeight_.push_back(sumWeight_.back() + c.weight);
    sumValue_.push_back(sumValue_.back() + c.value);
  }
  // The edge: with counts the changes the bound makes in full, else as many as fit in order.
  for (edge_ = 0; edge_ < changes_.size(); ++edge_) {
    const Change& c = changes_[edge_];
    if (ranked_ ? c.rank <= 0 : start_.weight + c.weight > limits_.capacity) break;
    start_.weight += c.weight;
    start_.value += c.value;
    start_.count += c.count;
  }
}

void Core::BuildGains() {
  bounds_ = limits_.countBounds;
  if (limits_.residue) bounds_.push_back(*limits_.residue);
  gainLeft_.assign(bounds_.size(), std::vector<Wide>(edge_ + 1));
  gainRight_.assign(bounds_.size(), std::vector<Wide>(changes_.size() - edge_ + 1));
  gainNow_.assign(bounds_.size(), 0);
  for (std::size_t b = 0; b < bounds_.size(); ++b) {
    for (std::size_t i = 0; i < edge_; ++i) {
      gainLeft_[b][i + 1] = gainLeft_[b][i] + std::max<Wide>(0, -Reduced(bounds_[b], changes_[i]));
    }
    for (std::size_t i = changes_.size(); i-- > edge_;) {
      gainRight_[b][i - edge_] =
          gainRight_[b][i - edge_ + 1] + std::max<Wide>(0, Reduced(bounds_[b], changes_[i]));
    }
  }
}

void Core::UpdateGains() {
  for (std::size_t b = 0; b < gainNow_.size(); ++b) {
    gainNow_[b] = gainLeft_[b][left_] + gainRight_[b][right_ - edge_];
  }
}

// Whether the changes outside the window could still lift the state to target: by weight,
// Dembo and Hammer's bound with the next change on the side that helps (in the order by value
// per weight); and one of the bounds by count.
bool Core::Promising(const State& state, std::int64_t target) {
  const std::int64_t room = limits_.capacity - state.weight;
  if (room < 0 && left_ == 0) return false;  // only undoing a change sheds weight
  if (!ranked_) {
    if (room >= 0 && right_ == changes_.size()) {
      if (state.value < target) return false;
    } else {
      const Change& next = room >= 0 ? changes_[right_] : changes_[left_ - 1];
      if (Wide{state.value - target} * next.weight + Wide{room} * next.value < 0) return false;
      // Where the next change does not fill the room (or shed the excess), the relaxation of
      // all the changes outside the window is lower.
      const bool beyondNext = room >= 0 ? room > next.weight : -room > next.weight;
      if (beyondNext && !LinearReaches(state, room, target)) return false;
    }
  }
  const auto reaches = [&](std::size_t b) {
    return bounds_[b].Reaches(target, limits_.capacity, state.weight, state.value, state.count,
                              gainNow_[b]);
  };
  const std::size_t counts = limits_.countBounds.size();
  if (limits_.residue && !reaches(counts)) return false;
  if (counts == 0) return true;
  for (std::size_t b = 0; b < counts; ++b) {
    if (reaches(b)) return true;
  }
  return false;
}

// The linear relaxation of the changes outside the window, which the bound above only
// approximates: with room to spare, making the next changes while they fit and a fraction of
// the first that does not; over the limit, undoing the last changes made until the pick fits,
// the last of them in part. (Taking both ways never helps: the changes made are worth more
// per weight than those still to make.) A step asks in order of rising weight, so the change
// in part moves one way: found by bisection the first time (or if it would move back), then
// by walking.
bool Core::LinearReaches(const State& state, std::int64_t room, std::int64_t target) {
  const auto first = sumWeight_.begin();
  if (room >= 0) {
    // The last j with the changes right_..j-1 fitting in the room.
    const std::int64_t most = sumWeight_[right_] + room;
    std::size_t& j = fillAt_;
    if (j == kUnset || (j < changes_.size() && sumWeight_[j + 1] <= most)) {
      j = static_cast<std::size_t>(std::upper_bound(first + static_cast<std::ptrdiff_t>(right_),
                                                    sumWeight_.end(), most) - first) - 1;
    }
    while (sumWeight_[j] > most) --j;
    const std::int64_t value = state.value + sumValue_[j] - sumValue_[right_];
    if (j == changes_.size()) return value >= target;
    const std::int64_t left = most - sumWeight_[j];
    return Wide{value - target} * changes_[j].weight + Wide{left} * changes_[j].value >= 0;
  }
  // The last i with the changes i..left_-1 shedding the excess; without one, nothing fits.
  const std::int64_t most = sumWeight_[left_] + room;
  if (most < 0) return false;
  std::size_t& i = shedAt_;
  if (i == kUnset || sumWeight_[i + 1] <= most) {
    const auto end = first + static_cast<std::ptrdiff_t>(left_) + 1;
    i = static_cast<std::size_t>(std::upper_bound(first, end, most) - first) - 1;
  }
  while (sumWeight_[i] > most) --i;
  const std::int64_t value = state.value - (sumValue_[left_] - sumValue_[i + 1]);
  const std::int64_t excess = sumWeight_[i + 1] - most;
  return Wide{value - target} * changes_[i].weight - Wide{excess} * changes_[i].value >= 0;
}

// No pick is worth more than the best state's bound (or the best pick known). Each bound
// grows with its scaled numerator, so the greatest numerator of each over the states, divided
// once, bounds them all: a few multiplications a state, for progress reports.
std::int64_t Core::OpenBound() const {
  constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();
  const Wide kLeast = -(Wide{1} << 120);
  std::int64_t filled = kNone;  // states with every change decided and room to spare
  Wide right = kLeast;          // the others, by the change that bounds them
  Wide left = kLeast;
  std::vector<Wide> most(bounds_.size(), kLeast);
  bool any = false;
  for (const State& state : states_) {
    const std::int64_t room = limits_.capacity - state.weight;
    if (room < 0 && left_ == 0) continue;
    any = true;
    if (room >= 0 && right_ == changes_.size()) {
      filled = std::max(filled, state.value);
    } else if (room >= 0) {
      right = std::max(right, Wide{state.value} * changes_[right_].weight +
                                  Wide{room} * changes_[right_].value);
    } else {
      left = std::max(left, Wide{state.value} * changes_[left_ - 1].weight +
                                Wide{room} * changes_[left_ - 1].value);
    }
    for (std::size_t b = 0; b < bounds_.size(); ++b) {
      most[b] = std::max(most[b], bounds_[b].Scaled(limits_.capacity, state.weight, state.value,
                                                    state.count, gainNow_[b]));
    }
  }
  if (!any) return session_.BestValue();
  std::int64_t bound = std::numeric_limits<std::int64_t>::max();
  if (!ranked_) {
    bound = filled;
    if (right > kLeast) {
      bound = std::max(bound, static_cast<std::int64_t>(FloorDiv(right, changes_[right_].weight)));
    }
    if (left > kLeast) {
      bound = std::max(bound, static_cast<std::int64_t>(FloorDiv(left, changes_[left_ - 1].weight)));
    }
  }
  const std::size_t counts = limits_.countBounds.size();
  if (limits_.residue) bound = std::min(bound, bounds_[counts].OfScaled(limits_.capacity, most[counts]));
  if (counts > 0) {
    std::int64_t byCount = kNone;
    for (std::size_t b = 0; b < counts; ++b) {
      byCount = std::max(byCount, bounds_[b].OfScaled(limits_.capacity, most[b]));
    }
    bound = std::min(bound, byCount);
  }
  return std::max(bound, session_.BestValue());
}

// True when a state already in the step's list has no more weight, at least the value and no
// more items; else records the state as the best of its count so far.
bool Core::Dominated(const State& state, std::int64_t& bestValue) {
  if (!limits_.countStates) {
    if (state.value <= bestValue) return true;
    bestValue = state.value;
    return false;
  }
  if (maxima_.UpTo(state.count) >= state.value) return true;
  maxima_.Raise(state.count, state.value);
  return false;
}

// Whether flipping the change alone costs the bound more than a better pick can afford: then
// no better pick flips it (nor, for a bundle, as many of its candidates), and the window takes
// it in without a step.
bool Core::Fixed(std::size_t change) const {
  if (limits_.fixBy == nullptr) return false;
  const Multipliers& m = *limits_.fixBy;
  const Wide reduced = Reduced(PickBound{m, 0, 0, 1}, changes_[change]);
  const Wide slack = m.scaled - Wide{session_.NextBetterValue()} * m.den;
  return (change < edge_ ? reduced : -reduced) > slack;
}

// The window takes in one change: every state, and every state with that change flipped,
// merged by weight; dominated and hopeless states are dropped on the way.
void Core::Step(std::size_t change, bool undo) {
  const Change& c = changes_[change];
  const std::int64_t sign = undo ? -1 : 1;
  const std::int64_t target = session_.NextBetterValue();
  next_.clear();
  maxima_.Clear();
  fillAt_ = shedAt_ = kUnset;
  std::int64_t bestValue = kNoBest;
  std::int64_t bestFit = session_.BestValue();
  std::size_t bestAt = std::numeric_limits<std::size_t>::max();
  const auto flipped = [&](const State& s) {
    return State{s.weight + sign * c.weight, s.value + sign * c.value, -2,
                 static_cast<std::int32_t>(s.count + sign * c.count)};
  };
  const auto consider = [&](State state, std::int32_t parent) {
    if (!Promising(state, target) || Dominated(state, bestValue)) return;
    if (state.node == -2) {
      state.node = static_cast<std::int32_t>(nodes_.size());
      nodes_.push_back({parent, static_cast<std::int32_t>(change)});
    }
    if (Fits(state) && state.value > bestFit) {
      bestFit = state.value;
      bestAt = next_.size();
    }
    next_.push_back(state);
  };
  // The flipped states keep their order: both lists rise in weight. Ties go to the higher
  // value, then to fewer items.
  const auto before = [](const State& a, const State& b) {
    if (a.weight != b.weight) return a.weight < b.weight;
    if (a.value != b.value) return a.value > b.value;
    return a.count < b.count;
  };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < states_.size() || j < states_.size()) {
    if (j == states_.size() || (i < states_.size() && !before(flipped(states_[j]), states_[i]))) {
      consider(states_[i++], -1);
    } else {
      consider(flipped(states_[j]), states_[j].node);
      ++j;
    }
  }
  work_ += states_.size();
  states_.swap(next_);
  if (bestAt != std::numeric_limits<std::size_t>::max()) OfferState(states_[bestAt]);
}

void Core::OfferState(const State& state) {
  std::vector<std::uint8_t> flipped(changes_.size(), 0);
  std::fill(flipped.begin(), flipped.begin() + static_cast<std::ptrdiff_t>(edge_), 1);
  for (std::int32_t n = state.node; n >= 0; n = nodes_[static_cast<std::size_t>(n)].parent) {
    flipped[static_cast<std::size_t>(nodes_[static_cast<std::size_t>(n)].change)] ^= 1;
  }
  std::vector<std::int32_t> numbers;
  for (std::size_t i = 0; i < candidates_.size(); ++i) {
    const std::int32_t k = changeOf_[i];
    const bool in = k < 0 ? inBase_[i] != 0 : (inBase_[i] != 0) != (flipped[static_cast<std::size_t>(k)] != 0);
    if (in) numbers.push_back(candidates_[i].number);
  }
  session_.Offer(std::move(numbers), state.weight, state.value);
}

// Drops the nodes no live state reaches and renumbers the rest; parents come before their
// children, so one pass in order does it. False when the live chains alone are too many.
bool Core::CollectNodes() {
  std::vector<std::int32_t> renumbered(nodes_.size(), -1);
  for (const State& state : states_) {
    for (std::int32_t n = state.node; n >= 0 && renumbered[static_cast<std::size_t>(n)] == -1;
         n = nodes_[static_cast<std::size_t>(n)].parent) {
      renumbered[static_cast<std::size_t>(n)] = -2;
    }
  }
  std::size_t kept = 0;
  for (std::size_t n = 0; n < nodes_.size(); ++n) {
    if (renumbered[n] != -2) continue;
    const std::int32_t parent = nodes_[n].parent;
    nodes_[kept] = {parent < 0 ? -1 : renumbered[static_cast<std::size_t>(parent)], nodes_[n].change};
    renumbered[n] = static_cast<std::int32_t>(kept++);
  }
  nodes_.resize(kept);
  for (State& state : states_) {
    if (state.node >= 0) state.node = renumbered[static_cast<std::size_t>(state.node)];
  }
  nextCollection_ = std::max(tuning::kFirstNodeCollection, 2 * kept);
  return kept <= tuning::kCoreNodesPerState * limits_.mostStates;
}

SearchEnd Core::Run() {
  BuildChanges();
  BuildGains();
  left_ = right_ = edge_;
  states_.push_back(start_);
  if (Fits(start_)) OfferState(start_);
  bool rightTurn = true;
  while (!states_.empty() && (left_ > 0 || right_ < changes_.size())) {
    if ((rightTurn || left_ == 0) && right_ < changes_.size()) {
      ++right_;
      UpdateGains();
      if (!Fixed(right_ - 1)) Step(right_ - 1, false);
    } else {
      --left_;
      UpdateGains();
      if (!Fixed(left_)) Step(left_, true);
    }
    rightTurn = !rightTurn;
    if (session_.Settled()) return SearchEnd::Done;
    if (states_.size() > limits_.mostStates) return SearchEnd::OverBudget;
    if (nodes_.size() >= nextCollection_ && !CollectNodes()) return SearchEnd::OverBudget;
    if (session_.Interrupted(work_ / 16 + 1)) {
      session_.CapBound(OpenBound());
      return SearchEnd::Interrupted;
    }
    work_ = 0;
    if (session_.HeartbeatDue()) session_.Heartbeat(OpenBound());
  }
  return SearchEnd::Done;
}

}  // namespace

bool CoreApplies(std::span<const Candidate> candidates, bool countStates) {
  if (!countStates) return true;
  return std::none_of(candidates.begin(), candidates.end(), [](const Candidate& c) {
    return c.item.weight <= 0 && c.item.value >= 0;
  });
}

SearchEnd SolveByCore(std::span<const Candidate> candidates, const CoreLimits& limits,
                      SolveSession& session) {
  return Core(candidates, limits, session).Run();
}

}  // namespace bagfunc
