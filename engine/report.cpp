// The result block that ends every solve command.
#include <string>

#include "engine/bagfunc.h"
#include "engine/reportblock.h"
#include "engine/wrap.h"

namespace bagfunc {
namespace {

std::string Labelled(std::string_view label, std::int64_t number) {
  std::string line(label);
  line += std::to_string(number);
  return line;
}

}  // namespace

void AppendBlockHead(LineList& dst, std::int64_t weightLimit, std::int64_t value) {
  dst.Append(std::string(29, '*'));
  dst.Append(Labelled("背包重量Weight=", weightLimit));
  dst.Append(Labelled("背包重量Value=", value));
}

void AppendBlockItem(LineList& dst, std::int64_t position, std::int64_t number,
                     const Item& item) {
  dst.Append(Labelled(Labelled("背包中物体Item ", position) + "序号 Id =", number));
  dst.Append(Labelled(Labelled("背包中物体", position) + "序号重量ItemWeight=", item.Weight));
  dst.Append(Labelled(Labelled("背包中物体", position) + "序号价值ItemValue=", item.Value));
}

void AppendBlockTail(LineList& dst, std::int64_t totalWeight, std::int64_t totalValue) {
  dst.Append(std::string(32, '='));
  dst.Append(Labelled("背包中物体总重量Total Weights =", totalWeight));
  dst.Append(Labelled("背包中物体总价值Total Value =", totalValue));
}

std::vector<std::int32_t> BagEngine::PickedItems() const {
  std::vector<std::int32_t> numbers;
  // The walk never runs past the table, even if no end mark were there.
  for (std::size_t p = 1; p < kTableSize; ++p) {
    const std::int32_t number = BestPick[p];
    if (number < 0 || static_cast<std::size_t>(number) >= kTableSize) break;
    numbers.push_back(number);
  }
  return numbers;
}

std::int32_t BagEngine::ReportBestPick(LineList* dst) const {
  if (dst == nullptr) return -1;
  // The first line carries the bag's limit, not the weight of the pick.
  AppendBlockHead(*dst, MaxBagWeight, BestValue);
  std::int32_t totalWeight = 0;
  std::int32_t totalValue = 0;
  std::int64_t position = 0;
  for (const std::int32_t number : PickedItems()) {
    const Item& item = ItemTable[static_cast<std::size_t>(number)];
    totalWeight = WrapAdd(totalWeight, item.Weight);
    totalValue = WrapAdd(totalValue, item.Value);
    AppendBlockItem(*dst, ++position, number, item);
  }
  AppendBlockTail(*dst, totalWeight, totalValue);
  return 0;
}

}  // namespace bagfunc
