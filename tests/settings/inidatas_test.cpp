// The settings object against real files beside a pretend executable in a private folder.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <vector>

#include "settings/exepath.h"
#include "settings/inidatas.h"
#include "settings/profilefile.h"
#include "tests/settings/bytes.h"
#include "tests/support/tempfolder.h"

namespace {

namespace fs = std::filesystem;

class IniDatasTest : public testing::Test {
 protected:
  IniDatasTest() { settings::SetExecutablePath(File("Trevana2023.exe")); }
  ~IniDatasTest() override {
    settings::SetExecutablePath("");
    TIniDatas::SetWriteFailureHandler(nullptr);
  }
  std::string IniPath() const { return File("Trevana2023.ini"); }
  std::string UnableToWrite() const { return "Unable to write to " + IniPath(); }

  // A failed save must raise the settings-file error and leave the folder as it was.
  void ExpectSaveFails(TIniDatas& datas) {
    const std::string before = Listing();
    try {
      datas.SaveIni();
      ADD_FAILURE() << "SaveIni did not fail";
    } catch (const EIniFileException& error) {
      EXPECT_STREQ(error.what(), UnableToWrite().c_str());
    }
    EXPECT_EQ(Listing(), before) << "a temporary file was left behind";
  }

  std::string File(const std::string& name) const {
    return folder_.File(QString::fromStdString(name)).toStdString();
  }
  // Names of everything in the folder, to show that no temporary file was left behind.
  std::string Listing() const { return folder_.Names().join(' ').toStdString(); }

  testsupport::TempFolder folder_;
};

// ---- Reading: what the file says, what language the window gets ----

struct LoadRow {
  const char* name;
  std::optional<std::string> file;  // no file at all when empty
  bool chinese;
};

void PrintTo(const LoadRow& row, std::ostream* out) { *out << row.name; }

class IniDatasLoad : public IniDatasTest, public testing::WithParamInterface<LoadRow> {};

TEST_P(IniDatasLoad, ReadsTheFlag) {
  if (GetParam().file) WriteBytes(IniPath(), *GetParam().file);
  TIniDatas datas;
  EXPECT_EQ(datas.IniFileName, IniPath());
  EXPECT_EQ(datas.bChinese, GetParam().chinese);
}

std::string Setting(const std::string& value) { return "[Setting]\r\nbChinese=" + value + "\r\n"; }

const LoadRow kLoadRows[] = {
    {"NoFile", std::nullopt, true},
    {"EmptyFile", "", true},
    {"One", Setting("1"), true},
    {"Zero", Setting("0"), false},
    {"DoubleZero", Setting("00"), false},
    {"HexZero", Setting("0x0"), false},
    {"DollarZero", Setting("$0"), false},
    {"LetterXZero", Setting("x0"), false},
    {"MinusZero", Setting("-0"), false},
    {"False", Setting("false"), true},
    {"No", Setting("no"), true},
    {"Two", Setting("2"), true},
    {"MinusOne", Setting("-1"), true},
    {"EmptyValue", Setting(""), true},
    {"ZeroTooLargeForHex", Setting("$100000000"), true},
    {"ZeroOutOfRange", Setting("4294967296"), true},
    {"UpperCaseNames", "[SETTING]\r\nBCHINESE=0\r\n", false},
    {"DoubleQuotedZero", Setting("\"0\""), false},
    {"SingleQuotedZero", Setting("'0'"), false},
    {"MismatchedQuotes", Setting("\"0'"), true},
    {"LeadingSpaceInsideQuotes", Setting("\" 0\""), false},
    {"TrailingSpaceInsideQuotes", Setting("\"0 \""), true},
    {"BlanksAround", "[Setting]\n \t bChinese \t = \t 0 \t \n", false},
    {"CommentedOut", "[Setting]\n;bChinese=0\n", true},
    {"InlineComment", Setting("0 ; English"), true},
    {"DuplicateKeysFirstIsZero", "[Setting]\nbChinese=0\nbChinese=1\n", false},
    {"DuplicateKeysFirstIsOne", "[Setting]\nbChinese=1\nbChinese=0\n", true},
    {"KeyInAnotherSectionOnly", "[Window]\nbChinese=0\n[Setting]\nx=1\n", true},
    {"LongValueCutToZeros", Setting(std::string(2047, '0') + "1"), false},
    {"BinaryGarbage", std::string("\0\xFF\x01[Setting\0]\n", 12), true},
};

INSTANTIATE_TEST_SUITE_P(Rows, IniDatasLoad, testing::ValuesIn(kLoadRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniDatasTest, AFolderInPlaceOfTheFileReadsAsNothing) {
  fs::create_directory(IniPath());
  TIniDatas* datas = new TIniDatas;
  EXPECT_TRUE(datas->bChinese);
  TIniDatas::SetWriteFailureHandler([](const std::string&) {});
  delete datas;
  EXPECT_TRUE(fs::is_directory(IniPath()));
}

TEST_F(IniDatasTest, APipeInPlaceOfTheFileNeitherStallsNorIsReplaced) {
  ASSERT_EQ(::mkfifo(IniPath().c_str(), 0644), 0);
  TIniDatas datas;
  EXPECT_TRUE(datas.bChinese);
  ExpectSaveFails(datas);
  EXPECT_TRUE(fs::is_fifo(IniPath()));
}

// ---- Writing ----

TEST_F(IniDatasTest, LongestFileNameStillWritten) {
  const std::string name(251, 'n');
  settings::SetExecutablePath(File(name + ".exe"));
  { TIniDatas datas; }
  EXPECT_EQ(ReadBytes(File(name + ".ini")), Setting("1"));
  EXPECT_EQ(Listing(), name + ".ini");
}

TEST_F(IniDatasTest, FirstExitCreatesTheFile) {
  { TIniDatas datas; }
  EXPECT_EQ(ReadBytes(IniPath()), "[Setting]\r\nbChinese=1\r\n");
}

TEST_F(IniDatasTest, ChangedFlagSurvivesTheNextStart) {
  {
    TIniDatas datas;
    datas.bChinese = false;
  }
  EXPECT_EQ(ReadBytes(IniPath()), "[Setting]\r\nbChinese=0\r\n");
  TIniDatas again;
  EXPECT_FALSE(again.bChinese);
}

TEST_F(IniDatasTest, ExitWritesEvenWhenNothingChanged) {
  WriteBytes(IniPath(), "[Window]\nLeft=3\n");
  { TIniDatas datas; }
  EXPECT_EQ(ReadBytes(IniPath()), "[Window]\nLeft=3\n[Setting]\nbChinese=1\n");
}

TEST_F(IniDatasTest, OtherLinesKeptByteForByte) {
  const std::string before =
      "; hand-written\n[Window]\nbChinese=1\n\n[setting]\nFont=\xCB\xCE\xCC\xE5\n"
      "BChinese = \"1\"\nx\n";
  WriteBytes(IniPath(), before);
  {
    TIniDatas datas;
    EXPECT_TRUE(datas.bChinese);
    datas.bChinese = false;
  }
  EXPECT_EQ(ReadBytes(IniPath()),
            "; hand-written\n[Window]\nbChinese=1\n\n[setting]\nFont=\xCB\xCE\xCC\xE5\n"
            "BChinese = 0\nx\n");
}

TEST_F(IniDatasTest, PermissionsOfTheFileKept) {
  WriteBytes(IniPath(), Setting("1"));
  fs::permissions(IniPath(), fs::perms::owner_read | fs::perms::owner_write |
                                 fs::perms::group_read);
  {
    TIniDatas datas;
    datas.bChinese = false;
  }
  EXPECT_EQ(fs::status(IniPath()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(ReadBytes(IniPath()), Setting("0"));
}

TEST_F(IniDatasTest, NewFileFollowsTheUmask) {
  const mode_t old = ::umask(027);
  { TIniDatas datas; }
  ::umask(old);
  EXPECT_EQ(fs::status(IniPath()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniDatasTest, SymbolicLinkStaysALink) {
  const std::string real = File("real.ini");
  WriteBytes(real, Setting("1"));
  fs::create_symlink(real, IniPath());
  {
    TIniDatas datas;
    datas.bChinese = false;
  }
  EXPECT_TRUE(fs::is_symlink(IniPath()));
  EXPECT_EQ(ReadBytes(real), Setting("0"));
}

TEST_F(IniDatasTest, NoFileNameMeansNoReaderAndNoWriter) {
  WriteBytes(IniPath(), Setting("0"));
  TIniDatas datas;
  EXPECT_FALSE(datas.bChinese);
  datas.SetDefault();
  EXPECT_EQ(datas.IniFileName, "");
  EXPECT_TRUE(datas.bChinese);
  datas.bChinese = false;
  EXPECT_EQ(datas.LoadIni(), -1);
  EXPECT_FALSE(datas.bChinese);
  datas.bChinese = true;
  EXPECT_EQ(datas.SaveIni(), -1);
  EXPECT_EQ(ReadBytes(IniPath()), Setting("0"));
  EXPECT_EQ(datas.MakeIniFileName(), IniPath());
  EXPECT_EQ(datas.IniFileName, IniPath());
  EXPECT_EQ(datas.LoadIni(), 0);
  EXPECT_FALSE(datas.bChinese);
}

// ---- Writes that fail: the error, and the old file untouched ----

TEST_F(IniDatasTest, ReadOnlyFileIsNotReplaced) {
  // A file without write permission bits is read-only even for the superuser, who could
  // otherwise rename a new file over it.
  const std::string before = "[Window]\nx=1\n" + Setting("0");
  WriteBytes(IniPath(), before);
  fs::permissions(IniPath(), fs::perms::owner_read | fs::perms::group_read);
  TIniDatas datas;
  ExpectSaveFails(datas);
  EXPECT_EQ(ReadBytes(IniPath()), before);
  EXPECT_EQ(fs::status(IniPath()).permissions(), fs::perms::owner_read | fs::perms::group_read);
}

TEST_F(IniDatasTest, MissingFolderFails) {
  settings::SetExecutablePath(File("gone/Trevana2023.exe"));
  TIniDatas datas;
  EXPECT_EQ(datas.IniFileName, File("gone/Trevana2023.ini"));
  try {
    datas.SaveIni();
    ADD_FAILURE() << "SaveIni did not fail";
  } catch (const EIniFileException& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + datas.IniFileName);
  }
  EXPECT_FALSE(fs::exists(File("gone")));
}

TEST_F(IniDatasTest, FileInPlaceOfTheFolderFails) {
  WriteBytes(File("bin"), "not a folder");
  settings::SetExecutablePath(File("bin/Trevana2023.exe"));
  TIniDatas datas;
  EXPECT_THROW(datas.SaveIni(), EIniFileException);
  EXPECT_EQ(ReadBytes(File("bin")), "not a folder");
}

TEST_F(IniDatasTest, FolderInPlaceOfTheFileFails) {
  fs::create_directory(IniPath());
  WriteBytes(File("Trevana2023.ini/inside"), "kept");
  TIniDatas datas;
  ExpectSaveFails(datas);
  EXPECT_EQ(ReadBytes(File("Trevana2023.ini/inside")), "kept");
}

TEST_F(IniDatasTest, DanglingLinkFails) {
  fs::create_symlink(File("nowhere/real.ini"), IniPath());
  TIniDatas datas;
  ExpectSaveFails(datas);
  EXPECT_TRUE(fs::is_symlink(IniPath()));
}

TEST_F(IniDatasTest, WriteFailingHalfWayKeepsTheOldFile) {
  // A file-size limit makes the write stop part of the way through, as a full disk would.
  std::string before = "[Window]\n";
  for (int i = 0; i < 2000; ++i) before += "Key" + std::to_string(i) + "=some value\n";
  before += Setting("1");
  WriteBytes(IniPath(), before);
  TIniDatas datas;
  datas.bChinese = false;

  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4096;
  auto* oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  ExpectSaveFails(datas);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);

  EXPECT_EQ(ReadBytes(IniPath()), before);
  datas.SaveIni();  // with room again the same object writes
  TIniDatas again;
  EXPECT_FALSE(again.bChinese);
}

// ---- Size: a file over 1 MiB is neither read nor written ----

TEST_F(IniDatasTest, FileOverTheLimitIsNeitherReadNorWritten) {
  const std::string big = Setting("0") + std::string(settings::kMaxSettingsFileBytes, '\n');
  WriteBytes(IniPath(), big);
  std::vector<std::string> messages;
  TIniDatas::SetWriteFailureHandler([&](const std::string& m) { messages.push_back(m); });
  {
    TIniDatas datas;
    EXPECT_TRUE(datas.bChinese);  // the 0 in the file was not read
  }
  EXPECT_EQ(messages, std::vector<std::string>{"Settings file " + IniPath() +
                                               " is larger than 1 MiB and was left unchanged"});
  EXPECT_EQ(ReadBytes(IniPath()), big);
  EXPECT_EQ(Listing(), "Trevana2023.ini");
}

TEST_F(IniDatasTest, FileAtTheLimitIsReadAndWritten) {
  // Blank lines by the hundred thousand before the section: memory follows the longest line.
  const std::string padding(settings::kMaxSettingsFileBytes - Setting("0").size(), '\n');
  WriteBytes(IniPath(), padding + Setting("0"));
  TIniDatas datas;
  EXPECT_FALSE(datas.bChinese);
  datas.bChinese = true;
  datas.SaveIni();
  EXPECT_EQ(ReadBytes(IniPath()), padding + Setting("1"));
}

// ---- A failure at exit never leaves the destructor ----

TEST_F(IniDatasTest, FailureAtExitGoesToTheHandler) {
  settings::SetExecutablePath(File("gone/Trevana2023.exe"));
  std::vector<std::string> messages;
  TIniDatas::SetWriteFailureHandler([&](const std::string& m) { messages.push_back(m); });
  { TIniDatas datas; }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Unable to write to " + File("gone/Trevana2023.ini"));
}

TEST_F(IniDatasTest, FailureAtExitGoesToStandardErrorByDefault) {
  settings::SetExecutablePath(File("gone/Trevana2023.exe"));
  testing::internal::CaptureStderr();
  { TIniDatas datas; }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Unable to write to " + File("gone/Trevana2023.ini") + "\n");
}

TEST_F(IniDatasTest, HandlerThatFailsStillLetsTheExitEnd) {
  settings::SetExecutablePath(File("gone/Trevana2023.exe"));
  TIniDatas::SetWriteFailureHandler([](const std::string&) { throw std::runtime_error("no"); });
  testing::internal::CaptureStderr();
  { TIniDatas datas; }
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Unable to write to"), std::string::npos);
}

TEST_F(IniDatasTest, SuccessfulExitCallsNoHandler) {
  int calls = 0;
  TIniDatas::SetWriteFailureHandler([&](const std::string&) { ++calls; });
  { TIniDatas datas; }
  EXPECT_EQ(calls, 0);
}

}  // namespace
