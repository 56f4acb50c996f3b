// The new content's file beside the one it replaces, until it is renamed over it.
#pragma once

#include "safefile/descriptor.h"

#include <string>
#include <system_error>

namespace safefile {

// Where the file system allows it the file has no name until it is complete (O_TMPFILE), so a
// process killed half way leaves nothing behind. Elsewhere it is named ".<name>.<digits>.tmp"
// and locked while it is in use; RemoveStaleTemporaries takes away such files whose writer is
// gone. Either way the destructor removes a file that was not moved over its target.
class TempFile {
 public:
  TempFile() = default;
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // A new, empty file in folder (held open as folderFd, an O_PATH descriptor is enough) that
  // will replace the entry name. Mode 0666 as the umask allows.
  std::error_code Create(int folderFd, const std::string& name);
  int Fd() const { return fd_.Get(); }
  bool IsNamed() const { return !tempName_.empty(); }

  // Flushes the content to the disk (and gives an unnamed file its temporary name); then
  // renames it over the entry and closes it.
  std::error_code Finish();
  std::error_code MoveOver();

 private:
  std::error_code LinkUnnamed();

  int folderFd_ = -1;
  std::string name_;
  std::string tempName_;  // the file's name in the folder while it has one
  bool moved_ = false;
  Descriptor fd_;
};

// Removes the temporaries of the entry name that no living writer holds: left by a process
// that was killed or lost power during a save.
void RemoveStaleTemporaries(int folderFd, const std::string& name);

}  // namespace safefile
