// bagsolve's command line: what to solve, how, and in which form to print it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/bagfunc.h"
#include "engine/exact.h"

namespace cli {

enum class Encoding { Utf8, Gbk };

struct Options {
  bagfunc::SolveVariant variant = bagfunc::SolveVariant::SolveBag;
  bool compare = false;  // all four variants side by side instead of one report
  bool json = false;
  double timeLimitSeconds = bagfunc::kDefaultTimeLimitSeconds;  // the best packing's; 0: none
  Encoding encoding = Encoding::Utf8;
  std::optional<std::string> path;  // nothing: standard input
};

// What the arguments ask for: a run with options, the usage or the version, or nothing but
// an explanation of what is wrong with them.
struct Arguments {
  enum class Action { Run, Help, Version, Usage };
  Action action = Action::Run;
  Options options;
  std::string problem;  // for Action::Usage: what is wrong, in one line
};

// args are the arguments after the program name. "--name value" and "--name=value" are one;
// after "--" every argument is a file name.
Arguments ParseArguments(const std::vector<std::string>& args);

// The usage text, ended by a line feed.
extern const char* const kUsage;

}  // namespace cli
