// The items the best packing chooses from, and a pick of them while it is being built.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/exact/bound.h"

namespace bagfunc {

struct Candidate {
  std::int32_t number = 0;  // the item number in the problem
  BoundItem item;
};

// A set of candidates (by their index in the candidate list) and its totals.
class Pick {
 public:
  explicit Pick(std::size_t candidates) : in_(candidates) {}

  bool Has(std::size_t index) const { return in_[index] != 0; }
  void Add(std::size_t index, const BoundItem& item) { Change(index, item, 1); }
  void Remove(std::size_t index, const BoundItem& item) { Change(index, item, -1); }

  std::int64_t Weight() const { return weight_; }
  std::int64_t Value() const { return value_; }
  std::int64_t Count() const { return count_; }
  std::vector<std::int32_t> Numbers(std::span<const Candidate> candidates) const {
    std::vector<std::int32_t> numbers;
    for (std::size_t i = 0; i < in_.size(); ++i) {
      if (in_[i] != 0) numbers.push_back(candidates[i].number);
    }
    return numbers;
  }

 private:
  void Change(std::size_t index, const BoundItem& item, int sign) {
    in_[index] = sign > 0 ? 1 : 0;
    weight_ += sign * item.weight;
    value_ += sign * item.value;
    count_ += sign;
  }

  std::vector<std::uint8_t> in_;
  std::int64_t weight_ = 0;
  std::int64_t value_ = 0;
  std::int64_t count_ = 0;
};

}  // namespace bagfunc
