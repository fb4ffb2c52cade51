#pragma once
// The virtual reader in the program: the in-process virtual board, reachable as the port "VIRTUAL" beside the
// machine's real serial ports, and the virtual remote whose keys the user presses on the board's behalf.
//
//     platform::qt::QtSerialPortProvider serialPorts;
//     platform::qt::QtClock clock;
//     TVirtualReader reader(serialPorts, clock);
//     TReaderLink link(reader.Ports(), clock, pump, boxes);   // "COM3", ..., "VIRTUAL"
//     TVirtualRemotePanel panel(reader, boxes);               // the keys of the virtual remote

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/VirtualPortList.h"
#include "virtualboard/VirtualRemote.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::virtualboard {

class TVirtualReader {
public:
    // `realPorts` and `clock` must outlive the reader; the board is timed by `clock`.
    TVirtualReader(platform::SerialPortProvider& realPorts, platform::Clock& clock);
    TVirtualReader(const TVirtualReader&) = delete;
    TVirtualReader& operator=(const TVirtualReader&) = delete;

    // The real ports followed by "VIRTUAL" (always last, always present); opening "VIRTUAL" in any letter case
    // reaches the virtual board, every other name goes to the real ports.
    platform::SerialPortProvider& Ports() { return ports_; }
    BoardEngine& Board() { return board_; }
    // The keys of the loaded virtual remote (a generated NEC remote at first) and the key held down.
    VirtualRemote& Remote() { return remote_; }

private:
    BoardEngine board_;
    VirtualSerialPortProvider virtualPorts_;
    VirtualPortList ports_;
    VirtualRemote remote_;
};

}  // namespace spectrel::virtualboard
