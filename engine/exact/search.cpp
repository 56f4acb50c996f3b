#include "engine/exact/search.h"

#include <algorithm>

namespace bagfunc {
namespace {

// The child of a node the walk tries next.
enum class NextChild : std::uint8_t {
  Default,    // the item at its default
  Departure,  // the item away from its default
  None,       // both tried: back up
};

class Deviations {
 public:
  Deviations(const SearchSpace& space, SolveSession& session);
  SearchEnd Run(std::uint64_t nodeBudget);

 private:
  // The pick of node `at`: the decided items, every later one at its default.
  struct Totals {
    std::int64_t weight = 0;
    std::int64_t value = 0;
    std::int64_t taken = 0;
  };
  Totals AtDefaults(std::size_t at) const;
  // Offers the node's pick when it fits and is worth more than the best known.
  void OfferIfBetter(std::size_t at, const Totals& totals);
  // Whether some pick below the node may still be better than the best known.
  bool WorthExpanding(std::size_t at, const Totals& totals) const;
  // Both of the above, for a node the walk enters.
  bool Enter(std::size_t at);
  bool Apply(std::size_t at, bool depart);
  void Undo(std::size_t at);
  void OfferPick(std::size_t at, std::int64_t weight, std::int64_t value);
  void RefreshSlack();
  std::int64_t OpenBound() const;

  const SearchSpace& space_;
  SolveSession& session_;
  std::size_t count_;
  std::size_t at_ = 0;  // the node being searched: items before it are decided
  // Over the items from position i on, at their defaults: weight, value and count taken; the
  // most weight one departure can shed, and what all departures together can shed.
  std::vector<std::int64_t> restWeight_, restValue_, restTaken_, mostShed_, allShed_;
  std::vector<NextChild> next_;        // per decided position, the child to try next
  std::vector<std::uint8_t> departed_; // the choice in force at each decided position
  std::int64_t weight_ = 0;            // totals of the fixed and the decided items
  std::int64_t value_ = 0;
  std::int64_t taken_ = 0;
  Wide penalty_ = 0;                   // the penalties of the departures in force
  Wide slack_ = 0;                     // the penalty a better pick can still afford
  std::int64_t slackFor_ = 0;          // the best value slack_ was computed for
};

Deviations::Deviations(const SearchSpace& space, SolveSession& session)
    : space_(space), session_(session), count_(space.items.size()), restWeight_(count_ + 1),
      restValue_(count_ + 1), restTaken_(count_ + 1), mostShed_(count_ + 1),
      allShed_(count_ + 1), next_(count_ + 1), departed_(count_ + 1) {
  for (std::size_t i = count_; i-- > 0;) {
    const SearchItem& item = space.items[i];
    restWeight_[i] = restWeight_[i + 1] + (item.taken ? item.weight : 0);
    restValue_[i] = restValue_[i + 1] + (item.taken ? item.value : 0);
    restTaken_[i] = restTaken_[i + 1] + (item.taken ? 1 : 0);
    // Leaving a heavy item out, or putting in one of negative weight, makes the pick lighter.
    const std::int64_t shed = item.taken ? std::max<std::int64_t>(item.weight, 0)
                                         : std::max<std::int64_t>(-item.weight, 0);
    mostShed_[i] = std::max(mostShed_[i + 1], shed);
    allShed_[i] = allShed_[i + 1] + shed;
  }
  weight_ = space.fixedWeight;
  value_ = space.fixedValue;
  taken_ = static_cast<std::int64_t>(space.fixedIn.size());
  RefreshSlack();
}

void Deviations::RefreshSlack() {
  slackFor_ = session_.BestValue();
  slack_ = space_.bound - Wide{session_.NextBetterValue()} * space_.den;
  // A pick that meets a bound from outside this space (the residue bound, another count's)
  // leaves nothing to search for.
  if (session_.Settled()) slack_ = -1;
}

void Deviations::OfferPick(std::size_t at, std::int64_t weight, std::int64_t value) {
  std::vector<std::int32_t> pick = space_.fixedIn;
  for (std::size_t i = 0; i < count_; ++i) {
    const SearchItem& item = space_.items[i];
    const bool in = i < at ? item.taken != (departed_[i] != 0) : item.taken;
    if (in) pick.push_back(item.number);
  }
  session_.Offer(std::move(pick), weight, value);
  RefreshSlack();
}

Deviations::Totals Deviations::AtDefaults(std::size_t at) const {
  return {weight_ + restWeight_[at], value_ + restValue_[at], taken_ + restTaken_[at]};
}

void Deviations::OfferIfBetter(std::size_t at, const Totals& totals) {
  if (totals.weight <= space_.capacity && totals.taken <= space_.maxCount &&
      totals.value > session_.BestValue()) {
    OfferPick(at, totals.weight, totals.value);
  }
  if (slackFor_ != session_.BestValue()) RefreshSlack();
}

bool Deviations::WorthExpanding(std::size_t at, const Totals& totals) const {
  if (at == count_) return false;
  const Wide left = slack_ - penalty_;
  const Wide cheapest = space_.items[at].penalty;
  if (left < cheapest) return false;
  // Departures the limits force on this pick, each costing at least the cheapest penalty.
  std::int64_t forced = 0;
  if (totals.taken > space_.maxCount) {
    forced = totals.taken - space_.maxCount;
    if (forced > restTaken_[at]) return false;
  }
  if (totals.taken < space_.minCount) {
    const std::int64_t missing = space_.minCount - totals.taken;
    const auto outside = static_cast<std::int64_t>(count_ - at) - restTaken_[at];
    if (missing > outside) return false;
    forced = std::max(forced, missing);
  }
  if (totals.weight > space_.capacity) {
    const std::int64_t excess = totals.weight - space_.capacity;
    if (excess > allShed_[at]) return false;
    forced = std::max(forced, (excess + mostShed_[at] - 1) / mostShed_[at]);
  }
  return Wide{forced} * cheapest <= left;
}

bool Deviations::Enter(std::size_t at) {
  const Totals totals = AtDefaults(at);
  OfferIfBetter(at, totals);
  return WorthExpanding(at, totals);
}

bool Deviations::Apply(std::size_t at, bool depart) {
  const SearchItem& item = space_.items[at];
  const bool in = item.taken != depart;
  if (depart && penalty_ + item.penalty > slack_) return false;
  if (in && taken_ + 1 > space_.maxCount) return false;
  departed_[at] = depart ? 1 : 0;
  if (depart) penalty_ += item.penalty;
  if (in) {
    weight_ += item.weight;
    value_ += item.value;
    ++taken_;
  }
  return true;
}

void Deviations::Undo(std::size_t at) {
  const SearchItem& item = space_.items[at];
  const bool depart = departed_[at] != 0;
  if (depart) penalty_ -= item.penalty;
  if (item.taken != depart) {
    weight_ -= item.weight;
    value_ -= item.value;
    --taken_;
  }
}

std::int64_t Deviations::OpenBound() const {
  // The current node and every departure still waiting on the path above it.
  Wide best = space_.bound - penalty_;
  Wide above = 0;
  for (std::size_t i = 0; i < at_; ++i) {
    if (next_[i] == NextChild::Departure) {
      best = std::max(best, space_.bound - above - space_.items[i].penalty);
    }
    if (departed_[i] != 0) above += space_.items[i].penalty;
  }
  return std::max(static_cast<std::int64_t>(FloorDiv(best, space_.den)), space_.elsewhere);
}

SearchEnd Deviations::Run(std::uint64_t nodeBudget) {
  std::size_t& at = at_;
  if (!Enter(0)) return SearchEnd::Done;
  for (std::uint64_t nodes = 0;; ++nodes) {
    if (session_.Interrupted()) {
      session_.CapBound(OpenBound());
      return SearchEnd::Interrupted;
    }
    if (nodes >= nodeBudget) return SearchEnd::OverBudget;
    if (session_.HeartbeatDue()) session_.Heartbeat(OpenBound());
    if (next_[at] == NextChild::None) {
      next_[at] = NextChild::Default;
      if (at == 0) return SearchEnd::Done;
      Undo(--at);
      continue;
    }
    const bool depart = next_[at] == NextChild::Departure;
    next_[at] = depart ? NextChild::None : NextChild::Departure;
    if (!Apply(at, depart)) continue;
    if (Enter(at + 1)) {
      ++at;
    } else {
      Undo(at);
    }
  }
}

}  // namespace

SearchSpace FixByBound(std::span<const Candidate> candidates, const Multipliers& multipliers,
                       const BoundLimits& limits, std::int64_t target) {
  SearchSpace space;
  space.den = multipliers.den;
  space.bound = multipliers.scaled;
  space.capacity = limits.capacity;
  space.minCount = limits.minCount;
  space.maxCount = limits.maxCount;
  const Wide slack = multipliers.scaled - Wide{target} * multipliers.den;
  for (const Candidate& c : candidates) {
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

SearchEnd SearchDeviations(const SearchSpace& space, SolveSession& session,
                           std::uint64_t nodeBudget) {
  return Deviations(space, session).Run(nodeBudget);
}

}  // namespace bagfunc
