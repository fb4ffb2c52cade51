// The program's reader link against the virtual board attached in-process on a simulated clock:
// reset handshake, detection and the board's fault modes as the host sees them.

#include <gtest/gtest.h>

#include "Code/SPX_CaptureStream.h"
#include "Code/SPX_ComPortUnit.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::virtualboard {
namespace {

class VirtualBoardLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(link.SetReaderPortName("virtual").ok);
        const auto opened = link.OpenReaderPort();
        ASSERT_TRUE(opened.ok) << opened.message;
    }

    testing::SimulatedClock clock;
    BoardEngine board;
    VirtualSerialPortProvider ports{board, clock};
    testing::ScriptedMessageBoxes boxes;
    TReaderLink link{ports, clock, clock, boxes};
};

TEST_F(VirtualBoardLink, ResetsAndDetectsReader13) {
    EXPECT_TRUE(link.ResetReader());
    const TReaderVersion version = link.DetectReader();
    EXPECT_TRUE(version.detected);
    EXPECT_EQ(version.text(), "Reader 1.3");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(VirtualBoardLink, ResetFaults) {
    board.config().faults.badResetReplies = 1;
    EXPECT_TRUE(link.ResetReader()) << "0x55 then 0x00";
    board.config().faults.badResetReplies = 2;
    EXPECT_FALSE(link.ResetReader()) << "0x55 twice";
    board.config().faults.badResetReplies = BoardFaults::kAlways;
    EXPECT_FALSE(link.ResetReader());
    board.config().faults.badResetReplies = 0;
    EXPECT_TRUE(link.ResetReader());
}

TEST_F(VirtualBoardLink, FirstVersionOfTenIsNoReader) {
    board.config().firstVersion = 10;
    const TReaderVersion version = link.DetectReader();
    EXPECT_FALSE(version.detected);
    EXPECT_EQ(version.first, 10);
    EXPECT_EQ(version.second, 3);
}

TEST_F(VirtualBoardLink, SilentBoardIsNoReader) {
    board.config().faults.noAnswer = true;
    EXPECT_FALSE(link.ResetReader());
    const TReaderVersion version = link.DetectReader();
    EXPECT_FALSE(version.detected);
    EXPECT_EQ(version.first, 255);
    EXPECT_EQ(version.second, 255);
}

TEST_F(VirtualBoardLink, UnansweredSecondQueryIsNoReader) {
    board.config().faults.ignoredCommands = {reader_command::kQuerySecondVersion};
    const TReaderVersion version = link.DetectReader();
    EXPECT_FALSE(version.detected);
    EXPECT_EQ(version.first, 1);
}

}  // namespace
}  // namespace spectrel::virtualboard
