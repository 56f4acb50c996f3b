// How long the three searches take on the two inputs that matter: the worst case, where every
// trial is recorded, and random items. At 2000 items the step-by-step transcription runs beside
// them in the same process, and the speed-up of each pair is printed at the end.
#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "engine/bagfunc.h"
#include "engine/variant.h"
#include "tests/oracle/literal.h"

namespace {

using bagfunc::BagEngine;
using bagfunc::SolveVariant;

enum class Input { AllRecorded, Random };

// Worst case: every item weighs and is worth nothing, so every trial is admissible and, with
// the slot limit at the item count, recorded. Random: weights 1..3000, values 1..1000, limit
// 5000, five slots.
std::int32_t Prepare(BagEngine& engine, Input input, std::int32_t n) {
  std::mt19937 random(2023);
  std::uniform_int_distribution<std::int32_t> weight(1, 3000);
  std::uniform_int_distribution<std::int32_t> value(1, 1000);
  for (std::int32_t i = 1; i <= n; ++i) {
    auto& item = engine.ItemTable[static_cast<std::size_t>(i)];
    item = input == Input::AllRecorded ? bagfunc::Item{0, 0}
                                       : bagfunc::Item{weight(random), value(random)};
  }
  engine.MaxBagWeight = input == Input::AllRecorded ? 0 : 5000;
  return input == Input::AllRecorded ? n : 5;
}

std::int32_t RunFast(BagEngine& engine, SolveVariant variant, std::int32_t slots,
                     std::int32_t n) {
  engine.BagSlotCount = slots;
  engine.ItemCount = n;
  return bagfunc::RunVariant(engine, variant).returned;
}

void Search(benchmark::State& state, SolveVariant variant, Input input, bool literal) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  auto engine = std::make_unique<BagEngine>();
  const std::int32_t slots = Prepare(*engine, input, n);
  for (auto _ : state) {
    engine->BestValue = 0;
    const std::int32_t best = literal ? oracle::Solve(*engine, variant, slots, n)
                                      : RunFast(*engine, variant, slots, n);
    benchmark::DoNotOptimize(best);
  }
}

// The three searches; the best packing has a benchmark of its own.
constexpr SolveVariant kSearches[] = {SolveVariant::SolveBag, SolveVariant::SolveBagMax,
                                      SolveVariant::SolveBagMaxWith1Data};

void RegisterAll() {
  for (const SolveVariant variant : kSearches) {
    for (Input input : {Input::AllRecorded, Input::Random}) {
      const std::string base = std::string(bagfunc::VariantName(variant)) +
                               (input == Input::AllRecorded ? "/AllRecorded" : "/Random");
      benchmark::RegisterBenchmark((base + "/Fast").c_str(),
                                   [=](benchmark::State& s) { Search(s, variant, input, false); })
          ->Arg(2000)->Arg(bagfunc::kMaxItemCount)->Unit(benchmark::kMillisecond);
      // The transcription once only: at 2000 items its worst case takes seconds.
      benchmark::RegisterBenchmark((base + "/Literal").c_str(),
                                   [=](benchmark::State& s) { Search(s, variant, input, true); })
          ->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);
    }
  }
}

// Prints each run as usual and keeps its time per iteration for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration) {
        // CPU time: the machine is shared, and waiting for it is not the search's cost.
        std::string name = run.benchmark_name();
        name = name.substr(0, name.find("/iterations:"));
        seconds_[name] = run.GetAdjustedCPUTime();
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::cout << "\nSpeed-up over the step-by-step search at 2000 items (CPU time):\n";
    for (const auto& [name, time] : seconds_) {
      const auto at = name.find("/Literal/");
      if (at == std::string::npos) continue;
      const std::string fast = name.substr(0, at) + "/Fast" + name.substr(at + 8);
      if (auto found = seconds_.find(fast); found != seconds_.end() && found->second > 0) {
        std::cout << "  " << name.substr(0, at) << ": " << time / found->second << "x\n";
      }
    }
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
