// Where an installed program keeps its settings: the XDG rules for the per-user file and the
// administrator's default, against a private folder standing in for home and /etc/xdg.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "settings/exepath.h"
#include "settings/inidatas.h"
#include "settings/location.h"
#include "tests/settings/bytes.h"
#include "tests/support/tempfolder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};

// Sets the variables of one case and puts the old values back afterwards. "@" in a value
// stands for the test's private folder.
class Environment {
 public:
  Environment() {
    for (const char* name : kVariables)
      if (const char* value = std::getenv(name)) saved_[name] = value;
  }
  ~Environment() {
    for (const char* name : kVariables) {
      if (auto it = saved_.find(name); it != saved_.end())
        ::setenv(name, it->second.c_str(), 1);
      else
        ::unsetenv(name);
    }
  }
  static void Set(const char* name, const std::optional<std::string>& value) {
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }

 private:
  std::map<std::string, std::string> saved_;
};

std::string Expand(const std::string& text, const std::string& folder) {
  std::string out;
  for (const char c : text) out += c == '@' ? folder : std::string(1, c);
  return out;
}

class LocationTest : public testing::Test {
 protected:
  LocationTest() { settings::SetLocation(settings::Location::PerUser); }
  ~LocationTest() override { settings::SetLocation(std::nullopt); }
  std::string Path(const std::string& text) const {
    return Expand(text, folder_.Path().toStdString());
  }
  void Set(const char* name, const std::optional<std::string>& value) const {
    Environment::Set(name, value ? std::optional(Path(*value)) : std::nullopt);
  }
  void MakeFile(const std::string& text) const {
    fs::create_directories(fs::path(Path(text)).parent_path());
    WriteBytes(Path(text), "[Setting]\r\nbChinese=0\r\n");
  }

  Environment environment_;
  testsupport::TempFolder folder_;
};

struct UserRow {
  const char* name;
  std::optional<std::string> home;
  std::optional<std::string> configHome;
  std::string expected;  // "~" stands for the home folder in the user database
};
void PrintTo(const UserRow& row, std::ostream* out) { *out << row.name; }

class UserSettingsPath : public LocationTest, public testing::WithParamInterface<UserRow> {};

TEST_P(UserSettingsPath, FollowsTheXdgRule) {
  Set("HOME", GetParam().home);
  Set("XDG_CONFIG_HOME", GetParam().configHome);
  std::string expected = Path(GetParam().expected);
  if (expected.starts_with("~")) {
    Environment::Set("HOME", std::nullopt);
    expected = fs::path(settings::UserSettingsPath()).parent_path().parent_path().parent_path().string() +
               expected.substr(1);
    ASSERT_TRUE(expected.starts_with("/")) << expected;
  }
  EXPECT_EQ(settings::UserSettingsPath(), expected);
  EXPECT_EQ(settings::SettingsFilePath(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UserSettingsPath,
    testing::Values(
        UserRow{"ConfigHomeGiven", "@/home", "@/config", "@/config/Trevana2023/Trevana2023.ini"},
        UserRow{"ConfigHomeUnset", "@/home", std::nullopt, "@/home/.config/Trevana2023/Trevana2023.ini"},
        UserRow{"ConfigHomeEmpty", "@/home", "", "@/home/.config/Trevana2023/Trevana2023.ini"},
        UserRow{"ConfigHomeRelativeIsIgnored", "@/home", "config", "@/home/.config/Trevana2023/Trevana2023.ini"},
        UserRow{"HomeRelativeTakesTheUserDatabase", "home", std::nullopt, "~/.config/Trevana2023/Trevana2023.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DefaultRow {
  const char* name;
  std::string configDirs;
  std::vector<std::string> files;  // administrator's files that exist
  std::string expected;            // "" for none
};
void PrintTo(const DefaultRow& row, std::ostream* out) { *out << row.name; }

class AdministratorDefault : public LocationTest, public testing::WithParamInterface<DefaultRow> {};

TEST_P(AdministratorDefault, IsTheFirstThatExists) {
  for (const std::string& file : GetParam().files) MakeFile(file);
  Set("XDG_CONFIG_DIRS", GetParam().configDirs);
  EXPECT_EQ(settings::AdministratorDefaultPath(), Path(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AdministratorDefault,
    testing::Values(
        DefaultRow{"None", "@/a:@/b", {}, ""},
        DefaultRow{"SecondFolder", "@/a:@/b", {"@/b/Trevana2023/Trevana2023.ini"}, "@/b/Trevana2023/Trevana2023.ini"},
        DefaultRow{"FirstFolderWins", "@/a:@/b",
                   {"@/a/Trevana2023/Trevana2023.ini", "@/b/Trevana2023/Trevana2023.ini"},
                   "@/a/Trevana2023/Trevana2023.ini"},
        DefaultRow{"RelativeAndEmptyFoldersAreIgnored", "Trevana::@/b",
                   {"@/b/Trevana2023/Trevana2023.ini"}, "@/b/Trevana2023/Trevana2023.ini"},
        DefaultRow{"AFolderNamedLikeTheFileIsNotIt", "@/a", {"@/a/Trevana2023/Trevana2023.ini/x"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LocationTest, TheAdministratorsDefaultIsReadOnlyWhileTheUserHasNoFile) {
  Set("XDG_CONFIG_HOME", "@/config");
  Set("XDG_CONFIG_DIRS", "@/etc");
  const std::string user = settings::SettingsFilePath();
  EXPECT_EQ(settings::SettingsReadPath(user), user) << "no default: the (missing) user file";
  MakeFile("@/etc/Trevana2023/Trevana2023.ini");
  EXPECT_EQ(settings::SettingsReadPath(user), Path("@/etc/Trevana2023/Trevana2023.ini"));
  MakeFile("@/config/Trevana2023/Trevana2023.ini");
  EXPECT_EQ(settings::SettingsReadPath(user), user);
}

TEST_F(LocationTest, BesideTheExecutableNothingElseIsRead) {
  settings::SetLocation(settings::Location::BesideExecutable);
  Set("XDG_CONFIG_DIRS", "@/etc");
  MakeFile("@/etc/Trevana2023/Trevana2023.ini");
  EXPECT_EQ(settings::SettingsReadPath(Path("@/x.ini")), Path("@/x.ini"));
}

TEST_F(LocationTest, TheFolderIsMadeForItsOwnerOnly) {
  const std::string file = Path("@/home/.config/Trevana2023/Trevana2023.ini");
  ASSERT_TRUE(settings::MakeSettingsFolder(file));
  for (const char* folder : {"@/home", "@/home/.config", "@/home/.config/Trevana2023"}) {
    struct stat info {};
    ASSERT_EQ(::stat(Path(folder).c_str(), &info), 0) << folder;
    EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
  }
  EXPECT_TRUE(settings::MakeSettingsFolder(file)) << "a folder that is there already";
}

TEST_F(LocationTest, AFolderThatCannotBeMadeIsReported) {
  // A file where a folder should be stops even root.
  WriteBytes(Path("@/blocked"), "");
  EXPECT_FALSE(settings::MakeSettingsFolder(Path("@/blocked/Trevana2023/Trevana2023.ini")));
}

}  // namespace

// ---- The settings object of an installed program ----

struct InstalledRow {
  const char* name;
  std::optional<std::string> administrator;  // the administrator's default file, if any
  std::optional<std::string> user;           // the user's file at start, if any
  bool chinese;                              // the language at start
  std::string userAfterExit;
};
void PrintTo(const InstalledRow& row, std::ostream* out) { *out << row.name; }

class InstalledSettings : public LocationTest, public testing::WithParamInterface<InstalledRow> {
 protected:
  InstalledSettings() {
    settings::SetExecutablePath(Path("@/usr/lib/trevana2023/Trevana2023"));
    fs::create_directories(Path("@/usr/lib/trevana2023"));
    Set("XDG_CONFIG_HOME", "@/home/.config");
    Set("XDG_CONFIG_DIRS", "@/etc/xdg");
  }
  ~InstalledSettings() override {
    settings::SetExecutablePath("");
    TIniDatas::SetWriteFailureHandler(nullptr);
  }
  static constexpr const char* kUser = "@/home/.config/Trevana2023/Trevana2023.ini";
  static constexpr const char* kAdministrator = "@/etc/xdg/Trevana2023/Trevana2023.ini";
};

TEST_P(InstalledSettings, ReadAtStartWrittenPerUserAtExit) {
  const InstalledRow& row = GetParam();
  if (row.administrator) {
    fs::create_directories(fs::path(Path(kAdministrator)).parent_path());
    WriteBytes(Path(kAdministrator), *row.administrator);
  }
  if (row.user) {
    fs::create_directories(fs::path(Path(kUser)).parent_path());
    WriteBytes(Path(kUser), *row.user);
  }
  {
    TIniDatas datas;
    EXPECT_EQ(datas.IniFileName, Path(kUser));
    EXPECT_EQ(datas.bChinese, row.chinese);
  }
  EXPECT_EQ(ReadBytes(Path(kUser)), row.userAfterExit);
  EXPECT_TRUE(fs::is_empty(Path("@/usr/lib/trevana2023"))) << "written beside the program";
  if (row.administrator) EXPECT_EQ(ReadBytes(Path(kAdministrator)), *row.administrator);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InstalledSettings,
    testing::Values(
        InstalledRow{"FirstStartChinese", std::nullopt, std::nullopt, true,
                     "[Setting]\r\nbChinese=1\r\n"},
        InstalledRow{"AdministratorChoosesEnglish", "[Setting]\nbChinese=0\n", std::nullopt, false,
                     "[Setting]\r\nbChinese=0\r\n"},
        InstalledRow{"UsersFileWinsOverTheAdministrator", "[Setting]\nbChinese=0\n",
                     "; mine\r\n[Setting]\r\nbChinese=1\r\n", true,
                     "; mine\r\n[Setting]\r\nbChinese=1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstalledSettings, AConfigurationFolderThatCannotBeMadeFailsTheWriteAndLosesNothing) {
  fs::create_directories(Path("@/home"));
  WriteBytes(Path("@/home/.config"), "a file, not a folder");
  std::vector<std::string> atExit;
  TIniDatas::SetWriteFailureHandler([&](const std::string& message) { atExit.push_back(message); });
  {
    TIniDatas datas;
    datas.bChinese = false;
    try {
      datas.SaveIni();
      ADD_FAILURE() << "SaveIni did not fail";
    } catch (const EIniFileException& error) {
      EXPECT_EQ(error.what(), "Unable to write to " + Path(kUser));
    }
  }  // and once more at exit, to the handler
  EXPECT_EQ(atExit, std::vector<std::string>{"Unable to write to " + Path(kUser)});
  EXPECT_EQ(ReadBytes(Path("@/home/.config")), "a file, not a folder");
  EXPECT_TRUE(fs::is_empty(Path("@/usr/lib/trevana2023")));
}
