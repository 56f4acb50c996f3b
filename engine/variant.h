// The one place that runs a variant by its SolveVariant value, with one outcome for all four:
// what bagsolve's comparison and JSON, the window and the web page show.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/bagfunc.h"
#include "engine/exact.h"

namespace bagfunc {

// Every variant, in the order of the buttons, the best packing last.
inline constexpr std::array<SolveVariant, 4> kAllVariants{
    SolveVariant::SolveBag, SolveVariant::SolveBagMax, SolveVariant::SolveBagMaxWith1Data,
    SolveVariant::BestPacking};

// "solve", "max", "max1", "best": the names bagsolve and its JSON use.
std::string_view VariantName(SolveVariant variant);
std::optional<SolveVariant> VariantByName(std::string_view name);

struct VariantOutcome {
  SolveVariant variant = SolveVariant::SolveBag;
  std::vector<std::int32_t> items;  // the picked item numbers, ascending
  // The totals the report prints: for a search the 32-bit totals of its pick (wrapped as the
  // search wraps them), for the best packing the exact ones.
  std::int64_t totalWeight = 0;
  std::int64_t totalValue = 0;
  std::int32_t returned = 0;           // what a search returns (-1, -2 or BestValue); 0 for best
  std::optional<ExactResult> exact;    // the best packing's whole result; nothing for a search
};

// How the best packing runs: SolveExact itself, or a caller's way of running it (the window
// runs it on a worker thread while its progress dialog shows).
using ExactRunner = std::function<ExactResult(const ExactProblem&, const ExactOptions&)>;

// Runs one variant on the problem the tables hold (ItemTable 1..ItemCount, BagSlotCount,
// MaxBagWeight). A search starts from the BestValue it finds there (the solve command leaves 0)
// and leaves its picks in the tables as always; the best packing only reads the tables, and
// options apply to it alone. runExact, when given, runs the best packing instead of
// SolveExact.
VariantOutcome RunVariant(BagEngine& engine, SolveVariant variant,
                          const ExactOptions& options = {}, const ExactRunner& runExact = {});

// Appends the result block of an outcome that RunVariant gave for the problem the tables still
// hold: ReportBestPick for a search, ReportExactPick for the best packing.
void ReportOutcome(const BagEngine& engine, const VariantOutcome& outcome, LineList& dst);

// Runs every variant on the problem the tables hold, each from the state a solve command gives
// its search (BestValue 0, picks reset), in the order of kAllVariants.
std::vector<VariantOutcome> RunAllVariants(BagEngine& engine, const ExactOptions& options = {});

}  // namespace bagfunc
