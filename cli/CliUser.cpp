#include "cli/CliUser.h"

#include <algorithm>
#include <cctype>

namespace spectrel::cli {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageKind;

namespace {

constexpr MessageButton kAllButtons[] = {MessageButton::Ok,    MessageButton::Cancel, MessageButton::Yes,
                                         MessageButton::No,    MessageButton::Abort,  MessageButton::Retry,
                                         MessageButton::Ignore};

MessageButton FirstOffered(MessageButtons buttons, std::initializer_list<MessageButton> order) {
    for (MessageButton b : order) {
        if (buttons.has(b)) return b;
    }
    return MessageButton::None;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

std::string KindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return "error";
        case MessageKind::Warning:
            return "warning";
        case MessageKind::Information:
            return "information";
        case MessageKind::Confirmation:
            return "confirmation";
    }
    return "message";
}

std::string ButtonName(MessageButton button) {
    switch (button) {
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
            return "none";
    }
    return "none";
}

std::vector<MessageButton> ButtonList(MessageButtons buttons) {
    std::vector<MessageButton> list;
    for (MessageButton b : kAllButtons) {
        if (buttons.has(b)) list.push_back(b);
    }
    return list;
}

MessageButton TRecordingBoxes::show(MessageKind kind, const std::string& text, MessageButtons buttons,
                                    const std::string&) {
    if (beforeShow) beforeShow();
    if (onShow) onShow(text);
    const MessageButton answer = Answer(kind, text, buttons);
    shown_.push_back({kind, text, buttons, answer});
    return answer;
}

MessageButton TAcceptingUser::Answer(MessageKind, const std::string& text, MessageButtons buttons) {
    if (ignore && buttons.has(MessageButton::Ignore) && ignore(text)) {
        retries_ = 0;
        return MessageButton::Ignore;
    }
    MessageButton answer = FirstOffered(buttons, {MessageButton::Ok, MessageButton::Yes});
    if (answer == MessageButton::None && buttons.has(MessageButton::Retry) && retries_ < kMaxRetries) {
        answer = MessageButton::Retry;
    }
    if (answer == MessageButton::None) {
        answer = FirstOffered(buttons, {MessageButton::Ignore, MessageButton::Abort, MessageButton::Cancel,
                                        MessageButton::No, MessageButton::Retry});
    }
    retries_ = answer == MessageButton::Retry ? retries_ + 1 : 0;
    return answer == MessageButton::None ? MessageButton::Ok : answer;
}

MessageButton TTerminalUser::Answer(MessageKind kind, const std::string& text, MessageButtons buttons) {
    const std::vector<MessageButton> offered = ButtonList(buttons);
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '\r', '\n');
    out_ << "\n[" << KindName(kind) << "] " << shown << "\n";
    for (;;) {
        out_ << "Answer";
        for (std::size_t i = 0; i < offered.size(); ++i) out_ << (i ? " / " : " (") << ButtonName(offered[i]);
        out_ << "): " << std::flush;
        std::string line;
        if (!std::getline(in_, line)) {
            out_ << "\n";
            const MessageButton fallback = FirstOffered(
                buttons, {MessageButton::Abort, MessageButton::Cancel, MessageButton::No, MessageButton::Ignore});
            return fallback == MessageButton::None && !offered.empty() ? offered.front() : fallback;
        }
        const auto begin = line.find_first_not_of(" \t\r");
        const auto end = line.find_last_not_of(" \t\r");
        line = begin == std::string::npos ? "" : Lower(line.substr(begin, end - begin + 1));
        if (line.empty() && offered.size() == 1) return offered.front();
        for (MessageButton b : offered) {
            const std::string name = Lower(ButtonName(b));
            if (line == name || (line.size() == 1 && line[0] == name[0])) return b;
        }
        out_ << "Please type one of the answers shown.\n";
    }
}

}  // namespace spectrel::cli
