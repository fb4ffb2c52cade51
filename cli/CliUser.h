#pragma once
// The user at the other end of the command line's message boxes: one who accepts every prompt (for learning
// from a signal file), or the person at the terminal (for learning with a real board). Both keep every box that
// was shown, for the report.

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace spectrel::cli {

struct TShownBox {
    platform::MessageKind kind;
    std::string text;
    platform::MessageButtons buttons;
    platform::MessageButton answer;
};

std::string KindName(platform::MessageKind kind);
std::string ButtonName(platform::MessageButton button);
std::vector<platform::MessageButton> ButtonList(platform::MessageButtons buttons);

class TRecordingBoxes : public platform::MessageBoxes {
public:
    // Called with every text before it is answered (the accepting user presses keys when asked to).
    std::function<void(const std::string& text)> onShow;
    // Called before every box, ahead of onShow (the pictures of --picture are written then).
    std::function<void()> beforeShow;

    platform::MessageButton show(platform::MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                                 const std::string& caption = {}) override;
    const std::vector<TShownBox>& Shown() const { return shown_; }

protected:
    virtual platform::MessageButton Answer(platform::MessageKind kind, const std::string& text,
                                           platform::MessageButtons buttons) = 0;

private:
    std::vector<TShownBox> shown_;
};

// Answers OK or Yes where offered; Retry at most twice in a row (the virtual board plays the same key again, so
// a third try would change nothing), then Ignore, Abort or Cancel.
class TAcceptingUser : public TRecordingBoxes {
public:
    static constexpr int kMaxRetries = 2;
    // Asked with every text before it is answered: true makes the user answer Ignore where it is offered.
    std::function<bool(const std::string& text)> ignore;

protected:
    platform::MessageButton Answer(platform::MessageKind kind, const std::string& text,
                                   platform::MessageButtons buttons) override;

private:
    int retries_ = 0;
};

// Prints every box on the terminal and reads the answer: the button's name or its first letter, in any case.
// At the end of the input it answers Abort, Cancel, No or Ignore, whichever is offered first.
class TTerminalUser : public TRecordingBoxes {
public:
    TTerminalUser(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

protected:
    platform::MessageButton Answer(platform::MessageKind kind, const std::string& text,
                                   platform::MessageButtons buttons) override;

private:
    std::istream& in_;
    std::ostream& out_;
};

// A clock that advances only when the message loop is pumped (1 ms per pump), so learning from a file takes
// no real time.
class TSimulatedTime : public platform::Clock, public platform::MessagePump {
public:
    std::int64_t nowMs() override { return nowUs_ / 1000; }
    void pumpOnce() override { nowUs_ += 1000; }
    double nowUs() const { return static_cast<double>(nowUs_); }

private:
    std::int64_t nowUs_ = 0;
};

}  // namespace spectrel::cli
