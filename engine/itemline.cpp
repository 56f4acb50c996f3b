// The item line reading: "weight,value" read by the rules of the C format "%d,%d".
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "engine/bagfunc.h"

namespace bagfunc {
namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d": white space, an optional sign, then every decimal digit that follows. Numbers
// beyond 32 bits saturate; no digit at all means nothing is read.
std::optional<std::int32_t> ScanNumber(std::string_view line, std::size_t& at) {
  while (at < line.size() && IsCSpace(line[at])) ++at;
  bool negative = false;
  if (at < line.size() && (line[at] == '+' || line[at] == '-')) {
    negative = line[at] == '-';
    ++at;
  }
  if (at >= line.size() || line[at] < '0' || line[at] > '9') return std::nullopt;
  constexpr std::int64_t kCap = std::int64_t{1} << 32;  // well past either end of the range
  std::int64_t magnitude = 0;
  for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
    if (magnitude < kCap) magnitude = magnitude * 10 + (line[at] - '0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

void ReadItemLine(std::string_view line, Item& item) {
  std::size_t at = 0;
  const auto weight = ScanNumber(line, at);
  if (!weight) return;
  item.Weight = *weight;
  // The comma must follow the first number directly; white space before it stops the reading.
  if (at >= line.size() || line[at] != ',') return;
  ++at;
  if (const auto value = ScanNumber(line, at)) item.Value = *value;
}

}  // namespace bagfunc
