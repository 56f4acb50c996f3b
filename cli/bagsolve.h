// The command-line solver: reads a problem file, solves it with one variant (or compares all
// four) on a fresh engine and prints the report, the comparison or JSON, in UTF-8 or GBK.
// Its steps are their own units: cli/arguments.h, cli/input.h, cli/solving.h, cli/printing.h.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of bagsolve. A time limit that ends the best packing early is no failure.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a header line that does not convert, an unreadable file
inline constexpr int kExitUsage = 2;

// args are the arguments after the program name. Returns the exit status.
int RunBagsolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);

}  // namespace cli
