#pragma once
// The serial port with QSerialPort: the board's fixed line settings, non-waiting reads and bounded writes.

#include "platform/SerialPort.h"

namespace spectrel::platform::qt {

class QtSerialPortProvider : public SerialPortProvider {
public:
    // `name` may be a port name as the system lists it ("COM3", "ttyUSB0") or a device path ("/dev/pts/3").
    OpenPortResult open(const std::string& name) override;
    // The ports QSerialPortInfo reports, by the names open() accepts.
    std::vector<std::string> portNames() override;
    // Whether this user may read and write the port's device file.
    PortPermission permission(const std::string& name) override;
};

}  // namespace spectrel::platform::qt
