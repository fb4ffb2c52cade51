#pragma once
// A minimal host for the virtual board tests: the board attached in-process on a simulated clock, with
// byte reads that wait the way the reader link does (170 ms, the clock advancing 1 ms per pump).

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::virtualboard::test {

struct TimedByte {
    std::uint8_t value;
    std::int64_t atUs;
};

class BoardHost {
public:
    explicit BoardHost(BoardConfig config = {}) : board(std::move(config)) {
        auto opened = ports.open(kVirtualPortName);
        port = std::move(opened.port);
    }

    std::optional<std::uint8_t> read(std::int64_t timeoutMs = 170) {
        const std::int64_t start = clock.nowMs();
        std::uint8_t byte = 0;
        while (!port->readByte(byte)) {
            if (clock.nowMs() - start >= timeoutMs) return std::nullopt;
            clock.pumpOnce();
        }
        return byte;
    }

    std::optional<std::uint8_t> ask(std::uint8_t command, std::int64_t timeoutMs = 170) {
        port->writeByte(command);
        return read(timeoutMs);
    }

    // Reads until `silenceMs` pass without a byte; every byte with the time it was read.
    std::vector<TimedByte> readUntilSilent(std::int64_t silenceMs) {
        std::vector<TimedByte> bytes;
        while (auto b = read(silenceMs)) bytes.push_back({*b, clock.nowUs()});
        return bytes;
    }

    std::vector<std::uint8_t> values(const std::vector<TimedByte>& bytes) {
        std::vector<std::uint8_t> out;
        for (const TimedByte& b : bytes) out.push_back(b.value);
        return out;
    }

    testing::SimulatedClock clock;
    BoardEngine board;
    VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
    std::unique_ptr<platform::SerialPort> port;
};

}  // namespace spectrel::virtualboard::test
