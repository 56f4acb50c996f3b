// The one file writer against real files: which way each case is saved, what stays of the old
// file when the disk refuses the bytes, and what a save leaves behind.
#include "safefile/readfile.h"
#include "safefile/replace.h"

#include "asuser.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <cstring>

namespace fs = std::filesystem;
using safefile::SaveFailure;
using safefile::SaveMethod;

// Fault injection: the writer's write() calls land here. Once armed, the writes after the
// first faultAfter bytes fail with an I/O error, as a failing disk would.
namespace {
std::atomic<long long> faultAfter{-1};
}

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  long long allowed = faultAfter.load();
  if (allowed >= 0) {
    if (allowed == 0) {
      errno = EIO;
      return -1;
    }
    size = std::min<size_t>(size, static_cast<size_t>(allowed));
    faultAfter = allowed - static_cast<long long>(size);
  }
  return ::syscall(SYS_write, fd, data, size);
}

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class Folder {
 public:
  Folder() {
    std::string pattern = fs::temp_directory_path() / "trevana-safefile-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
    path_ = pattern;
    ::chmod(path_.c_str(), 0755);  // the test user must reach what is inside
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  const fs::path& Path() const { return path_; }
  std::string Listing(const std::string& sub = "") const {
    std::string names;
    std::set<std::string> sorted;
    for (const auto& entry : fs::directory_iterator(path_ / sub))
      sorted.insert(entry.path().filename().string());
    for (const auto& name : sorted) names += name + " ";
    return names;
  }

 private:
  fs::path path_;
};

struct FileState {
  std::string bytes;
  mode_t mode = 0;
  uid_t uid = 0;
  gid_t gid = 0;
  nlink_t links = 0;
  ino_t inode = 0;
  bool operator==(const FileState&) const = default;
};

std::optional<FileState> StateOf(const fs::path& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
  return FileState{ReadBytes(path), info.st_mode & 07777, info.st_uid, info.st_gid,
                   info.st_nlink, info.st_ino};
}

// ---- Which way a save goes, as the superuser and as a normal user ----

struct Row {
  const char* name;
  bool asUser;            // the save runs as the normal user
  mode_t folderMode;      // the folder "in", owned by the superuser unless folderIsUsers
  bool folderIsUsers;
  std::optional<mode_t> fileMode;  // the file "in/f.txt", if there is one
  bool fileIsUsers;
  bool hardLinked;        // a second name "link.txt" beside the test folder
  SaveFailure failure;
  SaveMethod method;
};
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class SaveWays : public testing::TestWithParam<Row> {};

TEST_P(SaveWays, SavesTheRightWayAndKeepsWhatItShould) {
  if (!IsSuperuser()) GTEST_SKIP() << "needs the superuser to set up files of two owners";
  const Row& row = GetParam();
  const TestUser user = NormalUser();
  Folder folder;
  const fs::path in = folder / "in";
  const fs::path file = in / "f.txt";
  fs::create_directory(in);
  if (row.folderIsUsers) {
    ASSERT_EQ(::chown(in.c_str(), user.uid, user.gid), 0);
  }
  ASSERT_EQ(::chmod(in.c_str(), row.folderMode), 0);
  const std::string old = "old content that is longer than the new one\r\n";
  if (row.fileMode) {
    WriteBytes(file, old);
    if (row.fileIsUsers) {
      ASSERT_EQ(::chown(file.c_str(), user.uid, user.gid), 0);
    }
    ASSERT_EQ(::chmod(file.c_str(), *row.fileMode), 0);
    if (row.hardLinked) fs::create_hard_link(file, folder / "link.txt");
  }
  const auto before = StateOf(file);
  const std::string listing = folder.Listing("in");

  const std::string bytes = "new\r\n";
  safefile::SaveResult result;
  const int status = InChild({.asNormalUser = row.asUser}, [&] {
    result = safefile::ReplaceFile(file, bytes);
    return static_cast<int>(result.failure) * 10 + static_cast<int>(result.method);
  });
  ASSERT_NE(status, -1);
  EXPECT_EQ(static_cast<SaveFailure>(status / 10), row.failure);
  if (row.failure == SaveFailure::kNone) {
    EXPECT_EQ(static_cast<SaveMethod>(status % 10), row.method);
    const auto after = StateOf(file);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->bytes, bytes);
    if (before) {
      EXPECT_EQ(after->mode, before->mode);
      EXPECT_EQ(after->uid, before->uid);
      EXPECT_EQ(after->gid, before->gid);
      EXPECT_EQ(after->links, before->links);
    }
    if (row.hardLinked) {
      EXPECT_EQ(ReadBytes(folder / "link.txt"), bytes);
    }
    EXPECT_EQ(folder.Listing("in"), before ? listing : listing + "f.txt ");
  } else {
    EXPECT_EQ(StateOf(file), before);
    EXPECT_EQ(folder.Listing("in"), listing);
  }
}

constexpr std::optional<mode_t> kNoFile;
INSTANTIATE_TEST_SUITE_P(
    Rows, SaveWays,
    testing::Values(
        Row{"NewFile", false, 0755, false, kNoFile, false, false, SaveFailure::kNone,
            SaveMethod::kReplaced},
        Row{"OwnerGroupAndModeKept", false, 0755, false, 0640, true, false, SaveFailure::kNone,
            SaveMethod::kReplaced},
        Row{"ReadOnlyFileRefusedToTheSuperuser", false, 0755, false, 0444, false, false,
            SaveFailure::kCreate, SaveMethod::kReplaced},
        Row{"ReadOnlyFileRefusedToItsOwner", true, 0755, true, 0444, true, false,
            SaveFailure::kCreate, SaveMethod::kReplaced},
        Row{"OthersFileRefused", true, 0755, true, 0644, false, false, SaveFailure::kCreate,
            SaveMethod::kReplaced},
        Row{"WritableFileInReadOnlyFolderWrittenInPlace", true, 0755, false, 0664, true, false,
            SaveFailure::kNone, SaveMethod::kInPlace},
        Row{"NewFileInReadOnlyFolderRefused", true, 0755, false, kNoFile, false, false,
            SaveFailure::kCreate, SaveMethod::kReplaced},
        Row{"HardLinkedFileWrittenInPlace", false, 0755, false, 0600, false, true,
            SaveFailure::kNone, SaveMethod::kInPlace},
        Row{"OthersWritableFileInStickyFolderWrittenInPlace", true, 01777, false, 0666, false,
            false, SaveFailure::kNone, SaveMethod::kInPlace},
        Row{"OwnFileInStickyFolderReplaced", true, 01777, false, 0644, true, false,
            SaveFailure::kNone, SaveMethod::kReplaced}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveWays, WhereNoFileCanStand) {
  Folder folder;
  fs::create_directory(folder / "dir");
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0644), 0);
  fs::create_symlink(folder / "nowhere/x", folder / "dangling");
  const std::string listing = folder.Listing();
  for (const char* name : {"missing/f.txt", "dir", "pipe", "dangling", "pipe/f.txt"}) {
    const auto result = safefile::ReplaceFile(folder / name, "x");
    EXPECT_EQ(result.failure, SaveFailure::kCreate) << name;
  }
  EXPECT_EQ(folder.Listing(), listing);
  EXPECT_TRUE(fs::is_fifo(folder / "pipe"));
}

TEST(SaveWays, ThroughASymbolicLinkTheLinkStays) {
  Folder folder;
  fs::create_directory(folder / "real");
  WriteBytes(folder / "real/f.txt", "old");
  fs::create_symlink("real/f.txt", folder / "link.txt");
  EXPECT_FALSE(safefile::ReplaceFile(folder / "link.txt", "new").Failed());
  EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
  EXPECT_EQ(ReadBytes(folder / "real/f.txt"), "new");
  EXPECT_EQ(folder.Listing("real"), "f.txt ");
}

TEST(SaveWays, ContentComesInPieces) {
  Folder folder;
  const std::string big(300'000, 'b');
  for (const bool linked : {false, true}) {
    WriteBytes(folder / "f.txt", "old");
    if (linked) fs::create_hard_link(folder / "f.txt", folder / "g.txt");
    const auto result = safefile::ReplaceFile(folder / "f.txt", [&](safefile::Output& out) {
      out.Write("a");
      out.Write(big);
      out.Write("");
      out.Write("z");
    });
    EXPECT_FALSE(result.Failed());
    EXPECT_EQ(ReadBytes(folder / "f.txt"), "a" + big + "z");
  }
}

TEST(SaveWays, AFailingProducerLeavesTheOldFile) {
  Folder folder;
  for (const bool linked : {false, true}) {
    WriteBytes(folder / "f.txt", "old");
    if (linked) fs::create_hard_link(folder / "f.txt", folder / "g.txt");
    const std::string listing = folder.Listing();
    EXPECT_THROW(safefile::ReplaceFile(folder / "f.txt",
                                       [](safefile::Output& out) {
                                         out.Write("partial");
                                         throw std::runtime_error("no more");
                                       }),
                 std::runtime_error);
    EXPECT_EQ(ReadBytes(folder / "f.txt"), "old");
    EXPECT_EQ(folder.Listing(), listing);
  }
}

// ---- A disk that refuses the bytes, on each way of saving ----

struct FullDiskRow {
  const char* name;
  bool hardLinked;
  bool readOnlyFolder;  // as the normal user in a folder that is not theirs
};
void PrintTo(const FullDiskRow& row, std::ostream* out) { *out << row.name; }

class FullDisk : public testing::TestWithParam<FullDiskRow> {};

TEST_P(FullDisk, OldFileStaysByteForByte) {
  const FullDiskRow& row = GetParam();
  if (row.readOnlyFolder && !IsSuperuser()) GTEST_SKIP() << "needs the superuser";
  Folder folder;
  const fs::path file = folder / "f.txt";
  const std::string old = "the old content, byte for byte\r\n";
  WriteBytes(file, old);
  if (row.hardLinked) fs::create_hard_link(file, folder / "link.txt");
  if (row.readOnlyFolder) {
    const TestUser user = NormalUser();
    ASSERT_EQ(::chown(file.c_str(), user.uid, user.gid), 0);
  }
  const auto before = StateOf(file);
  const std::string listing = folder.Listing();
  const std::string bytes(64 * 1024, 'x');
  // A file-size limit below the new content stops the write part of the way through.
  const int failure = InChild({.asNormalUser = row.readOnlyFolder, .fileSizeLimit = 1000}, [&] {
    return static_cast<int>(safefile::ReplaceFile(file, bytes).failure);
  });
  EXPECT_EQ(failure, static_cast<int>(SaveFailure::kWrite));
  EXPECT_EQ(StateOf(file), before);
  EXPECT_EQ(folder.Listing(), listing);
}

INSTANTIATE_TEST_SUITE_P(Rows, FullDisk,
                         testing::Values(FullDiskRow{"Replacing", false, false},
                                         FullDiskRow{"InPlaceForAHardLink", true, false},
                                         FullDiskRow{"InPlaceInAReadOnlyFolder", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A real file system that fills up: a small one mounted for the test.
TEST(FullDisk, RealSmallFileSystem) {
  if (!IsSuperuser()) GTEST_SKIP() << "needs the superuser to mount";
  Folder folder;
  const fs::path mount = folder / "small";
  fs::create_directory(mount);
  ASSERT_EQ(::mount("trevana-test", mount.c_str(), "tmpfs", 0, "size=256k"), 0)
      << std::strerror(errno);
  const std::string old(100 * 1024, 'o');
  WriteBytes(mount / "f.txt", old);
  fs::create_hard_link(mount / "f.txt", mount / "g.txt");
  WriteBytes(mount / "h.txt", old);
  for (const char* name : {"f.txt", "h.txt"}) {  // in place, and replaced
    const auto result = safefile::ReplaceFile(mount / name, std::string(200 * 1024, 'n'));
    EXPECT_EQ(result.failure, SaveFailure::kWrite) << name;
    EXPECT_EQ(ReadBytes(mount / name), old) << name;
  }
  EXPECT_EQ(folder.Listing("small"), "f.txt g.txt h.txt ");
  ::umount(mount.c_str());
}

// ---- An I/O error half way ----

TEST(IoError, InPlaceAfterTheFirstBytesSaysTheFileMayBeDamaged) {
  Folder folder;
  const fs::path file = folder / "f.txt";
  const std::string old(20000, 'o');
  const std::string bytes(10000, 'n');
  struct Case {
    bool hardLinked;
    long long faultAfter;
    SaveFailure failure;
  };
  for (const Case c : {Case{true, 4096, SaveFailure::kDamaged}, Case{true, 0, SaveFailure::kWrite},
                       Case{false, 4096, SaveFailure::kWrite}}) {
    fs::remove(folder / "link.txt");
    WriteBytes(file, old);
    if (c.hardLinked) fs::create_hard_link(file, folder / "link.txt");
    faultAfter = c.faultAfter;
    const auto result = safefile::ReplaceFile(file, bytes);
    faultAfter = -1;
    EXPECT_EQ(result.failure, c.failure) << c.hardLinked << " " << c.faultAfter;
    if (c.failure == SaveFailure::kDamaged) {
      EXPECT_EQ(ReadBytes(file), bytes.substr(0, 4096) + old.substr(4096));
    } else {
      EXPECT_EQ(ReadBytes(file), old);
    }
  }
}

// ---- What a killed save leaves, and how the next one clears it ----

TEST(Temporaries, StaleOnesOfThisFileAreRemovedAndLiveOnesKept) {
  Folder folder;
  WriteBytes(folder / "f.txt", "old");
  for (const char* name : {".f.txt.123456789.tmp", ".f.txt.42.tmp", ".f.txt.x1.tmp",
                           ".f.txt..tmp", ".g.txt.123.tmp", "f.txt.123.tmp"})
    WriteBytes(folder / name, "stale");
  // A save still at work holds its temporary file locked.
  const int live = ::open((folder / ".f.txt.42.tmp").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  EXPECT_FALSE(safefile::ReplaceFile(folder / "f.txt", "new").Failed());
  ::close(live);
  EXPECT_EQ(folder.Listing(), ".f.txt..tmp .f.txt.42.tmp .f.txt.x1.tmp .g.txt.123.tmp f.txt f.txt.123.tmp ");
}

// ---- Reading ----

TEST(ReadFile, TakesRegularFilesUpToTheLimit) {
  Folder folder;
  WriteBytes(folder / "f.txt", std::string("x\0y", 3));
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0644), 0);
  fs::create_directory(folder / "dir");
  std::string bytes = "junk";
  EXPECT_FALSE(safefile::ReadFile(folder / "f.txt", 3, bytes));
  EXPECT_EQ(bytes, std::string("x\0y", 3));
  EXPECT_EQ(safefile::ReadFile(folder / "f.txt", 2, bytes), std::errc::file_too_large);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(safefile::ReadFile(folder / "missing", 9, bytes), std::errc::no_such_file_or_directory);
  EXPECT_EQ(safefile::ReadFile(folder / "pipe", 9, bytes), std::errc::invalid_argument);
  EXPECT_EQ(safefile::ReadFile(folder / "dir", 9, bytes), std::errc::invalid_argument);
  // A file whose size says nothing: read to its end all the same, and capped.
  EXPECT_FALSE(safefile::ReadFile("/proc/self/status", safefile::kNoSizeLimit, bytes));
  EXPECT_NE(bytes.find("Name:"), std::string::npos);
  EXPECT_EQ(safefile::ReadFile("/proc/self/status", 10, bytes), std::errc::file_too_large);
}

}  // namespace
