#pragma once
// An input box answered from a script; every box shown is recorded with its title, prompt and preset text.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/InputBox.h"

namespace spectrel::testing {

struct AskedInput {
    std::string title;
    std::string prompt;
    std::string initial;
    std::optional<std::string> answer;
};

class ScriptedInputBox : public platform::InputBox {
public:
    // The next box is left with `text` (OK).
    void answer(std::string text) { answers_.emplace_back(std::move(text)); }
    // The next box is cancelled.
    void cancel() { answers_.emplace_back(std::nullopt); }

    // With the script used up a box is cancelled.
    std::optional<std::string> ask(const std::string& title, const std::string& prompt,
                                   const std::string& initial) override;

    const std::vector<AskedInput>& asked() const { return asked_; }
    std::size_t pendingAnswers() const { return answers_.size(); }

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<AskedInput> asked_;
};

}  // namespace spectrel::testing
