// The reader link over QSerialPort against a small board answering on a pseudo-terminal in real time.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "Code/SPX_ComPortUnit.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"

namespace {

using spectrel::TReaderLink;
using namespace spectrel::platform::qt;

// Answers reset and both version queries from a thread on the controlling side of a pseudo-terminal.
class AnsweringTerminal {
public:
    AnsweringTerminal(std::uint8_t first, std::uint8_t second, std::uint8_t resetReply)
        : first_(first), second_(second), resetReply_(resetReply) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        if (const char* name = ptsname(master_)) path_ = name;
        thread_ = std::thread([this] { serve(); });
    }
    ~AnsweringTerminal() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (master_ >= 0) ::close(master_);
    }
    const std::string& path() const { return path_; }

private:
    void serve() {
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || (p.revents & POLLIN) == 0) {
                // With nobody on the other side poll reports a hang-up at once; do not spin on it.
                if (p.revents & POLLHUP) ::usleep(5000);
                continue;
            }
            std::uint8_t command = 0;
            if (::read(master_, &command, 1) != 1) continue;
            std::uint8_t reply = 0;
            if (command == 0x00)
                reply = resetReply_;
            else if (command == 0x16)
                reply = second_;
            else if (command == 0x17)
                reply = first_;
            else
                continue;
            [[maybe_unused]] auto written = ::write(master_, &reply, 1);
        }
    }

    int master_ = -1;
    std::string path_;
    std::uint8_t first_, second_, resetReply_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(ReaderLinkOnPseudoTerminal, DetectsAnAnsweringBoard) {
    AnsweringTerminal board(1, 3, 0x00);
    if (board.path().empty()) GTEST_SKIP() << "no pseudo-terminals here";
    QtSerialPortProvider ports;
    QtClock clock;
    QtMessagePump pump;
    spectrel::testing::ScriptedMessageBoxes boxes;
    TReaderLink link(ports, clock, pump, boxes);
    link.SetReaderPortName(board.path());
    ASSERT_TRUE(link.OpenReaderPort().ok);
    EXPECT_TRUE(link.ResetReader());
    EXPECT_EQ(link.DetectReader().text(), "Reader 1.3");
    EXPECT_TRUE(link.ReaderVersion().detected);
}

TEST(ReaderLinkOnPseudoTerminal, ResetFailsWhenTheBoardAnswersWrongTwice) {
    AnsweringTerminal board(1, 3, 0x55);
    if (board.path().empty()) GTEST_SKIP() << "no pseudo-terminals here";
    QtSerialPortProvider ports;
    QtClock clock;
    QtMessagePump pump;
    spectrel::testing::ScriptedMessageBoxes boxes;
    TReaderLink link(ports, clock, pump, boxes);
    link.SetReaderPortName(board.path());
    ASSERT_TRUE(link.OpenReaderPort().ok);
    EXPECT_FALSE(link.ResetReader());
}

}  // namespace
