// The reader board's command protocol: reset handshake, version detection, port selection and the reaction to an
// erratic reply, against a scripted board on a simulated clock.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Code/SPX_CaptureStream.h"
#include "Code/SPX_ComPortUnit.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace {

using spectrel::TReaderLink;
using spectrel::TReaderVersion;
using spectrel::platform::MessageButton;
using spectrel::platform::MessageKind;
using spectrel::testing::FakeSerialPort;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;
using spectrel::testing::TimedByte;
// The reader's command bytes and its capture acknowledge.
namespace cmd {
constexpr std::uint8_t kReset = 0x00;
constexpr std::uint8_t kQuerySecondVersion = 0x16;
constexpr std::uint8_t kQueryFirstVersion = 0x17;
constexpr std::uint8_t kStartCapture = 0x18;
constexpr std::uint8_t kCaptureAcknowledge = 0xFF;
}  // namespace cmd

using Bytes = std::vector<std::uint8_t>;
constexpr std::int64_t kQuickReplyMs = 3;

class ReaderProtocolTest : public ::testing::Test {
protected:
    // A board that answers each command with the given byte (nothing for an empty optional).
    void boardAnswers(std::optional<std::uint8_t> reset, std::optional<std::uint8_t> second,
                      std::optional<std::uint8_t> first) {
        serial.setResponder([=](std::uint8_t command) -> std::vector<TimedByte> {
            std::optional<std::uint8_t> reply;
            if (command == cmd::kReset) reply = reset;
            if (command == cmd::kQuerySecondVersion) reply = second;
            if (command == cmd::kQueryFirstVersion) reply = first;
            if (!reply) return {};
            return {{*reply, kQuickReplyMs}};
        });
    }

    SimulatedClock clock;
    FakeSerialPort serial{clock};
    ScriptedMessageBoxes boxes;
    TReaderLink link{serial, clock, clock, boxes};
};

// --- reset handshake

struct ResetCase {
    std::string name;
    std::vector<std::optional<std::uint8_t>> replies;  // to the first and (if any) the second reset byte
    bool result;
    Bytes written;
};

class ResetHandshake : public ReaderProtocolTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ResetHandshake, Variants) {
    ASSERT_TRUE(link.OpenReaderPort().ok);
    for (const auto& reply : GetParam().replies) {
        if (reply)
            serial.queueReply({{*reply, kQuickReplyMs}});
        else
            serial.queueReply({});
    }
    EXPECT_EQ(link.ResetReader(), GetParam().result);
    EXPECT_EQ(serial.writtenBytes(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Reader, ResetHandshake,
                         ::testing::Values(ResetCase{"ZeroAtOnce", {0x00}, true, {0x00}},
                                           ResetCase{"LeftoverThenZero", {0x55, 0x00}, true, {0x00, 0x00}},
                                           ResetCase{"LeftoverTwice", {0x55, 0x55}, false, {0x00, 0x00}},
                                           ResetCase{"LeftoverThenSilence", {0x55, std::nullopt}, false, {0x00, 0x00}},
                                           // No second try when the board says nothing at all.
                                           ResetCase{"Silence", {std::nullopt}, false, {0x00}}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReaderProtocolTest, ResetDiscardsInputBeforeAndAfter) {
    ASSERT_TRUE(link.OpenReaderPort().ok);
    serial.addStaleBytes(20, 0x21);
    // The board answers and then keeps talking a little.
    serial.queueReply({{0x00, kQuickReplyMs}, {0x7F, kQuickReplyMs}, {0x7F, kQuickReplyMs}});
    EXPECT_TRUE(link.ResetReader());
    EXPECT_EQ(serial.pendingBytes(), 0u);
}

// --- detection

struct DetectCase {
    std::string name;
    std::optional<std::uint8_t> second;
    std::optional<std::uint8_t> first;
    bool detected;
    std::uint8_t expectFirst;
    std::uint8_t expectSecond;
};

class Detection : public ReaderProtocolTest, public ::testing::WithParamInterface<DetectCase> {};

TEST_P(Detection, VersionAndDetectedFlag) {
    ASSERT_TRUE(link.OpenReaderPort().ok);
    boardAnswers(0x00, GetParam().second, GetParam().first);
    const TReaderVersion v = link.DetectReader();
    EXPECT_EQ(v.detected, GetParam().detected);
    EXPECT_EQ(v.first, GetParam().expectFirst);
    EXPECT_EQ(v.second, GetParam().expectSecond);
    EXPECT_EQ(link.ReaderVersion().detected, v.detected);
    // The second number is asked first; the board is reset at the end.
    EXPECT_EQ(serial.writtenBytes(), (Bytes{cmd::kQuerySecondVersion, cmd::kQueryFirstVersion, cmd::kReset}));
}

INSTANTIATE_TEST_SUITE_P(Reader, Detection,
                         ::testing::Values(DetectCase{"Version13", 3, 1, true, 1, 3},
                                           DetectCase{"Version90", 0, 9, true, 9, 0},
                                           DetectCase{"FirstNumberTen", 3, 10, false, 10, 3},
                                           DetectCase{"FirstNumberLarge", 3, 200, false, 200, 3},
                                           DetectCase{"FirstUnanswered", 3, std::nullopt, false, 255, 3},
                                           DetectCase{"SecondUnanswered", std::nullopt, 1, false, 1, 255},
                                           DetectCase{"Silent", std::nullopt, std::nullopt, false, 255, 255}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReaderProtocolTest, DetectionForgetsTheEarlierVersion) {
    ASSERT_TRUE(link.OpenReaderPort().ok);
    boardAnswers(0x00, 3, 1);
    ASSERT_TRUE(link.DetectReader().detected);
    boardAnswers(std::nullopt, std::nullopt, std::nullopt);
    const TReaderVersion v = link.DetectReader();
    EXPECT_FALSE(v.detected);
    EXPECT_EQ(v.first, 255);
    EXPECT_EQ(v.second, 255);
}

TEST_F(ReaderProtocolTest, DetectionWaitsBetweenTheQueries) {
    ASSERT_TRUE(link.OpenReaderPort().ok);
    boardAnswers(0x00, 3, 1);
    link.DetectReader();
    const auto& w = serial.written();
    ASSERT_EQ(w.size(), 3u);
    // 50 ms after the second-number query, then its reply, a drain and another 50 ms before the next; 50 ms
    // after the first-number query its reply is read, then the reset follows.
    EXPECT_EQ(w[1].atMs - w[0].atMs, 100);
    EXPECT_EQ(w[2].atMs - w[1].atMs, 50);
}

TEST(ReaderVersion, Text) {
    TReaderVersion v;
    v.first = 1;
    v.second = 3;
    EXPECT_EQ(v.text(), "Reader 1.3");
    v.first = 0;
    v.second = 12;
    EXPECT_EQ(v.text(), "Reader 0.12");
}

// --- port selection

class RecordingPortView : public spectrel::TReaderPortView {
public:
    std::vector<std::string> entries;
    int selected = -2;  // untouched
    std::vector<std::string> statusTexts;
    std::optional<bool> learningEnabled;

    std::vector<std::string> portEntries() const override { return entries; }
    void selectPortEntry(int index) override { selected = index; }
    void showReaderStatus(const std::string& text) override { statusTexts.push_back(text); }
    void enableLearningCommands(bool enabled) override { learningEnabled = enabled; }
};

struct SelectCase {
    std::string name;
    std::string typed;
    bool boardPresent;
    bool openFails;
    bool result;
    int selected;
    std::vector<std::string> opened;
    std::vector<std::string> status;
    std::optional<bool> learning;
};

class PortSelection : public ReaderProtocolTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(PortSelection, FindsOpensDetectsAndCloses) {
    const SelectCase& c = GetParam();
    serial.setPortNames({"COM1", "COM3", "ttyUSB0"});
    serial.setOpenFails(c.openFails);
    if (c.boardPresent) boardAnswers(0x00, 3, 1);
    RecordingPortView view;
    view.entries = serial.portNames();

    EXPECT_EQ(link.SelectReaderPort(c.typed, view), c.result);
    EXPECT_EQ(view.selected, c.selected);
    EXPECT_EQ(serial.openedNames(), c.opened);
    EXPECT_EQ(view.statusTexts, c.status);
    EXPECT_EQ(view.learningEnabled, c.learning);
    EXPECT_EQ(link.ReaderVersion().detected, c.result);
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_FALSE(serial.isPortOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Reader, PortSelection,
    ::testing::Values(
        SelectCase{"ExactName", "COM3", true, false, true, 1, {"COM3"}, {"Reader 1.3"}, true},
        // The entry is found whatever the letter case, and opened as the system spells it.
        SelectCase{"OtherLetterCase", "com3", true, false, true, 1, {"COM3"}, {"Reader 1.3"}, true},
        SelectCase{"OtherLetterCaseOfADevice", "TTYusb0", true, false, true, 2, {"ttyUSB0"}, {"Reader 1.3"}, true},
        SelectCase{"NotInTheList", "COM7", true, false, false, -1, {}, {}, std::nullopt},
        SelectCase{"NoBoard", "COM1", false, false, false, 0, {"COM1"}, {"No Reader"}, false},
        SelectCase{"OpenFails", "COM1", true, true, false, 0, {"COM1"}, {"No Reader"}, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReaderProtocolTest, SelectionResetsTheBoardExceptAtFirstActivation) {
    serial.setPortNames({"COM2"});
    boardAnswers(0x00, 3, 1);
    RecordingPortView view;
    view.entries = {"COM2"};
    EXPECT_TRUE(link.SelectReaderPort("COM2", view, /*firstActivation=*/true));
    EXPECT_EQ(serial.writtenBytes(), (Bytes{cmd::kQuerySecondVersion, cmd::kQueryFirstVersion, cmd::kReset}));
    EXPECT_TRUE(link.SelectReaderPort("COM2", view));
    EXPECT_EQ(serial.writtenBytes(), (Bytes{cmd::kQuerySecondVersion, cmd::kQueryFirstVersion, cmd::kReset, cmd::kReset,
                                            cmd::kQuerySecondVersion, cmd::kQueryFirstVersion, cmd::kReset}));
    EXPECT_EQ(link.ReaderPortName(), "COM2");
}

TEST_F(ReaderProtocolTest, SelectionAfterADetectedReaderClearsTheFlagWhenItIsGone) {
    serial.setPortNames({"COM1", "COM2"});
    boardAnswers(0x00, 3, 1);
    RecordingPortView view;
    view.entries = serial.portNames();
    ASSERT_TRUE(link.SelectReaderPort("COM1", view));
    serial.setOpenFails(true);
    EXPECT_FALSE(link.SelectReaderPort("COM2", view));
    EXPECT_FALSE(link.ReaderVersion().detected);
    EXPECT_EQ(view.learningEnabled, false);
    EXPECT_EQ(view.statusTexts.back(), "No Reader");
}

// --- erratic reply

class RecordingCapture : public spectrel::TErraticReplySink {
public:
    int failed = 0;
    int colourRestored = 0;
    void markCaptureFailed() override { ++failed; }
    void restoreDisplayListColour() override { ++colourRestored; }
};

// Records how many bytes were still waiting when the box came up.
class BoxesSeeingThePort : public ScriptedMessageBoxes {
public:
    explicit BoxesSeeingThePort(FakeSerialPort& serial) : serial_(serial) {}
    MessageButton show(MessageKind kind, const std::string& text, spectrel::platform::MessageButtons buttons,
                       const std::string& caption) override {
        readableAtShow = serial_.readableBytes();
        writtenAtShow = serial_.written().size();
        return ScriptedMessageBoxes::show(kind, text, buttons, caption);
    }
    std::size_t readableAtShow = 0;
    std::size_t writtenAtShow = 0;

private:
    FakeSerialPort& serial_;
};

TEST(ErraticReply, MessageShowsTheCodeAsTwoUpperCaseHexDigits) {
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0x00, "Erratic reply from PIC (value 00)"},
        {0x0A, "Erratic reply from PIC (value 0A)"},
        {0x5F, "Erratic reply from PIC (value 5F)"},
        {0xFF, "Erratic reply from PIC (value FF)"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(TReaderLink::ErraticReplyMessage(code), text);
}

TEST(ErraticReply, ShowsAnErrorBoxResetsTheBoardAndFailsTheCapture) {
    SimulatedClock clock;
    FakeSerialPort serial(clock);
    BoxesSeeingThePort boxes(serial);
    TReaderLink link(serial, clock, clock, boxes);
    ASSERT_TRUE(link.OpenReaderPort().ok);
    serial.addStaleBytes(7, 0x33);
    serial.queueReply({{0x00, kQuickReplyMs}});
    RecordingCapture capture;

    link.ReportErraticReply(0x00, capture);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Erratic reply from PIC (value 00)");
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].buttons, spectrel::platform::MessageButtons(MessageButton::Ok));
    // Five trailing bytes are thrown away before the box, the board is reset after it.
    EXPECT_EQ(boxes.readableAtShow, 2u);
    EXPECT_EQ(boxes.writtenAtShow, 0u);
    EXPECT_EQ(serial.writtenBytes(), Bytes{cmd::kReset});
    EXPECT_EQ(serial.pendingBytes(), 0u);
    EXPECT_EQ(capture.failed, 1);
    EXPECT_EQ(capture.colourRestored, 1);
}

}  // namespace
