#include "cli/input.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>
#include <vector>

#include "base/errors.h"
#include "engine/bagfunc.h"
#include "plaintext/files.h"
#include "plaintext/lines.h"
#include "plaintext/textfile.h"
#include "plaintext/unicode.h"

namespace cli {
namespace {

constexpr std::size_t kMaxBytes = static_cast<std::size_t>(plaintext::kMaxTextFileBytes);

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

// The file system's name for a path given in UTF-8. POSIX takes the bytes as they are; Windows
// names files in UTF-16, which the path converts to from UTF-8 (char8_t), so that the wide
// calls open the file and a Chinese name needs no code page.
std::filesystem::path FilePath(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

// The solve command reads the three header lines and at most kMaxItemCount item lines.
constexpr std::size_t kReadableLines = bagfunc::kMaxItemCount + 3;

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
    const std::filesystem::path name = FilePath(*path);
    if (!std::filesystem::is_directory(name, ignored)) file.open(name, std::ios::binary);
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
  // The name as the system gave it, with each byte that is no UTF-8 shown as U+FFFD.
  return Failure(bagfunc::FormatMessage(
      plaintext::kCannotOpenFile, plaintext::Utf16ToUtf8(plaintext::Utf8ToUtf16(*path))));
}

bagfunc::StringLines ProblemLines(std::string_view bytes) {
  // Decoded whole, as the encoding is found from all of the bytes.
  const std::string text = plaintext::DecodeFileToUtf8(bytes);
  const auto pieces = plaintext::SplitLines(std::string_view(text), kReadableLines);
  return bagfunc::StringLines(std::vector<std::string>(pieces.begin(), pieces.end()));
}

}  // namespace cli
