// The one solve sequence and the report of a kept pick: what the window, bagsolve and the web
// page rely on beyond the command's own report.
#include "engine/solve.h"

#include <gtest/gtest.h>

#include <random>

#include "base/errors.h"
#include "engine/stringlines.h"
#include "problem.h"

namespace {

using bagfunc::SolveVariant;
using bagfunc::StringLines;

enginetest::Problem RandomProblem(std::mt19937& random) {
  enginetest::Problem problem;
  problem.itemCount = static_cast<std::int32_t>(random() % 12);
  problem.slots = static_cast<std::int32_t>(random() % 5);
  problem.limit = static_cast<std::int32_t>(random() % 40) - 5;
  for (std::int32_t i = 0; i < problem.itemCount; ++i) {
    problem.items.push_back({static_cast<std::int32_t>(random() % 20) - 3,
                             static_cast<std::int32_t>(random() % 30) - 5});
  }
  return problem;
}

// The hook sees the echo and nothing else, before any variant runs; each variant then runs
// from the state the solve command gives it, so one request of all four gives what four
// requests of one give.
TEST(RunSolve, EchoFirstThenEachVariantAsItsOwnCommand) {
  std::mt19937 random(4);
  for (int round = 0; round < 300; ++round) {
    const enginetest::Problem problem = RandomProblem(random);
    const StringLines src = enginetest::ProblemLines(problem);
    bagfunc::SolveRequest request;
    request.variants.assign(bagfunc::kAllVariants.begin(), bagfunc::kAllVariants.end());
    int echoes = 0;
    int progressAtEcho = -1;
    int progressCalls = 0;
    request.exact.progress = [&](const bagfunc::ExactProgress&) { ++progressCalls; };
    StringLines dst;
    request.echoed = [&](const bagfunc::LineList& lines) {
      ++echoes;
      progressAtEcho = progressCalls;
      EXPECT_EQ(&lines, &dst);
      EXPECT_EQ(dst.Lines().size(), static_cast<std::size_t>(6 + problem.itemCount));
    };
    const auto all = enginetest::NewEngine();
    const auto outcomes = bagfunc::RunSolve(*all, src, dst, request);
    ASSERT_EQ(echoes, 1);
    EXPECT_EQ(progressAtEcho, 0);
    ASSERT_EQ(outcomes.size(), 4u);
    for (std::size_t v = 0; v < 4; ++v) {
      bagfunc::SolveRequest single;
      single.variants = {bagfunc::kAllVariants[v]};
      const auto alone = enginetest::NewEngine();
      StringLines echo;
      const auto outcome = bagfunc::RunSolve(*alone, src, echo, single).front();
      EXPECT_EQ(outcomes[v].items, outcome.items) << round << " " << v;
      EXPECT_EQ(outcomes[v].totalValue, outcome.totalValue) << round << " " << v;
      EXPECT_EQ(outcomes[v].returned, outcome.returned) << round << " " << v;
    }
  }
}

// A pick kept from a stopped search reports as the solver reports its own result: the optimum
// with its value as bound is the finished search's report, word for word.
TEST(ReportPickWithBound, TheOptimumWithItsValueIsTheFinishedReport) {
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    const enginetest::Problem problem = RandomProblem(random);
    bagfunc::ExactProblem exact{problem.items, problem.slots, problem.limit};
    const bagfunc::ExactResult result = bagfunc::SolveExact(exact);
    if (!result.feasible) continue;
    StringLines solved, kept;
    bagfunc::ReportExactPick(exact, result, solved);
    bagfunc::ReportPickWithBound(exact, result.pick, result.totalValue, kept);
    EXPECT_EQ(kept.Lines(), solved.Lines()) << round;
  }
}

struct KeptRow {
  const char* name;
  std::vector<std::int32_t> pick;
  std::int64_t bound;
  const char* lastLine;  // nullptr: the pick is refused
};
void PrintTo(const KeptRow& row, std::ostream* out) { *out << row.name; }

class KeptPick : public testing::TestWithParam<KeptRow> {};

TEST_P(KeptPick, ReportsOrRefuses) {
  const KeptRow& row = GetParam();
  const bagfunc::ExactProblem problem{{{1, 22}, {3, 4}, {5, 6}, {7, 8}}, 3, 8};
  StringLines dst;
  if (row.lastLine == nullptr) {
    EXPECT_THROW(bagfunc::ReportPickWithBound(problem, row.pick, row.bound, dst), bagfunc::Error);
    return;
  }
  bagfunc::ReportPickWithBound(problem, row.pick, row.bound, dst);
  EXPECT_EQ(dst.Lines().back(), row.lastLine);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptPick, testing::ValuesIn(std::vector<KeptRow>{
  {"BoundAboveValueIsNotProven", {1, 2}, 40, "未证明为最优解Not Proven Optimal"},
  {"BoundAtValueIsProven", {1, 4}, 30, "已证明为最优解Proven Optimal"},
  {"BoundBelowValueRisesToIt", {1, 4}, 3, "已证明为最优解Proven Optimal"},
  {"EmptyPick", {}, 30, "未证明为最优解Not Proven Optimal"},
  {"ItemZero", {0, 1}, 30, nullptr},
  {"PastTheLastItem", {1, 5}, 30, nullptr},
  {"Repeated", {2, 2}, 30, nullptr},
  {"Descending", {4, 1}, 30, nullptr},
}), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
