#pragma once
// File dialogs answered from a script; every request is recorded.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace spectrel::testing {

struct ShownFileDialog {
    bool save = false;
    platform::FileDialogRequest request;
    std::optional<std::string> answer;
};

class ScriptedFileDialogs : public platform::FileDialogs {
public:
    // The next dialog chooses `fileName`; cancel() makes the next one cancelled. A dialog shown with the
    // script empty is cancelled.
    void choose(const std::string& fileName) { answers_.emplace_back(fileName); }
    void cancel() { answers_.emplace_back(std::nullopt); }

    std::optional<std::string> openFile(const platform::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const platform::FileDialogRequest& request) override;

    const std::vector<ShownFileDialog>& shown() const { return shown_; }
    std::size_t pendingAnswers() const { return answers_.size(); }

private:
    std::optional<std::string> answer(bool save, const platform::FileDialogRequest& request);
    std::deque<std::optional<std::string>> answers_;
    std::vector<ShownFileDialog> shown_;
};

}  // namespace spectrel::testing
