#pragma once
// Message boxes answered from a script; every box shown is recorded with its kind, text and buttons.
//
// A script cannot make a test lie or hang: an answer that the box does not offer, and (unless the boxes are
// told to accept) a box shown after the script has run out, fail the test at once. The failure goes to the
// reporter that the test program installs (the tests report it as a test failure) and a ScriptFailure is
// thrown, so that a procedure asking again and again in a retry loop stops at the first unanswered box.

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

// Thrown by a scripted box that cannot be answered. It does not derive from std::exception, so that code
// handling failures of its own (catch of std::exception) does not take it for one.
struct ScriptFailure {
    std::string message;
};

class ScriptedMessageBoxes : public platform::MessageBoxes {
public:
    // What a box shown with the script empty gets (see setStrict).
    enum class Unscripted { Fail, Accept };
    explicit ScriptedMessageBoxes(Unscripted unscripted = Unscripted::Fail) : strict_(unscripted == Unscripted::Fail) {}

    // Answers are used in order.
    void script(std::initializer_list<platform::MessageButton> answers);
    void push(platform::MessageButton answer) { answers_.push_back(answer); }
    // Strict (the default): a box that offers a choice, shown with the script empty, fails the test; a box that
    // offers only OK asks nothing and is answered OK, but the 101st of them fails the test as well (a loop
    // showing it again and again). Not strict: every box shown with the script empty is answered with its
    // accepting button (OK, else Yes, else Retry, ...; see acceptingButton), for pictures and benchmarks.
    // Both count such boxes in unscriptedCount().
    void setStrict(bool strict) { strict_ = strict; }
    bool strict() const { return strict_; }

    platform::MessageButton show(platform::MessageKind kind, const std::string& text,
                                 platform::MessageButtons buttons, const std::string& caption = {}) override;

    const std::vector<ShownMessage>& shown() const { return shown_; }
    std::vector<std::string> texts() const;
    // Boxes shown with the script empty.
    std::size_t unscriptedCount() const { return unscripted_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    // Failures of the script so far (each also reported and thrown).
    const std::vector<std::string>& failures() const { return failures_; }
    void clear();

    static platform::MessageButton acceptingButton(platform::MessageButtons buttons);
    // Strict boxes answer boxes that offer only OK without a script, up to this many (a loop would go on).
    static constexpr std::size_t kMostUnscriptedOkBoxes = 100;
    // "OK, Cancel": the buttons of a set, in the order OK, Cancel, Yes, No, Abort, Retry, Ignore.
    static std::string buttonNames(platform::MessageButtons buttons);

    // Where failures are reported; the test programs install one that fails the running test.
    using FailureReporter = void (*)(const std::string& message);
    static void setFailureReporter(FailureReporter reporter);

private:
    [[noreturn]] void fail(std::string message);

    std::deque<platform::MessageButton> answers_;
    std::vector<ShownMessage> shown_;
    std::vector<std::string> failures_;
    bool strict_ = true;
    std::size_t unscripted_ = 0;
    std::size_t unscriptedOk_ = 0;
};

}  // namespace spectrel::testing
