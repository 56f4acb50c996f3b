#include "textio/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Files : public testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  void Put(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  QByteArray Get(const QString& name) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  QStringList Entries() const { return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System); }

  QTemporaryDir dir_;
};

std::string Message(const std::function<void()>& work) {
  try {
    work();
  } catch (const bagfunc::Error& error) {
    return error.what();
  }
  return "<no error>";
}

TEST_F(Files, ReadsAWholeFile) {
  Put("a.txt", QByteArray("x\0y\r\n", 5));
  EXPECT_EQ(textio::ReadFileBytes(Path("a.txt"), 5, "big"), QByteArray("x\0y\r\n", 5));
  Put("empty.txt", "");
  EXPECT_EQ(textio::ReadFileBytes(Path("empty.txt"), 5, "big"), QByteArray());
}

TEST_F(Files, RefusesAFileAboveTheLimitByItsMessage) {
  Put("a.txt", "123456");
  EXPECT_EQ(Message([&] { textio::ReadFileBytes(Path("a.txt"), 5, "Text exceeds memo capacity"); }),
            "Text exceeds memo capacity");
}

TEST_F(Files, CannotOpenWhatIsNoReadableFile) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
  ASSERT_EQ(mkfifo(Path("pipe").toLocal8Bit().constData(), 0600), 0);
  // A pipe with no writer would block an open for reading for ever.
  for (const QString name : {"missing.txt", "folder", "pipe"}) {
    EXPECT_EQ(Message([&] { textio::ReadFileBytes(Path(name), 100, "big"); }),
              "Cannot open file " + Path(name).toStdString());
  }
}

TEST_F(Files, ReplacesAnExistingFileWholly) {
  Put("a.txt", "a much longer old content");
  textio::ReplaceFile(Path("a.txt"), "new", "write failed");
  EXPECT_EQ(Get("a.txt"), "new");
  EXPECT_EQ(Entries(), QStringList{"a.txt"});  // no temporary file left behind
}

TEST_F(Files, CreatesANewFileWithTheUsualPermissions) {
  const mode_t mask = umask(022);
  textio::ReplaceFile(Path("new.txt"), "", "write failed");
  umask(mask);
  EXPECT_EQ(Get("new.txt"), "");
  EXPECT_EQ(QFileInfo(Path("new.txt")).permissions() & 0x0FFF, 0x0644);
}

TEST_F(Files, KeepsTheOldFilesPermissions) {
  Put("a.txt", "old");
  ASSERT_TRUE(QFile::setPermissions(Path("a.txt"), QFile::ReadOwner | QFile::WriteOwner));
  textio::ReplaceFile(Path("a.txt"), "new", "write failed");
  EXPECT_EQ(QFileInfo(Path("a.txt")).permissions() & 0x0FFF, 0x0600);
}

TEST_F(Files, WritesThroughASymbolicLink) {
  Put("target.txt", "old");
  ASSERT_TRUE(QFile::link(Path("target.txt"), Path("link.txt")));
  textio::ReplaceFile(Path("link.txt"), "new", "write failed");
  EXPECT_EQ(Get("target.txt"), "new");
  EXPECT_TRUE(QFileInfo(Path("link.txt")).isSymLink());
}

TEST_F(Files, CannotCreateWhereNoFileCanStand) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
  ASSERT_EQ(mkfifo(Path("pipe").toLocal8Bit().constData(), 0600), 0);
  for (const QString name : {"missing/a.txt", "folder", "pipe"}) {
    EXPECT_EQ(Message([&] { textio::ReplaceFile(Path(name), "x", "write failed"); }),
              "Cannot create file " + Path(name).toStdString());
  }
  EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
  EXPECT_FALSE(QFileInfo(Path("pipe")).isFile());
}

// A disk that fills up half-way: the process may not write files past a few bytes.
TEST_F(Files, FullDiskLeavesTheOldFileAsItWas) {
  const QByteArray old = "the old content, byte for byte\r\n";
  Put("a.txt", old);
  const QByteArray bytes(64 * 1024, 'x');
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message =
        Message([&] { textio::ReplaceFile(Path("a.txt"), bytes, "Stream write error"); });
    _exit(message == "Stream write error" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the full disk was not reported";
  EXPECT_EQ(Get("a.txt"), old);
  EXPECT_EQ(Entries(), QStringList{"a.txt"});
}

}  // namespace
