// spectrel-virtual-board: the virtual reader board served on a pseudo-terminal, so that the program's real
// serial port code can talk to it. Prints the device path of the terminal as the first line of output, then
// serves the board on the real clock until killed or until its standard input ends.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "virtualboard/BoardEngine.h"
#include "virtualboard/BoardOptions.h"

namespace {

using spectrel::virtualboard::BoardEngine;

constexpr int kMaxPollMs = 100;

double nowUs() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

int fail(const std::string& what) {
    std::fprintf(stderr, "spectrel-virtual-board: %s: %s\n", what.c_str(), std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = spectrel::virtualboard::parseBoardOptions(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "spectrel-virtual-board: %s\n", parsed.message.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(spectrel::virtualboard::boardOptionsHelp("spectrel-virtual-board").c_str(), stdout);
        return 0;
    }
    for (const std::string& note : parsed.notes) std::fprintf(stderr, "spectrel-virtual-board: %s\n", note.c_str());
    if (parsed.options.print) {
        // A signal file of the playlist, which spectrel-cli learn and --signal read back.
        for (std::size_t i = 0; i < parsed.options.playlist.size(); ++i) {
            const std::string line = parsed.options.playlistNames[i] + ": " +
                                     spectrel::virtualboard::formatSignal(parsed.options.playlist[i]()) + "\n";
            std::fputs(line.c_str(), stdout);
        }
        return 0;
    }

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return fail("posix_openpt");
    if (grantpt(master) != 0 || unlockpt(master) != 0) return fail("grantpt/unlockpt");
    const char* name = ptsname(master);
    if (name == nullptr) return fail("ptsname");
    const std::string slavePath = name;

    // Raw mode on the terminal, and a descriptor of our own on the slave side so that the master keeps
    // working while no program has the port open.
    const int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) return fail("open " + slavePath);
    termios tio{};
    if (tcgetattr(slave, &tio) != 0) return fail("tcgetattr");
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (tcsetattr(slave, TCSANOW, &tio) != 0) return fail("tcsetattr");
    const int flags = fcntl(master, F_GETFL);
    fcntl(master, F_SETFL, flags | O_NONBLOCK);

    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    BoardEngine board(parsed.options.config);
    board.setPressSource(spectrel::virtualboard::playlistPressSource(parsed.options));

    std::deque<std::uint8_t> unsent;  // bytes the terminal would not take yet
    bool stdinOpen = true;
    for (;;) {
        const double now = nowUs();
        std::uint8_t byte = 0;
        while (board.read(byte, now)) unsent.push_back(byte);
        while (!unsent.empty()) {
            const ssize_t n = write(master, &unsent.front(), 1);
            if (n == 1) {
                unsent.pop_front();
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                break;  // the terminal is full; try again later
            }
        }

        int timeoutMs = kMaxPollMs;
        if (auto next = board.nextByteTime()) {
            const double waitMs = std::ceil((*next - nowUs()) / 1000.0);
            timeoutMs = std::min(timeoutMs, std::max(0, static_cast<int>(waitMs)));
        }
        // While the terminal is full, wait until it takes bytes again.
        const short masterEvents = unsent.empty() ? POLLIN : static_cast<short>(POLLIN | POLLOUT);
        pollfd fds[2] = {{master, masterEvents, 0}, {STDIN_FILENO, POLLIN, 0}};
        const nfds_t count = stdinOpen && !parsed.options.untilKilled ? 2 : 1;
        const int ready = poll(fds, count, timeoutMs);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return fail("poll");
        }
        if (fds[0].revents & POLLIN) {
            std::uint8_t in[256];
            const ssize_t n = read(master, in, sizeof in);
            const double at = nowUs();
            for (ssize_t i = 0; i < n; ++i) board.receive(in[i], at);
        }
        if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            char sink[256];
            const ssize_t n = read(STDIN_FILENO, sink, sizeof sink);
            if (n <= 0) break;  // standard input ended
        }
    }
    close(slave);
    close(master);
    return 0;
}
