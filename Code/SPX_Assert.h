#pragma once
// Programming errors are reported as assertion failures that name the source module and the line.

#include <stdexcept>
#include <string>

namespace spectrel {

class EAssertionFailed : public std::logic_error {
public:
    EAssertionFailed(const std::string& message, std::string module, int line);
    const std::string& module() const { return module_; }
    int line() const { return line_; }
    // The text without the module and line.
    const std::string& assertion() const { return assertion_; }

private:
    std::string assertion_;
    std::string module_;
    int line_;
};

// Throws EAssertionFailed with "<message> (<module>, line <line>)".
[[noreturn]] void AssertionFailed(const std::string& message, const std::string& module, int line);

}  // namespace spectrel

// SPX_ASSERT(condition, "message", "Code/SPX_ComPortUnit") names the module and the current line.
#define SPX_ASSERT(condition, message, module)                                   \
    do {                                                                         \
        if (!(condition)) ::spectrel::AssertionFailed((message), (module), __LINE__); \
    } while (false)
