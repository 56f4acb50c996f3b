// What one run of the best packing shares between its steps: the clock and the stop request,
// the best pick so far, the bound, and the progress reports.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "engine/exact/solve.h"

namespace bagfunc {

class SolveSession {
 public:
  SolveSession(const ExactProblem& problem, const ExactOptions& options);

  // True once the time limit has run out or a stop was requested. Cheap enough for every node
  // of a search: it reads the stop flag each time, and the clock on the first call and then
  // whenever the work done since it last looked (in nodes, each about as costly as updating
  // 16 table cells) reaches a few hundred.
  bool Interrupted(std::uint64_t work = 1);
  // True when a progress report is due; the caller then hands its bound, if it has a better
  // one, to Heartbeat.
  bool HeartbeatDue() const { return heartbeatDue_; }
  void Heartbeat(std::int64_t bound);
  void Heartbeat();

  // Offers a pick that fits (item numbers in any order, no repeats, with its totals). It is
  // kept when worth more than the best so far, or as much with fewer items or less weight.
  void Offer(std::vector<std::int32_t> pick, std::int64_t weight, std::int64_t value);
  std::int64_t BestValue() const { return best_.totalValue; }
  // Every pick's value is a multiple of step (the values' greatest common divisor), so the
  // next better pick is worth at least this, and a bound rounds down to a multiple of it.
  void SetValueStep(std::int64_t step) { valueStep_ = step; }
  std::int64_t NextBetterValue() const { return best_.totalValue + valueStep_; }
  // True when the best pick known meets the bound.
  bool Settled() const {
    return best_.feasible && boundKnown_ && best_.upperBound < NextBetterValue();
  }
  // No pick is worth more than bound: the bound known falls to it (a higher one is ignored).
  void CapBound(std::int64_t bound);

  // The result: proven when the search ran to its end, else with the bound reached.
  ExactResult Finish(bool searchedToEnd);

 private:
  double Seconds() const;
  void Report();

  const ExactProblem& problem_;
  const ExactOptions& options_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point nextReport_;
  ExactProgress best_;  // the best pick and the bound; best_.feasible once a pick is known
  bool boundKnown_ = false;
  bool interrupted_ = false;
  bool heartbeatDue_ = false;
  ExactEnding ending_ = ExactEnding::Finished;
  bool clockRead_ = false;
  std::uint64_t work_ = 0;  // since the clock was last read
  std::int64_t valueStep_ = 1;
};

}  // namespace bagfunc
