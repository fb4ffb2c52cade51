#include "testing/ScriptedFileDialogs.h"

namespace spectrel::testing {

std::optional<std::string> ScriptedFileDialogs::answer(bool save, const platform::FileDialogRequest& request) {
    std::optional<std::string> chosen;
    if (!answers_.empty()) {
        chosen = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({save, request, chosen});
    return chosen;
}

std::optional<std::string> ScriptedFileDialogs::openFile(const platform::FileDialogRequest& request) {
    return answer(false, request);
}

std::optional<std::string> ScriptedFileDialogs::saveFile(const platform::FileDialogRequest& request) {
    return answer(true, request);
}

}  // namespace spectrel::testing
