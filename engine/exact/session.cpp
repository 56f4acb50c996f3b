#include "engine/exact/session.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "engine/exact/tuning.h"
#include "engine/exact/wide.h"

namespace bagfunc {
namespace {

using Clock = std::chrono::steady_clock;
using tuning::kReportEvery;
using tuning::kWorkPerClockRead;

}  // namespace

SolveSession::SolveSession(const ExactProblem& problem, const ExactOptions& options)
    : problem_(problem), options_(options), start_(Clock::now()), nextReport_(start_) {}

double SolveSession::Seconds() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

bool SolveSession::Interrupted(std::uint64_t work) {
  if (interrupted_) return true;
  if (options_.stop != nullptr && options_.stop->load(std::memory_order_relaxed)) {
    interrupted_ = true;
    ending_ = ExactEnding::StopRequest;
    return true;
  }
  work_ += work;
  if (clockRead_ && work_ < kWorkPerClockRead) return false;
  clockRead_ = true;
  work_ = 0;
  const auto now = Clock::now();
  if (options_.timeLimitSeconds > 0 &&
      std::chrono::duration<double>(now - start_).count() >= options_.timeLimitSeconds) {
    interrupted_ = true;
    ending_ = ExactEnding::TimeLimit;
    return true;
  }
  heartbeatDue_ = options_.progress && now >= nextReport_;
  return false;
}

void SolveSession::Heartbeat(std::int64_t bound) {
  heartbeatDue_ = false;
  CapBound(bound);
  Report();
}

void SolveSession::Heartbeat() {
  heartbeatDue_ = false;
  Report();
}

void SolveSession::Report() {
  nextReport_ = Clock::now() + kReportEvery;
  if (!options_.progress) return;
  best_.seconds = Seconds();
  options_.progress(best_);
}

void SolveSession::Offer(std::vector<std::int32_t> pick, std::int64_t weight,
                         std::int64_t value) {
  if (best_.feasible) {
    if (value < best_.totalValue) return;
    if (value == best_.totalValue) {
      const bool fewer = pick.size() < best_.pick.size();
      const bool lighter = pick.size() == best_.pick.size() && weight < best_.totalWeight;
      if (!fewer && !lighter) return;
    }
  }
  std::sort(pick.begin(), pick.end());
  best_.feasible = true;
  best_.pick = std::move(pick);
  best_.totalWeight = weight;
  best_.totalValue = value;
  if (boundKnown_) best_.upperBound = std::max(best_.upperBound, value);
  Report();
}

void SolveSession::CapBound(std::int64_t bound) {
  bound = static_cast<std::int64_t>(FloorDiv(bound, valueStep_)) * valueStep_;
  if (best_.feasible) bound = std::max(bound, best_.totalValue);
  if (boundKnown_ && bound >= best_.upperBound) return;
  boundKnown_ = true;
  best_.upperBound = bound;
  Report();
}

ExactResult SolveSession::Finish(bool searchedToEnd) {
  ExactResult result;
  result.seconds = Seconds();
  result.ending = searchedToEnd ? ExactEnding::Finished : ending_;
  if (!best_.feasible) {
    // Only a proof that nothing fits leaves no pick.
    result.optimal = true;
    return result;
  }
  // What is reported is what is picked: the totals are summed again from the problem.
  const std::int64_t bound = searchedToEnd || !boundKnown_
                                 ? std::numeric_limits<std::int64_t>::min()
                                 : best_.upperBound;
  ExactResult picked = ResultOfPick(problem_, best_.pick, bound, result.ending);
  picked.seconds = result.seconds;
  return picked;
}

ExactResult ResultOfPick(const ExactProblem& problem, std::vector<std::int32_t> pick,
                         std::int64_t bound, ExactEnding ending) {
  ExactResult result;
  result.feasible = true;
  result.ending = ending;
  result.pick = std::move(pick);
  for (const std::int32_t number : result.pick) {
    const Item& item = problem.items[static_cast<std::size_t>(number - 1)];
    result.totalWeight += item.Weight;
    result.totalValue += item.Value;
  }
  result.upperBound = std::max(bound, result.totalValue);
  result.optimal = result.upperBound == result.totalValue;
  return result;
}

}  // namespace bagfunc
