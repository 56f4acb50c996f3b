// The best packing against the CBC solver of COIN-OR on 36 large problems: 9999 items in four
// classes, three slot limits, three generator seeds. Each problem runs once through each
// solver under the same time limit; the times are processor seconds of one process (this one
// for the best packing, the cbc child for CBC). Prints a table; --markdown prints it for the
// README, --limit=SECONDS sets the limit, --no-cbc leaves CBC out. Arguments meant for Google
// Benchmark are ignored. Exits with 1 when the best packing falls short of CBC anywhere.
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/exact.h"
#include "tests/oracle/bestvalue.h"

namespace {

constexpr int kItems = 9999;
constexpr std::int32_t kRange = 10000;

enum class Kind { Uncorrelated, Weakly, Strongly, SubsetSum };
constexpr const char* kKindNames[] = {"uncorrelated", "weakly correlated", "strongly correlated",
                                      "subset-sum"};

// Weights uniform in 1..R; the value by class.
bagfunc::ExactProblem Instance(Kind kind, std::int32_t slots, unsigned seed) {
  std::mt19937_64 random(seed);
  const auto uniform = [&](std::int32_t low, std::int32_t high) {
    return low + static_cast<std::int32_t>(random() % static_cast<std::uint64_t>(high - low + 1));
  };
  bagfunc::ExactProblem problem;
  std::int64_t total = 0;
  for (int i = 0; i < kItems; ++i) {
    const std::int32_t weight = uniform(1, kRange);
    std::int32_t value = weight;
    switch (kind) {
      case Kind::Uncorrelated: value = uniform(1, kRange); break;
      case Kind::Weakly: value = std::max(1, weight + uniform(-kRange / 10, kRange / 10)); break;
      case Kind::Strongly: value = weight + kRange / 10; break;
      case Kind::SubsetSum: break;
    }
    problem.items.push_back({weight, value});
    total += weight;
  }
  problem.slotLimit = slots;
  problem.maxWeight = static_cast<std::int32_t>(
      slots >= kItems ? total / 2 : total * slots / (2 * std::int64_t{kItems}));
  return problem;
}

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Row {
  Kind kind;
  std::int32_t slots;
  unsigned seed;
  double ourSeconds;
  bagfunc::ExactResult ours;
  oracle::CbcAnswer cbc;
};

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  bool markdown = false;
  bool withCbc = true;
  double limit = bagfunc::kDefaultTimeLimitSeconds;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--markdown") == 0) markdown = true;
    if (std::strcmp(argv[i], "--no-cbc") == 0) withCbc = false;
    if (std::strncmp(argv[i], "--limit=", 8) == 0) limit = std::atof(argv[i] + 8);
  }
  std::string folder = (std::filesystem::temp_directory_path() / "exact_bench_XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return 1;

  std::printf("Best packing against CBC, 9999 items, time limit %.0f s (processor seconds)\n\n",
              limit);
  if (markdown) {
    std::printf("| class | slots | seed | our time | our value | bound | CBC time | CBC value |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
  } else {
    std::printf("%-20s %5s %4s %9s %12s %12s %9s %12s\n", "class", "slots", "seed", "our s",
                "our value", "bound", "CBC s", "CBC value");
  }
  int faults = 0;
  for (const Kind kind : {Kind::Uncorrelated, Kind::Weakly, Kind::Strongly, Kind::SubsetSum}) {
    for (const std::int32_t slots : {5, 50, kItems}) {
      for (const unsigned seed : {1u, 2u, 3u}) {
        Row row{kind, slots, seed, 0, {}, {}};
        const auto problem = Instance(kind, slots, seed);
        bagfunc::ExactOptions options;
        options.timeLimitSeconds = limit;
        const double start = ProcessSeconds();
        row.ours = bagfunc::SolveExact(problem, options);
        row.ourSeconds = ProcessSeconds() - start;
        if (withCbc) {
          row.cbc = oracle::SolveWithCbc(problem.items, slots, problem.maxWeight, limit, folder);
        }
        // A value below CBC's, or a proof that disagrees with CBC's, is a fault.
        std::string note;
        if (!withCbc) {
        } else if (!row.cbc.ran) {
          note = " (cbc did not run)";
          ++faults;
        } else if (row.ours.totalValue < row.cbc.answer.value ||
                   (row.ours.optimal && row.cbc.proven &&
                    row.ours.totalValue != row.cbc.answer.value)) {
          note = " WORSE THAN CBC";
          ++faults;
        } else if ((row.ours.optimal || row.cbc.proven) && row.ourSeconds >= row.cbc.cpuSeconds) {
          note = " slower than CBC";
          ++faults;
        }
        const std::string ourValue = std::to_string(row.ours.totalValue) + (row.ours.optimal ? "" : "*");
        const std::string cbcValue = row.cbc.answer.feasible
                                         ? std::to_string(row.cbc.answer.value) + (row.cbc.proven ? "" : "*")
                                         : "-";
        if (markdown) {
          std::printf("| %s | %d | %u | %s | %s | %lld | %s | %s |%s\n", kKindNames[int(kind)],
                      slots, seed, Seconds(row.ourSeconds).c_str(), ourValue.c_str(),
                      static_cast<long long>(row.ours.upperBound),
                      Seconds(row.cbc.cpuSeconds).c_str(), cbcValue.c_str(), note.c_str());
        } else {
          std::printf("%-20s %5d %4u %9s %12s %12lld %9s %12s%s\n", kKindNames[int(kind)], slots,
                      seed, Seconds(row.ourSeconds).c_str(), ourValue.c_str(),
                      static_cast<long long>(row.ours.upperBound),
                      Seconds(row.cbc.cpuSeconds).c_str(), cbcValue.c_str(), note.c_str());
        }
        std::fflush(stdout);
      }
    }
  }
  std::filesystem::remove_all(folder);
  std::printf("\n* not proven optimal within the limit.%s\n",
              faults == 0 ? "" : " Rows marked at the end fall short of CBC.");
  return faults == 0 ? 0 : 1;
}
