// bagsolve's entry point on Windows. The program is the same as on POSIX; what differs is the
// boundary: the arguments arrive in UTF-16 (wmain) and go on as UTF-8, files and pipes carry
// the program's bytes unchanged (binary mode, no LF to CR LF), and a console, which shows
// bytes in its own code page, is written in UTF-16 instead, so the text reads right whatever
// that code page is.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/bagsolve.h"
#include "plaintext/gbk.h"
#include "plaintext/unicode.h"

namespace {

std::string Utf8Argument(const wchar_t* arg) {
  // wchar_t is a UTF-16 code unit on Windows.
  const std::u16string wide(arg, arg + std::wcslen(arg));
  return plaintext::Utf16ToUtf8(wide);
}

// The encoding of what the program writes: a run's as its options say; usage, help and the
// version are UTF-8 (a usage message quotes the arguments as they were given).
cli::Encoding WrittenEncoding(const std::vector<std::string>& args) {
  const cli::Arguments arguments = cli::ParseArguments(args);
  return arguments.action == cli::Arguments::Action::Run ? arguments.options.encoding
                                                         : cli::Encoding::Utf8;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// A stream buffer onto a console: it gathers the program's bytes and hands the console whole
// lines as UTF-16. A line feed is never part of a UTF-8 or GBK sequence, so a line decodes by
// itself; the console starts a new line at a lone line feed.
class ConsoleBuffer : public std::streambuf {
 public:
  ConsoleBuffer(HANDLE console, cli::Encoding encoding) : console_(console), encoding_(encoding) {}

  // Writes what is left, a last line without its line feed included.
  bool Finish() {
    const bool written = Write(pending_.size());
    pending_.clear();
    return written;
  }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_.push_back(traits_type::to_char_type(c));
    if (pending_.size() >= kFlushBytes && sync() != 0) return traits_type::eof();
    return c;
  }

  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    pending_.append(bytes, static_cast<std::size_t>(count));
    if (pending_.size() >= kFlushBytes && sync() != 0) return 0;
    return count;
  }

  int sync() override {
    const std::size_t lastLineFeed = pending_.rfind('\n');
    if (lastLineFeed == std::string::npos) return 0;
    const bool written = Write(lastLineFeed + 1);
    pending_.erase(0, lastLineFeed + 1);
    return written ? 0 : -1;
  }

 private:
  static constexpr std::size_t kFlushBytes = 64 * 1024;
  // Small pieces: old consoles refuse one large write.
  static constexpr std::size_t kPieceUnits = 8 * 1024;

  // The first count bytes of pending_.
  bool Write(std::size_t count) {
    const std::string_view bytes(pending_.data(), count);
    const std::u16string text = encoding_ == cli::Encoding::Gbk ? plaintext::DecodeGbk(bytes)
                                                                : plaintext::Utf8ToUtf16(bytes);
    for (std::size_t at = 0; at < text.size();) {
      std::size_t size = std::min(kPieceUnits, text.size() - at);
      // A surrogate pair stays in one piece.
      if (at + size < text.size() && plaintext::IsHighSurrogate(text[at + size - 1])) --size;
      const std::wstring piece(text.begin() + at, text.begin() + at + size);
      DWORD written = 0;
      if (!WriteConsoleW(console_, piece.data(), static_cast<DWORD>(piece.size()), &written,
                         nullptr) ||
          written == 0) {
        return false;
      }
      at += written;
    }
    return true;
  }

  HANDLE console_;
  cli::Encoding encoding_;
  std::string pending_;
};

// Puts a ConsoleBuffer under stream while the handle is a console; a file or a pipe gets the
// bytes through the C runtime in binary mode.
class StandardStream {
 public:
  StandardStream(DWORD which, std::FILE* file, std::ostream& stream, cli::Encoding encoding)
      : stream_(stream) {
    const HANDLE handle = GetStdHandle(which);
    if (IsConsole(handle)) {
      console_.emplace(handle, encoding);
      previous_ = stream.rdbuf(&*console_);
    } else {
      _setmode(_fileno(file), _O_BINARY);
    }
  }

  ~StandardStream() {
    if (console_) stream_.rdbuf(previous_);
  }

  bool Finish() { return !console_ || (stream_.flush() && console_->Finish()); }

 private:
  std::ostream& stream_;
  std::optional<ConsoleBuffer> console_;
  std::streambuf* previous_ = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8Argument(argv[i]));
  // Typed input keeps the console's text mode, where Ctrl+Z ends it; the line splitter takes
  // CR LF and LF alike.
  if (!IsConsole(GetStdHandle(STD_INPUT_HANDLE))) _setmode(_fileno(stdin), _O_BINARY);
  std::ios::sync_with_stdio(false);
  const cli::Encoding encoding = WrittenEncoding(args);
  StandardStream out(STD_OUTPUT_HANDLE, stdout, std::cout, encoding);
  StandardStream err(STD_ERROR_HANDLE, stderr, std::cerr, encoding);
  int status = cli::RunBagsolve(args, std::cin, std::cout, std::cerr);
  if (!out.Finish() && status == cli::kExitOk) {
    std::cerr << "Cannot write to standard output.\n";
    status = cli::kExitFailed;
  }
  err.Finish();
  return status;
}
