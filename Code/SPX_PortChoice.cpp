// The main window's choice of the serial port.

#include "Code/SPX_PortChoice.h"

#include <algorithm>

namespace spectrel {

std::string FirstActivationPort(const std::string& rememberedPort, bool portRemembered, bool virtualIfNoPort) {
    if (virtualIfNoPort && !portRemembered) return kVirtualReaderPort;
    return rememberedPort;
}

TPortListRefresh RefreshPortList(const std::string& shownText, std::vector<std::string> portsPresent) {
    TPortListRefresh refresh;
    refresh.entries = std::move(portsPresent);
    const auto found = std::find(refresh.entries.begin(), refresh.entries.end(), shownText);
    if (found != refresh.entries.end()) {
        refresh.selected = static_cast<int>(found - refresh.entries.begin());
    } else if (!refresh.entries.empty()) {
        refresh.selected = 0;
    }
    return refresh;
}

}  // namespace spectrel
