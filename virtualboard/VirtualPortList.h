#pragma once
// The machine's serial ports with the virtual board's port added at the end: what the port list of the program
// shows and what the reader link opens.

#include <string>
#include <vector>

#include "platform/SerialPort.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::virtualboard {

class VirtualPortList : public platform::SerialPortProvider {
public:
    // Both providers must outlive the list.
    VirtualPortList(platform::SerialPortProvider& realPorts, VirtualSerialPortProvider& virtualPorts);

    // The virtual port's name in any letter case opens the virtual board; any other name a real port.
    platform::OpenPortResult open(const std::string& name) override;
    // The real ports in the system's order, then the virtual port, which is always listed (also when the real
    // ports cannot be listed). A real port of the virtual port's name is left out: that name means the board.
    std::vector<std::string> portNames() override;
    // The virtual port may always be opened; a real port is checked by the real ports.
    platform::PortPermission permission(const std::string& name) override;

private:
    platform::SerialPortProvider& realPorts_;
    VirtualSerialPortProvider& virtualPorts_;
};

}  // namespace spectrel::virtualboard
