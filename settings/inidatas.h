// The settings store: the interface-language flag, read from the settings file (beside the
// executable, or per user for an installed program: location.h) when constructed and written
// back when destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/errors.h"

// The settings file could not be written; the message is "Unable to write to <path>", or
// "Settings file <path> is larger than 1 MiB and was left unchanged".
class EIniFileException : public bagfunc::Error {
 public:
  using bagfunc::Error::Error;
};

class TIniDatas {
 public:
  TIniDatas();   // SetDefault, MakeIniFileName, LoadIni; results ignored
  ~TIniDatas();  // SaveIni; a failure goes to the write-failure handler, never out
  TIniDatas(const TIniDatas&) = delete;
  TIniDatas& operator=(const TIniDatas&) = delete;

  void SetDefault();              // IniFileName empty, bChinese true
  std::string MakeIniFileName();  // sets IniFileName by the location rule, returns it
  std::int32_t LoadIni();         // 0; -1 when no reader can be made (no file name); a file
                                  // over 1 MiB is not read and leaves the default
  std::int32_t SaveIni();         // 0; -1 when no writer can be made (no file name); raises
                                  // EIniFileException on failure or for a file over 1 MiB,
                                  // leaving the file as it was

  // Receives the message of a write that failed in the destructor (the window is gone by then).
  // By default, and after an empty handler is set, the message goes to standard error.
  static void SetWriteFailureHandler(std::function<void(const std::string& message)> handler);

  std::string IniFileName;  // UTF-8 path
  bool bChinese = true;
};
