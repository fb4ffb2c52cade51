// The QSerialPort implementation on a pseudo-terminal made by the test: line settings, names, byte transparency.

#include "platform/qt/QtSerialPort.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <cstdlib>
#include <string>

namespace {

using spectrel::platform::qt::QtSerialPortProvider;

// The controlling side of a pseudo-terminal; the port under test opens its device path.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        const char* name = ptsname(master_);
        if (name) path_ = name;
    }
    ~PseudoTerminal() {
        if (master_ >= 0) ::close(master_);
    }
    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

    bool send(std::uint8_t byte) { return ::write(master_, &byte, 1) == 1; }
    // Waits up to `timeoutMs` for a byte from the port.
    bool receive(std::uint8_t& byte, int timeoutMs = 1000) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return false;
        return ::read(master_, &byte, 1) == 1;
    }

private:
    int master_ = -1;
    std::string path_;
};

bool ReadWithin(spectrel::platform::SerialPort& port, std::uint8_t& byte, int timeoutMs = 1000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (port.readByte(byte)) return true;
    }
    return false;
}

TEST(QtSerialPort, OpensAPseudoTerminalWithTheBoardsLineSettings) {
    PseudoTerminal pty;
    if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminals here";
    QtSerialPortProvider ports;
    auto opened = ports.open(pty.path());
    ASSERT_TRUE(opened.port) << opened.error;
    EXPECT_TRUE(opened.port->isOpen());

    const int fd = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    ::close(fd);
    EXPECT_EQ(cfgetispeed(&t), B9600);
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
}

TEST(QtSerialPort, PassesEveryByteUnchangedBothWays) {
    PseudoTerminal pty;
    if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminals here";
    QtSerialPortProvider ports;
    auto opened = ports.open(pty.path());
    ASSERT_TRUE(opened.port) << opened.error;
    auto& port = *opened.port;

    std::uint8_t byte = 0;
    EXPECT_FALSE(port.readByte(byte)) << "nothing sent yet";
    // Bytes a terminal would otherwise translate or act upon.
    for (std::uint8_t value : {0x00, 0x0D, 0x0A, 0x11, 0x13, 0x03, 0x7F, 0xFF}) {
        SCOPED_TRACE(static_cast<int>(value));
        ASSERT_TRUE(pty.send(value));
        ASSERT_TRUE(ReadWithin(port, byte));
        EXPECT_EQ(byte, value);
        ASSERT_TRUE(port.writeByte(value));
        ASSERT_TRUE(pty.receive(byte));
        EXPECT_EQ(byte, value);
    }
    EXPECT_FALSE(port.readByte(byte));
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.readByte(byte));
    EXPECT_FALSE(port.writeByte(0x00));
}

TEST(QtSerialPort, AcceptsANameRelativeToDev) {
    PseudoTerminal pty;
    if (!pty.ok() || pty.path().rfind("/dev/", 0) != 0) GTEST_SKIP() << "no pseudo-terminals under /dev here";
    QtSerialPortProvider ports;
    auto opened = ports.open(pty.path().substr(5));  // "pts/3", as ports are listed ("ttyUSB0")
    ASSERT_TRUE(opened.port) << opened.error;
    EXPECT_TRUE(opened.port->isOpen());
}

TEST(QtSerialPort, MissingPortIsAnErrorWithAReason) {
    QtSerialPortProvider ports;
    auto opened = ports.open("/dev/spectrel-no-such-port");
    EXPECT_FALSE(opened.port);
    EXPECT_FALSE(opened.error.empty());
}

}  // namespace
