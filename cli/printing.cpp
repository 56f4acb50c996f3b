#include "cli/printing.h"

#include <cstdio>
#include <ostream>

#include "engine/variant.h"
#include "plaintext/gbk.h"

namespace cli {
namespace {

using bagfunc::VariantOutcome;

void PrintLines(const bagfunc::StringLines& lines, Encoding encoding, std::ostream& out) {
  for (const std::string& line : lines.Lines()) out << Encoded(line, encoding) << '\n';
}

void PrintReport(const Solution& solution, Encoding encoding, std::ostream& out) {
  bagfunc::StringLines report;
  bagfunc::ReportOutcome(*solution.engine, solution.outcomes.front(), report);
  PrintLines(report, encoding, out);
}

void PrintComparison(const Solution& solution, Encoding encoding, std::ostream& out) {
  std::int64_t best = 0;
  for (const VariantOutcome& outcome : solution.outcomes) {
    if (outcome.exact) best = outcome.totalValue;
  }
  out << Encoded("方法Variant\t价值Value\t重量Weight\t物体数Items\t占最优比例Share", encoding)
      << '\n';
  for (const VariantOutcome& outcome : solution.outcomes) {
    out << bagfunc::VariantName(outcome.variant) << '\t' << outcome.totalValue << '\t'
        << outcome.totalWeight << '\t' << outcome.items.size() << '\t'
        << ShareText(outcome.totalValue, best) << '\n';
  }
}

void PrintJsonObject(const bagfunc::BagEngine& engine, const VariantOutcome& outcome,
                     std::ostream& out) {
  out << "{\"variant\":\"" << bagfunc::VariantName(outcome.variant) << "\",\"item_count\":"
      << engine.ItemCount << ",\"slot_count\":" << engine.BagSlotCount
      << ",\"max_weight\":" << engine.MaxBagWeight << ",\"items\":[";
  for (std::size_t i = 0; i < outcome.items.size(); ++i) {
    out << (i > 0 ? "," : "") << outcome.items[i];
  }
  out << "],\"total_weight\":" << outcome.totalWeight
      << ",\"total_value\":" << outcome.totalValue;
  if (const auto& exact = outcome.exact) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.6f", exact->seconds);
    out << ",\"feasible\":" << (exact->feasible ? "true" : "false")
        << ",\"upper_bound\":" << exact->upperBound
        << ",\"optimal\":" << (exact->optimal ? "true" : "false") << ",\"seconds\":" << seconds;
  }
  out << '}';
}

void PrintJson(const Solution& solution, bool array, std::ostream& out) {
  if (array) out << "[\n";
  for (std::size_t i = 0; i < solution.outcomes.size(); ++i) {
    if (i > 0) out << ",\n";
    PrintJsonObject(*solution.engine, solution.outcomes[i], out);
  }
  out << (array ? "\n]\n" : "\n");
}

}  // namespace

std::string Encoded(const std::string& utf8, Encoding encoding) {
  if (encoding == Encoding::Utf8) return utf8;
  return plaintext::Utf8ToGbk(utf8);
}

std::string ShareText(std::int64_t value, std::int64_t best) {
  if (best <= 0) return "-";
  // Tenths of a percent, rounded half away from zero. |value| stays below 2^45 (9999 items of
  // 32-bit values), so value * 1000 cannot overflow.
  const std::int64_t scaled = value * 1000;
  std::int64_t tenths = scaled / best;
  const std::int64_t rest = scaled % best;
  if (2 * (rest < 0 ? -rest : rest) >= best) tenths += scaled < 0 ? -1 : 1;
  const std::int64_t magnitude = tenths < 0 ? -tenths : tenths;
  return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." +
         std::to_string(magnitude % 10) + "%";
}

void PrintSolution(const Solution& solution, const Options& options, std::ostream& out) {
  if (options.json) {
    if (solution.failure.empty()) PrintJson(solution, options.compare, out);
    return;
  }
  PrintLines(solution.echo, options.encoding, out);
  if (!solution.failure.empty()) return;
  if (options.compare) {
    PrintComparison(solution, options.encoding, out);
  } else {
    PrintReport(solution, options.encoding, out);
  }
}

}  // namespace cli
