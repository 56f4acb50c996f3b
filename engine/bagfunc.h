// The knapsack engine: one problem and its picks in fixed tables, the solve command that
// reads a problem from a line list, the three searches and the result report.
// No Qt, no files, no encodings: every text is UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bagfunc {

// Items are numbered 1..kMaxItemCount; table entry 0 holds no item. The one spare entry past
// the largest item number leaves room for the end mark of a pick of kMaxItemCount items.
inline constexpr std::int32_t kMaxItemCount = 9999;
inline constexpr std::size_t kTableSize = kMaxItemCount + 2;

struct Item {
  std::int32_t Weight = 0;
  std::int32_t Value = 0;
  friend bool operator==(const Item&, const Item&) = default;
};

// Which search a solve command runs: one per solve button, and the best packing. n is the item
// count. None of the three searches promises the best packing: each result is what its fixed
// walk over the items yields. Each search allocates nothing: it clears the two pick tables
// once, then spends O(1) per trial and amortised O(1) per recording (it carries the trial's
// totals and rewrites only the BestPick positions that change), so a walk over 9999 items
// takes about a tenth of a second. Totals wrap as 32-bit two's complement. Item counts above
// kMaxItemCount are cut to it.
enum class SolveVariant {
  // Walks trials in item order, lengthening a trial after each recording, so picks can grow
  // to the slot limit; keeps the last admissible trial within the slot limit. Exactly the sum
  // of (n - i) over the first items i that fit alone: at most n(n-1)/2 trials.
  SolveBag,
  // Pairs only (i < j), in item order: the last pair of the highest value that fits, the
  // first item of the pair fitting alone. n(n-1)/2 trials at most. A slot limit of 1 turns
  // the candidates after a pass's first admissible pair into single trials.
  SolveBagMax,
  // As SolveBagMax, and each item that fits is also tried alone just before its pairs:
  // n(n-1)/2 + n trials at most. Picks hold one or two items.
  SolveBagMaxWith1Data,
  // The proven best pick within both limits, with exact 64-bit totals (engine/exact.h): it
  // reads the tables and changes none of them. Most problems take milliseconds; the worst case
  // is exponential, so it ends at a time limit with the best pick found and a bound.
  BestPacking,
};

struct ExactOptions;

// The content of a text box, lines counted from 0.
class LineList {
 public:
  virtual ~LineList() = default;
  virtual void Clear() = 0;
  virtual std::string Get(int n) const = 0;  // "" past the last line
  virtual void Append(std::string_view line) = 0;
};

// The tables and every routine that touches them. Tables outlive each command: ItemTable is
// never cleared, so an item line that supplies no number leaves the earlier value standing.
// About 200 KB: allocate it on the heap.
class BagEngine {
 public:
  std::int32_t ItemCount = 0;
  std::int32_t BagSlotCount = 0;
  std::int32_t MaxBagWeight = 0;
  std::int32_t BestValue = 0;
  std::array<Item, kTableSize> ItemTable{};
  std::array<std::int32_t, kTableSize> TrialPick{};
  std::array<std::int32_t, kTableSize> BestPick{};

  // Reads the problem from src, writes echo and report to dst. 0, or -1 / -2 when src / dst
  // is missing. A header line that does not convert raises bagfunc::EConvertError; an item
  // count above kMaxItemCount raises bagfunc::Error. What was appended before stays. The
  // options (time limit, stop request, progress) apply to the best packing only; without
  // them it runs with the default time limit.
  std::int32_t RunSolveCommand(const LineList* src, LineList* dst, SolveVariant variant);
  std::int32_t RunSolveCommand(const LineList* src, LineList* dst, SolveVariant variant,
                               const ExactOptions& options);
  // The command's first steps alone: zeroes the scalars, clears dst, resets the picks, reads
  // the header and item lines into the tables and appends their echo lines. Returns and
  // raises as RunSolveCommand; the searches' tables are left as the command hands them over.
  std::int32_t ReadProblem(const LineList* src, LineList* dst);

  void ResetPicks();     // TrialPick all 0, BestPick all -1
  void ResetBestPick();  // BestPick all -1
  // The two steps below are the literal building blocks of a search; positions outside the
  // table are left out, and an item number outside the table counts as item 0.
  // Value and weight totals of TrialPick positions first..last (32-bit wrapping). Returns 0.
  std::int32_t SumPick(std::int32_t first, std::int32_t last, std::int32_t& value,
                       std::int32_t& weight) const;
  // Copies TrialPick first..last into BestPick (0 becomes -1), end mark at last + 1 (at first
  // when first > last). Other positions stay as they are. Returns 0.
  std::int32_t KeepBestPick(std::int32_t first, std::int32_t last);

  // Each returns -1 when slotLimit < 1, -2 when itemCount < 1, else the final BestValue.
  std::int32_t SolveBag(std::int32_t slotLimit, std::int32_t itemCount);
  std::int32_t SolveBagMax(std::int32_t slotLimit, std::int32_t itemCount);
  std::int32_t SolveBagMaxWith1Data(std::int32_t slotLimit, std::int32_t itemCount);

  // The item numbers of BestPick up to its first -1 (an entry that names no table entry ends
  // it too), in table order.
  std::vector<std::int32_t> PickedItems() const;

  // Appends the result block for BestPick up to its first -1 (an entry that names no table
  // entry ends it too). 0, or -1 when dst is missing.
  std::int32_t ReportBestPick(LineList* dst) const;
};

// The one engine the window uses for the whole run of the process.
BagEngine& ProcessEngine();

// Reads "weight,value" as the C format "%d,%d" does: a field is written only when its number
// is read; numbers beyond 32 bits saturate.
void ReadItemLine(std::string_view line, Item& item);

}  // namespace bagfunc
