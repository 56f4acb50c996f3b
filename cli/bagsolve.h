// The command-line solver: reads a problem file (GBK), runs the solve command of one search
// on a fresh engine and writes the result lines in UTF-8 or GBK.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of bagsolve.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a header line that does not convert, an unreadable file
inline constexpr int kExitUsage = 2;

// args are the arguments after the program name. Returns the exit status.
int RunBagsolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);

}  // namespace cli
