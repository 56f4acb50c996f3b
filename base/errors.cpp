#include "base/errors.h"

namespace bagfunc {

std::string FormatMessage(std::string_view pattern, std::string_view arg) {
  std::string text(pattern);
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, arg);
  return text;
}

std::string WithFullStop(std::string_view message) {
  std::string text(message);
  // The last byte of a multi-byte character (GBK or UTF-8) is always above '.'.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace bagfunc
