#include "tests/support/shellrecorder.h"

#include <QDesktopServices>

namespace testsupport {
namespace {

constexpr const char* kSchemes[] = {"file", "http", "https"};

}  // namespace

ShellRecorder::ShellRecorder() {
  for (const char* scheme : kSchemes) {
    QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
  }
}

ShellRecorder::~ShellRecorder() {
  for (const char* scheme : kSchemes) QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

}  // namespace testsupport
