#include "tests/engine/problem.h"

#include <gtest/gtest.h>

#include "engine/variant.h"

namespace enginetest {

using bagfunc::BagEngine;
using bagfunc::SolveVariant;

std::unique_ptr<BagEngine> NewEngine() { return std::make_unique<BagEngine>(); }

bagfunc::StringLines ProblemLines(const Problem& problem) {
  std::vector<std::string> lines{std::to_string(problem.itemCount), std::to_string(problem.slots),
                                 std::to_string(problem.limit)};
  for (const auto& item : problem.items) {
    lines.push_back(std::to_string(item.Weight) + "," + std::to_string(item.Value));
  }
  return bagfunc::StringLines(std::move(lines));
}

std::vector<std::int32_t> PickOf(const BagEngine& engine) {
  std::vector<std::int32_t> pick;
  for (std::size_t p = 1; p < bagfunc::kTableSize && engine.BestPick[p] != -1; ++p) {
    pick.push_back(engine.BestPick[p]);
  }
  return pick;
}

Outcome Solve(BagEngine& engine, const Problem& problem, SolveVariant variant) {
  const auto src = ProblemLines(problem);
  bagfunc::StringLines dst;
  EXPECT_EQ(engine.RunSolveCommand(&src, &dst, variant), 0);
  Outcome outcome;
  outcome.pick = PickOf(engine);
  outcome.best = engine.BestValue;

  const auto bestPick = engine.BestPick;
  engine.BestValue = 0;
  outcome.returned = bagfunc::RunVariant(engine, variant).returned;
  EXPECT_EQ(engine.BestPick, bestPick) << "a second run of the search left another pick";
  EXPECT_EQ(engine.BestValue, outcome.best);
  return outcome;
}

Problem SampleProblem() { return {4, 3, 8, {{1, 22}, {3, 4}, {5, 6}, {7, 8}}}; }

}  // namespace enginetest
