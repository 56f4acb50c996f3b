// The engine's way into the web page: the solve command of any variant on a problem's lines,
// and the window's text files (the encoding rule, the limits, the GBK codec of plaintext/),
// through a few C functions that the page (its worker for solving) and the tests, under node,
// call. One request at a time; its answer stays until the next one. A problem's and a
// report's texts are UTF-8 both ways; a file's text is UTF-16 code units, as a file may hold
// lone surrogates that UTF-8 cannot carry.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bagfunc.h"
#include "base/errors.h"
#include "engine/exact.h"
#include "engine/solve.h"
#include "engine/stringlines.h"
#include "engine/variant.h"
#include "plaintext/lines.h"
#include "plaintext/textfile.h"

// The page's hooks, set on the module object by web/site/engine.js. Each is optional.

// The echo lines of the problem just read, joined by "\n", before the search starts.
EM_JS(void, PageEcho, (const char* text, int length), {
  if (Module["onEcho"]) Module["onEcho"](UTF8ToString(text, length));
});

// Where the best packing stands; the hook returns true to request a stop.
EM_JS(int, PageProgress,
      (double seconds, double totalWeight, double totalValue, double upperBound,
       const std::int32_t* pick, int count),
      {
        if (!Module["onProgress"]) return 0;
        const first = pick >> 2;
        return Module["onProgress"]({
          seconds : seconds,
          totalWeight : totalWeight,
          totalValue : totalValue,
          upperBound : upperBound,
          pick : HEAP32.slice(first, first + count)
        }) ? 1 : 0;
      });

namespace {

using namespace bagfunc;

// What a failed allocation shows, as in the window's error display.
constexpr char kOutOfMemory[] = "Out of memory";

// The page reports progress to the person at most this often; a better pick found meanwhile
// goes out with the next report, which the search makes at least every tenth of a second.
constexpr double kProgressEveryMs = 50;

// What the window's boxes say of a file they will not load.
constexpr char kTextExceedsCapacity[] = "Text exceeds memo capacity";

struct Answer {
  std::string report;  // the lines, joined by "\n"; a file's bytes
  std::string error;   // the message under the error display's "." rule; empty when none
  std::u16string text;  // a file's text
};
Answer answer;

// The problem as the page hands it over: its lines joined by "\n" (the page has split the
// text by the boxes' rule). Lines past the last one the command can reach are left unread.
StringLines ProblemLines(const char* text, int length) {
  const std::string_view all(text, static_cast<std::size_t>(std::max(length, 0)));
  constexpr std::size_t kReadableLines = kMaxItemCount + 3;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (lines.size() < kReadableLines) {
    const std::size_t end = all.find('\n', start);
    lines.emplace_back(all.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return StringLines(std::move(lines));
}

// No line the engine writes holds a line break (a quoted line has its control characters
// escaped), and none is empty, so "" stands for no lines at all.
std::string Joined(const StringLines& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.Lines().size(); ++i) {
    if (i > 0) text += '\n';
    text += lines.Lines()[i];
  }
  return text;
}

// Runs work on a fresh engine (nothing carries over between requests, as in bagsolve) and
// keeps what it wrote, also when it fails. Returns 0, or 1 with the message in answer.error.
template <class Work>
int Answered(Work&& work) {
  answer = {};
  StringLines dst;
  int status = 0;
  try {
    const auto engine = std::make_unique<BagEngine>();
    work(*engine, dst);
  } catch (const std::bad_alloc&) {
    answer.error = kOutOfMemory;
    status = 1;
  } catch (const bagfunc::Error& error) {
    answer.error = bagfunc::WithFullStop(error.what());
    status = 1;
  }
  answer.report = Joined(dst);
  return status;
}

// The best packing's options for the page: the time limit, progress to the page at a pace a
// person can follow, and the page's stop request.
ExactOptions PageOptions(double timeLimitSeconds, std::atomic<bool>& stop) {
  ExactOptions options;
  if (timeLimitSeconds >= 0) options.timeLimitSeconds = timeLimitSeconds;
  options.stop = &stop;
  options.progress = [&stop, next = 0.0](const ExactProgress& progress) mutable {
    const double now = emscripten_get_now();
    if (now < next || !progress.feasible) return;
    next = now + kProgressEveryMs;
    const bool stopRequested =
        PageProgress(progress.seconds, static_cast<double>(progress.totalWeight),
                     static_cast<double>(progress.totalValue),
                     static_cast<double>(progress.upperBound), progress.pick.data(),
                     static_cast<int>(progress.pick.size())) != 0;
    if (stopRequested) stop.store(true);
  };
  return options;
}

// The page's code of a format: the encoding times two, plus one with a byte-order mark.
int FormatCode(plaintext::TextFormat format) {
  return static_cast<int>(format.encoding) * 2 + (format.byteOrderMark ? 1 : 0);
}
plaintext::TextFormat FormatOf(int code) {
  return {static_cast<plaintext::Encoding>(std::clamp(code / 2, 0, 3)), code % 2 != 0};
}

// The lines of text (split at CR LF, lone CR and lone LF) joined by separator.
std::u16string JoinedLines(std::u16string_view text, std::u16string_view separator) {
  std::u16string joined;
  bool first = true;
  for (const std::u16string_view line : plaintext::SplitLines(text)) {
    if (!first) joined += separator;
    joined += line;
    first = false;
  }
  return joined;
}

std::string_view Bytes(const char* bytes, int length) {
  return {bytes, static_cast<std::size_t>(std::max(length, 0))};
}
std::u16string_view Units(const char16_t* units, int count) {
  return {units, static_cast<std::size_t>(std::max(count, 0))};
}

}  // namespace

extern "C" {

// Runs the solve command on the problem with the variant of that name ("solve", "max",
// "max1", "best"). timeLimitSeconds is the best packing's: 0 for none, below 0 for the one
// bagsolve and the window use. 0 when the command ran to its end; 1 when it failed (the lines
// it wrote before are kept); 2 for an unknown variant.
EMSCRIPTEN_KEEPALIVE int TrevanaSolve(const char* text, int length, const char* variantName,
                                      double timeLimitSeconds) {
  const std::optional<SolveVariant> variant = VariantByName(variantName);
  if (!variant) {
    answer = {};
    answer.error = "Unknown variant";
    return 2;
  }
  const StringLines src = ProblemLines(text, length);
  return Answered([&](BagEngine& engine, StringLines& dst) {
    std::atomic<bool> stop{false};
    SolveRequest request;
    request.variants = {*variant};
    request.exact = PageOptions(timeLimitSeconds, stop);
    request.echoed = [&dst](const LineList&) {
      const std::string echo = Joined(dst);
      PageEcho(echo.data(), static_cast<int>(echo.size()));
    };
    ReportOutcome(engine, RunSolve(engine, src, dst, request).front(), dst);
  });
}

// The best packing's report for a pick that the page kept when it stopped a search (ascending
// item numbers, as progress gave them) with the bound reported with it. 0, or 1 as above.
EMSCRIPTEN_KEEPALIVE int TrevanaReportKeptPick(const char* text, int length,
                                               const std::int32_t* pick, int count,
                                               double bound) {
  const StringLines src = ProblemLines(text, length);
  return Answered([&](BagEngine& engine, StringLines& dst) {
    engine.ReadProblem(&src, &dst);
    const std::span kept(pick, static_cast<std::size_t>(std::max(count, 0)));
    ReportPickWithBound(ExactProblemOf(engine), kept, static_cast<std::int64_t>(bound), dst);
  });
}

// The last request's report lines joined by "\n", and their length in bytes.
EMSCRIPTEN_KEEPALIVE const char* TrevanaReport() { return answer.report.c_str(); }
EMSCRIPTEN_KEEPALIVE int TrevanaReportLength() { return static_cast<int>(answer.report.size()); }

// The last request's error message, "" when it had none.
EMSCRIPTEN_KEEPALIVE const char* TrevanaError() { return answer.error.c_str(); }

// A file's text by the rule of plaintext/textfile.h; returns the format's code.
EMSCRIPTEN_KEEPALIVE int TrevanaDecodeFile(const char* bytes, int length) {
  answer = {};
  plaintext::DecodedText decoded = plaintext::DecodeFile(Bytes(bytes, length));
  answer.text = std::move(decoded.text);
  return FormatCode(decoded.format);
}

// A problem file as the input box loads it: at most plaintext::kMaxTextFileBytes, no line
// longer than plaintext::kMaxLineChars, its lines joined by "\n". Returns the format's code,
// or -1 with the message in the error.
EMSCRIPTEN_KEEPALIVE int TrevanaOpenProblem(const char* bytes, int length) {
  if (length > plaintext::kMaxTextFileBytes) {
    answer = {};
    answer.error = kTextExceedsCapacity;
    return -1;
  }
  const int format = TrevanaDecodeFile(bytes, length);
  if (!plaintext::LineLengthCheck().Add(answer.text)) {
    answer = {};
    answer.error = kTextExceedsCapacity;
    return -1;
  }
  answer.text = JoinedLines(answer.text, u"\n");
  return format;
}

// The text in the format with its mark, as the file's bytes.
EMSCRIPTEN_KEEPALIVE void TrevanaEncodeFile(const char16_t* units, int count, int format) {
  answer = {};
  answer.report = plaintext::EncodeFile(Units(units, count), FormatOf(format));
}

// The input area's text as the input box saves it: its lines (line and paragraph separators
// end lines too) joined by CR LF, nothing after the last, in the format.
EMSCRIPTEN_KEEPALIVE void TrevanaSaveProblem(const char16_t* units, int count, int format) {
  std::u16string text(Units(units, count));
  std::replace_if(text.begin(), text.end(),
                  [](char16_t unit) { return unit == u'\u2028' || unit == u'\u2029'; }, u'\n');
  answer = {};
  answer.report = plaintext::EncodeFile(JoinedLines(text, u"\r\n"), FormatOf(format));
}

// The last request's file text, and its length in code units.
EMSCRIPTEN_KEEPALIVE const char16_t* TrevanaText() { return answer.text.c_str(); }
EMSCRIPTEN_KEEPALIVE int TrevanaTextLength() { return static_cast<int>(answer.text.size()); }

// What the page says of a file it will not open.
EMSCRIPTEN_KEEPALIVE const char* TrevanaCapacityMessage() { return kTextExceedsCapacity; }

// The largest file the page opens, in bytes.
EMSCRIPTEN_KEEPALIVE double TrevanaMaxFileBytes() {
  return static_cast<double>(plaintext::kMaxTextFileBytes);
}

// The best packing's default time limit in seconds.
EMSCRIPTEN_KEEPALIVE double TrevanaDefaultTimeLimit() { return kDefaultTimeLimitSeconds; }

}  // extern "C"
