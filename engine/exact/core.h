// The expanding core: dynamic programming over the states of a window of items that grows
// outwards from the edge of the bound's pick, the method of the primal-dual knapsack solvers.
//
// Every candidate becomes a change of a base pick that makes it heavier and worth more:
// adding an item of positive weight and value, or leaving out one of negative weight and
// value (which the base holds). Ordered from most to least worth making, the first changes
// form the starting pick (the edge of the bound's pick). A state is a pick that differs from
// the starting one only inside the window [left, right): right of the edge by changes made,
// left of it by changes undone. The window grows one change a step on alternate sides; each
// step doubles the states, then drops every state that another one dominates (no heavier, no
// less valuable, and with slots: no more items) and every state whose bound (what the changes
// outside the window can still add) leaves no room for a better pick. It ends when no state
// is left or the window holds every change; the best pick that fits is then the optimum.
//
// Without a slot limit that can bind, changes are ordered by value per weight and a state's
// bound uses the next change outside the window on the side that helps it (Dembo and Hammer's
// bound, as in Pisinger's minknap). With a binding slot limit, changes are ordered by their
// reduced value under the bound's two multipliers and a state with fewer items is worth more.
// Either way a state must also pass one of the bounds by item count: for each count a better
// pick may have, the Lagrangian bound of picks of exactly that many items, taken with the
// state's own totals and what the changes outside the window can gain under it. Where many
// items have nearly one value per weight, these are far below the bound over all counts (the
// cardinality bounds of Martello, Pisinger and Toth's combo).
//
// Cost: time and memory grow with the number of states, which dominance keeps near the number
// of distinct weights a window's picks can have; a state takes 24 bytes, and a run that would
// need more than the given number of states gives up (OverBudget) with memory freed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/exact/bound.h"
#include "engine/exact/pick.h"
#include "engine/exact/search.h"

namespace bagfunc {

struct CoreLimits {
  std::int64_t capacity = 0;
  std::int64_t slots = 0;  // what a pick may hold
  // Null: changes by value per weight, and Dembo and Hammer's bound; else by their reduced
  // value under these multipliers (the bound with a binding slot limit).
  const Multipliers* rankBy = nullptr;
  // States with more items are no better than those with fewer: only when the slots bind.
  bool countStates = false;
  // Every better pick is within one of these bounds (those of picks of exactly k items, for
  // the counts a better pick may have); none: the weight alone bounds.
  std::vector<PickBound> countBounds;
  // And within this one, where values follow the weights.
  std::optional<PickBound> residue;
  std::uint64_t mostStates = 0;  // states kept at once, at most
  // The bound over all counts: a change whose flip alone costs it more than a better pick can
  // afford is never flipped, so the window passes it without a step. Null: none passed.
  const Multipliers* fixBy = nullptr;
};

// True when the core can take these candidates: without counts every candidate; with counts
// none that weighs nothing or less and is worth something (it would take a slot for free).
bool CoreApplies(std::span<const Candidate> candidates, bool countStates);

// Finds the best pick and offers every better one it meets to the session. Done,
// Interrupted, or OverBudget when the states outgrow mostStates.
SearchEnd SolveByCore(std::span<const Candidate> candidates, const CoreLimits& limits,
                      SolveSession& session);

}  // namespace bagfunc
