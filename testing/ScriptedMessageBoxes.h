#pragma once
// Message boxes answered from a script; every box shown is recorded with its kind, text and buttons.

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace spectrel::testing {

struct ShownMessage {
    platform::MessageKind kind;
    std::string text;
    platform::MessageButtons buttons;
    std::string caption;
    platform::MessageButton answer;
};

class ScriptedMessageBoxes : public platform::MessageBoxes {
public:
    // Answers are used in order. When the script runs out, a box is answered with its "accepting" button
    // (OK, else Yes, else Retry, else the first button offered).
    void script(std::initializer_list<platform::MessageButton> answers);
    void push(platform::MessageButton answer) { answers_.push_back(answer); }
    // When set, a box shown with the script empty is a test failure recorded in unscriptedCount().
    void setStrict(bool strict) { strict_ = strict; }

    platform::MessageButton show(platform::MessageKind kind, const std::string& text,
                                 platform::MessageButtons buttons, const std::string& caption = {}) override;

    const std::vector<ShownMessage>& shown() const { return shown_; }
    std::vector<std::string> texts() const;
    std::size_t unscriptedCount() const { return unscripted_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    void clear();

    static platform::MessageButton acceptingButton(platform::MessageButtons buttons);

private:
    std::deque<platform::MessageButton> answers_;
    std::vector<ShownMessage> shown_;
    bool strict_ = false;
    std::size_t unscripted_ = 0;
};

}  // namespace spectrel::testing
