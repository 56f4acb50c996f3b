// A settings-file editor that reads one value and rewrites one value while leaving every
// other byte of the file (comments, unknown lines, line-break style) exactly as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace settings {

// A value read from a settings file is cut after this many characters.
inline constexpr std::size_t kMaxProfileValue = 2047;

// The value of key in section, or "" when the section or the key is missing.
//  - A section line is "[name]"; a key line is "name=value"; both may carry blanks (space,
//    tab) around the name and the value, which do not count. Lines starting with ";" and lines
//    that are neither are skipped; key lines before the first section belong to none.
//  - Names match regardless of ASCII letter case. Only the first matching section is looked
//    in, and the first matching key in it wins.
//  - A value enclosed in a matching pair of double or single quotes loses them.
//  - Line breaks may be CR LF, LF or CR; a UTF-8 byte-order mark before the first line is
//    ignored.
std::string ReadProfileString(std::string_view content, std::string_view section,
                              std::string_view key);

// content with the value of key in section set to value, found as ReadProfileString finds it.
// Only the old value's bytes change. A missing key is added after the last key of the
// section (or right after its section line); a missing section is added at the end of the
// file. Added lines end with the file's own line break (its first one), CR LF in a file that
// has none yet.
std::string WriteProfileString(std::string_view content, std::string_view section,
                               std::string_view key, std::string_view value);

}  // namespace settings
