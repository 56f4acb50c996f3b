#include "engine/exact/improve.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "engine/exact/tuning.h"

namespace bagfunc {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A move: candidates leaving and entering the pick, and what it gains.
struct Move {
  std::int64_t gain = 0;
  std::array<std::size_t, 2> out{kNone, kNone};
  std::array<std::size_t, 2> in{kNone, kNone};

  void Apply(std::span<const Candidate> candidates, Pick& pick) const {
    for (const std::size_t c : out) {
      if (c != kNone) pick.Remove(c, candidates[c].item);
    }
    for (const std::size_t c : in) {
      if (c != kNone) pick.Add(c, candidates[c].item);
    }
  }
};

// Sets of up to two candidates, by size, sorted by weight; best[i] is the most valuable of the
// first i + 1.
struct Sets {
  struct Set {
    std::int64_t weight = 0;
    std::int64_t value = 0;
    std::array<std::size_t, 2> members{kNone, kNone};
  };
  std::array<std::vector<Set>, 3> bySize;
  std::array<std::vector<std::size_t>, 3> best;

  Sets(std::span<const Candidate> candidates, const std::vector<std::size_t>& core) {
    bySize[0].push_back({});
    for (std::size_t x = 0; x < core.size(); ++x) {
      const BoundItem& a = candidates[core[x]].item;
      bySize[1].push_back({a.weight, a.value, {core[x], kNone}});
      for (std::size_t y = x + 1; y < core.size(); ++y) {
        const BoundItem& b = candidates[core[y]].item;
        bySize[2].push_back({a.weight + b.weight, a.value + b.value, {core[x], core[y]}});
      }
    }
    for (std::size_t size = 0; size < 3; ++size) {
      auto& sets = bySize[size];
      std::stable_sort(sets.begin(), sets.end(),
                       [](const Set& a, const Set& b) { return a.weight < b.weight; });
      best[size].resize(sets.size());
      for (std::size_t i = 0; i < sets.size(); ++i) {
        best[size][i] = i > 0 && sets[best[size][i - 1]].value >= sets[i].value
                            ? best[size][i - 1]
                            : i;
      }
    }
  }

  // The most valuable set of that size weighing at most room, or nothing.
  const Set* BestWithin(std::size_t size, std::int64_t room) const {
    const auto& sets = bySize[size];
    const auto end = std::partition_point(sets.begin(), sets.end(),
                                          [&](const Set& s) { return s.weight <= room; });
    if (end == sets.begin()) return nullptr;
    return &sets[best[size][static_cast<std::size_t>(end - sets.begin() - 1)]];
  }
};

// The best exchange of up to two picked candidates for up to two unpicked ones near the edge.
Move BestExchange(std::span<const Candidate> candidates, std::span<const std::size_t> edge,
                  const Pick& pick, const MoveLimits& limits) {
  std::vector<std::size_t> entering;
  std::vector<std::size_t> leaving;
  for (auto c = edge.begin(); c != edge.end() && entering.size() < tuning::kExchangeSide; ++c) {
    if (!pick.Has(*c)) entering.push_back(*c);
  }
  for (auto c = edge.rbegin(); c != edge.rend() && leaving.size() < tuning::kExchangeSide; ++c) {
    if (pick.Has(*c)) leaving.push_back(*c);
  }
  const Sets in(candidates, entering);
  const Sets out(candidates, leaving);
  const std::int64_t room = limits.capacity - pick.Weight();
  const std::int64_t spare = limits.slots - pick.Count();
  Move best;
  for (std::size_t outSize = 0; outSize < 3; ++outSize) {
    for (const auto& gone : out.bySize[outSize]) {
      for (std::size_t inSize = 0; inSize < 3; ++inSize) {
        if (static_cast<std::int64_t>(inSize) - static_cast<std::int64_t>(outSize) > spare) break;
        const Sets::Set* come = in.BestWithin(inSize, room + gone.weight);
        if (come != nullptr && come->value - gone.value > best.gain) {
          best = {come->value - gone.value, gone.members, come->members};
        }
      }
    }
  }
  return best;
}

}  // namespace

void ImproveByMoves(std::span<const Candidate> candidates, std::span<const std::size_t> edge,
                    Pick& pick, const MoveLimits& limits, SolveSession& session) {
  const std::size_t n = candidates.size();
  // Candidates by weight, lightest first; among equal weights the most valuable first.
  std::vector<std::size_t> byWeight(n);
  std::iota(byWeight.begin(), byWeight.end(), 0);
  std::sort(byWeight.begin(), byWeight.end(), [&](std::size_t a, std::size_t b) {
    const BoundItem& x = candidates[a].item;
    const BoundItem& y = candidates[b].item;
    if (x.weight != y.weight) return x.weight < y.weight;
    return x.value != y.value ? x.value > y.value : a < b;
  });
  std::vector<std::int64_t> weights(n);
  for (std::size_t p = 0; p < n; ++p) weights[p] = candidates[byWeight[p]].item.weight;
  // bestUpTo[p]: the most valuable unpicked candidate among the first p + 1 by weight.
  std::vector<std::size_t> bestUpTo(n);
  const auto bestWithin = [&](std::int64_t room) {
    const auto end = std::upper_bound(weights.begin(), weights.end(), room);
    return end == weights.begin() ? kNone
                                  : bestUpTo[static_cast<std::size_t>(end - weights.begin() - 1)];
  };
  const auto value = [&](std::size_t c) { return candidates[c].item.value; };

  while (pick.Value() < limits.goal && !session.Interrupted()) {
    std::size_t best = kNone;
    for (std::size_t p = 0; p < n; ++p) {
      const std::size_t c = byWeight[p];
      if (!pick.Has(c) && (best == kNone || value(c) > value(best))) best = c;
      bestUpTo[p] = best;
    }
    const std::int64_t room = limits.capacity - pick.Weight();
    Move move;
    if (pick.Count() < limits.slots) {
      if (const std::size_t add = bestWithin(room); add != kNone && value(add) > 0) {
        move = {value(add), {kNone, kNone}, {add, kNone}};
      }
    }
    for (std::size_t c = 0; c < n; ++c) {
      if (!pick.Has(c)) continue;
      const std::size_t swap = bestWithin(room + candidates[c].item.weight);
      if (swap != kNone && value(swap) - value(c) > move.gain) {
        move = {value(swap) - value(c), {c, kNone}, {swap, kNone}};
      }
    }
    if (move.gain <= 0 && limits.exchangesOfTwo) {
      move = BestExchange(candidates, edge, pick, limits);
    }
    if (move.gain <= 0) return;
    move.Apply(candidates, pick);
  }
}

}  // namespace bagfunc
