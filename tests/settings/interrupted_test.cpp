// Saves of the settings file killed at random moments leave the file whole and nothing beside.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "settings/exepath.h"
#include "settings/inidatas.h"
#include "tests/settings/bytes.h"
#include "tests/support/tempfolder.h"

namespace {

TEST(InterruptedSave, KillNineLeavesNoTemporaryFiles) {
  testsupport::TempFolder folder;
  settings::SetExecutablePath(folder.File("Trevana2023.exe").toStdString());
  const std::string ini = folder.File("Trevana2023.ini").toStdString();
  // A file of some size, so that each save takes a while to write and flush.
  std::string content = "[Window]\n";
  for (int i = 0; i < 3000; ++i) content += "Key" + std::to_string(i) + "=a hand-written value\n";
  content += "[Setting]\nbChinese=1\n";
  WriteBytes(ini, content);

  std::mt19937 random(2023);
  for (int round = 0; round < 150; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TIniDatas datas;
      for (bool chinese = false;; chinese = !chinese) {
        datas.bChinese = chinese;
        datas.SaveIni();
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
  }
  {
    TIniDatas datas;  // the next start and exit
  }
  EXPECT_EQ(folder.Names().join(' ').toStdString(), "Trevana2023.ini");
  const std::string after = ReadBytes(ini);
  EXPECT_EQ(after.substr(0, after.size() - 2), content.substr(0, content.size() - 2));
  settings::SetExecutablePath("");
}

}  // namespace
