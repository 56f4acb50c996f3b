#include "tests/oracle/bestvalue.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

namespace oracle {
namespace {

constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();

}  // namespace

std::vector<BestAnswer> BestBySlotLimitTryingAll(const std::vector<bagfunc::Item>& items,
                                                 std::int64_t maxWeight) {
  const std::size_t n = items.size();
  std::vector<std::int64_t> bestOfCount(n + 1, kNone);
  // Gray code order: each subset differs from the one before in one item.
  std::int64_t weight = 0;
  std::int64_t value = 0;
  std::size_t count = 0;
  std::vector<bool> in(n);
  for (std::uint64_t step = 0;; ++step) {
    if (weight <= maxWeight) bestOfCount[count] = std::max(bestOfCount[count], value);
    if (step + 1 == (std::uint64_t{1} << n)) break;
    const auto flip = static_cast<std::size_t>(__builtin_ctzll(step + 1));
    const int sign = in[flip] ? -1 : 1;
    in[flip] = !in[flip];
    weight += sign * std::int64_t{items[flip].Weight};
    value += sign * std::int64_t{items[flip].Value};
    count = in[flip] ? count + 1 : count - 1;
  }
  std::vector<BestAnswer> bySlots(n + 1);
  std::int64_t best = kNone;
  for (std::size_t k = 0; k <= n; ++k) {
    best = std::max(best, bestOfCount[k]);
    if (best != kNone) bySlots[k] = {true, best};
  }
  return bySlots;
}

std::vector<BestAnswer> BestBySlotLimitByTable(const std::vector<bagfunc::Item>& items,
                                               std::int64_t maxWeight, std::int64_t mostSlots) {
  std::int64_t low = 0;
  std::int64_t high = 0;
  for (const auto& item : items) (item.Weight < 0 ? low : high) += item.Weight;
  // Without negative weights a set over the limit never comes back under it.
  if (low == 0) high = std::clamp<std::int64_t>(maxWeight, -1, high);
  const auto width = static_cast<std::size_t>(high - low + 1);
  const auto counts = static_cast<std::size_t>(
      std::clamp<std::int64_t>(mostSlots, 0, static_cast<std::int64_t>(items.size())) + 1);
  // best[count][weight - low]: the best value of `count` items of that total weight.
  std::vector<std::vector<std::int64_t>> best(counts, std::vector<std::int64_t>(width, kNone));
  if (high >= 0) best[0][static_cast<std::size_t>(-low)] = 0;
  for (const auto& item : items) {
    for (std::size_t count = counts - 1; count >= 1; --count) {
      const auto& from = best[count - 1];
      auto& to = best[count];
      for (std::size_t at = 0; at < width; ++at) {
        if (from[at] == kNone) continue;
        const auto target = static_cast<std::int64_t>(at) + item.Weight;
        if (target < 0 || target >= static_cast<std::int64_t>(width)) continue;
        auto& cell = to[static_cast<std::size_t>(target)];
        cell = std::max(cell, from[at] + item.Value);
      }
    }
  }
  std::vector<BestAnswer> bySlots(counts);
  std::int64_t bestSoFar = kNone;
  for (std::size_t count = 0; count < counts; ++count) {
    for (std::size_t at = 0; at < width; ++at) {
      if (static_cast<std::int64_t>(at) + low <= maxWeight) {
        bestSoFar = std::max(bestSoFar, best[count][at]);
      }
    }
    if (bestSoFar != kNone) bySlots[count] = {true, bestSoFar};
  }
  return bySlots;
}

CbcAnswer SolveWithCbc(const std::vector<bagfunc::Item>& items, std::int64_t slots,
                       std::int64_t maxWeight, double timeLimitSeconds,
                       const std::string& workFolder) {
  const std::string model = workFolder + "/bag.lp";
  const std::string solution = workFolder + "/bag.sol";
  {
    std::ofstream lp(model);
    const auto terms = [&](auto coefficient) {
      for (std::size_t i = 0; i < items.size(); ++i) {
        const std::int64_t a = coefficient(items[i]);
        lp << (a < 0 ? " - " : " + ") << (a < 0 ? -a : a) << " x" << i + 1;
        if (i % 8 == 7) lp << "\n";
      }
    };
    lp << "Maximize\n obj:";
    terms([](const bagfunc::Item& item) { return std::int64_t{item.Value}; });
    lp << "\nSubject To\n weight:";
    terms([](const bagfunc::Item& item) { return std::int64_t{item.Weight}; });
    lp << " <= " << maxWeight << "\n slots:";
    terms([](const bagfunc::Item&) { return std::int64_t{1}; });
    lp << " <= " << slots << "\nBinary\n";
    for (std::size_t i = 0; i < items.size(); ++i) lp << " x" << i + 1 << "\n";
    lp << "End\n";
  }
  std::remove(solution.c_str());
  CbcAnswer result;
  const ChildRun run = RunProgram({"cbc", model, "sec", std::to_string(timeLimitSeconds), "solve",
                                   "solution", solution},
                                  workFolder + "/cbc.log");
  result.cpuSeconds = run.cpuSeconds;
  std::ifstream in(solution);
  if (!run.ran || !std::getline(in, result.status)) {
    return result;
  }
  result.ran = true;
  const bool infeasible = result.status.find("nfeasible") != std::string::npos;
  result.proven = result.status.starts_with("Optimal") || infeasible;
  const auto at = result.status.find("objective value");
  if (!infeasible && at != std::string::npos) {
    const double value = std::stod(result.status.substr(at + 15));
    result.answer = {true, static_cast<std::int64_t>(std::llround(value))};
  }
  return result;
}

ChildRun RunProgram(const std::vector<std::string>& argv, const std::string& stdoutFile) {
  ChildRun run;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  std::fflush(nullptr);  // or the child would write out what this process still buffers
  const pid_t child = fork();
  if (child == 0) {
    if (std::FILE* out = std::freopen(stdoutFile.c_str(), "w", stdout)) (void)out;
    execvp(args[0], args.data());
    _exit(127);
  }
  if (child < 0) return run;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return run;
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.ran = WIFEXITED(status) && WEXITSTATUS(status) != 127;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace oracle
