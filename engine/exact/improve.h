// Better picks by small moves, for the best packing's lower bound: where many items tie (a
// value that follows the weight), the bound is met only by a pick that fills the bag exactly,
// and exchanges find one where greedy filling stops short.
#pragma once

#include <cstdint>
#include <span>

#include "engine/exact/pick.h"
#include "engine/exact/session.h"

namespace bagfunc {

struct MoveLimits {
  std::int64_t capacity = 0;
  std::int64_t slots = 0;
  std::int64_t goal = 0;  // no pick is worth more: stop on reaching it
  bool exchangesOfTwo = false;
};

// Improves a pick that fits, move by move, while a move gains. First the best single move:
// add the most valuable candidate that fits, or exchange a picked candidate for the most
// valuable one that fits in its place (O(n + k log n) a move for k picked); when none gains
// and exchangesOfTwo is set, the best exchange of up to two picked candidates for up to two
// others, among the few hundred on each side nearest the edge of the pick (`edge` ranks all candidates from most to least
// worth having; O(m^2 log m) for m of them). Stops at the goal or when the session is
// interrupted. The pick fits throughout.
void ImproveByMoves(std::span<const Candidate> candidates, std::span<const std::size_t> edge,
                    Pick& pick, const MoveLimits& limits, SolveSession& session);

}  // namespace bagfunc
