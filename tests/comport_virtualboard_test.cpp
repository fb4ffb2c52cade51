// The reader link against the virtual reader board attached in-process, on a simulated clock.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Code/SPX_CaptureStream.h"
#include "Code/SPX_ComPortUnit.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualSerialPort.h"

namespace {

using spectrel::CaptureRecord;
using spectrel::CaptureRecordKind;
using spectrel::CaptureStreamDecoder;
using spectrel::TReaderLink;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;
using spectrel::virtualboard::BoardConfig;
using spectrel::virtualboard::BoardEngine;
using spectrel::virtualboard::BoardFaults;
using spectrel::virtualboard::VirtualSerialPortProvider;
// The reader's command bytes and its capture acknowledge.
namespace cmd {
constexpr std::uint8_t kReset = 0x00;
constexpr std::uint8_t kQuerySecondVersion = 0x16;
constexpr std::uint8_t kQueryFirstVersion = 0x17;
constexpr std::uint8_t kStartCapture = 0x18;
constexpr std::uint8_t kCaptureAcknowledge = 0xFF;
}  // namespace cmd

class PortList : public spectrel::TReaderPortView {
public:
    std::vector<std::string> entries{"VIRTUAL"};
    std::string status;
    bool learning = false;
    std::vector<std::string> portEntries() const override { return entries; }
    void selectPortEntry(int) override {}
    void showReaderStatus(const std::string& text) override { status = text; }
    void enableLearningCommands(bool enabled) override { learning = enabled; }
};

struct BoardSetup {
    explicit BoardSetup(BoardConfig config = {}) : board(std::move(config)) {}
    SimulatedClock clock;
    BoardEngine board;
    VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
    ScriptedMessageBoxes boxes;
    TReaderLink link{ports, clock, clock, boxes};
    // Opens the board's port.
    bool open() {
        return link.SetReaderPortName(spectrel::virtualboard::kVirtualPortName).ok && link.OpenReaderPort().ok;
    }
};

struct SelectCase {
    std::string name;
    void (*configure)(BoardConfig&);
    bool detected;
    std::string status;
};

class VirtualBoardSelection : public ::testing::TestWithParam<SelectCase> {};

TEST_P(VirtualBoardSelection, StatusText) {
    BoardConfig config;
    GetParam().configure(config);
    BoardSetup s(config);
    PortList list;
    EXPECT_EQ(s.link.SelectReaderPort("virtual", list), GetParam().detected);
    EXPECT_EQ(list.status, GetParam().status);
    EXPECT_EQ(list.learning, GetParam().detected);
    EXPECT_FALSE(s.ports.portIsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    ReaderLink, VirtualBoardSelection,
    ::testing::Values(
        SelectCase{"Default", [](BoardConfig&) {}, true, "Reader 1.3"},
        SelectCase{"OtherVersion", [](BoardConfig& c) { c.firstVersion = 2, c.secondVersion = 17; }, true,
                   "Reader 2.17"},
        SelectCase{"FirstVersionTen", [](BoardConfig& c) { c.firstVersion = 10; }, false, "No Reader"},
        SelectCase{"Silent", [](BoardConfig& c) { c.faults.noAnswer = true; }, false, "No Reader"},
        SelectCase{"FirstVersionUnanswered",
                   [](BoardConfig& c) { c.faults.ignoredCommands = {cmd::kQueryFirstVersion}; }, false, "No Reader"},
        // The reset's outcome does not decide the detection.
        SelectCase{"ResetAnsweredWrongOnce", [](BoardConfig& c) { c.faults.badResetReplies = 1; }, true, "Reader 1.3"},
        SelectCase{"ResetAlwaysWrong", [](BoardConfig& c) { c.faults.badResetReplies = BoardFaults::kAlways; }, true,
                   "Reader 1.3"}),
    [](const auto& info) { return info.param.name; });

struct ResetCase {
    std::string name;
    int badResetReplies;
    bool result;
};

class VirtualBoardReset : public ::testing::TestWithParam<ResetCase> {};

TEST_P(VirtualBoardReset, Handshake) {
    BoardConfig config;
    config.faults.badResetReplies = GetParam().badResetReplies;
    BoardSetup s(config);
    ASSERT_TRUE(s.open());
    EXPECT_EQ(s.link.ResetReader(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(ReaderLink, VirtualBoardReset,
                         ::testing::Values(ResetCase{"Good", 0, true}, ResetCase{"WrongOnce", 1, true},
                                           ResetCase{"WrongTwice", 2, false},
                                           ResetCase{"AlwaysWrong", BoardFaults::kAlways, false}),
                         [](const auto& info) { return info.param.name; });

// Reads the capture stream after a start-capture command until end of data or an erratic code (at most 3 s).
std::vector<CaptureRecord> ReadCapture(BoardSetup& s) {
    std::vector<CaptureRecord> records;
    CaptureStreamDecoder decoder;
    const std::int64_t start = s.clock.nowMs();
    while (s.clock.nowMs() - start < 3000) {
        std::uint8_t byte = 0;
        if (!s.link.PollReaderByte(byte)) {
            s.clock.pumpOnce();
            continue;
        }
        CaptureRecord r;
        if (!decoder.push(byte, r)) continue;
        records.push_back(r);
        if (r.kind == CaptureRecordKind::EndOfData || r.kind == CaptureRecordKind::Erratic) break;
    }
    return records;
}

TEST(ReaderLinkCapture, DecodedStreamMatchesWhatTheBoardPlayed) {
    BoardSetup s;
    s.board.queuePress({spectrel::virtualboard::necSignal(0x04, 0x08), 150'000});
    ASSERT_TRUE(s.open());
    ASSERT_TRUE(s.link.ResetReader());
    ASSERT_TRUE(s.link.SendReaderByte(cmd::kStartCapture));
    std::uint8_t ack = 0;
    ASSERT_TRUE(s.link.ReadReaderByte(ack));
    ASSERT_EQ(ack, cmd::kCaptureAcknowledge);

    const auto records = ReadCapture(s);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, CaptureRecordKind::EndOfData);
    const auto& played = s.board.lastPress();
    ASSERT_EQ(records.size(), 2 * played.size() + 1);
    for (std::size_t i = 0; i < played.size(); ++i) {
        SCOPED_TRACE("burst " + std::to_string(i));
        EXPECT_EQ(records[2 * i].kind, CaptureRecordKind::BurstStart);
        EXPECT_EQ(records[2 * i].timestamp, played[i].startCount);
        EXPECT_EQ(records[2 * i + 1].kind, CaptureRecordKind::BurstEnd);
        EXPECT_EQ(records[2 * i + 1].timestamp, played[i].endCount);
        EXPECT_EQ(records[2 * i + 1].carrierCycles, played[i].cycles);
    }
    EXPECT_TRUE(s.link.ResetReader());
}

class CaptureState : public spectrel::TErraticReplySink {
public:
    bool failed = false;
    bool colourRestored = false;
    void markCaptureFailed() override { failed = true; }
    void restoreDisplayListColour() override { colourRestored = true; }
};

TEST(ReaderLinkCapture, ErraticCodeIsReportedAndTheBoardReset) {
    BoardConfig config;
    config.faults.erraticBeforeRecord = 3;
    config.faults.erraticCode = 0x33;
    BoardSetup s(config);
    s.board.queuePress({spectrel::virtualboard::sirc12Signal(0x01, 0x15), 100'000});
    ASSERT_TRUE(s.open());
    ASSERT_TRUE(s.link.SendReaderByte(cmd::kStartCapture));
    std::uint8_t ack = 0;
    ASSERT_TRUE(s.link.ReadReaderByte(ack));

    const auto records = ReadCapture(s);
    ASSERT_EQ(records.size(), 4u);
    ASSERT_EQ(records.back().kind, CaptureRecordKind::Erratic);
    CaptureState capture;
    s.link.ReportErraticReply(records.back().code, capture);
    EXPECT_EQ(s.boxes.texts(), std::vector<std::string>{"Erratic reply from PIC (value 33)"});
    EXPECT_TRUE(capture.failed);
    EXPECT_TRUE(capture.colourRestored);
    EXPECT_FALSE(s.board.capturing(static_cast<double>(s.clock.nowUs())));
}

}  // namespace
