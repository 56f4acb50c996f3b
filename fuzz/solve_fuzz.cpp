// Feeds arbitrary bytes to the solve command the way bagsolve does (decoded from GBK, split
// into lines) and checks each report against the problem the same command echoed: every
// listed item is one of the problem's items, shown with the weight and value of its echo
// line, in increasing item order and no more of them than the slot limit; the totals are the
// sums of the listed items (32-bit wrapping), the value total is the best value and the weight
// total keeps within the limit. Two commands run one after the other on one engine, so the
// second meets the item table the first left: the first byte picks their variants, the first
// form feed separates their problems.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/input.h"
#include "engine/bagfunc.h"
#include "base/errors.h"
#include "engine/stringlines.h"

namespace {

using bagfunc::Item;
using bagfunc::SolveVariant;

[[noreturn]] void Fail(const char* what, std::string_view line = {}) {
  std::fprintf(stderr, "report check failed: %s [%.*s]\n", what, static_cast<int>(line.size()),
               line.data());
  std::abort();
}

std::optional<std::int32_t> Number(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The number after label on line; a line that does not read so fails the check.
std::int32_t Labelled(const std::string& line, std::string_view label) {
  if (!line.starts_with(label)) Fail("label", line);
  const auto value = Number(std::string_view(line).substr(label.size()));
  if (!value) Fail("number", line);
  return *value;
}

std::int32_t Wrapped(std::int64_t total) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(total));
}

// Item number to weight and value, from lines "Item[i],Weight=w,value=v".
std::map<std::int32_t, Item> EchoedItems(const std::vector<std::string>& lines) {
  std::map<std::int32_t, Item> items;
  for (const std::string& line : lines) {
    if (!line.starts_with("Item[")) continue;
    const auto close = line.find("],Weight=");
    const auto comma = line.find(",value=");
    if (close == std::string::npos || comma == std::string::npos) Fail("item echo", line);
    const std::string_view text = line;
    const auto number = Number(text.substr(5, close - 5));
    const auto weight = Number(text.substr(close + 9, comma - close - 9));
    const auto value = Number(text.substr(comma + 7));
    if (!number || !weight || !value) Fail("item echo numbers", line);
    items[*number] = Item{*weight, *value};
  }
  return items;
}

void CheckReport(const bagfunc::BagEngine& engine, const std::vector<std::string>& lines) {
  const auto items = EchoedItems(lines);
  if (items.size() != static_cast<std::size_t>(std::max(engine.ItemCount, 0)))
    Fail("one echo line per item");
  std::size_t at = 0;
  while (at < lines.size() && lines[at] != std::string(29, '*')) ++at;
  if (lines.size() < at + 6) Fail("report block missing");
  if (Labelled(lines[++at], "背包重量Weight=") != engine.MaxBagWeight) Fail("limit", lines[at]);
  const std::int32_t bestValue = Labelled(lines[++at], "背包重量Value=");
  std::int64_t weight = 0, value = 0;
  std::int32_t position = 0, lastItem = 0;
  while (++at < lines.size() && lines[at] != std::string(32, '=')) {
    if (lines.size() < at + 3) Fail("cut pick entry");
    ++position;
    const std::string prefix = "背包中物体" + std::to_string(position);
    const std::int32_t number =
        Labelled(lines[at], "背包中物体Item " + std::to_string(position) + "序号 Id =");
    const auto item = items.find(number);
    if (item == items.end() || number < 1 || number > bagfunc::kMaxItemCount)
      Fail("pick outside the problem's items", lines[at]);
    if (number <= lastItem) Fail("items out of order", lines[at]);
    lastItem = number;
    if (Labelled(lines[++at], prefix + "序号重量ItemWeight=") != item->second.Weight)
      Fail("weight differs from the echo", lines[at]);
    if (Labelled(lines[++at], prefix + "序号价值ItemValue=") != item->second.Value)
      Fail("value differs from the echo", lines[at]);
    weight += item->second.Weight;
    value += item->second.Value;
  }
  if (lines.size() != at + 3) Fail("lines after the totals");
  if (Labelled(lines[at + 1], "背包中物体总重量Total Weights =") != Wrapped(weight))
    Fail("weight total", lines[at + 1]);
  if (Labelled(lines[at + 2], "背包中物体总价值Total Value =") != Wrapped(value))
    Fail("value total", lines[at + 2]);
  if (bestValue != Wrapped(value)) Fail("best value is not the pick's value");
  if (position > 0 && position > engine.BagSlotCount) Fail("more items than slots");
  if (position > 0 && Wrapped(weight) > engine.MaxBagWeight) Fail("pick over the limit");
}

void Solve(bagfunc::BagEngine& engine, std::string_view bytes, SolveVariant variant) {
  const bagfunc::StringLines src = cli::ProblemLines(bytes);
  bagfunc::StringLines dst;
  try {
    engine.RunSolveCommand(&src, &dst, variant);
  } catch (const bagfunc::Error&) {
    return;  // a header line that does not convert, or too many items
  }
  CheckReport(engine, dst.Lines());
}

constexpr SolveVariant kVariants[] = {SolveVariant::SolveBag, SolveVariant::SolveBagMax,
                                      SolveVariant::SolveBagMaxWith1Data};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = std::min(bytes.find('\f'), bytes.size());
  auto engine = std::make_unique<bagfunc::BagEngine>();
  Solve(*engine, bytes.substr(0, split), kVariants[data[0] % 3]);
  if (split < bytes.size()) Solve(*engine, bytes.substr(split + 1), kVariants[data[0] / 3 % 3]);
  return 0;
}
