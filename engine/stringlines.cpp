#include "engine/stringlines.h"

namespace bagfunc {

void StringLines::Clear() { lines_.clear(); }

std::string StringLines::Get(int n) const {
  if (n < 0 || static_cast<std::size_t>(n) >= lines_.size()) return {};
  return lines_[static_cast<std::size_t>(n)];
}

void StringLines::Append(std::string_view line) { lines_.emplace_back(line); }

}  // namespace bagfunc
