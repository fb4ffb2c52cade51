#pragma once
// A minimal host for the virtual board tests: the board attached in-process on a simulated clock, with
// byte reads that wait the way the reader link does (170 ms, the clock advancing 1 ms per pump).

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Code/SPX_CaptureStream.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/IrSignal.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::virtualboard::test {

struct TimedByte {
    std::uint8_t value;
    std::int64_t atUs;
};

// The time from a mark's start to its last counted carrier cycle: the first cycle comes at the start and one
// every carrier period while the mark lasts, floor(mark × frequency) periods in all. Without carrier the mark's
// single edge counts, and the burst ends with the mark.
inline double lastCycleUs(double markUs, const IrSignal& signal) {
    if (signal.carrierHz <= 0) return markUs;
    return std::floor(markUs * signal.carrierHz / 1e6) * 1e6 / signal.carrierHz;
}

// The marks and spaces of `train` as the host times them: each burst end is reported `lateUs` after the mark's
// last counted cycle, so a mark reads that long and the space after it the rest.
inline std::vector<double> reportedTrain(const std::vector<double>& train, const IrSignal& signal, double lateUs) {
    std::vector<double> reported = train;
    for (std::size_t i = 0; i < train.size(); i += 2) {
        const double shift = lastCycleUs(train[i], signal) + lateUs - train[i];
        reported[i] += shift;
        if (i + 1 < train.size()) reported[i + 1] -= shift;
    }
    return reported;
}

// A capture stream decoded with the host's decoder, and the marks and spaces between its records.
struct DecodedCapture {
    std::vector<CaptureRecord> records;
    bool incomplete = false;          // the stream ended inside a record
    bool endOfData = false;           // ended with the end-of-data code
    bool wrapped = false;             // a timestamp was below the one before it
    std::vector<double> durationsUs;  // burst, pause, burst, ... from the burst starts and ends
    std::vector<std::uint16_t> cycles;
};

inline DecodedCapture decodeStream(const std::vector<std::uint8_t>& stream) {
    DecodedCapture out;
    CaptureStreamDecoder decoder;
    decoder.reset();
    for (std::uint8_t b : stream) {
        CaptureRecord record;
        if (decoder.push(b, record)) out.records.push_back(record);
    }
    out.incomplete = decoder.inRecord();
    std::uint32_t previous = 0;
    bool first = true;
    for (const CaptureRecord& r : out.records) {
        if (r.kind == CaptureRecordKind::EndOfData) {
            out.endOfData = true;
            break;
        }
        if (r.kind == CaptureRecordKind::Erratic) break;
        if (!first) {
            if (r.timestamp < previous) out.wrapped = true;
            const std::int64_t delta = (static_cast<std::int64_t>(r.timestamp) - previous) & 0xFFFFFF;
            out.durationsUs.push_back(static_cast<double>(delta) / 2.0);
        }
        if (r.kind == CaptureRecordKind::BurstEnd) out.cycles.push_back(r.carrierCycles);
        previous = r.timestamp;
        first = false;
    }
    return out;
}

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

    static std::vector<std::uint8_t> values(const std::vector<TimedByte>& bytes) {
        std::vector<std::uint8_t> out;
        for (const TimedByte& b : bytes) out.push_back(b.value);
        return out;
    }

    // Queues the press, starts a capture and reads the stream (without the acknowledge) until it falls silent.
    std::vector<TimedByte> capture(KeyPress press, std::int64_t silenceMs = 400) {
        board.queuePress(std::move(press));
        port->writeByte(reader_command::kStartCapture);
        if (read() != reader_command::kCaptureAcknowledge) return {};
        return readUntilSilent(silenceMs);
    }

    testing::SimulatedClock clock;
    BoardEngine board;
    VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
    std::unique_ptr<platform::SerialPort> port;
};

}  // namespace spectrel::virtualboard::test
