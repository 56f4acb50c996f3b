#include "engine/exact/shifted.h"

#include <algorithm>

namespace bagfunc {
namespace {

// A change of the base: an item put in (+1) or taken out (-1).
struct Change {
  std::size_t candidate = 0;
  std::int64_t room = 0;  // the shifted weight it adds, |w - s|
  std::int64_t gain = 0;  // the value it adds, less the count's price for each item it adds
  int sign = 1;
};

class Shifted {
 public:
  Shifted(std::span<const Candidate> candidates, const ShiftedCount& limits,
          SolveSession& session)
      : candidates_(candidates), limits_(limits), session_(session) {}

  SearchEnd Run(std::uint64_t& work);

 private:
  bool SetUp();
  std::int64_t Need() const { return session_.NextBetterValue() - baseValue_; }
  std::size_t FirstFitting(std::size_t from, std::int64_t room) const;
  bool MayReach(std::size_t from, std::int64_t room, std::int64_t gained,
                std::uint64_t& looked) const;
  void OfferPath(std::int64_t room, std::int64_t gained);

  std::span<const Candidate> candidates_;
  const ShiftedCount& limits_;
  SolveSession& session_;
  std::vector<std::size_t> base_;     // candidates every searched pick starts from
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
  const Multipliers& m = limits_.exactly;
  if (m.infeasible) return false;
  const Wide slack = m.scaled - Wide{session_.NextBetterValue()} * m.den;
  if (slack < 0) return false;
  // Items whose departure from the bound's pick would cost more than the slack keep to it.
  std::vector<std::size_t> open;
  std::int64_t weight = 0;
  for (std::size_t i = 0; i < candidates_.size(); ++i) {
    const Wide reduced = m.Reduced(candidates_[i].item);
    if (reduced > slack) {
      base_.push_back(i);
      weight += candidates_[i].item.weight;
      baseValue_ += candidates_[i].item.value;
    } else if (-reduced <= slack) {
      open.push_back(i);
    }
  }
  const auto fixedIn = static_cast<std::int64_t>(base_.size());
  if (fixedIn > limits_.count || limits_.count - fixedIn > static_cast<std::int64_t>(open.size())) {
    return false;
  }
  const auto lightest = static_cast<std::size_t>(limits_.count - fixedIn);
  std::sort(open.begin(), open.end(), [&](std::size_t a, std::size_t b) {
    const std::int64_t wa = candidates_[a].item.weight;
    const std::int64_t wb = candidates_[b].item.weight;
    return wa != wb ? wa < wb : a < b;
  });
  std::int64_t shift = 0;
  if (!open.empty()) shift = candidates_[open[lightest > 0 ? lightest - 1 : 0]].item.weight;
  for (std::size_t j = 0; j < lightest; ++j) {
    base_.push_back(open[j]);
    weight += candidates_[open[j]].item.weight;
    baseValue_ += candidates_[open[j]].item.value;
  }
  room_ = limits_.capacity - weight;
  if (room_ < 0) return false;
  // The count's price at the shift: with it the bound of the changes is the bound of exactly
  // k items (its weight multiplier times the shift, plus its count multiplier).
  const Wide price = FloorDiv(m.lambda + Wide{m.num} * shift, m.den);
  constexpr Wide kMostPrice = Wide{1} << 40;
  const auto p = static_cast<std::int64_t>(std::clamp(price, -kMostPrice, kMostPrice));
  for (std::size_t j = 0; j < open.size(); ++j) {
    const BoundItem& item = candidates_[open[j]].item;
    if (j < lightest) {
      changes_.push_back({open[j], shift - item.weight, p - item.value, -1});
    } else {
      changes_.push_back({open[j], item.weight - shift, item.value - p, 1});
    }
  }
  // Changes of one room and one direction next to each other, the most gain first: a branch
  // that leaves one out leaves out the rest of them too, as making one of those instead
  // would use the same room and count and gain no more.
  std::sort(changes_.begin(), changes_.end(), [&](const Change& a, const Change& b) {
    if (a.room != b.room) return a.room > b.room;
    if (a.sign != b.sign) return a.sign > b.sign;
    return a.gain != b.gain ? a.gain > b.gain : a.candidate < b.candidate;
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
  std::vector<std::uint8_t> in(candidates_.size(), 0);
  for (const std::size_t i : base_) in[i] = 1;
  for (std::size_t j = 0; j < changes_.size(); ++j) {
    if (made_[j] != 0) in[changes_[j].candidate] = changes_[j].sign > 0 ? 1 : 0;
  }
  std::vector<std::int32_t> pick;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] != 0) pick.push_back(candidates_[i].number);
  }
  session_.Offer(std::move(pick), limits_.capacity - room, baseValue_ + gained);
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

SearchEnd SearchCountShifted(std::span<const Candidate> candidates, const ShiftedCount& limits,
                             SolveSession& session, std::uint64_t& work) {
  return Shifted(candidates, limits, session).Run(work);
}

}  // namespace bagfunc
