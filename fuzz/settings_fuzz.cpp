// Feeds arbitrary bytes to the settings-file reader and editor as the content of a settings
// file, and checks that a write changes nothing but the one value: the bytes the old and the
// new file do not share hold no line break of the old file, a read finds the written value,
// writing it again changes nothing, and writing another value and then the first one again
// gives the same bytes. The first byte picks the value and how many bytes each read serves.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "settings/profile.h"

namespace {

constexpr std::string_view kValues[] = {"1", "0", "", "0x10", "a b"};
// An empty value has no place of its own (it is written right after the "="), so the way
// there and back goes through values that have one.
constexpr std::string_view kOtherValues[] = {"7", "x y z"};

class PiecesSource : public settings::BytesSource {
 public:
  PiecesSource(std::string_view bytes, std::size_t piece) : BytesSource(bytes), piece_(piece) {}
  std::size_t Read(std::span<char> buffer) override {
    return BytesSource::Read(buffer.first(std::min(buffer.size(), piece_)));
  }

 private:
  std::size_t piece_;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "settings check failed: %s\n", what);
  std::abort();
}

struct Editor {
  std::size_t piece;

  std::string Read(std::string_view content) const {
    PiecesSource source(content, piece);
    return settings::ReadProfileString(source, "Setting", "bChinese");
  }
  std::string Write(std::string_view content, std::string_view value) const {
    PiecesSource source(content, piece);
    std::string written;
    settings::WriteProfileString(
        source, [&](std::string_view bytes) { written += bytes; }, "Setting", "bChinese", value);
    return written;
  }
};

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string_view value = kValues[data[0] % std::size(kValues)];
  const std::string_view other = kOtherValues[data[0] % std::size(kOtherValues)];
  const Editor editor{static_cast<std::size_t>(data[0] / std::size(kValues) % 8 + 1)};

  editor.Read(content);
  const std::string written = editor.Write(content, value);

  // Everything but one value survives: what differs between the two files lies between their
  // common start and their common end, and holds no line break of the old file.
  const std::size_t shorter = std::min(content.size(), written.size());
  std::size_t start = 0;
  while (start < shorter && content[start] == written[start]) ++start;
  std::size_t end = 0;
  while (end < shorter - start &&
         content[content.size() - 1 - end] == written[written.size() - 1 - end])
    ++end;
  if (HasLineBreak(content.substr(start, content.size() - start - end)))
    Fail("a line of the old file was lost or changed");

  if (editor.Read(written) != value) Fail("the written value does not read back");
  if (editor.Write(written, value) != written) Fail("writing the same value again changed bytes");
  if (editor.Write(editor.Write(written, other), value) != written)
    Fail("another value and back does not give the same bytes");
  return 0;
}
