// Faults of the virtual board's capture stream on demand, and the timing of what it sends.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/virtualboard_host.h"
#include "virtualboard/Generators.h"

namespace spectrel::virtualboard {
namespace {

using test::BoardHost;
using test::decodeStream;

constexpr std::size_t kNecFrameRecords = 2 * 34;  // header, 32 bits, stop bit

std::vector<std::uint8_t> captureBytes(BoardConfig config, KeyPress press) {
    BoardHost host(std::move(config));
    return BoardHost::values(host.capture(std::move(press)));
}

struct ErraticCase {
    const char* name;
    int beforeRecord;
    std::uint8_t code;
};

class VirtualBoardErraticCode : public ::testing::TestWithParam<ErraticCase> {};

TEST_P(VirtualBoardErraticCode, ArrivesJustBeforeTheRecord) {
    BoardConfig config;
    config.faults.erraticBeforeRecord = GetParam().beforeRecord;
    config.faults.erraticCode = GetParam().code;
    const auto decoded = decodeStream(captureBytes(config, {necSignal(1, 2), 0}));
    const auto at = static_cast<std::size_t>(GetParam().beforeRecord);
    ASSERT_GT(decoded.records.size(), at);
    const CaptureRecord& r = decoded.records[at];
    EXPECT_EQ(r.code, GetParam().code);
    EXPECT_NE(r.kind, CaptureRecordKind::BurstStart);
    EXPECT_NE(r.kind, CaptureRecordKind::BurstEnd);
    for (std::size_t i = 0; i < at; ++i) {
        EXPECT_EQ(decoded.records[i].kind, i % 2 == 0 ? CaptureRecordKind::BurstStart : CaptureRecordKind::BurstEnd);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VirtualBoardErraticCode,
                         ::testing::Values(ErraticCase{"EndOfDataBeforeAnyBurst", 0, 0x00},
                                           ErraticCase{"InTheMiddle", 5, 0x33}, ErraticCase{"HighValue", 1, 0x80},
                                           ErraticCase{"BeforeLastRecord", kNecFrameRecords - 1, 0x5F}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VirtualBoardMissingByte, LastRecordOfAPressStaysIncomplete) {
    BoardConfig config;
    config.endOfDataSilenceUs.reset();  // nothing follows that the host could take for the missing byte
    config.faults.missingByteInRecord = kNecFrameRecords - 1;
    const auto decoded = decodeStream(captureBytes(config, {necSignal(1, 2), 0}));
    EXPECT_TRUE(decoded.incomplete);
    EXPECT_EQ(decoded.records.size(), kNecFrameRecords - 1);
}

TEST(VirtualBoardMissingByte, LeavesOutExactlyTheLastByteOfTheRecord) {
    const KeyPress press{rc5Signal(3, 4, false), 0};
    const auto clean = captureBytes({}, press);
    BoardConfig config;
    config.faults.missingByteInRecord = 6;
    const auto faulty = captureBytes(config, press);
    // Where record 6 ends in the clean stream.
    const auto decoded = decodeStream(clean);
    ASSERT_GT(decoded.records.size(), 7u);
    std::size_t offset = 0;
    for (int i = 0; i <= 6; ++i) {
        const std::uint8_t code = decoded.records[static_cast<std::size_t>(i)].code;
        offset += code == 0x20 ? 4 : code == 0x21 ? 6 : 3;
    }
    std::vector<std::uint8_t> expected = clean;
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(offset - 1));
    EXPECT_EQ(faulty, expected);
}

TEST(VirtualBoardMissedCarry, OneTimestampIs4096CountsLow) {
    const KeyPress press{necSignal(0x12, 0x34), 0};
    const auto clean = decodeStream(captureBytes({}, press));
    BoardConfig config;
    config.faults.missedCarryRecord = 9;
    const auto faulty = decodeStream(captureBytes(config, press));
    ASSERT_EQ(faulty.records.size(), clean.records.size());
    for (std::size_t i = 0; i < clean.records.size(); ++i) {
        const std::uint32_t expected =
            i == 9 ? (clean.records[i].timestamp + 0x1000000 - 4096) & 0xFFFFFF : clean.records[i].timestamp;
        EXPECT_EQ(faulty.records[i].timestamp, expected) << "record " << i;
    }
    // The space before the record is a bit (562.5 or 1687.5 µs), far shorter than 4096 counts: the host sees
    // its timestamp below the previous one.
    EXPECT_LT(faulty.records[9].timestamp, faulty.records[8].timestamp);
}

TEST(VirtualBoardGlitches, EveryMarkAndSpaceGlitchedWhenCertain) {
    BoardConfig config;
    config.faults.glitchProbability = 1.0;
    const auto decoded = decodeStream(captureBytes(config, {necSignal(0, 0), 0}));
    ASSERT_GE(decoded.durationsUs.size(), 6u);
    const double halfHeader = (kNecHeaderMark - config.faults.glitchPauseUs) / 2;
    const double halfSpace = (kNecHeaderSpace - config.faults.glitchPulseUs) / 2;
    // The glitch pulse is a single carrier cycle: its end is reported the whole late delay after its start.
    const std::vector<double> expected = test::reportedTrain(
        {halfHeader, config.faults.glitchPauseUs, halfHeader, halfSpace, config.faults.glitchPulseUs, halfSpace},
        necSignal(0, 0), 50);
    EXPECT_NEAR(expected[4], 50, 1e-9);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(decoded.durationsUs[i], expected[i], 0.5 + 1e-9) << "interval " << i;
    }
}

TEST(VirtualBoardGlitches, SeededAndDeterministic) {
    BoardConfig config;
    config.faults.glitchProbability = 0.2;
    config.faults.seed = 7;
    const KeyPress press{necSignal(0x10, 0x20), 300'000};
    const auto first = captureBytes(config, press);
    EXPECT_EQ(captureBytes(config, press), first);
    EXPECT_NE(captureBytes({}, press).size(), first.size()) << "some glitches were put in";
    config.faults.seed = 8;
    EXPECT_NE(captureBytes(config, press), first);
}

TEST(VirtualBoardJitter, StaysWithinBoundsAndIsSeeded) {
    constexpr double kJitterUs = 30;
    BoardConfig config;
    config.faults.jitterUs = kJitterUs;
    config.faults.seed = 5;
    const IrSignal signal = sirc12Signal(1, 2);
    const auto bytes = captureBytes(config, {signal, 0});
    EXPECT_EQ(captureBytes(config, {signal, 0}), bytes);
    const auto decoded = decodeStream(bytes);
    ASSERT_EQ(decoded.durationsUs.size(), signal.once.size() - 1);
    int moved = 0;
    const double period = 25;  // 40 kHz
    const std::vector<double> ideal = test::reportedTrain(signal.once, signal, 50);
    for (std::size_t i = 0; i < decoded.durationsUs.size(); ++i) {
        // Each interval moves by its own jitter; a mark then ends on its last counted cycle, so the space
        // after it takes up to one carrier period more; its ends are rounded to the counter.
        const double d = decoded.durationsUs[i];
        const double sent = signal.once[i];
        if (i % 2 == 0) {
            EXPECT_GE(d, test::lastCycleUs(sent - kJitterUs, signal) + 50 - 0.5 - 1e-9) << "mark " << i;
            EXPECT_LE(d, test::lastCycleUs(sent + kJitterUs, signal) + 50 + 0.5 + 1e-9) << "mark " << i;
        } else {
            EXPECT_GE(d, sent - kJitterUs - 50 - 0.5 - 1e-9) << "space " << i;
            EXPECT_LE(d, sent + kJitterUs + period - 50 + 0.5 + 1e-9) << "space " << i;
        }
        moved += std::abs(d - ideal[i]) > 1;
    }
    EXPECT_GT(moved, static_cast<int>(decoded.durationsUs.size()) / 2);
}

TEST(VirtualBoardTiming, LateDelayIsConfigurable) {
    for (double late : {0.0, 120.0}) {
        BoardConfig config;
        config.lateBurstEndUs = late;
        const IrSignal signal = necSignal(0, 0);
        const auto decoded = decodeStream(captureBytes(config, {signal, 0}));
        ASSERT_EQ(decoded.durationsUs.size(), signal.once.size() - 1);
        // The 9000 µs header mark counts 343 cycles at 38 kHz, the last 342 periods after its start.
        const double lastCycle = 342 * 1e6 / 38'000;
        EXPECT_NEAR(decoded.durationsUs[0], lastCycle + late, 0.5 + 1e-9) << late;
        EXPECT_NEAR(decoded.durationsUs[1], 9000 + 4500 - lastCycle - late, 0.5 + 1e-9) << late;
    }
}

TEST(VirtualBoardTiming, PauseShorterThanTheLateDelayDoesNotEndTheBurst) {
    IrSignal signal;
    signal.carrierHz = 38'000;
    signal.once = {500, 30, 500, 1000, 500};
    const auto decoded = decodeStream(captureBytes({}, {signal, 0}));
    ASSERT_EQ(decoded.durationsUs.size(), 3u);
    // Each 500 µs mark at 38 kHz counts 20 cycles, the last 19 periods (500 µs) after its start: the burst
    // ends 50 µs after the second mark's last cycle, at 530 + 500 + 50 µs.
    EXPECT_NEAR(decoded.durationsUs[0], 1080, 0.5 + 1e-9);
    EXPECT_NEAR(decoded.durationsUs[1], 950, 0.5 + 1e-9);
    ASSERT_EQ(decoded.cycles.size(), 2u);
    EXPECT_EQ(decoded.cycles[0], 40) << "the cycles of both marks";
}

TEST(VirtualBoardTiming, EndOfDataAfterTheSilence) {
    BoardHost host;
    const auto bytes = host.capture({necSignal(0, 0), 0});
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back().value, 0x00);
    const double lastBurstEnd = host.board.lastPress().back().reportedEndUs;
    const double silence = *host.board.config().endOfDataSilenceUs;
    const double arrived = static_cast<double>(bytes.back().atUs);
    EXPECT_GE(arrived, lastBurstEnd + silence);
    EXPECT_LE(arrived, lastBurstEnd + silence + 2 * host.board.config().byteTimeUs + 1000);
}

TEST(VirtualBoardTiming, WithoutEndOfDataTheBoardKeepsCapturingUntilReset) {
    BoardConfig config;
    config.endOfDataSilenceUs.reset();
    BoardHost host(config);
    const auto bytes = BoardHost::values(host.capture({necSignal(0, 0), 0}, 1000));
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(decodeStream(bytes).endOfData);
    host.clock.advanceMs(8000);  // longer than the host's idle rule
    EXPECT_TRUE(host.board.capturing(static_cast<double>(host.clock.nowUs())));
    EXPECT_EQ(host.ask(reader_command::kReset), 0x00);
    EXPECT_FALSE(host.board.capturing(static_cast<double>(host.clock.nowUs())));
}

TEST(VirtualBoardTiming, BytesNeverArriveFasterThanTheLine) {
    BoardHost host;
    const auto bytes = host.capture({necSignal(0x55, 0xAA), 300'000});
    ASSERT_GT(bytes.size(), 100u);
    const double byteUs = host.board.config().byteTimeUs;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        // Reads happen on 1 ms steps of the simulated clock.
        EXPECT_GE(static_cast<double>(bytes[i].atUs - bytes[0].atUs) + 1000, static_cast<double>(i) * byteUs)
            << "byte " << i;
    }
    // The stream of the first frame (over 200 bytes) takes longer than the frame itself (67.5 ms).
    const double firstMark = host.board.lastPress().front().startUs;
    EXPECT_GT(static_cast<double>(bytes[kNecFrameRecords * 3].atUs) - firstMark, 200'000);
}

TEST(VirtualBoardTiming, WithoutSerialTimingEachRecordIsReadableAtItsEvent) {
    BoardConfig config;
    config.serialTiming = false;
    BoardHost host(config);
    const auto bytes = host.capture({necSignal(0x55, 0xAA), 0});
    const auto& bursts = host.board.lastPress();
    ASSERT_EQ(bursts.size(), 34u);
    // The first record is read within one 1 ms clock step of the first mark.
    EXPECT_LE(static_cast<double>(bytes.front().atUs) - bursts.front().startUs, 1000);
    EXPECT_GE(static_cast<double>(bytes.front().atUs), bursts.front().startUs);
}

TEST(VirtualBoardPresses, Rc5RemoteFlipsTheToggleFromPressToPress) {
    BoardHost host;
    Rc5Remote remote;
    const auto first = decodeStream(BoardHost::values(host.capture({remote.press(5, 1), 0})));
    host.ask(reader_command::kReset);
    const auto second = decodeStream(BoardHost::values(host.capture({remote.press(5, 1), 0})));
    host.ask(reader_command::kReset);
    const auto third = decodeStream(BoardHost::values(host.capture({remote.press(5, 1), 0})));
    EXPECT_NE(first.durationsUs, second.durationsUs);
    ASSERT_EQ(first.durationsUs.size(), third.durationsUs.size());
    for (std::size_t i = 0; i < first.durationsUs.size(); ++i) {
        EXPECT_NEAR(first.durationsUs[i], third.durationsUs[i], 0.5 + 1e-9);
    }
}

TEST(VirtualBoardPresses, QueuedPressesArePlayedOnePerCapture) {
    BoardHost host;
    host.board.queuePress({necSignal(1, 1), 0});
    host.board.queuePress({flashSignal(2, 2), 0});
    EXPECT_EQ(host.board.queuedPresses(), 2u);
    ASSERT_EQ(host.ask(0x18), 0xFF);
    host.readUntilSilent(400);
    EXPECT_EQ(host.board.lastPress().size(), 34u);
    ASSERT_EQ(host.ask(0x18), 0xFF);
    host.readUntilSilent(400);
    EXPECT_EQ(host.board.lastPress().size(), 18u);
    EXPECT_EQ(host.board.queuedPresses(), 0u);
    EXPECT_EQ(host.board.capturesStarted(), 2);
}

TEST(VirtualBoardPresses, HeldKeyRepeatsUntilReleasedAndNoLongerThanAMinute) {
    BoardConfig config;
    config.serialTiming = false;
    config.endOfDataSilenceUs.reset();
    BoardEngine board(config);
    board.queuePress({necSignal(1, 1), 1'000'000});
    board.receive(reader_command::kStartCapture, 0);
    EXPECT_EQ(board.lastPress().size(), 34u + 9 * 2) << "repeat frames start at 108, 216, ... 972 ms";
    IrSignal tiny;
    tiny.carrierHz = 38'000;
    tiny.repeat = {10, 100};
    board.queuePress({tiny, 1e12});
    board.receive(reader_command::kStartCapture, 2e6);
    EXPECT_EQ(board.lastPress().size(), BoardEngine::kMaxPressIntervals / 2) << "a press is cut off";
}

TEST(VirtualBoardPresses, PressStartsAfterTheConfiguredDelay) {
    BoardConfig config;
    config.pressDelayUs = 30'000;
    BoardHost host(config);
    const std::int64_t commandAt = host.clock.nowUs();
    host.capture({necSignal(1, 1), 0});
    const double delay = host.board.lastPress().front().startUs - static_cast<double>(commandAt);
    EXPECT_NEAR(delay, 30'000 + host.board.config().byteTimeUs, 1);
}

}  // namespace
}  // namespace spectrel::virtualboard
