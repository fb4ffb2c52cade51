#include "virtualboard/VirtualSerialPort.h"

#include <algorithm>
#include <cctype>

namespace spectrel::virtualboard {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

class VirtualSerialPort : public platform::SerialPort {
public:
    VirtualSerialPort(BoardEngine& board, std::function<double()> nowUs, std::shared_ptr<bool> providerFlag)
        : board_(board), nowUs_(std::move(nowUs)), providerFlag_(std::move(providerFlag)) {}
    ~VirtualSerialPort() override { close(); }

    bool readByte(std::uint8_t& byte) override { return open_ && board_.read(byte, nowUs_()); }

    bool writeByte(std::uint8_t byte) override {
        if (!open_) return false;
        board_.receive(byte, nowUs_());
        return true;
    }

    bool isOpen() const override { return open_; }

    void close() override {
        if (!open_) return;
        open_ = false;
        *providerFlag_ = false;
    }

private:
    BoardEngine& board_;
    std::function<double()> nowUs_;
    std::shared_ptr<bool> providerFlag_;
    bool open_ = true;
};

}  // namespace

VirtualSerialPortProvider::VirtualSerialPortProvider(BoardEngine& board, platform::Clock& clock, std::string portName)
    : VirtualSerialPortProvider(
          board, [&clock] { return static_cast<double>(clock.nowMs()) * 1000.0; }, std::move(portName)) {}

VirtualSerialPortProvider::VirtualSerialPortProvider(BoardEngine& board, std::function<double()> nowUs,
                                                     std::string portName)
    : board_(board), nowUs_(std::move(nowUs)), portName_(std::move(portName)), open_(std::make_shared<bool>(false)) {}

VirtualSerialPortProvider::~VirtualSerialPortProvider() = default;

platform::OpenPortResult VirtualSerialPortProvider::open(const std::string& name) {
    platform::OpenPortResult result;
    if (upper(name) != upper(portName_)) {
        result.error = "No such port: " + name;
        return result;
    }
    if (*open_) {
        result.error = "Access denied: " + portName_ + " is already open";
        return result;
    }
    board_.discardReadable(nowUs_());
    *open_ = true;
    result.port = std::make_unique<VirtualSerialPort>(board_, nowUs_, open_);
    return result;
}

}  // namespace spectrel::virtualboard
