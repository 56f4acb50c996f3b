// The result block that ends every solve command.
#include <string>

#include "engine/bagfunc.h"
#include "engine/wrap.h"

namespace bagfunc {
namespace {

std::string Labelled(std::string_view label, std::int32_t number) {
  std::string line(label);
  line += std::to_string(number);
  return line;
}

}  // namespace

std::int32_t BagEngine::ReportBestPick(LineList* dst) const {
  if (dst == nullptr) return -1;
  dst->Append(std::string(29, '*'));
  // The first line carries the bag's limit, not the weight of the pick.
  dst->Append(Labelled("背包重量Weight=", MaxBagWeight));
  dst->Append(Labelled("背包重量Value=", BestValue));
  std::int32_t totalWeight = 0;
  std::int32_t totalValue = 0;
  // The pick ends at -1; an entry that names no table entry ends it too, and the walk never
  // runs past the table even if no end mark were there.
  for (std::size_t p = 1; p < kTableSize; ++p) {
    const std::int32_t number = BestPick[p];
    if (number < 0 || static_cast<std::size_t>(number) >= kTableSize) break;
    const Item& item = ItemTable[static_cast<std::size_t>(number)];
    const auto position = static_cast<std::int32_t>(p);
    dst->Append(Labelled(Labelled("背包中物体Item ", position) + "序号 Id =", number));
    totalWeight = WrapAdd(totalWeight, item.Weight);
    totalValue = WrapAdd(totalValue, item.Value);
    dst->Append(Labelled(Labelled("背包中物体", position) + "序号重量ItemWeight=", item.Weight));
    dst->Append(Labelled(Labelled("背包中物体", position) + "序号价值ItemValue=", item.Value));
  }
  dst->Append(std::string(32, '='));
  dst->Append(Labelled("背包中物体总重量Total Weights =", totalWeight));
  dst->Append(Labelled("背包中物体总价值Total Value =", totalValue));
  return 0;
}

}  // namespace bagfunc
