#include "testing/ScriptedMessageBoxes.h"

#include <string>
#include <utility>

namespace spectrel::testing {

using platform::MessageButton;
using platform::MessageButtons;

namespace {

ScriptedMessageBoxes::FailureReporter& Reporter() {
    static ScriptedMessageBoxes::FailureReporter reporter = nullptr;
    return reporter;
}

const char* ButtonName(MessageButton b) {
    switch (b) {
        case MessageButton::Ok:
            return "OK";
        case MessageButton::Cancel:
            return "Cancel";
        case MessageButton::Yes:
            return "Yes";
        case MessageButton::No:
            return "No";
        case MessageButton::Abort:
            return "Abort";
        case MessageButton::Retry:
            return "Retry";
        case MessageButton::Ignore:
            return "Ignore";
        case MessageButton::None:
            break;
    }
    return "none";
}

constexpr MessageButton kAllButtons[] = {MessageButton::Ok,    MessageButton::Cancel, MessageButton::Yes,
                                         MessageButton::No,    MessageButton::Abort,  MessageButton::Retry,
                                         MessageButton::Ignore};

}  // namespace

void ScriptedMessageBoxes::setFailureReporter(FailureReporter reporter) { Reporter() = reporter; }

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

std::string ScriptedMessageBoxes::buttonNames(MessageButtons buttons) {
    std::string names;
    for (MessageButton b : kAllButtons) {
        if (!buttons.has(b)) continue;
        if (!names.empty()) names += ", ";
        names += ButtonName(b);
    }
    return names.empty() ? "no buttons" : names;
}

void ScriptedMessageBoxes::fail(std::string message) {
    failures_.push_back(message);
    if (FailureReporter reporter = Reporter()) reporter(message);
    throw ScriptFailure{std::move(message)};
}

MessageButton ScriptedMessageBoxes::show(platform::MessageKind kind, const std::string& text, MessageButtons buttons,
                                         const std::string& caption) {
    MessageButton answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
        // None stands for the box closed without a button, which every box allows.
        if (answer != MessageButton::None && !buttons.has(answer)) {
            shown_.push_back({kind, text, buttons, caption, answer});
            fail("The message box \"" + text + "\" offers " + buttonNames(buttons) + ", but the script answers " +
                 ButtonName(answer));
        }
    } else {
        ++unscripted_;
        // A box that offers only OK asks nothing: it is answered, but not for ever.
        const bool onlyOk = buttons == MessageButtons(MessageButton::Ok);
        if (onlyOk && strict_ && ++unscriptedOk_ > kMostUnscriptedOkBoxes) {
            shown_.push_back({kind, text, buttons, caption, MessageButton::None});
            fail("The message box \"" + text + "\" (OK) is the " + std::to_string(unscriptedOk_) +
                 "th box shown after the script has run out of answers");
        }
        if (strict_ && !onlyOk) {
            shown_.push_back({kind, text, buttons, caption, MessageButton::None});
            fail("The message box \"" + text + "\" (" + buttonNames(buttons) +
                 ") is shown after the script has run out of answers");
        }
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
    failures_.clear();
    unscripted_ = 0;
    unscriptedOk_ = 0;
}

}  // namespace spectrel::testing
