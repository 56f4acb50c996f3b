// 128-bit integers for the exact arithmetic of the best packing's bounds: a multiplier is a
// fraction of two 64-bit numbers, and a bound scaled by its denominator needs about 100 bits.
#pragma once

#include <cstdint>

namespace bagfunc {

__extension__ typedef __int128 Wide;

// Rounds towards minus infinity; den > 0.
constexpr Wide FloorDiv(Wide num, Wide den) {
  const Wide q = num / den;
  return (num % den != 0 && num < 0) ? q - 1 : q;
}

}  // namespace bagfunc
