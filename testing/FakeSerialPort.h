#pragma once
// A serial port and its provider on the simulated clock. The bytes the "board" sends are scripted with the
// time at which each becomes readable; every byte written is recorded with the time it was written.
//
//   SimulatedClock clock;
//   FakeSerialPort serial(clock);
//   serial.queueReply({{0x00, 5}});        // the next byte written is answered with 0x00 after 5 ms
//   serial.addStaleBytes(100);             // bytes already waiting in the input queue
//   serial.setOpenFails(true);             // open() reports an error
//   serial.setPermissionDenied("ttyUSB0", advice);  // this user may not open ttyUSB0

#include <cstdint>
#include <climits>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/SerialPort.h"
#include "testing/SimulatedClock.h"

namespace spectrel::testing {

// One byte of a reply and its delay after the byte written that it answers.
struct TimedByte {
    std::uint8_t byte;
    std::int64_t delayMs;
};

struct WrittenByte {
    std::uint8_t byte;
    std::int64_t atMs;
};

class FakeSerialPort : public platform::SerialPortProvider {
public:
    explicit FakeSerialPort(SimulatedClock& clock);
    ~FakeSerialPort() override;

    // --- provider
    // Opens unless the "open fails" knob is set or the port list is not empty and lacks `name` (exact
    // comparison, as device names are case-sensitive here).
    platform::OpenPortResult open(const std::string& name) override;
    std::vector<std::string> portNames() override { return portNames_; }
    void setPortNames(std::vector<std::string> names) { portNames_ = std::move(names); }
    void setOpenFails(bool fails, std::string error = "Device or resource busy");
    // `name` is there, but opening it fails as the system refuses a user without permission ("Permission
    // denied"), with `advice` as the system's advice; permission() reports it as well. An empty advice lifts it.
    void setPermissionDenied(const std::string& name, std::string advice);
    platform::PortPermission permission(const std::string& name) override;

    // --- scripting the board side
    // The reply to the next byte written that finds no earlier reply queued; delays count from that write.
    void queueReply(std::vector<TimedByte> reply);
    // Answers a written byte when no queued reply is left (empty result: no answer).
    void setResponder(std::function<std::vector<TimedByte>(std::uint8_t written)> responder);
    // Bytes readable from now on, as if they had been waiting in the driver's input queue.
    void addStaleBytes(int count, std::uint8_t value = 0x55);
    // A byte that becomes readable at an absolute time of the simulated clock.
    void scheduleByte(std::uint8_t byte, std::int64_t atMs);
    // Drops every byte not yet readable (a board that stops sending when the host writes to it).
    void dropPending();
    // When set, writes report that nothing was written (and record nothing).
    void setWriteFails(bool fails) { writeFails_ = fails; }
    // The device goes away at an absolute time of the simulated clock: from then on the open port reads and
    // writes nothing and reports `reason` as its failure.
    void goAwayAt(std::int64_t atMs, std::string reason = "Input/output error") {
        goneAtUs_ = atMs * 1000;
        goneReason_ = std::move(reason);
    }
    bool gone() const { return clock_.nowUs() >= goneAtUs_; }

    // --- what happened
    const std::vector<WrittenByte>& written() const { return written_; }
    std::vector<std::uint8_t> writtenBytes() const;
    const std::vector<std::string>& openedNames() const { return openedNames_; }
    int closeCount() const { return closes_; }
    bool isPortOpen() const { return open_; }
    // Bytes scheduled but not yet read (readable now or later).
    std::size_t pendingBytes() const { return incoming_.size(); }
    std::size_t readableBytes() const;

private:
    class Port;
    friend class Port;

    bool read(std::uint8_t& byte);
    bool write(std::uint8_t byte);
    void close();

    struct Incoming {
        std::uint8_t byte;
        std::int64_t atUs;
    };

    SimulatedClock& clock_;
    std::vector<std::string> portNames_;
    bool openFails_ = false;
    std::string openError_;
    std::vector<std::pair<std::string, std::string>> denied_;  // port name, advice
    bool writeFails_ = false;
    std::int64_t goneAtUs_ = INT64_MAX;
    std::string goneReason_;
    bool open_ = false;
    Port* current_ = nullptr;
    std::deque<Incoming> incoming_;  // ordered by time
    std::deque<std::vector<TimedByte>> replies_;
    std::function<std::vector<TimedByte>(std::uint8_t)> responder_;
    std::vector<WrittenByte> written_;
    std::vector<std::string> openedNames_;
    int closes_ = 0;
};

}  // namespace spectrel::testing
