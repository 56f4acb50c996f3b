// A settings-file editor that reads one value and rewrites one value while leaving every
// other byte of the file (comments, unknown lines, line-break style) exactly as it was. The
// file is read as a stream, one line at a time: memory follows the longest line, never the
// number of lines.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace settings {

// A value read from a settings file is cut after this many characters.
inline constexpr std::size_t kMaxProfileValue = 2047;

// The bytes of a settings file, read from the start; the editor reads them twice.
class ProfileSource {
 public:
  virtual ~ProfileSource() = default;
  // Fills the start of buffer and says how many bytes it took; 0 at the end. A failing read
  // throws (std::system_error), and the reader or editor passes it on.
  virtual std::size_t Read(std::span<char> buffer) = 0;
  // Starts again from the first byte.
  virtual void Rewind() = 0;
};

// Bytes held in memory (a file that does not exist yet is an empty one).
class BytesSource : public ProfileSource {
 public:
  explicit BytesSource(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Read(std::span<char> buffer) override;
  void Rewind() override { at_ = 0; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

// Receives the rewritten file in pieces, in order.
using ProfileSink = std::function<void(std::string_view bytes)>;

// The value of key in section, or "" when the section or the key is missing.
//  - A section line is "[name]"; a key line is "name=value"; both may carry blanks (space,
//    tab) around the name and the value, which do not count. Lines starting with ";" and lines
//    that are neither are skipped; key lines before the first section belong to none.
//  - Names match regardless of ASCII letter case. Only the first matching section is looked
//    in, and the first matching key in it wins.
//  - A value enclosed in a matching pair of double or single quotes loses them.
//  - Line breaks may be CR LF, LF or CR; a UTF-8 byte-order mark before the first line is
//    ignored.
std::string ReadProfileString(ProfileSource& source, std::string_view section,
                              std::string_view key);

// Writes source to sink with the value of key in section set to value, found as
// ReadProfileString finds it. Only the old value's bytes change. A missing key is added after
// the last key of the section (or right after its section line); a missing section is added
// at the end of the file. Added lines end with the file's own line break (its first one),
// CR LF in a file that has none yet. Reads the source twice: once to find the place, once to
// copy it.
void WriteProfileString(ProfileSource& source, const ProfileSink& sink, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace settings
