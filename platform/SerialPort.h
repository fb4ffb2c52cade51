#pragma once
// The serial port as the reader link sees it: a byte pipe with non-waiting reads and bounded writes.
// The Qt layer implements it with QSerialPort; tests and the virtual reader board implement it in-process.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace spectrel::platform {

// The board's fixed line settings; the user cannot change them.
struct SerialLineSettings {
    static constexpr int kBaudRate = 9600;
    static constexpr int kDataBits = 8;
    static constexpr int kStopBits = 1;
    static constexpr bool kParity = false;
    static constexpr bool kFlowControl = false;  // neither CTS/DSR nor XON/XOFF
    static constexpr bool kDtr = false;          // held inactive
    static constexpr bool kRts = false;          // held inactive
    static constexpr int kQueueSize = 1024;      // driver input and output queue, bytes each
    static constexpr int kWriteTimeoutPerByteMs = 100;
    static constexpr int kWriteTimeoutConstantMs = 1000;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Returns at once: true with a byte if one was already buffered.
    virtual bool readByte(std::uint8_t& byte) = 0;
    // Writes one byte within the write time-out; true only if exactly one byte was written.
    virtual bool writeByte(std::uint8_t byte) = 0;
    virtual bool isOpen() const = 0;
    // The system's reason when the open port has failed for good, as when the device goes away (a USB adapter
    // pulled, the far end of a pseudo-terminal closed): reads and writes fail from then on. Empty while it works.
    virtual std::string failure() const { return {}; }
    // Aborts pending transfers and closes; the object may be destroyed afterwards.
    virtual void close() = 0;
};

struct OpenPortResult {
    std::unique_ptr<SerialPort> port;  // null when the port could not be opened
    std::string error;                 // the operating system's reason when it failed
    // The port exists but this user may not open it; `advice` then says what to do about it on this system
    // ("You may not open /dev/ttyUSB0. Add yourself to the group 'dialout' and log in again ...").
    bool permissionDenied = false;
    std::string advice;

    OpenPortResult() = default;
    OpenPortResult(std::unique_ptr<SerialPort> opened, std::string reason = {}, bool denied = false,
                   std::string whatToDo = {})
        : port(std::move(opened)), error(std::move(reason)), permissionDenied(denied), advice(std::move(whatToDo)) {}
};

// Whether this user may open a port, as far as the system can tell without opening it.
struct PortPermission {
    bool denied = false;
    std::string advice;  // with `denied`: what to do about it
};

// Opens ports by name with the fixed line settings and lists the ports present.
class SerialPortProvider {
public:
    virtual ~SerialPortProvider() = default;
    virtual OpenPortResult open(const std::string& name) = 0;
    // Names that open() accepts, in the order the system reports them.
    virtual std::vector<std::string> portNames() = 0;
    // Checks, without opening it, whether this user may open `name`. A system that cannot tell allows every port.
    virtual PortPermission permission(const std::string& name) {
        (void)name;
        return {};
    }
};

}  // namespace spectrel::platform
