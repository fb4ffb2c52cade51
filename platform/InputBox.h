#pragma once
// A modal input box: a title, a prompt, a line of text preset for the user to change, OK and Cancel.
// The Qt layer shows a QInputDialog; tests answer from a script.

#include <optional>
#include <string>

namespace spectrel::platform {

class InputBox {
public:
    virtual ~InputBox() = default;
    // The text as the user left it, or nullopt when the box was cancelled.
    virtual std::optional<std::string> ask(const std::string& title, const std::string& prompt,
                                           const std::string& initial) = 0;
};

}  // namespace spectrel::platform
