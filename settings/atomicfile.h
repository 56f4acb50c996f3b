// Reading a small file whole, and replacing it so that a failure at any point leaves the old
// file exactly as it was.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace settings {

// Reads the whole file at path into bytes; an error (no such file included) leaves bytes empty.
std::error_code ReadFileBytes(const std::string& path, std::string& bytes);

// Whether a file may be replaced: besides what the system allows, a file without any write
// permission bit counts as read-only for every user, the superuser included, the way a
// read-only file is left alone on other systems. A missing file is writable here (its folder
// decides later).
std::error_code CheckReplaceable(const std::string& path);

// Writes bytes to a new file in the same folder, flushes it to the disk and renames it over
// path, keeping the old file's permission bits (and owner, where allowed). A symbolic link
// is followed, so the file it points to is replaced and the link stays. On failure nothing is
// left behind and the old file is untouched; the result names the failure.
std::error_code ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace settings
