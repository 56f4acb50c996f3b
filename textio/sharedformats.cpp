// The table of the colour and paragraph formats that runs share. Entries are never removed
// or moved, so that an index stays good and reading one takes no lock: the table grows in
// blocks of doubling size, and a block once published stays where it is.
#include "textio/rtf.h"

#include <atomic>
#include <bit>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace textio {
namespace {

constexpr std::uint32_t kFirstBlock = 64;  // entries of block 0; block k holds kFirstBlock << k
constexpr int kBlocks = 27;                // enough for every 32-bit index

struct Place {
  int block;
  std::uint32_t offset;
};

Place PlaceOf(std::uint32_t index) {
  const std::uint64_t q = static_cast<std::uint64_t>(index) / kFirstBlock + 1;
  const int block = std::bit_width(q) - 1;
  const std::uint64_t start = kFirstBlock * ((std::uint64_t{1} << block) - 1);
  return {block, static_cast<std::uint32_t>(index - start)};
}

struct FormatHash {
  std::size_t operator()(const SharedFormat& f) const {
    const std::uint64_t a = (std::uint64_t{f.color} << 32) |
                            (static_cast<std::uint64_t>(f.paragraph.alignment) << 16) |
                            static_cast<std::uint16_t>(f.paragraph.leftTwips);
    const std::uint64_t b = (static_cast<std::uint64_t>(static_cast<std::uint16_t>(f.paragraph.rightTwips)) << 16) |
                            static_cast<std::uint16_t>(f.paragraph.firstLineTwips);
    return std::hash<std::uint64_t>{}(a * 0x9E3779B97F4A7C15ull ^ b);
  }
};

class Table {
 public:
  Table() { Add(SharedFormat{}); }  // index 0

  std::uint32_t IndexOf(const SharedFormat& format) {
    const std::lock_guard lock(mutex_);
    const auto it = indices_.find(format);
    if (it != indices_.end()) return it->second;
    return Add(format);
  }

  const SharedFormat& At(std::uint32_t index) const {
    const Place place = PlaceOf(index);
    return blocks_[place.block].load(std::memory_order_acquire)[place.offset];
  }

 private:
  // Under the lock (or in the constructor).
  std::uint32_t Add(const SharedFormat& format) {
    const std::uint32_t index = size_++;
    const Place place = PlaceOf(index);
    SharedFormat* block = blocks_[place.block].load(std::memory_order_relaxed);
    if (block == nullptr) {
      block = new SharedFormat[std::size_t{kFirstBlock} << place.block];
      blocks_[place.block].store(block, std::memory_order_release);
    }
    block[place.offset] = format;
    indices_.emplace(format, index);
    return index;
  }

  std::mutex mutex_;
  std::unordered_map<SharedFormat, std::uint32_t, FormatHash> indices_;
  std::uint32_t size_ = 0;
  std::atomic<SharedFormat*> blocks_[kBlocks] = {};
};

Table& TheTable() {
  static Table* table = new Table;  // never destroyed: runs may outlive static destruction
  return *table;
}

}  // namespace

std::uint32_t SharedFormatIndex(const SharedFormat& format) {
  if (format == SharedFormat{}) return 0;
  // Runs in a row mostly share their format: the last answer of this thread, without the lock.
  thread_local SharedFormat lastFormat;
  thread_local std::uint32_t lastIndex = 0;
  if (format == lastFormat) return lastIndex;
  lastIndex = TheTable().IndexOf(format);
  lastFormat = format;
  return lastIndex;
}

const SharedFormat& SharedFormatAt(std::uint32_t index) { return TheTable().At(index); }

}  // namespace textio
