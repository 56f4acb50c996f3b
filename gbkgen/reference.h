// Code page 936 as the system's converters define it (Qt's GBK and GB18030 codecs, from ICU),
// made strictly one to one so that decoding then encoding gives back every byte. Slow to make
// (a converter per code): the build makes the codec's data from it once, and a test checks that
// data against it.
#pragma once

#include <cstdint>
#include <vector>

namespace gbkgen {

struct SystemCodec {
  std::vector<char16_t> fromGbk;          // by (lead << 8 | trail), or by the single byte 80
  std::vector<std::uint16_t> toGbk;       // by character: its GBK code, 0 = none
  std::vector<char16_t> fromFourByte;     // by four-byte code index (BMP part)
  std::vector<std::uint16_t> toFourByte;  // by character: four-byte index + 1; consulted
                                          // only for characters without a GBK code
};

SystemCodec SystemCodecTables();

}  // namespace gbkgen
