#include "platform/Error.h"

namespace vantrel {

Error writeError(const std::string& path) { return Error("Unable to write to " + path); }

Error conversionError(const std::string& text) {
  return Error("'" + text + "' is not a valid integer value");
}

}  // namespace vantrel
