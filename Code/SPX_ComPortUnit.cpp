#include "Code/SPX_ComPortUnit.h"

#include <exception>

#include "Code/SPX_Assert.h"

namespace spectrel {

namespace {
constexpr const char* kModule = "Code/SPX_ComPortUnit";
constexpr const char* kNoPortObject = "Reader port used before OpenReaderPort";
}  // namespace

TReaderLink::TReaderLink(platform::SerialPortProvider& ports, platform::Clock& clock, platform::MessagePump& pump,
                         platform::MessageBoxes& boxes)
    : ports_(ports), clock_(clock), pump_(pump), boxes_(boxes) {}

TReaderLink::~TReaderLink() { CloseReaderPort(); }

TReaderPortOpenResult TReaderLink::OpenReaderPort() {
    portObject_ = true;
    if (port_ && port_->isOpen()) return {true, {}};
    port_.reset();
    platform::OpenPortResult opened;
    try {
        opened = ports_.open(portName_);
    } catch (const std::exception& e) {
        // A port layer that throws is treated like one that reports the failure.
        opened = {nullptr, e.what()};
    }
    if (!opened.port || !opened.port->isOpen()) {
        lastOpenError_ = opened.error.empty() ? "Cannot open " + portName_ : opened.error;
        lastOpenDenied_ = opened.permissionDenied;
        lastOpenAdvice_ = opened.permissionDenied ? opened.advice : std::string();
        port_.reset();
        return {false, lastOpenError_, lastOpenDenied_, lastOpenAdvice_};
    }
    lastOpenError_.clear();
    lastOpenDenied_ = false;
    lastOpenAdvice_.clear();
    port_ = std::move(opened.port);
    return {true, {}};
}

void TReaderLink::CloseReaderPort() {
    if (port_) port_->close();
    port_.reset();
    portObject_ = false;
}

bool TReaderLink::ReaderPortOpen() const { return portObject_ && port_ && port_->isOpen(); }

TReaderPortOpenResult TReaderLink::SetReaderPortName(const std::string& name) {
    if (name == portName_) return {true, {}};
    portName_ = name;
    if (!ReaderPortOpen()) return {true, {}};
    port_->close();
    port_.reset();
    return OpenReaderPort();
}

bool TReaderLink::PollReaderByte(std::uint8_t& byte) {
    SPX_ASSERT(portObject_, kNoPortObject, kModule);
    if (!ReaderPortOpen()) return false;
    return port_->readByte(byte);
}

bool TReaderLink::ReadReaderByte(std::uint8_t& byte) {
    SPX_ASSERT(portObject_, kNoPortObject, kModule);
    const std::int64_t entry = clock_.nowMs();
    while (clock_.nowMs() - entry < kByteTimeoutMs) {
        if (PollReaderByte(byte)) return true;
        // Nothing will come from a port that has failed; waiting would only hold the user up.
        if (port_ && !port_->failure().empty()) return false;
        pump_.pumpOnce();
    }
    return false;
}

std::string TReaderLink::ReaderPortFailure() const {
    if (!portObject_ || !port_) return {};
    return port_->failure();
}

std::string TReaderLink::ReaderLostMessage() const {
    return "Lost the connection to the reader on " + portName_ + ": " + ReaderPortFailure();
}

bool TReaderLink::SendReaderByte(std::uint8_t byte) {
    SPX_ASSERT(portObject_, kNoPortObject, kModule);
    if (!ReaderPortOpen()) return false;
    int stale = 0;
    std::uint8_t discarded = 0;
    while (PollReaderByte(discarded)) {
        if (++stale > kMaxStaleBytes) return false;
    }
    return port_->writeByte(byte);
}

int TReaderLink::DrainReader() {
    int discarded = 0;
    std::uint8_t byte = 0;
    while (PollReaderByte(byte)) ++discarded;
    return discarded;
}

void TReaderLink::WaitBriefly() {
    const std::int64_t entry = clock_.nowMs();
    while (clock_.nowMs() - entry < kBriefWaitMs) pump_.pumpOnce();
}

}  // namespace spectrel
