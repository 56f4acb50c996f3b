// bagsolve's printing step: a solution as the report the window shows, as the comparison
// table, or as JSON. Every line ends in a line feed; nothing else is written.
//
// The comparison: the echo lines, then the header line
//   方法Variant<TAB>价值Value<TAB>重量Weight<TAB>物体数Items<TAB>占最优比例Share
// and one line per variant (solve, max, max1, best): its name, total value, total weight,
// number of picked items and share, separated by one tab each.
//
// JSON (UTF-8 whatever the encoding; only ASCII): one object per variant on one line, keys in
// this order: "variant", "item_count", "slot_count", "max_weight", "items" (ascending item
// numbers), "total_weight", "total_value", and for "best" also "feasible", "upper_bound",
// "optimal" and "seconds" (six decimals). With --compare the four objects stand in an array:
// "[" on its own line, the objects separated by "," at the end of a line, then "]".
//
// Totals are those the reports print: 32-bit as the searches sum them, exact for the best.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "cli/arguments.h"
#include "cli/solving.h"

namespace cli {

// The utf8 text in the chosen encoding.
std::string Encoded(const std::string& utf8, Encoding encoding);

// value as a share of best, in percent with one decimal (halves away from zero) and "%";
// "-" when best is 0 or less. A search's 32-bit total can exceed the best value or be
// negative, and so can its share.
std::string ShareText(std::int64_t value, std::int64_t best);

// What options ask for. A solution that failed prints its echo lines as text, and nothing as
// JSON.
void PrintSolution(const Solution& solution, const Options& options, std::ostream& out);

}  // namespace cli
