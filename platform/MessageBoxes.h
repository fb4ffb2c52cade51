#pragma once
// Modal message boxes: a kind, a text, a set of buttons, and the answer the user gave.
// The Qt layer shows QMessageBox; tests answer from a script and record every text shown.

#include <string>

namespace spectrel::platform {

enum class MessageKind { Error, Warning, Information, Confirmation };

enum class MessageButton : unsigned {
    None = 0,
    Ok = 1u << 0,
    Cancel = 1u << 1,
    Yes = 1u << 2,
    No = 1u << 3,
    Abort = 1u << 4,
    Retry = 1u << 5,
    Ignore = 1u << 6,
};

// A set of MessageButton values.
class MessageButtons {
public:
    constexpr MessageButtons() = default;
    constexpr MessageButtons(MessageButton b) : bits_(static_cast<unsigned>(b)) {}
    constexpr bool has(MessageButton b) const { return (bits_ & static_cast<unsigned>(b)) != 0; }
    constexpr unsigned bits() const { return bits_; }
    constexpr MessageButtons operator|(MessageButtons o) const { return fromBits(bits_ | o.bits_); }
    constexpr bool operator==(const MessageButtons&) const = default;
    static constexpr MessageButtons fromBits(unsigned bits) {
        MessageButtons s;
        s.bits_ = bits;
        return s;
    }

private:
    unsigned bits_ = 0;
};

constexpr MessageButtons operator|(MessageButton a, MessageButton b) { return MessageButtons(a) | MessageButtons(b); }

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box modally and returns the button pressed (one of `buttons`).
    // Line breaks inside the text are "\r" as the messages are written.
    virtual MessageButton show(MessageKind kind, const std::string& text, MessageButtons buttons,
                               const std::string& caption = {}) = 0;
};

}  // namespace spectrel::platform
