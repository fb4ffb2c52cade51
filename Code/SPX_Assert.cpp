#include "Code/SPX_Assert.h"

namespace spectrel {

EAssertionFailed::EAssertionFailed(const std::string& message, std::string module, int line)
    : std::logic_error(message + " (" + module + ", line " + std::to_string(line) + ")"),
      assertion_(message),
      module_(std::move(module)),
      line_(line) {}

void AssertionFailed(const std::string& message, const std::string& module, int line) {
    throw EAssertionFailed(message, module, line);
}

}  // namespace spectrel
