// Reading a problem for bagsolve: from a named file or from standard input, never more than
// the window's boxes would take, and every failure named instead of ending the program.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "engine/stringlines.h"

namespace cli {

// The problem's bytes, or why there are none.
struct ProblemBytes {
  std::string bytes;
  std::string failure;  // the message (UTF-8, without the display's "."); empty on success
};

// Reads the whole problem from the file at path, or from in when there is no path or it is
// "-". Reading stops one byte past plaintext::kMaxTextFileBytes, so memory stays bounded whatever
// stands behind the stream (a device that never ends, say). Failures:
//   "Cannot open file <path>"          the file is missing, a folder, or fails while read
//   "Cannot read standard input"       standard input is closed, a folder, or fails while read
//   "Input is larger than 16 MiB"      more bytes than the limit, from either source
ProblemBytes ReadProblem(const std::optional<std::string>& path, std::istream& in);

// The problem's lines as the solve command reads them: decoded by the text files' rule (GBK
// unless a byte-order mark or valid UTF-8 says otherwise) and split at CR LF, lone CR and lone
// LF. Lines past the last one the command can reach (the three header lines and kMaxItemCount
// item lines) are dropped unread, so memory follows the bytes, not the number of line breaks.
bagfunc::StringLines ProblemLines(std::string_view bytes);

}  // namespace cli
