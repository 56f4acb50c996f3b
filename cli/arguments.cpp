#include "cli/arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "base/quote.h"
#include "engine/variant.h"

namespace cli {

const char* const kUsage =
    "Usage: bagsolve [--variant solve|max|max1|best] [--time-limit SECONDS] [--json]\n"
    "                [--encoding utf-8|gbk] [FILE]\n"
    "       bagsolve --compare [--time-limit SECONDS] [--json] [--encoding utf-8|gbk] [FILE]\n"
    "Solves the bag problem in FILE (standard input when FILE is absent or -).\n"
    "The file holds GBK text: the item count, the slot count, the weight limit, then one\n"
    "\"weight,value\" line per item.\n"
    "  --variant solve       the growing search of the first solve button (default)\n"
    "  --variant max         the best pair (second button)\n"
    "  --variant max1        the best pair or single item (third button)\n"
    "  --variant best        the best packing: the most valuable items within both limits,\n"
    "                        proven optimal unless the time limit ends the search first\n"
    "  --time-limit SECONDS  time for the best packing, a decimal number (default 10,\n"
    "                        0 for none); when it runs out, the best pick found is shown\n"
    "  --compare             all four variants, one tab-separated line each: value, weight,\n"
    "                        items and share of the best value\n"
    "  --json                JSON instead of the report: one object per variant\n"
    "                        (an array of four with --compare)\n"
    "  --encoding ENC        encoding of the result: utf-8 (default) or gbk\n"
    "  --help                show this text\n"
    "  --version             show the version\n";

namespace {

std::optional<Encoding> EncodingNamed(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  if (lower == "utf-8" || lower == "utf8") return Encoding::Utf8;
  if (lower == "gbk" || lower == "cp936") return Encoding::Gbk;
  return std::nullopt;
}

// A plain decimal number of seconds, 0 or more: "10", "2.5", ".5". No sign, exponent,
// infinity or text after the number.
std::optional<double> SecondsNamed(const std::string& text) {
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) {
    return std::nullopt;
  }
  double seconds = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, seconds, std::chars_format::fixed);
  if (error != std::errc() || stop != end || !std::isfinite(seconds)) return std::nullopt;
  return seconds;
}

Arguments Usage(std::string problem) {
  Arguments wrong;
  wrong.action = Arguments::Action::Usage;
  wrong.problem = std::move(problem);
  return wrong;
}

// "--name value" or "--name=value": the value, or nothing when "--name" ends the arguments.
std::optional<std::string> TakeValue(const std::vector<std::string>& args, std::size_t& at,
                                     const std::string& name) {
  const std::string& arg = args[at];
  if (arg != name) return arg.substr(name.size() + 1);
  if (at + 1 >= args.size()) return std::nullopt;
  return args[++at];
}

bool Names(const std::string& arg, const std::string& option) {
  return arg == option || arg.starts_with(option + "=");
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  Options& options = parsed.options;
  bool variantGiven = false;
  bool onlyFiles = false;
  for (std::size_t at = 0; at < args.size(); ++at) {
    const std::string& arg = args[at];
    const bool isOption = !onlyFiles && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (options.path) return Usage("only one file may be given");
      options.path = arg;
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.action = Arguments::Action::Help;
      return parsed;
    } else if (arg == "--version") {
      parsed.action = Arguments::Action::Version;
      return parsed;
    } else if (arg == "--compare") {
      options.compare = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (Names(arg, "--variant")) {
      const auto name = TakeValue(args, at, "--variant");
      if (!name) return Usage("--variant needs a value");
      const auto variant = bagfunc::VariantByName(*name);
      if (!variant) return Usage("unknown variant '" + bagfunc::QuotedLine(*name) + "'");
      options.variant = *variant;
      variantGiven = true;
    } else if (Names(arg, "--time-limit")) {
      const auto text = TakeValue(args, at, "--time-limit");
      if (!text) return Usage("--time-limit needs a value");
      const auto seconds = SecondsNamed(*text);
      if (!seconds) {
        return Usage("--time-limit takes seconds (0 or more), not '" +
                     bagfunc::QuotedLine(*text) + "'");
      }
      options.timeLimitSeconds = *seconds;
    } else if (Names(arg, "--encoding")) {
      const auto name = TakeValue(args, at, "--encoding");
      if (!name) return Usage("--encoding needs a value");
      const auto encoding = EncodingNamed(*name);
      if (!encoding) return Usage("unknown encoding '" + bagfunc::QuotedLine(*name) + "'");
      options.encoding = *encoding;
    } else {
      return Usage("unknown option '" + bagfunc::QuotedLine(arg) + "'");
    }
  }
  if (options.compare && variantGiven) return Usage("--compare runs every variant: no --variant");
  return parsed;
}

}  // namespace cli
