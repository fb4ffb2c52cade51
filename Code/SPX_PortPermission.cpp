#include "Code/SPX_PortPermission.h"

namespace spectrel {

std::string PortEntryLabel(const std::string& name, bool denied) { return denied ? name + " (no permission)" : name; }

std::string ReaderStatusWithCause(const std::string& status, const std::string& port, bool denied) {
    return denied ? status + " (no permission for " + port + ")" : status;
}

std::string PortOpenFailureText(const std::string& port, const TReaderPortOpenResult& opened) {
    if (opened.ok) return {};
    std::string text = "cannot open " + port + ": " + opened.message;
    if (opened.permissionDenied && !opened.advice.empty()) text += "\n" + opened.advice;
    return text;
}

bool TPortPermissionNotice::NoteOpen(const std::string& port, bool denied) {
    if (!denied) {
        refused_.erase(port);
        return false;
    }
    refused_.insert(port);
    return told_.insert(port).second;
}

}  // namespace spectrel
