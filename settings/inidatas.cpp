#include "settings/inidatas.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "engine/convert.h"
#include "safefile/readfile.h"
#include "safefile/replace.h"
#include "settings/exepath.h"
#include "settings/profile.h"

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kKey = "bChinese";

std::function<void(const std::string&)>& WriteFailureHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}

void ReportWriteFailure(const std::string& message) {
  try {
    if (const auto& handler = WriteFailureHandler()) {
      handler(message);
      return;
    }
  } catch (...) {
    // The handler failed too; standard error is the last place the message can go.
  }
  std::fprintf(stderr, "%s\n", message.c_str());
}

}  // namespace

TIniDatas::TIniDatas() {
  SetDefault();
  MakeIniFileName();
  LoadIni();
}

TIniDatas::~TIniDatas() {
  try {
    SaveIni();
  } catch (const std::exception& error) {
    ReportWriteFailure(error.what());
  } catch (...) {
    ReportWriteFailure(trevana::FormatMessage("Unable to write to %s", IniFileName));
  }
}

void TIniDatas::SetDefault() {
  IniFileName.clear();
  bChinese = true;
}

std::string TIniDatas::MakeIniFileName() {
  IniFileName = settings::IniPathFor(settings::ExecutablePath());
  return IniFileName;
}

std::int32_t TIniDatas::LoadIni() {
  if (IniFileName.empty()) return -1;
  // A file that is missing or cannot be read reads as empty: the default wins.
  std::string content;
  safefile::ReadFile(IniFileName, safefile::kNoSizeLimit, content);
  const std::string text = settings::ReadProfileString(content, kSection, kKey);
  bChinese = bagfunc::TryConvertHeader(text).value_or(1) != 0;
  return 0;
}

std::int32_t TIniDatas::SaveIni() {
  if (IniFileName.empty()) return -1;
  const std::string message = trevana::FormatMessage("Unable to write to %s", IniFileName);
  std::string content;
  // Only a missing file may start from nothing; a file that exists but cannot be read would
  // lose its other sections if it were rewritten from what little we know.
  if (auto error = safefile::ReadFile(IniFileName, safefile::kNoSizeLimit, content);
      error && error != std::errc::no_such_file_or_directory)
    throw EIniFileException(message);
  content = settings::WriteProfileString(content, kSection, kKey, bChinese ? "1" : "0");
  const safefile::SaveResult saved = safefile::ReplaceFile(IniFileName, content);
  if (saved.failure == safefile::SaveFailure::kDamaged) {
    throw EIniFileException(message + "\n" +
                            trevana::FormatMessage(safefile::kDamagedNote, IniFileName));
  }
  if (saved.Failed()) throw EIniFileException(message);
  return 0;
}

void TIniDatas::SetWriteFailureHandler(std::function<void(const std::string&)> handler) {
  WriteFailureHandler() = std::move(handler);
}
