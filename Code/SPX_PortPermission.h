#pragma once
// A serial port that is there but that this user may not open (on Linux a device of the group "dialout"): the
// port list and the reader status say so, the system's advice is told once per port and run, and the
// command line prints the same reason.

#include <set>
#include <string>

#include "Code/SPX_ComPortUnit.h"

namespace spectrel {

// The port list's text for a port: its name, and "ttyUSB0 (no permission)" for one this user may not open.
std::string PortEntryLabel(const std::string& name, bool denied);

// The reader status with the reason of a refused port: "No Reader (no permission for ttyUSB0)"; `status`
// itself when the port was not refused.
std::string ReaderStatusWithCause(const std::string& status, const std::string& port, bool denied);

// What standard error gets about a port that did not open: "cannot open ttyUSB0: Permission denied", and on
// a line of its own the system's advice when the port was refused. Empty when the port opened.
std::string PortOpenFailureText(const std::string& port, const TReaderPortOpenResult& opened);

// Remembers the ports that refused this user during the run, so that their advice is shown only once.
class TPortPermissionNotice {
public:
    // Notes the outcome of opening `port`; true when its advice should be shown now (the first refusal of the
    // run for that port).
    bool NoteOpen(const std::string& port, bool denied);
    // `port` refused this user at its last open.
    bool Refused(const std::string& port) const { return refused_.count(port) != 0; }

private:
    std::set<std::string> refused_;
    std::set<std::string> told_;
};

}  // namespace spectrel
