// The window's text codec (textio) on records from standard input, so that a test can hold the
// web page's codec against it. Integers are little-endian.
//   textcodec decode   [u32 n][n bytes]...                  -> [u8 encoding][u8 mark][u32 units][units x u16]...
//   textcodec encode   [u8 encoding][u8 mark][u32 units][units x u16]...  -> [u32 n][n bytes]...
// Encodings are numbered as textio::Encoding: 0 GBK, 1 UTF-8, 2 UTF-16 LE, 3 UTF-16 BE.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <QByteArray>
#include <QString>

#include "textio/textfile.h"

namespace {

bool ReadExactly(void* data, std::size_t size) {
  return std::fread(data, 1, size, stdin) == size;
}

bool ReadU32(std::uint32_t& value) {
  unsigned char b[4];
  if (!ReadExactly(b, 4)) return false;
  value = b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  return true;
}

void WriteU32(std::uint32_t value, std::string& out) {
  for (int k = 0; k < 4; ++k) out += static_cast<char>(value >> (8 * k) & 0xFF);
}

void Decode() {
  std::uint32_t size = 0;
  std::string out;
  while (ReadU32(size)) {
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (size > 0 && !ReadExactly(bytes.data(), size)) break;
    const textio::DecodedText decoded = textio::DecodeFile(bytes);
    out += static_cast<char>(decoded.format.encoding);
    out += static_cast<char>(decoded.format.byteOrderMark ? 1 : 0);
    WriteU32(static_cast<std::uint32_t>(decoded.text.size()), out);
    for (const QChar ch : decoded.text) {
      out += static_cast<char>(ch.unicode() & 0xFF);
      out += static_cast<char>(ch.unicode() >> 8);
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void Encode() {
  unsigned char head[2];
  std::string out;
  while (ReadExactly(head, 2)) {
    std::uint32_t units = 0;
    if (!ReadU32(units)) break;
    QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
    for (std::uint32_t i = 0; i < units; ++i) {
      unsigned char unit[2];
      if (!ReadExactly(unit, 2)) return;
      text[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(unit[0] | unit[1] << 8));
    }
    const textio::TextFormat format{static_cast<textio::Encoding>(head[0]), head[1] != 0};
    const QByteArray bytes = textio::EncodeFile(text, format);
    WriteU32(static_cast<std::uint32_t>(bytes.size()), out);
    out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "decode") == 0) {
    Decode();
  } else if (argc == 2 && std::strcmp(argv[1], "encode") == 0) {
    Encode();
  } else {
    std::fputs("usage: textcodec decode|encode < records\n", stderr);
    return 2;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
