// bagsolve's solving step: the solve command's reading and echo, then the chosen variant (or
// all four) through the engine's one dispatch, on a fresh engine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "engine/bagfunc.h"
#include "engine/stringlines.h"
#include "engine/variant.h"

namespace cli {

struct Solution {
  // The tables the outcomes were found on; a search's report reads its picks from them.
  std::unique_ptr<bagfunc::BagEngine> engine;
  bagfunc::StringLines echo;  // what the command wrote before any search ran
  std::vector<bagfunc::VariantOutcome> outcomes;  // options.variant alone, or all four
  std::string failure;  // the message (with its "."), when the problem could not be read
};

// Reads the problem from lines and solves it as options say. A header line that is not an
// integer, or too many items, ends it with failure set, the echo written so far, no outcome.
Solution SolveProblem(const bagfunc::LineList& lines, const Options& options);

}  // namespace cli
