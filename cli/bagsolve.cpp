#include "cli/bagsolve.h"

#include <QByteArray>
#include <QString>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/input.h"
#include "engine/bagfunc.h"
#include "engine/errors.h"
#include "engine/stringlines.h"
#include "textio/gbk.h"

namespace cli {
namespace {

using bagfunc::SolveVariant;

constexpr const char* kUsage =
    "Usage: bagsolve [--variant solve|max|max1] [--encoding utf-8|gbk] [FILE]\n"
    "Solves the bag problem in FILE (standard input when FILE is absent or -).\n"
    "The file holds GBK text: the item count, the slot count, the weight limit, then one\n"
    "\"weight,value\" line per item.\n"
    "  --variant solve   the growing search of the first solve button (default)\n"
    "  --variant max     the best pair (second button)\n"
    "  --variant max1    the best pair or single item (third button)\n"
    "  --encoding ENC    encoding of the result: utf-8 (default) or gbk\n"
    "  --help            show this text\n"
    "  --version         show the version\n";

enum class Encoding { Utf8, Gbk };

struct Options {
  SolveVariant variant = SolveVariant::SolveBag;
  Encoding encoding = Encoding::Utf8;
  std::optional<std::string> path;  // nothing: standard input
};

std::optional<SolveVariant> VariantNamed(const std::string& name) {
  if (name == "solve") return SolveVariant::SolveBag;
  if (name == "max") return SolveVariant::SolveBagMax;
  if (name == "max1") return SolveVariant::SolveBagMaxWith1Data;
  return std::nullopt;
}

std::optional<Encoding> EncodingNamed(const std::string& name) {
  const QString lower = QString::fromStdString(name).toLower();
  if (lower == "utf-8" || lower == "utf8") return Encoding::Utf8;
  if (lower == "gbk" || lower == "cp936") return Encoding::Gbk;
  return std::nullopt;
}

// Text in the chosen encoding; the engine's texts are UTF-8.
std::string Encoded(const std::string& utf8, Encoding encoding) {
  if (encoding == Encoding::Utf8) return utf8;
  const QByteArray bytes = textio::EncodeText(QString::fromStdString(utf8));
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "bagsolve: " << problem << "\n" << kUsage;
  return kExitUsage;
}

// Splits "--name=value" or takes the value from the next argument.
bool TakeValue(const std::vector<std::string>& args, std::size_t& at, const std::string& name,
               std::string& value) {
  const std::string& arg = args[at];
  if (arg == name) {
    if (at + 1 >= args.size()) return false;
    value = args[++at];
    return true;
  }
  value = arg.substr(name.size() + 1);
  return true;
}

// Output that cannot be written is a failure, never a success with nothing to show.
int Flushed(std::ostream& out, std::ostream& err, int status) {
  if (out.flush()) return status;
  err << "Cannot write to standard output.\n";
  return kExitFailed;
}

}  // namespace

int RunBagsolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
  Options options;
  bool onlyFiles = false;
  for (std::size_t at = 0; at < args.size(); ++at) {
    const std::string& arg = args[at];
    const bool isOption = !onlyFiles && arg.size() > 1 && arg[0] == '-';
    if (isOption && arg == "--") {
      onlyFiles = true;
    } else if (isOption && (arg == "--help" || arg == "-h")) {
      out << kUsage;
      return Flushed(out, err, kExitOk);
    } else if (isOption && arg == "--version") {
      out << "bagsolve " TREVANA_VERSION "\n";
      return Flushed(out, err, kExitOk);
    } else if (isOption && (arg == "--variant" || arg.starts_with("--variant="))) {
      std::string name;
      if (!TakeValue(args, at, "--variant", name)) return UsageError(err, "--variant needs a value");
      const auto variant = VariantNamed(name);
      if (!variant) return UsageError(err, "unknown variant '" + name + "'");
      options.variant = *variant;
    } else if (isOption && (arg == "--encoding" || arg.starts_with("--encoding="))) {
      std::string name;
      if (!TakeValue(args, at, "--encoding", name)) {
        return UsageError(err, "--encoding needs a value");
      }
      const auto encoding = EncodingNamed(name);
      if (!encoding) return UsageError(err, "unknown encoding '" + name + "'");
      options.encoding = *encoding;
    } else if (isOption) {
      return UsageError(err, "unknown option '" + arg + "'");
    } else if (options.path) {
      return UsageError(err, "only one file may be given");
    } else {
      options.path = arg;
    }
  }

  const ProblemBytes problem = ReadProblem(options.path, in);
  if (!problem.failure.empty()) {
    err << Encoded(bagfunc::WithFullStop(problem.failure), options.encoding) << "\n";
    return kExitFailed;
  }

  const bagfunc::StringLines src = ProblemLines(problem.bytes);
  bagfunc::StringLines dst;

  // A fresh engine: nothing carries over from an earlier problem.
  auto engine = std::make_unique<bagfunc::BagEngine>();
  std::optional<std::string> failure;
  try {
    engine->RunSolveCommand(&src, &dst, options.variant);
  } catch (const bagfunc::Error& error) {
    failure = bagfunc::WithFullStop(error.what());
  }
  // What the command wrote before a failure is output all the same.
  for (const std::string& line : dst.Lines()) out << Encoded(line, options.encoding) << '\n';
  if (Flushed(out, err, kExitOk) != kExitOk) return kExitFailed;
  if (failure) {
    err << Encoded(*failure, options.encoding) << '\n';
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace cli
