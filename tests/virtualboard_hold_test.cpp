// A key held down for as long as the user likes: the board plays the press until it is released, and what it
// sends is what a press held that long sends. The virtual remote hands a held key to the capture that hears it.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/virtualboard_host.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualRemote.h"

namespace spectrel::virtualboard {
namespace {

using test::BoardHost;

// Reads the capture stream of a press held "until released", releasing it `releaseAfterUs` after its first mark.
std::vector<std::uint8_t> CaptureReleased(BoardHost& host, const IrSignal& signal, double releaseAfterUs) {
    host.board.queuePress({signal, BoardEngine::kMaxPressUs});
    host.port->writeByte(reader_command::kStartCapture);
    if (host.read() != reader_command::kCaptureAcknowledge) return {};
    const double releaseUs = host.board.lastPress().front().startUs + releaseAfterUs;
    std::vector<std::uint8_t> stream;
    while (static_cast<double>(host.clock.nowUs()) < releaseUs) {
        if (auto b = host.read(1)) stream.push_back(*b);
    }
    host.board.releasePress(static_cast<double>(host.clock.nowUs()));
    for (const test::TimedByte& b : host.readUntilSilent(400)) stream.push_back(b.value);
    return stream;
}

struct ReleaseCase {
    const char* name;
    IrSignal signal;
    double releaseAfterUs;
    double jitterUs;
    int frames;  // played: bursts after a silence of more than 10 ms start a frame
};

int FramesPlayed(const std::vector<PlayedBurst>& bursts) {
    int frames = bursts.empty() ? 0 : 1;
    for (std::size_t i = 1; i < bursts.size(); ++i) frames += bursts[i].startUs - bursts[i - 1].endUs > 10'000;
    return frames;
}

// Frames start every 108 ms (NEC), 114 ms (RC5), 45 ms (SIRC, which sends three at least), 60 ms (Flash-16); a
// repeat part that began before the release is sent whole.
TEST(VirtualBoardHeldKey, AReleasedPressSendsWhatAPressHeldThatLongSends) {
    const ReleaseCase cases[] = {
        {"NEC released before its first repeat", necSignal(0x04, 0x08), 50'000, 0, 1},
        {"NEC released inside its third repeat frame", necSignal(0x04, 0x08), 330'000, 0, 4},
        {"NEC held 2 s", necSignal(0x04, 0x08), 2'000'000, 0, 19},
        {"RC5 released after its second frame began", rc5Signal(5, 12, false), 150'000, 0, 2},
        {"SIRC-12 held 300 ms", sirc12Signal(1, 21), 300'000, 0, 7},
        {"Flash-16 with jitter", flashSignal(0x12, 0x34), 170'000, 20, 3},
        {"released before its first mark: the frame alone", necSignal(0x04, 0x08), -50'000, 0, 1},
    };
    for (const ReleaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        BoardConfig config;
        config.faults.jitterUs = c.jitterUs;
        BoardHost released(config);
        const std::vector<std::uint8_t> stream = CaptureReleased(released, c.signal, c.releaseAfterUs);
        EXPECT_EQ(FramesPlayed(released.board.lastPress()), c.frames);

        BoardHost held(config);
        const std::vector<std::uint8_t> expected =
            BoardHost::values(held.capture({c.signal, std::max(1.0, c.releaseAfterUs)}));
        EXPECT_EQ(stream, expected);
        ASSERT_FALSE(stream.empty());
        EXPECT_EQ(stream.back(), stream_code::kEndOfData);
    }
}

TEST(VirtualBoardHeldKey, AReleaseOutsideTheCaptureChangesNothing) {
    BoardHost host;
    host.board.releasePress(static_cast<double>(host.clock.nowUs()));  // no capture at all
    const std::vector<std::uint8_t> expected = BoardHost::values(host.capture({necSignal(0x04, 0x08), 250'000}));
    // After the end of data, and after the host's reset, a release is too late.
    host.board.releasePress(static_cast<double>(host.clock.nowUs()));
    BoardHost fresh;
    EXPECT_EQ(BoardHost::values(fresh.capture({necSignal(0x04, 0x08), 250'000})), expected);
    EXPECT_EQ(host.ask(reader_command::kReset), 0x00);
    host.board.releasePress(static_cast<double>(host.clock.nowUs()));
    std::uint8_t byte = 0;
    EXPECT_FALSE(host.port->readByte(byte));
}

TEST(VirtualRemote, TheBuiltInRemoteSendsADifferentNecCodePerKey) {
    const std::vector<IrSignal> keys = builtInNecRemote();
    ASSERT_EQ(keys.size(), 24u);
    std::set<std::string> names;
    std::set<std::vector<double>> codes;
    for (const IrSignal& key : keys) {
        names.insert(key.name);
        codes.insert(key.once);
        EXPECT_EQ(key.carrierHz, 38'000) << key.name;
        EXPECT_EQ(key.once.size(), 68u) << key.name;  // header, 32 bits, stop bit and the gap after it
        EXPECT_FALSE(key.repeat.empty()) << key.name;
    }
    EXPECT_EQ(names.size(), keys.size());
    EXPECT_EQ(codes.size(), keys.size());
    for (const char* name :
         {"Power", "0", "9", "Vol+", "Vol-", "Ch+", "Ch-", "Mute", "Menu", "OK", "Up", "Down", "Left", "Right"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }
}

struct RemoteCase {
    const char* name;
    bool pressBeforeCapture;
    bool releaseBeforeCapture;
    bool heard;
};

TEST(VirtualRemote, AHeldKeyIsHeardByTheCaptureThatListens) {
    const RemoteCase cases[] = {
        {"pressed while the capture waits", false, false, true},
        {"held when the capture starts", true, false, true},
        {"pressed and let go before the capture", true, true, false},
    };
    for (const RemoteCase& c : cases) {
        SCOPED_TRACE(c.name);
        BoardHost host;
        VirtualRemote remote(host.board, [&host] { return static_cast<double>(host.clock.nowUs()); });
        if (c.pressBeforeCapture) {
            EXPECT_TRUE(remote.press("Power"));
        }
        if (c.releaseBeforeCapture) remote.release();
        host.port->writeByte(reader_command::kStartCapture);
        ASSERT_EQ(host.read(), reader_command::kCaptureAcknowledge);
        if (!c.pressBeforeCapture) {
            EXPECT_TRUE(host.board.waitingForPress());
            EXPECT_TRUE(remote.press("Power"));
        }
        EXPECT_EQ(remote.heard(), c.heard);
        EXPECT_EQ(host.board.waitingForPress(), !c.heard);
        host.clock.advanceMs(400);
        remote.release();
        EXPECT_FALSE(remote.held());
        const std::vector<std::uint8_t> stream = BoardHost::values(host.readUntilSilent(400));
        EXPECT_EQ(!stream.empty(), c.heard);
        EXPECT_EQ(host.board.queuedPresses(), 0u);
    }
}

TEST(VirtualRemote, ABadFileKeepsTheKeys) {
    BoardHost host;
    VirtualRemote remote(host.board, [&host] { return static_cast<double>(host.clock.nowUs()); });
    const std::string data = SPECTREL_SOURCE_DIR "/tests/data/";
    const RemoteLoadResult bad = remote.loadFile(data + "virtualboard_truncated.ir");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message.rfind(data + "virtualboard_truncated.ir:", 0), 0u) << bad.message;
    EXPECT_EQ(remote.title(), "Built-in NEC remote");
    EXPECT_EQ(remote.keys(), builtInNecRemote());

    const RemoteLoadResult good = remote.loadFile(data + "virtualboard_codes.txt");
    EXPECT_TRUE(good.ok) << good.message;
    EXPECT_EQ(remote.title(), "virtualboard_codes.txt");
    ASSERT_EQ(remote.keys().size(), 4u);
    EXPECT_EQ(remote.keys()[3].name, "Mute");
    EXPECT_FALSE(remote.press("Power_missing"));
    EXPECT_TRUE(remote.press(3));
    EXPECT_EQ(remote.heldKey(), "Mute");
}

}  // namespace
}  // namespace spectrel::virtualboard
