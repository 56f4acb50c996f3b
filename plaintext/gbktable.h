// Code page 936 (GBK, with GB18030's four-byte codes) as data: what each code decodes to. The
// build generates the data (gbkgen) from the system's codecs; the codec in plaintext/gbk.cpp derives both
// of its directions from it, so every program decodes and encodes the same way, and starts at
// once.
#pragma once

#include <cstdint>

namespace plaintext::gbktable {

// Two-byte codes: a lead byte 81..FE and a trail byte 40..FE (7F is no trail, its entries stay
// empty), lead-major.
inline constexpr int kFirstLead = 0x81;
inline constexpr int kLastLead = 0xFE;
inline constexpr int kFirstTrail = 0x40;
inline constexpr int kLastTrail = 0xFE;
inline constexpr int kTrailCount = kLastTrail - kFirstTrail + 1;
inline constexpr int kTwoByteCount = (kLastLead - kFirstLead + 1) * kTrailCount;

// Four-byte codes 81 30 81 30 .. 84 31 A4 39 cover the rest of the Basic Multilingual Plane,
// counted from 0 with the last byte fastest; codes from 90 30 81 30 on count the supplementary
// planes linearly.
inline constexpr int kBmpFourByteCodes = 39420;

// The index of a four-byte code, and the code of an index.
constexpr int FourByteIndex(const unsigned char* code) {
  return (((code[0] - 0x81) * 10 + (code[1] - 0x30)) * 126 + (code[2] - 0x81)) * 10 +
         (code[3] - 0x30);
}
constexpr void FourByteCode(int index, char* code) {
  code[3] = static_cast<char>(0x30 + index % 10);
  index /= 10;
  code[2] = static_cast<char>(0x81 + index % 126);
  index /= 126;
  code[1] = static_cast<char>(0x30 + index % 10);
  index /= 10;
  code[0] = static_cast<char>(0x81 + index);
}
inline constexpr unsigned char kFirstSupplementaryCode[] = {0x90, 0x30, 0x81, 0x30};
inline constexpr int kSupplementaryBase = FourByteIndex(kFirstSupplementaryCode);

// A stretch of consecutive four-byte codes that decode to consecutive characters.
struct Run {
  std::int32_t firstCode;  // four-byte code index
  char16_t firstCharacter;
  std::uint16_t length;
};

// The one single byte above ASCII that is a character (80, the euro sign).
extern const std::uint8_t kSingleByte;
extern const char16_t kSingleByteCharacter;
// The character of each two-byte code, 0 for none.
extern const char16_t kTwoByte[kTwoByteCount];
// The four-byte codes that decode to a character of the Basic Multilingual Plane, in order.
extern const Run kFourByteRuns[];
extern const int kFourByteRunCount;

}  // namespace plaintext::gbktable
