// 32-bit two's complement arithmetic for pick totals: a total that leaves the signed range
// wraps instead of being undefined, and subtracting an added item undoes the addition exactly.
#pragma once

#include <cstdint>

namespace bagfunc {

constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

}  // namespace bagfunc
