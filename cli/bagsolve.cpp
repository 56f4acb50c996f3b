#include "cli/bagsolve.h"

#include <ostream>

#include "cli/arguments.h"
#include "cli/input.h"
#include "cli/printing.h"
#include "cli/solving.h"
#include "base/errors.h"

namespace cli {
namespace {

// Output that cannot be written is a failure, never a success with nothing to show.
int Flushed(std::ostream& out, std::ostream& err, int status) {
  if (out.flush()) return status;
  err << "Cannot write to standard output.\n";
  return kExitFailed;
}

}  // namespace

int RunBagsolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
  const Arguments arguments = ParseArguments(args);
  switch (arguments.action) {
    case Arguments::Action::Usage:
      err << "bagsolve: " << arguments.problem << "\n" << kUsage;
      return kExitUsage;
    case Arguments::Action::Help:
      out << kUsage;
      return Flushed(out, err, kExitOk);
    case Arguments::Action::Version:
      out << "bagsolve " TREVANA_VERSION "\n";
      return Flushed(out, err, kExitOk);
    case Arguments::Action::Run:
      break;
  }
  const Options& options = arguments.options;

  const ProblemBytes problem = ReadProblem(options.path, in);
  if (!problem.failure.empty()) {
    err << Encoded(bagfunc::WithFullStop(problem.failure), options.encoding) << "\n";
    return kExitFailed;
  }

  const Solution solution = SolveProblem(ProblemLines(problem.bytes), options);
  // What the command wrote before a failure is output all the same (as text).
  PrintSolution(solution, options, out);
  if (Flushed(out, err, kExitOk) != kExitOk) return kExitFailed;
  if (!solution.failure.empty()) {
    err << Encoded(solution.failure, options.encoding) << '\n';
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace cli
