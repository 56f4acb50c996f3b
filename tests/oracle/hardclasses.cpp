#include "tests/oracle/hardclasses.h"

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

namespace oracle {
namespace {

class Draw {
 public:
  explicit Draw(std::uint64_t seed) : random_(seed) {}
  // Uniform in low..high (both included).
  std::int64_t operator()(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(random_() % static_cast<std::uint64_t>(high - low + 1));
  }

 private:
  std::mt19937_64 random_;
};

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

// One (weight, value) of the plain classes 1, 2 and 3, as the spanner instances draw them.
bagfunc::Item Plain(int kind, std::int64_t range, Draw& draw) {
  const std::int64_t w = draw(1, range);
  std::int64_t p = 0;
  switch (kind) {
    case 1: p = draw(1, range); break;
    case 2: p = std::max<std::int64_t>(1, draw(w - range / 10, w + range / 10)); break;
    default: p = w + range / 10; break;
  }
  return {static_cast<std::int32_t>(w), static_cast<std::int32_t>(p)};
}

bagfunc::Item Make(int classNumber, std::int64_t range, Draw& draw) {
  std::int64_t w = draw(1, range);
  std::int64_t p = 0;
  switch (classNumber) {
    case 1: case 2: case 3: {
      // Drawn the same way as the spanner's seeds (class 2 and 3 need their w first).
      return Plain(classNumber, range, draw);
    }
    case 4: p = draw(1, range); w = p + range / 10; break;
    case 5: p = draw(w + range / 10 - range / 500, w + range / 10 + range / 500); break;
    case 6: p = w; break;
    case 9: w = draw(100000, 100100); p = draw(1, 1000); break;
    case 14: p = w % 6 == 0 ? w + 3 * range / 10 : w + 2 * range / 10; break;
    case 15: p = 3 * CeilDiv(w, 3); break;
    case 16: {
      const double r = static_cast<double>(range);
      const double x = static_cast<double>(w) - 2 * r;
      p = static_cast<std::int64_t>(std::floor(2.0 / 3.0 * std::sqrt(4 * r * r - x * x)));
      break;
    }
    default: throw std::invalid_argument("no such instance class");
  }
  return {static_cast<std::int32_t>(w), static_cast<std::int32_t>(p)};
}

}  // namespace

const std::vector<HardClass>& HardClasses() {
  static const std::vector<HardClass> classes = {
      {1, "uncorrelated"},
      {2, "weakly correlated"},
      {3, "strongly correlated"},
      {4, "inverse strongly correlated"},
      {5, "almost strongly correlated"},
      {6, "subset-sum"},
      {9, "uncorrelated, similar weights"},
      {11, "uncorrelated spanner"},
      {12, "weakly correlated spanner"},
      {13, "strongly correlated spanner"},
      {14, "multiple strongly correlated"},
      {15, "profit ceiling"},
      {16, "circle"},
  };
  return classes;
}

HardInstance MakeHardInstance(int classNumber, int items, std::int64_t range, unsigned seed) {
  Draw draw(std::uint64_t{seed} * 1000003u + static_cast<std::uint64_t>(classNumber) * 7919u +
            static_cast<std::uint64_t>(items));
  HardInstance instance;
  if (classNumber >= 11 && classNumber <= 13) {
    constexpr int kSpannerItems = 2;
    constexpr std::int64_t kMostMultiplier = 10;
    std::vector<bagfunc::Item> spanner;
    for (int i = 0; i < kSpannerItems; ++i) {
      const bagfunc::Item seedItem = Plain(classNumber - 10, range, draw);
      spanner.push_back({static_cast<std::int32_t>(CeilDiv(2 * std::int64_t{seedItem.Weight}, kMostMultiplier)),
                         static_cast<std::int32_t>(CeilDiv(2 * std::int64_t{seedItem.Value}, kMostMultiplier))});
    }
    for (int i = 0; i < items; ++i) {
      const bagfunc::Item& base = spanner[static_cast<std::size_t>(draw(0, kSpannerItems - 1))];
      const std::int64_t times = draw(1, kMostMultiplier);
      instance.items.push_back({static_cast<std::int32_t>(base.Weight * times),
                                static_cast<std::int32_t>(base.Value * times)});
    }
  } else {
    for (int i = 0; i < items; ++i) instance.items.push_back(Make(classNumber, range, draw));
  }
  for (const bagfunc::Item& item : instance.items) instance.weightSum += item.Weight;
  return instance;
}

std::optional<std::int32_t> HardWeightLimit(const HardInstance& instance, int h, int hMax) {
  const std::int64_t limit = instance.weightSum * h / (hMax + 1);
  if (limit > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(limit);
}

}  // namespace oracle
