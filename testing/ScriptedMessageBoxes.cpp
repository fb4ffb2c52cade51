#include "testing/ScriptedMessageBoxes.h"

namespace spectrel::testing {

using platform::MessageButton;
using platform::MessageButtons;

void ScriptedMessageBoxes::script(std::initializer_list<MessageButton> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

MessageButton ScriptedMessageBoxes::acceptingButton(MessageButtons buttons) {
    for (MessageButton b : {MessageButton::Ok, MessageButton::Yes, MessageButton::Retry, MessageButton::Ignore,
                            MessageButton::No, MessageButton::Cancel, MessageButton::Abort}) {
        if (buttons.has(b)) return b;
    }
    return MessageButton::Ok;
}

MessageButton ScriptedMessageBoxes::show(platform::MessageKind kind, const std::string& text, MessageButtons buttons,
                                         const std::string& caption) {
    MessageButton answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else {
        if (strict_) ++unscripted_;
        answer = acceptingButton(buttons);
    }
    shown_.push_back({kind, text, buttons, caption, answer});
    return answer;
}

std::vector<std::string> ScriptedMessageBoxes::texts() const {
    std::vector<std::string> result;
    result.reserve(shown_.size());
    for (const auto& m : shown_) result.push_back(m.text);
    return result;
}

void ScriptedMessageBoxes::clear() {
    answers_.clear();
    shown_.clear();
    unscripted_ = 0;
}

}  // namespace spectrel::testing
