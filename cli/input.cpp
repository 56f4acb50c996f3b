#include "cli/input.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>
#include <vector>

#include "engine/bagfunc.h"
#include "engine/errors.h"
#include "textio/files.h"
#include "textio/gbk.h"
#include "textio/textfile.h"

namespace cli {
namespace {

constexpr std::size_t kMaxBytes = static_cast<std::size_t>(textio::kMaxTextFileBytes);

enum class ReadResult { Complete, Failed, TooLarge };

// Takes at most one byte past kMaxBytes. istream::read turns a failing read of the stream
// buffer (which may throw: a folder, a closed descriptor, an I/O error) into the bad bit.
ReadResult ReadCapped(std::istream& in, std::string& bytes) {
  bytes.clear();
  char buffer[64 * 1024];
  while (in.good()) {
    const std::size_t room = kMaxBytes + 1 - bytes.size();
    in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, room)));
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxBytes) return ReadResult::TooLarge;
  }
  return in.bad() ? ReadResult::Failed : ReadResult::Complete;
}

std::string TooLargeMessage() {
  return "Input is larger than " + std::to_string(kMaxBytes / (1024 * 1024)) + " MiB";
}

ProblemBytes Failure(std::string message) { return {{}, std::move(message)}; }

// The solve command reads the three header lines and at most kMaxItemCount item lines.
constexpr qsizetype kReadableLines = bagfunc::kMaxItemCount + 3;

// text up to the line break that ends the last readable line.
QStringView ReadableText(QStringView text) {
  qsizetype lines = 0;
  for (qsizetype at = 0; at < text.size(); ++at) {
    if (text[at] != u'\r' && text[at] != u'\n') continue;
    if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ++at;
    if (++lines == kReadableLines) return text.first(at + 1);
  }
  return text;
}

}  // namespace

ProblemBytes ReadProblem(const std::optional<std::string>& path, std::istream& in) {
  ProblemBytes problem;
  ReadResult result = ReadResult::Failed;
  const bool standardInput = !path || *path == "-";
  if (standardInput) {
    result = ReadCapped(in, problem.bytes);
  } else {
    // A folder opens as a stream on some systems and then reads as nothing.
    std::error_code ignored;
    std::ifstream file;
    if (!std::filesystem::is_directory(*path, ignored)) file.open(*path, std::ios::binary);
    if (file.is_open()) result = ReadCapped(file, problem.bytes);
  }
  switch (result) {
    case ReadResult::Complete:
      return problem;
    case ReadResult::TooLarge:
      return Failure(TooLargeMessage());
    case ReadResult::Failed:
      break;
  }
  if (standardInput) return Failure("Cannot read standard input");
  return Failure(bagfunc::FormatMessage(textio::kCannotOpenFile,
                                        QString::fromLocal8Bit(*path).toStdString()));
}

bagfunc::StringLines ProblemLines(std::string_view bytes) {
  // Decoded whole, as the encoding is found from all of the bytes; cut before it is split.
  const QString text = textio::DecodeText(
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  const QStringList texts = textio::SplitLines(ReadableText(text).toString());
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(texts.size()));
  for (const QString& line : texts) lines.push_back(line.toStdString());
  return bagfunc::StringLines(std::move(lines));
}

}  // namespace cli
