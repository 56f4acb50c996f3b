// The instance classes of the knapsack literature, for the tests and the benchmark of the best
// packing, generated from their published definitions (D. Pisinger, "Where are the hard
// knapsack problems?", Computers & Operations Research 32, 2005), with R the range of the
// coefficients:
//    1 uncorrelated            w, p uniform in 1..R
//    2 weakly correlated       w in 1..R, p in w - R/10 .. w + R/10, at least 1
//    3 strongly correlated     w in 1..R, p = w + R/10
//    4 inverse strongly        p in 1..R, w = p + R/10
//    5 almost strongly         w in 1..R, p in w + R/10 - R/500 .. w + R/10 + R/500
//    6 subset-sum              w in 1..R, p = w
//    9 similar weights         w in 100000..100100, p in 1..1000
//   11-13 spanner(2, 10)       two items of class 1, 2 or 3, each scaled down to
//                              ceil(2 w / 10), ceil(2 p / 10); every item is one of them times
//                              a multiplier uniform in 1..10
//   14 multiple strongly       w in 1..R, p = w + 3R/10 where 6 divides w, else w + 2R/10
//   15 profit ceiling          w in 1..R, p = 3 ceil(w / 3)
//   16 circle                  w in 1..R, p = floor(2/3 sqrt(4R^2 - (w - 2R)^2))
// The weight limit of instance h of H is floor(h / (H + 1) * the sum of the weights). Each
// (class, n, R, seed) gives the same items on every machine (a fixed 64-bit generator).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/bagfunc.h"

namespace oracle {

struct HardClass {
  int number;
  const char* name;
};
// The classes above, in order.
const std::vector<HardClass>& HardClasses();

struct HardInstance {
  std::vector<bagfunc::Item> items;
  std::int64_t weightSum = 0;
};
HardInstance MakeHardInstance(int classNumber, int items, std::int64_t range, unsigned seed);

// floor(h / (H + 1) * weightSum), or nothing when that leaves 32 bits.
std::optional<std::int32_t> HardWeightLimit(const HardInstance& instance, int h, int hMax = 100);

}  // namespace oracle
