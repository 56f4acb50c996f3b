// Answers to the slot-limited bag problem found without the engine, to check the best packing
// against: every subset tried, a table over slot count and weight, and the CBC solver.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/bagfunc.h"

namespace oracle {

struct BestAnswer {
  bool feasible = false;  // some set within the limits exists
  std::int64_t value = 0;
  friend bool operator==(const BestAnswer&, const BestAnswer&) = default;
};

// The best value for every slot limit 0..n (entry k), by trying all 2^n subsets (n <= 22).
std::vector<BestAnswer> BestBySlotLimitTryingAll(const std::vector<bagfunc::Item>& items,
                                                 std::int64_t maxWeight);

// The best value for every slot limit 0..mostSlots (entry k), by dynamic programming over
// slot count and weight: time grows with n * mostSlots * (the sum of the absolute weights, or
// the weight limit when no weight is negative), so keep the numbers small.
std::vector<BestAnswer> BestBySlotLimitByTable(const std::vector<bagfunc::Item>& items,
                                               std::int64_t maxWeight, std::int64_t mostSlots);

// What the cbc program (COIN-OR branch and cut) says, run as a separate process on the problem
// written as a 0/1 program with the two limits.
struct CbcAnswer {
  bool ran = false;          // cbc started and wrote a solution file
  bool proven = false;       // "Optimal" (or "Infeasible") rather than stopped at the limit
  BestAnswer answer;         // the best value it found
  double cpuSeconds = 0;     // processor time of the cbc process (user + system)
  std::string status;        // its first solution line, for messages
};
CbcAnswer SolveWithCbc(const std::vector<bagfunc::Item>& items, std::int64_t slots,
                       std::int64_t maxWeight, double timeLimitSeconds,
                       const std::string& workFolder);

// Runs a program (argv[0] looked up on PATH) with its standard output sent to a file, and
// waits for it. Whether it started and exited normally, its exit status and its processor
// time (user and system).
struct ChildRun {
  bool ran = false;
  int exitStatus = 0;
  double cpuSeconds = 0;
};
ChildRun RunProgram(const std::vector<std::string>& argv, const std::string& stdoutFile);

}  // namespace oracle
