#include "testing/ScriptedInputBox.h"

namespace spectrel::testing {

std::optional<std::string> ScriptedInputBox::ask(const std::string& title, const std::string& prompt,
                                                 const std::string& initial) {
    std::optional<std::string> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    asked_.push_back({title, prompt, initial, answer});
    return answer;
}

}  // namespace spectrel::testing
