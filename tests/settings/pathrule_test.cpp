// The settings file's path beside the executable, on this system's and on Windows' paths.
#include <gtest/gtest.h>

#include "settings/exepath.h"

namespace {

using settings::PathStyle;

struct PathRow {
  const char* name;
  PathStyle style;
  const char* exePath;
  const char* iniPath;
};

void PrintTo(const PathRow& row, std::ostream* out) { *out << row.name; }

class IniPathRule : public testing::TestWithParam<PathRow> {};

TEST_P(IniPathRule, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(settings::IniPathFor(GetParam().exePath, GetParam().style), GetParam().iniPath);
}

const PathRow kPathRows[] = {
    {"ExtensionReplaced", PathStyle::Posix, "/opt/trevana/Trevana2023.exe",
     "/opt/trevana/Trevana2023.ini"},
    {"NoExtensionAppends", PathStyle::Posix, "/usr/bin/trevana", "/usr/bin/trevana.ini"},
    {"DotInFolderOnlyAppends", PathStyle::Posix, "/opt/v1.2/trevana", "/opt/v1.2/trevana.ini"},
    {"DotInFolderAndName", PathStyle::Posix, "/opt/v1.2/trevana.bin", "/opt/v1.2/trevana.ini"},
    {"OnlyLastExtensionReplaced", PathStyle::Posix, "/x/trevana.tar.gz", "/x/trevana.tar.ini"},
    {"TrailingDotIsAnEmptyExtension", PathStyle::Posix, "/x/trevana.", "/x/trevana.ini"},
    {"NameStartingWithDotIsAllExtension", PathStyle::Posix, "/x/.trevana", "/x/.ini"},
    {"NoFolder", PathStyle::Posix, "Trevana2023.exe", "Trevana2023.ini"},
    {"NoFolderNoExtension", PathStyle::Posix, "trevana", "trevana.ini"},
    {"Empty", PathStyle::Posix, "", ".ini"},
    {"FolderEndingInSlash", PathStyle::Posix, "/opt/v1.2/", "/opt/v1.2/.ini"},
    {"Utf8Names", PathStyle::Posix, "/home/\xE7\x94\xA8\xE6\x88\xB7/\xE8\x83\x8C.v1/calc",
     "/home/\xE7\x94\xA8\xE6\x88\xB7/\xE8\x83\x8C.v1/calc.ini"},
    {"BackslashIsPartOfANameHere", PathStyle::Posix, "/x/v1.2\\trevana", "/x/v1.ini"},
    {"ColonIsPartOfANameHere", PathStyle::Posix, "/x/a.b:trevana", "/x/a.ini"},
    {"WindowsDriveAndBackslashes", PathStyle::Windows,
     "C:\\Program Files\\Trevana\\Trevana2023.exe", "C:\\Program Files\\Trevana\\Trevana2023.ini"},
    {"WindowsDotInFolderOnly", PathStyle::Windows, "C:\\v1.2\\trevana", "C:\\v1.2\\trevana.ini"},
    {"WindowsForwardSlashes", PathStyle::Windows, "C:/v1.2/trevana", "C:/v1.2/trevana.ini"},
    {"WindowsDriveRelative", PathStyle::Windows, "C:Trevana2023.exe", "C:Trevana2023.ini"},
    {"WindowsDriveRelativeNoExtension", PathStyle::Windows, "C:trevana", "C:trevana.ini"},
    {"WindowsDotBeforeDriveColon", PathStyle::Windows, "a.b:trevana", "a.b:trevana.ini"},
    {"WindowsNetworkShare", PathStyle::Windows, "\\\\server\\share.d\\trevana",
     "\\\\server\\share.d\\trevana.ini"},
};

INSTANTIATE_TEST_SUITE_P(Rows, IniPathRule, testing::ValuesIn(kPathRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniPathRuleNative, OneArgumentFormUsesThisSystemsSeparators) {
  const char* exe = "C:\\v1.2\\trevana";
  EXPECT_EQ(settings::IniPathFor(exe), settings::IniPathFor(exe, settings::kNativePathStyle));
}

TEST(ExecutablePath, OverrideAndItsRemoval) {
  settings::SetExecutablePath("/tmp/somewhere/Trevana2023.exe");
  EXPECT_EQ(settings::ExecutablePath(), "/tmp/somewhere/Trevana2023.exe");
  settings::SetExecutablePath("");
  // Without an application object the running test program itself is found.
  const std::string self = settings::ExecutablePath();
  EXPECT_FALSE(self.empty());
  EXPECT_NE(self.find("settings_tests"), std::string::npos) << self;
}

}  // namespace
