// Replacing a file's content so that a failure never leaves it half written where that can be
// avoided, and says so where it cannot.
//
// The usual way is to write the new content to a temporary file beside the old one and rename
// it over the old one once every byte is on the disk: the old file's permission bits, owner
// and group (where the system allows) carry over. That way is not open when the folder may not
// be written to but the file may, or when the file has several hard links (a rename would
// split them). Then the file is rewritten in place, as any editor's plain save would do: its
// new size is reserved first, so that a full disk is found while the old content is still
// whole, and only an I/O error after that can leave the file damaged.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace safefile {

enum class SaveFailure {
  kNone,
  // No file may be written there: a missing folder, no permission, a folder or device in the
  // file's place, or a file without any write permission bit (read-only for every user, the
  // superuser included). Nothing has changed.
  kCreate,
  // The disk refused the bytes (full, over quota, over the file-size limit, an I/O error).
  // The old file is exactly as it was and nothing is left behind.
  kWrite,
  // Writing in place failed after the space was reserved: the file may hold part of the new
  // content.
  kDamaged,
};

enum class SaveMethod { kReplaced, kInPlace };

struct SaveResult {
  SaveFailure failure = SaveFailure::kNone;
  std::error_code reason;  // the system's own, for the curious
  SaveMethod method = SaveMethod::kReplaced;

  bool Failed() const { return failure != SaveFailure::kNone; }
};

// Receives the new content in pieces. A write that fails is remembered and later pieces are
// dropped; the save then reports it.
class Output {
 public:
  virtual ~Output() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Added to a save's own failure message (on a line of its own) after kDamaged; %s is the path.
inline constexpr char kDamagedNote[] = "The file %s was being written in place and may now be damaged";

// Replaces the file at path (the file a symbolic link points to, leaving the link) by what
// produce writes, which is called exactly once unless the save fails before. An exception from
// produce leaves the old file as it was, removes what was written and goes on to the caller.
// The temporaries that earlier saves of this file left behind when killed are removed.
SaveResult ReplaceFile(const std::string& path, const std::function<void(Output&)>& produce);
SaveResult ReplaceFile(const std::string& path, std::string_view bytes);

// Makes a write past the process's file-size limit (ulimit -f) fail like a full disk, with an
// error the save reports, instead of killing the process with SIGXFSZ. Each program calls it
// once at start.
void IgnoreFileSizeSignal();

}  // namespace safefile
