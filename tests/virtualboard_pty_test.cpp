// The spectrel-virtual-board program: the board on a real pseudo-terminal, talked to through the terminal
// device it prints, in real time. Skipped when the program is not built beside the tests.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/virtualboard_host.h"

namespace spectrel::virtualboard {
namespace {

// The board program is built with the tests (the test program depends on it).
std::filesystem::path boardProgram() { return SPECTREL_BOARD_PATH; }

// Runs the program with pipes on its standard input, output and error; ends it by closing its input.
class BoardProcess {
public:
    explicit BoardProcess(const std::vector<std::string>& args) {
        int in[2], out[2], err[2];
        if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return;
        const std::string program = boardProgram().string();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        stdin_ = in[1];
        stdout_ = out[0];
        stderr_ = err[0];
    }

    ~BoardProcess() {
        closeInput();
        if (pid_ > 0 && !exitCode_) {
            if (!waitForExit(3000)) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
        for (int fd : {stdout_, stderr_, terminal_}) {
            if (fd >= 0) close(fd);
        }
    }

    // The first line of standard output, read within `timeoutMs`.
    std::string firstLine(int timeoutMs = 5000) {
        std::string line;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{stdout_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            char c = 0;
            if (read(stdout_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return {};
    }

    std::string errors() {
        std::string text;
        char buffer[256];
        pollfd p{stderr_, POLLIN, 0};
        while (poll(&p, 1, 0) > 0) {
            const ssize_t n = read(stderr_, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    void closeInput() {
        if (stdin_ >= 0) close(stdin_);
        stdin_ = -1;
    }

    bool waitForExit(int timeoutMs) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    std::optional<int> exitCode() const { return exitCode_; }

    // Opens the terminal device in raw mode.
    bool openTerminal(const std::string& path) {
        terminal_ = open(path.c_str(), O_RDWR | O_NOCTTY);
        if (terminal_ < 0) return false;
        termios tio{};
        tcgetattr(terminal_, &tio);
        cfmakeraw(&tio);
        return tcsetattr(terminal_, TCSANOW, &tio) == 0;
    }

    std::optional<std::uint8_t> readByte(int timeoutMs = 500) {
        pollfd p{terminal_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
        std::uint8_t b = 0;
        if (read(terminal_, &b, 1) != 1) return std::nullopt;
        return b;
    }

    std::optional<std::uint8_t> ask(std::uint8_t command) {
        if (write(terminal_, &command, 1) != 1) return std::nullopt;
        return readByte();
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    int terminal_ = -1;
    std::optional<int> exitCode_;
};

class VirtualBoardPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(boardProgram())) << boardProgram() << " is missing";
    }
};

TEST_F(VirtualBoardPty, PrintsTheDeviceAndServesTheBoard) {
    BoardProcess board({});
    const std::string path = board.firstLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << "first line: \"" << path << "\" " << board.errors();
    ASSERT_TRUE(board.openTerminal(path));
    EXPECT_EQ(board.ask(reader_command::kReset), 0x00);
    EXPECT_EQ(board.ask(reader_command::kQueryFirstVersion), 1);
    EXPECT_EQ(board.ask(reader_command::kQuerySecondVersion), 3);
    ASSERT_EQ(board.ask(reader_command::kStartCapture), reader_command::kCaptureAcknowledge);
    std::vector<std::uint8_t> stream;
    while (auto b = board.readByte(1000)) {
        stream.push_back(*b);
        if (*b == 0x00 && test::decodeStream(stream).endOfData) break;
    }
    const auto decoded = test::decodeStream(stream);
    EXPECT_TRUE(decoded.endOfData);
    // By default one NEC frame held 250 ms: the frame and two repeat frames of two bursts each.
    EXPECT_EQ(decoded.durationsUs.size(), 2u * (34 + 2 + 2) - 1);
    EXPECT_EQ(board.ask(reader_command::kReset), 0x00);
    board.closeInput();
    EXPECT_TRUE(board.waitForExit(3000)) << "ends when its input ends";
    EXPECT_EQ(board.exitCode(), 0);
}

TEST_F(VirtualBoardPty, OptionsSetVersionsAndFaults) {
    BoardProcess board({"--version", "2.7", "--bad-reset", "1"});
    const std::string path = board.firstLine();
    ASSERT_FALSE(path.empty()) << board.errors();
    ASSERT_TRUE(board.openTerminal(path));
    EXPECT_EQ(board.ask(reader_command::kReset), 0x55);
    EXPECT_EQ(board.ask(reader_command::kReset), 0x00);
    EXPECT_EQ(board.ask(reader_command::kQueryFirstVersion), 2);
    EXPECT_EQ(board.ask(reader_command::kQuerySecondVersion), 7);
}

TEST_F(VirtualBoardPty, BadOptionIsReportedWithoutATerminal) {
    BoardProcess board({"--jitter", "lots"});
    EXPECT_TRUE(board.firstLine(3000).empty());
    ASSERT_TRUE(board.waitForExit(3000));
    EXPECT_EQ(board.exitCode(), 2);
    EXPECT_NE(board.errors().find("--jitter"), std::string::npos);
}

}  // namespace
}  // namespace spectrel::virtualboard
