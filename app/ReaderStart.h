#pragma once
// Finding a reader at start-up: each serial port present (or the one asked for) is tried in turn; when none
// has a reader, the in-process virtual reader board is used instead, so the program can be tried without one.

#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/SerialPort.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::app {

struct ReaderFound {
    bool detected = false;
    std::string status;  // "Reader 1.3" or "No Reader"
    std::string port;    // the port the status belongs to (empty when there was none to try)
    bool virtualBoard = false;
    std::string openError;  // why the port did not open, if it did not
    std::string openAdvice;  // what to do about it, when this user may not open the port
};

class ReaderStart {
public:
    ReaderStart(platform::SerialPortProvider& serialPorts, platform::Clock& clock, platform::MessagePump& pump,
                platform::MessageBoxes& boxes);

    // Tries `onlyPort` (a listed name in any letter case, or a device path) or else every listed port; then,
    // unless `allowVirtual` is false, the virtual board.
    ReaderFound find(const std::string& onlyPort, bool allowVirtual);

    // The link of the reader found (on the real ports or on the virtual board).
    TReaderLink& link() { return virtualUsed_ ? *virtualLink_ : realLink_; }

private:
    platform::SerialPortProvider& serialPorts_;
    platform::Clock& clock_;
    platform::MessagePump& pump_;
    platform::MessageBoxes& boxes_;
    TReaderLink realLink_;
    virtualboard::BoardEngine board_;
    virtualboard::VirtualSerialPortProvider virtualPorts_;
    std::unique_ptr<TReaderLink> virtualLink_;
    bool virtualUsed_ = false;
};

}  // namespace spectrel::app
