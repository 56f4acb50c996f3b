// The best packing's tuning constants, in one place. Every budget is counted in work done
// (nodes, cells, states), never in time, so a run that ends by itself gives the same pick on
// every machine.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace bagfunc::tuning {

// Tangents the bound may intersect before it settles for the lowest one found.
inline constexpr int kMostTangents = 200;
// The multipliers of the weight tried for the bound on values that follow the weights.
inline constexpr std::int64_t kMostResidueMultiplier = 3;
// Nodes of the first, short search: some tens of milliseconds.
inline constexpr std::uint64_t kQuickSearchNodes = 1000000;
// Candidates on each side of the edge that exchanges of two draw from: about 180,000 pairs.
inline constexpr std::size_t kExchangeSide = 600;
// States of the expanding core at once: 24 bytes each, twice over while a step merges, so
// that with their chains the core stays under about 160 MB.
inline constexpr std::uint64_t kMostCoreStates = 1250000;
// The core's first glance, before the short search, and its first try with the bounds by
// count, before the exchanges of two (the more of these, the more candidates): a few and some
// tens of milliseconds at most.
inline constexpr std::uint64_t kScoutCoreStates = 20000;
inline constexpr std::uint64_t kFirstCoreStates = 100000;  // or this many per candidate
inline constexpr std::uint64_t kFirstCoreStatesPerItem = 30;
// Items the search of each count in shifted weights looks at, over all counts: its first try,
// before the core with the bounds by count (this many per candidate: some tens of
// milliseconds at 9999 candidates), and its last, before the search without a budget (a
// second or two). Each count's bound and set-up cost about as much as looking at
// kShiftedWorkPerCount items per candidate.
inline constexpr std::uint64_t kFirstShiftedWorkPerItem = 3300;
inline constexpr std::uint64_t kShiftedSearchWork = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kShiftedWorkPerCount = 64;
// Chain nodes kept per state allowed, and the first collection of unreachable ones.
inline constexpr std::uint64_t kCoreNodesPerState = 4;
inline constexpr std::size_t kFirstNodeCollection = std::size_t{1} << 20;
// Counts the core bounds apart at most (each costs a state a test).
inline constexpr std::size_t kMostCoreCountBounds = 16;
// The table takes one bit a cell: at most this many keeps it near 32 MB and a second or two.
inline constexpr std::uint64_t kMostTableCells = std::uint64_t{1} << 28;
// Counts the search takes apart at most, and the work of their bounds (counts times items).
inline constexpr std::int64_t kMostCountsApart = 256;
inline constexpr std::int64_t kMostCountBoundWork = std::int64_t{1} << 22;
// Progress reports, and how much work passes between two looks at the clock.
inline constexpr auto kReportEvery = std::chrono::milliseconds(100);
inline constexpr std::uint64_t kWorkPerClockRead = 256;

}  // namespace bagfunc::tuning
