#pragma once

#include <stdexcept>
#include <string>

namespace kzm {

// Base of the program's own exceptions. The message is the exact text shown to the user.
class EkzmError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kzm
