#pragma once
// The one error type of the program: carries the text a message box shows.
#include <stdexcept>
#include <string>

namespace vantrel {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// "Unable to write to %s"
Error writeError(const std::string& path);
// "'%s' is not a valid integer value"
Error conversionError(const std::string& text);

}  // namespace vantrel
