// The program's errors: each carries the exact text the error display shows (UTF-8).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace bagfunc {

// Base of every error the program raises; what() is the message, without the display's ".".
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A header line (or a settings value read as one) that is not an integer.
class EConvertError : public Error {
 public:
  using Error::Error;
};

// Replaces the first "%s" of pattern by arg: "Cannot open file %s" -> "Cannot open file a.txt".
std::string FormatMessage(std::string_view pattern, std::string_view arg);

// The error display's rule: a "." is appended when the message is not empty and its last
// character sorts after "." by byte value (every Chinese character does).
std::string WithFullStop(std::string_view message);

}  // namespace bagfunc
