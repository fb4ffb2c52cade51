// The byte primitives of the reader link on a scripted serial port and a simulated clock.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Code/ComPortUtils.h"
#include "Code/SPX_Assert.h"
#include "Code/SPX_ComPortUnit.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace {

using spectrel::EAssertionFailed;
using spectrel::TReaderLink;
using spectrel::testing::FakeSerialPort;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;

class ReaderLinkTest : public ::testing::Test {
protected:
    void openPort() { ASSERT_TRUE(link.OpenReaderPort().ok); }

    SimulatedClock clock;
    FakeSerialPort serial{clock};
    ScriptedMessageBoxes boxes;
    TReaderLink link{serial, clock, clock, boxes};
};

// --- reading one reply byte

struct ReplyDelayCase {
    std::string name;
    std::int64_t delayMs;
    bool accepted;
};

class ReplyDelay : public ReaderLinkTest, public ::testing::WithParamInterface<ReplyDelayCase> {};

TEST_P(ReplyDelay, AcceptedOnlyWithin170Ms) {
    openPort();
    serial.queueReply({{0x42, GetParam().delayMs}});
    ASSERT_TRUE(link.SendReaderByte(0x17));
    const std::int64_t sent = clock.nowMs();
    std::uint8_t byte = 0;
    EXPECT_EQ(link.ReadReaderByte(byte), GetParam().accepted);
    if (GetParam().accepted) {
        EXPECT_EQ(byte, 0x42);
        EXPECT_EQ(clock.nowMs() - sent, GetParam().delayMs);
    } else {
        EXPECT_EQ(clock.nowMs() - sent, 170);
    }
}

INSTANTIATE_TEST_SUITE_P(Link, ReplyDelay,
                         ::testing::Values(ReplyDelayCase{"AtOnce", 0, true}, ReplyDelayCase{"At160Ms", 160, true},
                                           ReplyDelayCase{"At169Ms", 169, true}, ReplyDelayCase{"At170Ms", 170, false},
                                           ReplyDelayCase{"At180Ms", 180, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReaderLinkTest, EachReplyByteGetsItsOwnTimeout) {
    openPort();
    serial.queueReply({{0x01, 160}, {0x02, 320}, {0x03, 660}});
    ASSERT_TRUE(link.SendReaderByte(0x18));
    std::uint8_t byte = 0;
    ASSERT_TRUE(link.ReadReaderByte(byte));
    EXPECT_EQ(byte, 0x01);
    ASSERT_TRUE(link.ReadReaderByte(byte));
    EXPECT_EQ(byte, 0x02);
    // The third byte comes 340 ms after the second: too late.
    EXPECT_FALSE(link.ReadReaderByte(byte));
}

TEST_F(ReaderLinkTest, WaitingPumpsTheMessageQueue) {
    openPort();
    std::uint8_t byte = 0;
    const auto before = clock.pumpCount();
    EXPECT_FALSE(link.ReadReaderByte(byte));
    EXPECT_GE(clock.pumpCount() - before, 170);
}

TEST_F(ReaderLinkTest, WaitBrieflyLasts50Ms) {
    const std::int64_t start = clock.nowMs();
    link.WaitBriefly();
    EXPECT_EQ(clock.nowMs() - start, 50);
}

// --- sending one byte behind stale input

struct StaleCase {
    std::string name;
    int stale;
    bool sent;
    std::size_t leftPending;
};

class StaleInput : public ReaderLinkTest, public ::testing::WithParamInterface<StaleCase> {};

TEST_P(StaleInput, DiscardedUpTo100) {
    openPort();
    serial.addStaleBytes(GetParam().stale);
    EXPECT_EQ(link.SendReaderByte(0x16), GetParam().sent);
    EXPECT_EQ(serial.writtenBytes(), GetParam().sent ? std::vector<std::uint8_t>{0x16} : std::vector<std::uint8_t>{});
    EXPECT_EQ(serial.pendingBytes(), GetParam().leftPending);
}

INSTANTIATE_TEST_SUITE_P(Link, StaleInput,
                         ::testing::Values(StaleCase{"None", 0, true, 0}, StaleCase{"One", 1, true, 0},
                                           StaleCase{"Hundred", 100, true, 0},
                                           StaleCase{"HundredAndOne", 101, false, 0},
                                           // The bytes read up to the 101st are lost; the rest stay.
                                           StaleCase{"HundredAndFifty", 150, false, 49}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReaderLinkTest, SendAfterRefusalWorksOnceInputIsDrained) {
    openPort();
    serial.addStaleBytes(101);
    EXPECT_FALSE(link.SendReaderByte(0x00));
    EXPECT_TRUE(link.SendReaderByte(0x00));
    EXPECT_EQ(serial.writtenBytes(), std::vector<std::uint8_t>{0x00});
}

TEST_F(ReaderLinkTest, SendFailsWhenTheDriverWritesNothing) {
    openPort();
    serial.setWriteFails(true);
    EXPECT_FALSE(link.SendReaderByte(0x00));
}

TEST_F(ReaderLinkTest, DrainThrowsAwayOnlyWhatIsAlreadyThere) {
    openPort();
    serial.addStaleBytes(7);
    serial.scheduleByte(0x99, clock.nowMs() + 10);
    EXPECT_EQ(link.DrainReader(), 7);
    EXPECT_EQ(link.DrainReader(), 0);
    clock.advanceMs(10);
    EXPECT_EQ(link.DrainReader(), 1);
}

// --- opening, closing, renaming

TEST_F(ReaderLinkTest, StartsClosedOnCom1) {
    EXPECT_EQ(link.ReaderPortName(), "COM1");
    EXPECT_FALSE(link.ReaderPortOpen());
}

TEST_F(ReaderLinkTest, OpenAndClose) {
    openPort();
    EXPECT_TRUE(link.ReaderPortOpen());
    EXPECT_EQ(serial.openedNames(), std::vector<std::string>{"COM1"});
    link.CloseReaderPort();
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_FALSE(serial.isPortOpen());
    EXPECT_EQ(serial.closeCount(), 1);
}

TEST_F(ReaderLinkTest, OpenFailureIsAResultNotAnException) {
    serial.setOpenFails(true, "Permission denied");
    spectrel::TReaderPortOpenResult result;
    EXPECT_NO_THROW(result = link.OpenReaderPort());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Permission denied");
    EXPECT_FALSE(link.ReaderPortOpen());
    // The port object exists but is closed: the primitives report failure instead of asserting.
    std::uint8_t byte = 0;
    EXPECT_FALSE(link.PollReaderByte(byte));
    EXPECT_FALSE(link.ReadReaderByte(byte));
    EXPECT_FALSE(link.SendReaderByte(0x00));
    EXPECT_TRUE(serial.written().empty());
}

TEST_F(ReaderLinkTest, RenamingWhileClosedOnlyStoresTheName) {
    EXPECT_TRUE(link.SetReaderPortName("COM4").ok);
    EXPECT_EQ(link.ReaderPortName(), "COM4");
    EXPECT_TRUE(serial.openedNames().empty());
}

struct RenameCase {
    std::string name;
    std::string newName;
    bool reopened;
};

class RenameWhileOpen : public ReaderLinkTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameWhileOpen, ReopensOnlyOnAnExactChange) {
    openPort();
    EXPECT_TRUE(link.SetReaderPortName(GetParam().newName).ok);
    EXPECT_EQ(link.ReaderPortName(), GetParam().newName);
    EXPECT_TRUE(link.ReaderPortOpen());
    if (GetParam().reopened) {
        EXPECT_EQ(serial.openedNames(), (std::vector<std::string>{"COM1", GetParam().newName}));
        EXPECT_EQ(serial.closeCount(), 1);
    } else {
        EXPECT_EQ(serial.openedNames(), std::vector<std::string>{"COM1"});
        EXPECT_EQ(serial.closeCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Link, RenameWhileOpen,
                         ::testing::Values(RenameCase{"SameName", "COM1", false},
                                           RenameCase{"OtherLetterCase", "com1", true},
                                           RenameCase{"OtherPort", "COM2", true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReaderLinkTest, RenameWhileOpenReportsAFailedReopen) {
    serial.setPortNames({"COM1"});
    openPort();
    const auto result = link.SetReaderPortName("COM9");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_FALSE(link.ReaderPortOpen());
}

// --- using the primitives before opening is a programming error

struct PrimitiveCase {
    std::string name;
    void (*use)(TReaderLink&);
};

class UseBeforeOpen : public ReaderLinkTest, public ::testing::WithParamInterface<PrimitiveCase> {};

void ExpectAssertionNamingTheModule(const std::function<void()>& f) {
    try {
        f();
        ADD_FAILURE() << "no assertion failure";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.module(), "Code/SPX_ComPortUnit");
        EXPECT_GT(e.line(), 0);
        EXPECT_NE(std::string(e.what()).find("Code/SPX_ComPortUnit, line " + std::to_string(e.line())),
                  std::string::npos);
    }
}

TEST_P(UseBeforeOpen, IsAnAssertionFailure) {
    ExpectAssertionNamingTheModule([&] { GetParam().use(link); });
}

TEST_P(UseBeforeOpen, IsAnAssertionFailureAfterClose) {
    openPort();
    link.CloseReaderPort();
    ExpectAssertionNamingTheModule([&] { GetParam().use(link); });
}

INSTANTIATE_TEST_SUITE_P(Link, UseBeforeOpen,
                         ::testing::Values(PrimitiveCase{"Poll",
                                                         [](TReaderLink& l) {
                                                             std::uint8_t b;
                                                             l.PollReaderByte(b);
                                                         }},
                                           PrimitiveCase{"Read",
                                                         [](TReaderLink& l) {
                                                             std::uint8_t b;
                                                             l.ReadReaderByte(b);
                                                         }},
                                           PrimitiveCase{"Send", [](TReaderLink& l) { l.SendReaderByte(0x00); }}),
                         [](const auto& info) { return info.param.name; });

// --- the port list

TEST(EnumerateComPorts, ReplacesTheListKeepingTheSystemOrder) {
    SimulatedClock clock;
    FakeSerialPort serial(clock);
    serial.setPortNames({"COM3", "COM1", "COM3"});
    std::vector<std::string> list{"old"};
    spectrel::EnumerateComPorts(serial, list);
    EXPECT_EQ(list, (std::vector<std::string>{"COM3", "COM1", "COM3"}));
    serial.setPortNames({});
    spectrel::EnumerateComPorts(serial, list);
    EXPECT_TRUE(list.empty());
}

}  // namespace
