// The best packing's way in (a copy of the tables) and out (its result block).
#include <algorithm>
#include <string>

#include "engine/exact.h"
#include "engine/reportblock.h"

namespace bagfunc {

ExactProblem ExactProblemOf(const BagEngine& engine) {
  ExactProblem problem;
  const std::int32_t count = std::clamp(engine.ItemCount, 0, kMaxItemCount);
  problem.items.assign(engine.ItemTable.begin() + 1, engine.ItemTable.begin() + 1 + count);
  problem.slotLimit = engine.BagSlotCount;
  problem.maxWeight = engine.MaxBagWeight;
  return problem;
}

void ReportExactPick(const ExactProblem& problem, const ExactResult& result, LineList& dst) {
  AppendBlockHead(dst, problem.maxWeight, result.totalValue);
  std::int64_t position = 0;
  for (const std::int32_t number : result.pick) {
    AppendBlockItem(dst, ++position, number, problem.items[static_cast<std::size_t>(number - 1)]);
  }
  AppendBlockTail(dst, result.totalWeight, result.totalValue);
  if (!result.feasible) {
    dst.Append("没有符合限制的装法No Feasible Pick");
    return;
  }
  dst.Append("最优价值上界Upper Bound =" + std::to_string(result.upperBound));
  dst.Append(result.optimal ? "已证明为最优解Proven Optimal" : "未证明为最优解Not Proven Optimal");
}

}  // namespace bagfunc
