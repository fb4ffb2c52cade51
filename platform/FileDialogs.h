#pragma once
// Modal open-file and save-file dialogs. A request names the title, the filter (pairs of label and patterns
// separated by "|": "XML|*.xml|All|*.*"), the folder to start in and the file name to offer. The Qt layer shows
// QFileDialog; tests answer from a script and record every request.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace spectrel::platform {

struct FileDialogRequest {
    std::string title;
    std::string filter;            // "label|patterns|label|patterns..."
    std::string initialFolder;     // where the dialog starts when fileName names no folder
    std::string fileName;          // offered as the chosen file; a full path also picks the folder
    std::string defaultExtension;  // ".btn": appended by the dialog to a name typed without extension
    bool operator==(const FileDialogRequest&) const = default;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file chosen, or nullopt when the dialog was cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    // The file chosen, or nullopt when cancelled. The dialog never asks about replacing a file itself: the
    // caller decides.
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
};

// The label and patterns pairs of a filter; a label without patterns gets "*".
inline std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filter) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!filter.empty()) parts.push_back(part);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        std::string patterns = i + 1 < parts.size() ? parts[i + 1] : std::string();
        if (patterns.empty()) patterns = "*";
        pairs.emplace_back(parts[i], patterns);
    }
    return pairs;
}

}  // namespace spectrel::platform
