// Building problems for the engine tests and reading back what a search left behind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/bagfunc.h"
#include "engine/stringlines.h"

namespace enginetest {

struct Problem {
  std::int32_t itemCount = 0;
  std::int32_t slots = 0;
  std::int32_t limit = 0;
  std::vector<bagfunc::Item> items;
};

// What a search leaves: the number it returns, the pick up to its end mark, BestValue.
struct Outcome {
  std::int32_t returned = 0;
  std::vector<std::int32_t> pick;
  std::int32_t best = 0;
};

std::unique_ptr<bagfunc::BagEngine> NewEngine();

// The problem as the lines of an input box.
bagfunc::StringLines ProblemLines(const Problem& problem);

// Runs the solve command, then the same search again from BestValue 0 to learn the number it
// returns (the command discards it); the second run must leave what the first one left.
Outcome Solve(bagfunc::BagEngine& engine, const Problem& problem, bagfunc::SolveVariant variant);

// BestPick positions 1.. up to the first -1.
std::vector<std::int32_t> PickOf(const bagfunc::BagEngine& engine);

// The sample problem of a fresh window: 4 items, 3 slots, limit 8.
Problem SampleProblem();

}  // namespace enginetest
