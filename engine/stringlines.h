// A line list held in memory: what the command-line tool and the tests hand to the engine.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/bagfunc.h"

namespace bagfunc {

class StringLines : public LineList {
 public:
  StringLines() = default;
  explicit StringLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  void Clear() override;
  std::string Get(int n) const override;
  void Append(std::string_view line) override;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace bagfunc
