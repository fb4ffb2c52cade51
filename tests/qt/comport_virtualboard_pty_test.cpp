// The reader link detects the virtual board served on a pseudo-terminal, through the real serial port code.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <string>

#include "Code/SPX_ComPortUnit.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tests/qt/pty_board.h"

namespace {

using spectrel::TReaderLink;
using namespace spectrel::platform::qt;
using spectrel::test::PtyBoard;

TEST(ReaderLinkOnPseudoTerminal, ResetsAndDetectsTheVirtualBoard) {
    // Built with the tests (the test program depends on it), so the test always runs.
    const QString program = QStringLiteral(SPECTREL_BOARD_PATH);
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << SPECTREL_BOARD_PATH << " is missing";

    PtyBoard board(program);
    ASSERT_FALSE(board.path().empty()) << "the board program printed no device path: " << board.errors().toStdString();

    QtSerialPortProvider ports;
    QtClock clock;
    QtMessagePump pump;
    spectrel::testing::ScriptedMessageBoxes boxes;
    TReaderLink link(ports, clock, pump, boxes);
    ASSERT_TRUE(link.SetReaderPortName(board.path()).ok);
    const auto opened = link.OpenReaderPort();
    ASSERT_TRUE(opened.ok) << opened.message;

    EXPECT_TRUE(link.ResetReader());
    const auto version = link.DetectReader();
    EXPECT_TRUE(version.detected);
    EXPECT_EQ(version.text(), "Reader 1.3");
    link.CloseReaderPort();
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
