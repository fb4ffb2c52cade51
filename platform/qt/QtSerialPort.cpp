#include "platform/qt/QtSerialPort.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSerialPortInfo>

#include "platform/qt/SerialPermission.h"
#if defined(Q_OS_UNIX)
#include <poll.h>
#endif

namespace spectrel::platform::qt {

namespace {

using Line = SerialLineSettings;

constexpr const char* kDisconnected = "the device was disconnected";

class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(const std::string& name) { port_.setPortName(QString::fromStdString(name)); }
    ~QtSerialPort() override { close(); }

    // Opens with the board's line settings; returns the system's reason on failure.
    std::string open(QSerialPort::SerialPortError* failure) {
        port_.setBaudRate(Line::kBaudRate);
        port_.setDataBits(QSerialPort::Data8);
        port_.setParity(QSerialPort::NoParity);
        port_.setStopBits(QSerialPort::OneStop);
        port_.setFlowControl(QSerialPort::NoFlowControl);
        port_.setReadBufferSize(Line::kQueueSize);
        if (!port_.open(QIODevice::ReadWrite)) {
            *failure = port_.error();
            std::string reason = port_.errorString().toStdString();
            return reason.empty() ? "Cannot open " + port_.portName().toStdString() : reason;
        }
        // The board's lines are held inactive. A pseudo-terminal has no modem lines; that is not an error.
        port_.setDataTerminalReady(Line::kDtr);
        port_.setRequestToSend(Line::kRts);
        port_.clearError();
        return {};
    }

    bool readByte(std::uint8_t& byte) override {
        if (!port_.isOpen()) return false;
        // Lets the port take in what the driver holds, without waiting for more.
        if (port_.bytesAvailable() == 0) port_.waitForReadyRead(0);
        char c = 0;
        if (port_.bytesAvailable() == 0 || !port_.getChar(&c)) return false;
        byte = static_cast<std::uint8_t>(c);
        return true;
    }

    bool writeByte(std::uint8_t byte) override {
        if (!port_.isOpen()) return false;
        const char c = static_cast<char>(byte);
        if (port_.write(&c, 1) != 1) return false;
        QDeadlineTimer deadline(Line::kWriteTimeoutPerByteMs + Line::kWriteTimeoutConstantMs);
        while (port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
            if (!port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) break;
        }
        if (port_.bytesToWrite() > 0) {
            // Not written within the time-out: it is not sent later either.
            port_.clear(QSerialPort::Output);
            return false;
        }
        return true;
    }

    bool isOpen() const override { return port_.isOpen(); }

    // A device that went away (a USB adapter pulled, the far end of a pseudo-terminal closed): Qt reports some
    // of these as a resource error; on Unix the terminal is hung up, which a poll of its descriptor shows.
    std::string failure() const override {
        if (!port_.isOpen()) return {};
        if (port_.error() == QSerialPort::ResourceError) {
            const std::string reason = port_.errorString().toStdString();
            return reason.empty() ? std::string(kDisconnected) : reason;
        }
#if defined(Q_OS_UNIX)
        pollfd descriptor{static_cast<int>(port_.handle()), POLLIN, 0};
        if (::poll(&descriptor, 1, 0) > 0 && (descriptor.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            return kDisconnected;
#endif
        return {};
    }

    void close() override {
        if (!port_.isOpen()) return;
        port_.clear(QSerialPort::AllDirections);
        port_.close();
    }

private:
    QSerialPort port_;
};

}  // namespace

OpenPortResult QtSerialPortProvider::open(const std::string& name) {
    auto port = std::make_unique<QtSerialPort>(name);
    QSerialPort::SerialPortError failure = QSerialPort::NoError;
    std::string error = port->open(&failure);
    if (error.empty()) return {std::move(port), {}};
    OpenPortResult result{nullptr, std::move(error)};
    // The same error stands for a port held by another program; only the device file's permissions tell.
    if (failure == QSerialPort::PermissionError) {
        const PortPermission refused = CheckPortPermission(name);
        result.permissionDenied = refused.denied;
        result.advice = refused.advice;
    }
    return result;
}

PortPermission QtSerialPortProvider::permission(const std::string& name) { return CheckPortPermission(name); }

std::vector<std::string> QtSerialPortProvider::portNames() {
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names.push_back(info.portName().toStdString());
    return names;
}

}  // namespace spectrel::platform::qt
