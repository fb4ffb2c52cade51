#include "testing/FakeSerialPort.h"

#include <algorithm>

namespace spectrel::testing {

// The handle the provider hands out; it forwards to the shared state of the fake.
class FakeSerialPort::Port : public platform::SerialPort {
public:
    explicit Port(FakeSerialPort& owner) : owner_(&owner) {}
    ~Port() override { close(); }
    bool readByte(std::uint8_t& byte) override { return owner_ && owner_->read(byte); }
    bool writeByte(std::uint8_t byte) override { return owner_ && owner_->write(byte); }
    bool isOpen() const override { return owner_ && owner_->open_; }
    std::string failure() const override { return owner_ && owner_->gone() ? owner_->goneReason_ : std::string(); }
    void close() override {
        if (!owner_) return;
        owner_->close();
        owner_ = nullptr;
    }
    void detach() { owner_ = nullptr; }

private:
    FakeSerialPort* owner_;
};

FakeSerialPort::FakeSerialPort(SimulatedClock& clock) : clock_(clock) {}

FakeSerialPort::~FakeSerialPort() {
    if (current_) current_->detach();
}

platform::OpenPortResult FakeSerialPort::open(const std::string& name) {
    openedNames_.push_back(name);
    if (openFails_) return {nullptr, openError_};
    if (const platform::PortPermission refused = permission(name); refused.denied)
        return {nullptr, "Permission denied", true, refused.advice};
    if (!portNames_.empty() && std::find(portNames_.begin(), portNames_.end(), name) == portNames_.end())
        return {nullptr, "No such file or directory"};
    if (open_) return {nullptr, "Device or resource busy"};
    auto port = std::make_unique<Port>(*this);
    current_ = port.get();
    open_ = true;
    return {std::move(port), {}};
}

void FakeSerialPort::setPermissionDenied(const std::string& name, std::string advice) {
    std::erase_if(denied_, [&](const auto& entry) { return entry.first == name; });
    if (!advice.empty()) denied_.emplace_back(name, std::move(advice));
}

platform::PortPermission FakeSerialPort::permission(const std::string& name) {
    for (const auto& [port, advice] : denied_)
        if (port == name) return {true, advice};
    return {};
}

void FakeSerialPort::setOpenFails(bool fails, std::string error) {
    openFails_ = fails;
    openError_ = std::move(error);
}

void FakeSerialPort::queueReply(std::vector<TimedByte> reply) { replies_.push_back(std::move(reply)); }

void FakeSerialPort::setResponder(std::function<std::vector<TimedByte>(std::uint8_t)> responder) {
    responder_ = std::move(responder);
}

void FakeSerialPort::addStaleBytes(int count, std::uint8_t value) {
    for (int i = 0; i < count; ++i) scheduleByte(value, clock_.nowMs());
}

void FakeSerialPort::scheduleByte(std::uint8_t byte, std::int64_t atMs) {
    const Incoming in{byte, atMs * 1000};
    // Keep the queue in time order; bytes due at the same time keep the order they were scheduled in.
    auto pos = std::upper_bound(incoming_.begin(), incoming_.end(), in,
                                [](const Incoming& a, const Incoming& b) { return a.atUs < b.atUs; });
    incoming_.insert(pos, in);
}

void FakeSerialPort::dropPending() {
    const std::int64_t now = clock_.nowUs();
    while (!incoming_.empty() && incoming_.back().atUs > now) incoming_.pop_back();
}

std::vector<std::uint8_t> FakeSerialPort::writtenBytes() const {
    std::vector<std::uint8_t> bytes;
    for (const auto& w : written_) bytes.push_back(w.byte);
    return bytes;
}

std::size_t FakeSerialPort::readableBytes() const {
    return static_cast<std::size_t>(std::count_if(incoming_.begin(), incoming_.end(),
                                                  [&](const Incoming& in) { return in.atUs <= clock_.nowUs(); }));
}

bool FakeSerialPort::read(std::uint8_t& byte) {
    if (!open_ || gone() || incoming_.empty() || incoming_.front().atUs > clock_.nowUs()) return false;
    byte = incoming_.front().byte;
    incoming_.pop_front();
    return true;
}

bool FakeSerialPort::write(std::uint8_t byte) {
    if (!open_ || writeFails_ || gone()) return false;
    const std::int64_t now = clock_.nowMs();
    written_.push_back({byte, now});
    std::vector<TimedByte> reply;
    if (!replies_.empty()) {
        reply = std::move(replies_.front());
        replies_.pop_front();
    } else if (responder_) {
        reply = responder_(byte);
    }
    for (const TimedByte& b : reply) scheduleByte(b.byte, now + b.delayMs);
    return true;
}

void FakeSerialPort::close() {
    if (!open_) return;
    open_ = false;
    current_ = nullptr;
    ++closes_;
}

}  // namespace spectrel::testing
