#pragma once
// The virtual board attached in-process: a serial port provider with a single port (by default "VIRTUAL")
// whose bytes go to and come from a BoardEngine, timed by a clock.
//
//     BoardEngine board;
//     testing::SimulatedClock clock;
//     VirtualSerialPortProvider ports(board, clock);      // or a real clock in the program
//     auto opened = ports.open("VIRTUAL");                   // any letter case
//
// The port is exclusive like a real one: a second open fails until the first is closed. Bytes the board
// sent while the port was closed are lost, as on a real line.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "virtualboard/BoardEngine.h"

namespace spectrel::virtualboard {

constexpr const char* kVirtualPortName = "VIRTUAL";

class VirtualSerialPortProvider : public platform::SerialPortProvider {
public:
    // Time in milliseconds from a platform clock (resolution 1 ms).
    VirtualSerialPortProvider(BoardEngine& board, platform::Clock& clock, std::string portName = kVirtualPortName);
    // Time in microseconds from any source (for example SimulatedClock::nowUs or a steady clock).
    VirtualSerialPortProvider(BoardEngine& board, std::function<double()> nowUs,
                              std::string portName = kVirtualPortName);
    ~VirtualSerialPortProvider() override;

    platform::OpenPortResult open(const std::string& name) override;
    std::vector<std::string> portNames() override { return {portName_}; }

    const std::string& portName() const { return portName_; }
    bool portIsOpen() const { return *open_; }
    BoardEngine& board() { return board_; }

private:
    BoardEngine& board_;
    std::function<double()> nowUs_;
    std::string portName_;
    std::shared_ptr<bool> open_;  // shared with the open port, which may outlive the provider
};

}  // namespace spectrel::virtualboard
