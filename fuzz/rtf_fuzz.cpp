// Feeds arbitrary bytes to the RTF reader. Whatever it loads must survive being written and
// read again unchanged.
#include "textio/rtf.h"

#include <cstdint>
#include <cstdlib>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                   static_cast<qsizetype>(size));
  const auto runs = textio::ReadRtf(bytes);
  if (!runs) return 0;
  const QByteArray written = textio::WriteRtf(*runs, QStringLiteral("宋体"), 0);
  const auto again = textio::ReadRtf(written);
  if (!again || *again != *runs) {
    std::fprintf(stderr, "written document reads back differently\n");
    std::abort();
  }
  return 0;
}
