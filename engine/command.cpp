// The solve command behind the three solve buttons, and the process-wide engine.
#include <string>

#include "engine/bagfunc.h"
#include "base/convert.h"
#include "base/errors.h"
#include "engine/exact.h"
#include "engine/solve.h"
#include "engine/variant.h"

namespace bagfunc {
namespace {

void Echo(LineList& dst, std::string_view chinese, std::string_view english,
          std::int32_t number) {
  const std::string text = std::to_string(number);
  dst.Append(std::string(chinese) + text);
  dst.Append(std::string(english) + text);
}

}  // namespace

std::int32_t BagEngine::RunSolveCommand(const LineList* src, LineList* dst,
                                        SolveVariant variant) {
  return RunSolveCommand(src, dst, variant, ExactOptions{});
}

std::int32_t BagEngine::RunSolveCommand(const LineList* src, LineList* dst,
                                        SolveVariant variant, const ExactOptions& options) {
  if (src == nullptr || dst == nullptr) return ReadProblem(src, dst);
  SolveRequest request;
  request.variants = {variant};
  request.exact = options;
  ReportOutcome(*this, RunSolve(*this, *src, *dst, request).front(), *dst);
  return 0;
}

std::int32_t BagEngine::ReadProblem(const LineList* src, LineList* dst) {
  ItemCount = 0;
  BagSlotCount = 0;
  BestValue = 0;
  MaxBagWeight = 0;
  if (src == nullptr) return -1;
  if (dst == nullptr) return -2;
  dst->Clear();
  ResetPicks();

  // A count past the last item number would read and write past the tables: refuse it before
  // anything is echoed, leaving the count at 0.
  const std::int32_t count = ConvertHeader(src->Get(0));
  if (count > kMaxItemCount) {
    throw bagfunc::Error("物体的数量不能超过9999 Items Count must not exceed 9999");
  }
  ItemCount = count;
  Echo(*dst, "待放入背包的物体的数量=", "Items Count for Wait to bag=", ItemCount);
  BagSlotCount = ConvertHeader(src->Get(1));
  Echo(*dst, "背包的格数=", "Bag Items Count=", BagSlotCount);
  MaxBagWeight = ConvertHeader(src->Get(2));
  Echo(*dst, "背包的最大重量=", "Max bag Weight=", MaxBagWeight);

  BestValue = 0;
  ItemTable[0] = Item{};
  // ItemTable is never cleared: a field that its line does not supply keeps, and shows, what
  // an earlier command left there.
  for (std::int32_t i = 1; i <= ItemCount; ++i) {
    Item& item = ItemTable[static_cast<std::size_t>(i)];
    ReadItemLine(src->Get(i + 2), item);
    dst->Append("Item[" + std::to_string(i) + "],Weight=" + std::to_string(item.Weight) +
                ",value=" + std::to_string(item.Value));
  }
  return 0;
}

BagEngine& ProcessEngine() {
  static BagEngine engine;
  return engine;
}

}  // namespace bagfunc
