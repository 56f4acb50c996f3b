#include "engine/exact/shifted.h"

#include <algorithm>

namespace bagfunc {
namespace {

// A change of the base: an item put in (+1) or taken out (-1).
struct Change {
  std::int32_t number = 0;  // the item
  std::int64_t room = 0;    // the shifted weight it adds, |w - s|
  std::int64_t gain = 0;    // the value it adds, less the count's price for each item it adds
  int sign = 1;
};

class Shifted {
 public:
  Shifted(const SearchSpace& space, const Multipliers& exactly, SolveSession& session)
      : space_(space), exactly_(exactly), session_(session) {}

  SearchEnd Run(std::uint64_t& work);

 private:
  bool SetUp();
  std::int64_t Need() const { return session_.NextBetterValue() - baseValue_; }
  std::size_t FirstFitting(std::size_t from, std::int64_t room) const;
  bool MayReach(std::size_t from, std::int64_t room, std::int64_t gained,
                std::uint64_t& looked) const;
  void OfferPath(std::int64_t room, std::int64_t gained);

  const SearchSpace& space_;
  const Multipliers& exactly_;
  SolveSession& session_;
  std::vector<Change> changes_;       // by the room they take, most first
  std::vector<std::size_t> byWorth_;  // changes of positive gain, most gain per room first
  std::vector<std::size_t> afterAlike_;  // per change, the next of another room or direction
  std::vector<std::uint8_t> made_;    // the changes on the branch being searched
  std::int64_t room_ = 0;             // the weight limit less the base's weight
  std::int64_t baseValue_ = 0;
};

// The base, the changes and their order; false when the bound alone leaves no pick of the
// count better than the best known.
bool Shifted::SetUp() {
  const Multipliers& m = exactly_;
  if (m.infeasible || space_.bound < Wide{session_.NextBetterValue()} * space_.den) return false;
  const std::int64_t count = space_.minCount;
  const auto fixedIn = static_cast<std::int64_t>(space_.fixedIn.size());
  const auto open = static_cast<std::int64_t>(space_.items.size());
  if (fixedIn > count || count - fixedIn > open) return false;
  // The open items, lightest first; the base takes as many of them as the count lacks.
  std::vector<const SearchItem*> byWeight;
  for (const SearchItem& item : space_.items) byWeight.push_back(&item);
  std::sort(byWeight.begin(), byWeight.end(), [](const SearchItem* a, const SearchItem* b) {
    return a->weight != b->weight ? a->weight < b->weight : a->number < b->number;
  });
  const auto lightest = static_cast<std::size_t>(count - fixedIn);
  std::int64_t shift = 0;
  if (!byWeight.empty()) shift = byWeight[lightest > 0 ? lightest - 1 : 0]->weight;
  std::int64_t weight = space_.fixedWeight;
  baseValue_ = space_.fixedValue;
  for (std::size_t j = 0; j < lightest; ++j) {
    weight += byWeight[j]->weight;
    baseValue_ += byWeight[j]->value;
  }
  room_ = space_.capacity - weight;
  if (room_ < 0) return false;
  // The count's price at the shift: with it the bound of the changes is the bound of exactly
  // k items (its weight multiplier times the shift, plus its count multiplier).
  const Wide price = FloorDiv(m.lambda + Wide{m.num} * shift, m.den);
  constexpr Wide kMostPrice = Wide{1} << 40;
  const auto p = static_cast<std::int64_t>(std::clamp(price, -kMostPrice, kMostPrice));
  for (std::size_t j = 0; j < byWeight.size(); ++j) {
    const SearchItem& item = *byWeight[j];
    if (j < lightest) {
      changes_.push_back({item.number, shift - item.weight, p - item.value, -1});
    } else {
      changes_.push_back({item.number, item.weight - shift, item.value - p, 1});
    }
  }
  // Changes of one room and one direction next to each other, the most gain first: a branch
  // that leaves one out leaves out the rest of them too, as making one of those instead
  // would use the same room and count and gain no more.
  std::sort(changes_.begin(), changes_.end(), [&](const Change& a, const Change& b) {
    if (a.room != b.room) return a.room > b.room;
    if (a.sign != b.sign) return a.sign > b.sign;
    return a.gain != b.gain ? a.gain > b.gain : a.number < b.number;
  });
  afterAlike_.assign(changes_.size(), changes_.size());
  for (std::size_t j = changes_.size(); j-- > 1;) {
    const Change& a = changes_[j - 1];
    const Change& b = changes_[j];
    afterAlike_[j - 1] = a.room == b.room && a.sign == b.sign ? afterAlike_[j] : j;
  }
  for (std::size_t j = 0; j < changes_.size(); ++j) {
    if (changes_[j].gain > 0) byWorth_.push_back(j);
  }
  std::sort(byWorth_.begin(), byWorth_.end(), [&](std::size_t a, std::size_t b) {
    const Wide left = Wide{changes_[a].gain} * changes_[b].room;
    const Wide right = Wide{changes_[b].gain} * changes_[a].room;
    return left != right ? left > right : a < b;
  });
  made_.assign(changes_.size(), 0);
  return true;
}

// The first change from `from` on that fits in the room (changes are by room, most first).
std::size_t Shifted::FirstFitting(std::size_t from, std::int64_t room) const {
  const auto fits = std::partition_point(changes_.begin() + static_cast<std::ptrdiff_t>(from),
                                         changes_.end(),
                                         [&](const Change& c) { return c.room > room; });
  return static_cast<std::size_t>(fits - changes_.begin());
}

// Whether the changes from `from` on that fit in the room may still gain enough, by their
// linear relaxation: whole changes by gain per room, and a fraction of the first that does
// not fit in what is left.
bool Shifted::MayReach(std::size_t from, std::int64_t room, std::int64_t gained,
                       std::uint64_t& looked) const {
  const std::int64_t need = Need() - gained;
  if (need <= 0) return true;
  std::int64_t sum = 0;
  std::int64_t left = room;
  for (const std::size_t j : byWorth_) {
    ++looked;
    const Change& c = changes_[j];
    if (j < from || c.room > room) continue;
    if (c.room <= left) {
      sum += c.gain;
      left -= c.room;
      if (sum >= need) return true;
      continue;
    }
    return Wide{sum - need} * c.room + Wide{c.gain} * left >= 0;
  }
  return false;
}

void Shifted::OfferPath(std::int64_t room, std::int64_t gained) {
  // The fixed items, the base's open items not taken out, and those put in.
  std::vector<std::int32_t> pick = space_.fixedIn;
  for (std::size_t j = 0; j < changes_.size(); ++j) {
    if ((made_[j] != 0) == (changes_[j].sign > 0)) pick.push_back(changes_[j].number);
  }
  session_.Offer(std::move(pick), space_.capacity - room, baseValue_ + gained);
}

SearchEnd Shifted::Run(std::uint64_t& work) {
  if (!SetUp()) return SearchEnd::Done;
  // A node: the changes before `at` are decided; the branch has used the room down to `room`,
  // gained `gained` and put in `balance` more items than it took out.
  struct Node {
    std::size_t at;
    std::int64_t room;
    std::int64_t gained;
    std::int64_t balance;
    int stage;  // 0: not yet entered, 1: the change at `at` made, 2: and left out
  };
  std::vector<Node> stack{{0, room_, 0, 0, 0}};
  while (!stack.empty()) {
    Node& node = stack.back();
    if (node.stage == 0) {
      std::uint64_t looked = 1;
      // With as many items put in as taken out, the gain is the value the changes add.
      if (node.balance == 0 && node.gained >= Need()) {
        OfferPath(node.room, node.gained);
        if (session_.Settled()) return SearchEnd::Done;
      }
      node.at = FirstFitting(node.at, node.room);
      const bool open =
          node.at < changes_.size() && MayReach(node.at, node.room, node.gained, looked);
      if (looked > work) {
        work = 0;
        return SearchEnd::OverBudget;
      }
      work -= looked;
      if (session_.Interrupted(looked / 16 + 1)) return SearchEnd::Interrupted;
      if (session_.HeartbeatDue()) session_.Heartbeat();
      if (!open) {
        stack.pop_back();
        continue;
      }
      node.stage = 1;
      const Change& c = changes_[node.at];
      made_[node.at] = 1;
      stack.push_back({node.at + 1, node.room - c.room, node.gained + c.gain,
                       node.balance + c.sign, 0});
    } else if (node.stage == 1) {
      made_[node.at] = 0;
      node.stage = 2;
      const Node skip{afterAlike_[node.at], node.room, node.gained, node.balance, 0};
      stack.push_back(skip);
    } else {
      stack.pop_back();
    }
  }
  return SearchEnd::Done;
}

}  // namespace

SearchEnd SearchCountShifted(const SearchSpace& space, const Multipliers& exactly,
                             SolveSession& session, std::uint64_t& work) {
  return Shifted(space, exactly, session).Run(work);
}

}  // namespace bagfunc
