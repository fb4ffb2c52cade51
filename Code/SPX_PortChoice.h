#pragma once
// The main window's choice of the serial port: which port the first activation connects to, and what the port
// list holds after it has been refreshed as it drops down.

#include <string>
#include <vector>

namespace spectrel {

// The port of the in-process virtual reader board, always the last entry of the port list.
inline constexpr const char* kVirtualReaderPort = "VIRTUAL";

// The port the first activation connects to: the remembered one; with `virtualIfNoPort` (an option of the
// program's start script) "VIRTUAL" when the settings file remembers no port.
std::string FirstActivationPort(const std::string& rememberedPort, bool portRemembered, bool virtualIfNoPort);

struct TPortListRefresh {
    std::vector<std::string> entries;
    int selected = -1;  // the entry equal to the text shown before; the first entry when none is; -1 when empty
    bool operator==(const TPortListRefresh&) const = default;
};

// The port list when it drops down: the ports now present, the shown text selected again when it is still there.
TPortListRefresh RefreshPortList(const std::string& shownText, std::vector<std::string> portsPresent);

}  // namespace spectrel
