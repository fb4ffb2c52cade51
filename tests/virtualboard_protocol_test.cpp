// The virtual board's answers to the host's command bytes and its faults on the command side.

#include <gtest/gtest.h>

#include "Code/SPX_CaptureStream.h"
#include "tests/virtualboard_host.h"
#include "virtualboard/Generators.h"

namespace spectrel::virtualboard {
namespace {

using test::BoardHost;
namespace cmd = reader_command;

TEST(VirtualBoardProtocol, AnswersResetAndVersions) {
    BoardHost host;
    EXPECT_EQ(host.ask(cmd::kReset), 0x00);
    EXPECT_EQ(host.ask(cmd::kQueryFirstVersion), 1);
    EXPECT_EQ(host.ask(cmd::kQuerySecondVersion), 3);
    EXPECT_EQ(host.ask(0x42), std::nullopt) << "unknown commands get no answer";
}

TEST(VirtualBoardProtocol, VersionsAreConfigurable) {
    BoardConfig config;
    config.firstVersion = 10;
    config.secondVersion = 0;
    BoardHost host(config);
    EXPECT_EQ(host.ask(cmd::kQueryFirstVersion), 10);
    EXPECT_EQ(host.ask(cmd::kQuerySecondVersion), 0);
}

TEST(VirtualBoardProtocol, ReplyArrivesAfterTwoByteTimesAtSerialSpeed) {
    BoardHost host;
    const std::int64_t start = host.clock.nowUs();
    host.port->writeByte(cmd::kReset);
    std::uint8_t byte = 0;
    EXPECT_FALSE(host.port->readByte(byte)) << "nothing is readable at the instant of the write";
    ASSERT_EQ(host.read(), 0x00);
    // One byte to the board and one back at 9600 baud: about 2.08 ms, read in 1 ms steps.
    EXPECT_EQ(host.clock.nowUs() - start, 3000);
}

TEST(VirtualBoardProtocol, WithoutSerialTimingRepliesAtOnce) {
    BoardConfig config;
    config.serialTiming = false;
    BoardHost host(config);
    host.port->writeByte(cmd::kQueryFirstVersion);
    std::uint8_t byte = 0;
    ASSERT_TRUE(host.port->readByte(byte));
    EXPECT_EQ(byte, 1);
}

struct ResetCase {
    const char* name;
    int badReplies;
    std::vector<std::optional<std::uint8_t>> replies;
};

class VirtualBoardResetFault : public ::testing::TestWithParam<ResetCase> {};

TEST_P(VirtualBoardResetFault, RepliesAsConfigured) {
    BoardConfig config;
    config.faults.badResetReplies = GetParam().badReplies;
    BoardHost host(config);
    for (const auto& expected : GetParam().replies) EXPECT_EQ(host.ask(cmd::kReset), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, VirtualBoardResetFault,
                         ::testing::Values(ResetCase{"Good", 0, {0x00, 0x00}},
                                           ResetCase{"BadOnce", 1, {0x55, 0x00, 0x00}},
                                           ResetCase{"BadTwice", 2, {0x55, 0x55, 0x00}},
                                           ResetCase{"BadAlways", BoardFaults::kAlways, {0x55, 0x55, 0x55, 0x55}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VirtualBoardProtocol, NoAnswerFaultAnswersNothing) {
    BoardConfig config;
    config.faults.noAnswer = true;
    BoardHost host(config);
    for (std::uint8_t command : {cmd::kReset, cmd::kQueryFirstVersion, cmd::kQuerySecondVersion, cmd::kStartCapture}) {
        EXPECT_EQ(host.ask(command), std::nullopt) << int(command);
    }
}

TEST(VirtualBoardProtocol, IgnoredCommandGetsNoAnswerOthersDo) {
    BoardConfig config;
    config.faults.ignoredCommands = {cmd::kStartCapture};
    BoardHost host(config);
    host.board.queuePress({necSignal(0, 1), 0});
    EXPECT_EQ(host.ask(cmd::kStartCapture), std::nullopt);
    EXPECT_TRUE(host.readUntilSilent(1000).empty());
    EXPECT_EQ(host.ask(cmd::kReset), 0x00);
}

TEST(VirtualBoardProtocol, PortIsExclusiveAndMatchesNameInAnyCase) {
    BoardHost host;
    EXPECT_EQ(host.ports.portNames(), std::vector<std::string>{"VIRTUAL"});
    auto second = host.ports.open("virtual");
    EXPECT_EQ(second.port, nullptr);
    EXPECT_FALSE(second.error.empty());
    host.port->close();
    EXPECT_FALSE(host.port->writeByte(cmd::kReset));
    auto again = host.ports.open("Virtual");
    ASSERT_NE(again.port, nullptr);
    EXPECT_TRUE(again.port->isOpen());
    auto other = host.ports.open("COM1");
    EXPECT_EQ(other.port, nullptr);
    EXPECT_NE(other.error.find("COM1"), std::string::npos);
}

TEST(VirtualBoardProtocol, BytesSentWhileClosedAreLost) {
    BoardHost host;
    host.port->writeByte(cmd::kQueryFirstVersion);
    host.port->close();
    host.clock.advanceMs(10);
    auto reopened = host.ports.open("VIRTUAL");
    ASSERT_NE(reopened.port, nullptr);
    std::uint8_t byte = 0;
    EXPECT_FALSE(reopened.port->readByte(byte));
}

TEST(VirtualBoardProtocol, CaptureIsAcknowledgedThenStreamsTheQueuedPress) {
    BoardHost host;
    host.board.queuePress({necSignal(0x00, 0x45), 0});
    ASSERT_EQ(host.ask(cmd::kStartCapture), cmd::kCaptureAcknowledge);
    EXPECT_TRUE(host.board.capturing(host.clock.nowUs()));
    auto stream = host.values(host.readUntilSilent(400));
    ASSERT_FALSE(stream.empty());
    EXPECT_EQ(stream.back(), 0x00) << "end of data after the silence";
    EXPECT_FALSE(host.board.capturing(host.clock.nowUs()));
    EXPECT_EQ(host.board.lastPress().size(), 34u) << "header, 32 bits and the stop bit";
    EXPECT_EQ(host.ask(cmd::kReset), 0x00);
}

TEST(VirtualBoardProtocol, ResetDuringCaptureEndsItAndIsAnswered) {
    BoardHost host;
    host.board.queuePress({necSignal(0x00, 0x45), 2'000'000});
    ASSERT_EQ(host.ask(cmd::kStartCapture), cmd::kCaptureAcknowledge);
    host.clock.advanceMs(150);
    std::uint8_t stale = 0;
    int drained = 0;
    while (host.port->readByte(stale)) ++drained;
    EXPECT_GT(drained, 20) << "the press is streaming";
    host.port->writeByte(cmd::kReset);
    std::vector<std::uint8_t> after;
    while (auto b = host.read()) after.push_back(*b);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), 0x00) << "the reset is answered after what was already on the line";
    EXPECT_LE(after.size(), 3u) << "the rest of the press is dropped";
    EXPECT_FALSE(host.board.capturing(host.clock.nowUs()));
}

TEST(VirtualBoardProtocol, CaptureWithoutPressStaysSilentUntilOneIsQueued) {
    BoardHost host;
    ASSERT_EQ(host.ask(cmd::kStartCapture), cmd::kCaptureAcknowledge);
    EXPECT_TRUE(host.readUntilSilent(1000).empty());
    EXPECT_TRUE(host.board.waitingForPress());
    host.board.queuePress({sirc12Signal(1, 21), 0});
    EXPECT_FALSE(host.board.waitingForPress());
    auto stream = host.values(host.readUntilSilent(400));
    ASSERT_FALSE(stream.empty());
    EXPECT_EQ(stream.back(), 0x00);
}

TEST(VirtualBoardProtocol, PressSourceIsAskedWhenQueueIsEmpty) {
    BoardHost host;
    int asked = 0;
    host.board.setPressSource([&asked]() -> std::optional<KeyPress> {
        ++asked;
        return KeyPress{flashSignal(1, 2), 0};
    });
    host.board.queuePress({necSignal(0, 1), 0});
    ASSERT_EQ(host.ask(cmd::kStartCapture), cmd::kCaptureAcknowledge);
    host.readUntilSilent(400);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(host.ask(cmd::kReset), 0x00);
    ASSERT_EQ(host.ask(cmd::kStartCapture), cmd::kCaptureAcknowledge);
    host.readUntilSilent(400);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(host.board.lastPress().size(), 18u) << "start flash, 16 bits, stop flash";
}

}  // namespace
}  // namespace spectrel::virtualboard
