// The learning procedures when the board misbehaves after a protocol and a button were learned on the virtual
// board: it streams garbage for a minute, stops answering in the middle of a reset, or goes away (its device
// gone) in the middle of a capture. Every procedure ends, the port is closed, the commands are usable again and
// nothing learned before is lost. All on the simulated clock: a minute of garbage takes no minute of test time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/learning_test_support.h"
#include "testing/FakeSerialPort.h"

namespace spectrel::test {
namespace {

// The port of the virtual board until the test swaps the board for a fake one (the same port name opens either).
class SwitchablePorts : public platform::SerialPortProvider {
public:
    explicit SwitchablePorts(platform::SerialPortProvider& first) : active_(&first) {}
    void use(platform::SerialPortProvider& ports) { active_ = &ports; }
    platform::OpenPortResult open(const std::string& name) override { return active_->open(name); }
    std::vector<std::string> portNames() override { return active_->portNames(); }

private:
    platform::SerialPortProvider* active_;
};

// A user who keeps pressing Retry while `retrying` says so, and then Abort (Ok where that is all a box offers).
class PersistentUser : public platform::MessageBoxes {
public:
    MessageButton show(MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                       const std::string& caption) override {
        (void)caption;
        // Prompts (no Retry) are accepted; a box that offers to retry is retried, or else aborted.
        MessageButton answer = testing::ScriptedMessageBoxes::acceptingButton(buttons);
        if (buttons.has(MessageButton::Retry)) {
            if (retrying && retrying()) {
                answer = MessageButton::Retry;
            } else if (buttons.has(MessageButton::Abort)) {
                answer = MessageButton::Abort;
            }
        }
        shown.push_back({kind, text, buttons, {}, answer});
        return answer;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const auto& box : shown) all.push_back(box.text);
        return all;
    }
    std::function<bool()> retrying;
    std::vector<testing::ShownMessage> shown;
};

class LearningFaults : public ::testing::Test {
protected:
    LearningFaults() {
        link.SetReaderPortName(vb::kVirtualPortName);
        for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
    }

    // The protocol from NEC keys 0x45 (twice) and 0x46, and "One" from key 0x47, on the virtual board; then the
    // fake board takes its place for "Two" and "Three".
    void LearnOnTheVirtualBoard() {
        for (std::uint8_t key : {0x45, 0x45, 0x46, 0x47}) board.queuePress({vb::necSignal(0, key)});
        procedures.LearnProtocol(nullptr, &messages, nullptr);
        ASSERT_TRUE(current.valid) << ::testing::PrintToString(user.texts());
        protocol = current;
        buttons.Add("One");
        buttons.Add("Two");
        buttons.Add("Three");
        procedures.LearnButtonCode(buttons.Items(0));
        ASSERT_TRUE(buttons.Items(0).HasCode()) << ::testing::PrintToString(user.texts());
        oneCode = buttons.Items(0).Code();
        user.shown.clear();
        window = RecordingWindow{};
        ports.use(fake);
    }

    // What must hold after any of the faults: the procedure has ended with the port closed and the commands
    // usable, the protocol and the button learned before are as they were.
    void ExpectNothingLost() {
        EXPECT_FALSE(link.ReaderPortOpen());
        EXPECT_FALSE(fake.isPortOpen());
        ASSERT_FALSE(window.commandStates.empty());
        EXPECT_TRUE(window.commandStates.back());
        EXPECT_TRUE(current.valid);
        EXPECT_EQ(current.name, protocol.name);
        EXPECT_EQ(current.format, protocol.format);
        EXPECT_EQ(current.vocabulary_count, protocol.vocabulary_count);
        EXPECT_EQ(current.i_length, protocol.i_length);
        EXPECT_EQ(buttons.Items(0).Code(), oneCode);
        EXPECT_FALSE(buttons.Items(1).HasCode());
        EXPECT_FALSE(buttons.Items(2).HasCode());
    }

    std::size_t Count(const std::string& text) const {
        std::size_t n = 0;
        for (const auto& box : user.shown) n += box.text == text;
        return n;
    }

    testing::SimulatedClock clock;
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider virtualPorts{board, [this] { return static_cast<double>(clock.nowUs()); }};
    testing::FakeSerialPort fake{clock};
    SwitchablePorts ports{virtualPorts};
    PersistentUser user;
    TReaderLink link{ports, clock, clock, user};
    TAnalysisContext context{user, clock, clock};
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes explore{bus};
    TReplaceRule rules;
    RecordingWindow window;
    TTextLines messages;
    TLearningProcedures procedures{{context, link, user, current, learned, standards, buttons, explore, rules},
                                   window};
    Tprotocol_descriptor protocol;
    std::string oneCode;
};

// A device on the port that sends random bytes at the pace of the line, one a millisecond, for a minute,
// whatever it is asked: no reset and no capture start gets its answer.
TEST_F(LearningFaults, ADeviceSendingGarbageForAMinuteNeverStopsLearnAllAndLosesNothing) {
    LearnOnTheVirtualBoard();
    const std::int64_t start = clock.nowMs();
    const std::int64_t end = start + 60'000;
    std::mt19937 random(15);
    for (std::int64_t at = start; at < end; ++at) fake.scheduleByte(static_cast<std::uint8_t>(random()), at);
    user.retrying = [&] { return clock.nowMs() < end; };

    procedures.LearnAllButtons();

    ExpectNothingLost();
    // The user retried for the whole minute; "Two" was then abandoned, and Learn All stopped there.
    EXPECT_GE(clock.nowMs(), end);
    EXPECT_LT(clock.nowMs(), end + 20'000);
    EXPECT_EQ(Count(PressButtonText("Two")), 1u);
    EXPECT_EQ(Count(PressButtonText("Three")), 0u);
    EXPECT_GE(Count("No frames captured, try again?"), 3u);
}

// A board that answers its commands but sends random bytes as its capture stream, for a minute: it stops
// sending when the host writes to it, as the board does, and starts again with the next capture.
class GarbageStreamingBoard {
public:
    GarbageStreamingBoard(testing::FakeSerialPort& port, testing::SimulatedClock& clock, std::int64_t endMs,
                          unsigned seed)
        : port_(port), clock_(clock), endMs_(endMs), random_(seed) {
        port_.setResponder([this](std::uint8_t written) { return answer(written); });
    }

private:
    std::vector<testing::TimedByte> answer(std::uint8_t written) {
        port_.dropPending();
        if (written == 0x00) return {{0x00, 1}};
        if (written != 0x18) return {};
        std::vector<testing::TimedByte> reply{{0xFF, 1}};
        const std::int64_t left = endMs_ - clock_.nowMs();
        for (std::int64_t at = 2; at < left && at < 10'000; ++at) {
            reply.push_back({static_cast<std::uint8_t>(random_()), at});
        }
        return reply;
    }

    testing::FakeSerialPort& port_;
    testing::SimulatedClock& clock_;
    std::int64_t endMs_;
    std::mt19937 random_;
};

// What a capture may say about a garbled stream, besides the questions of the procedure.
bool IsCaptureComplaint(const std::string& text) {
    return text == "Data corrupted" || text.rfind("Erratic reply from PIC (value ", 0) == 0;
}

TEST_F(LearningFaults, ABoardStreamingGarbageForAMinuteNeverStopsLearnAllAndLosesNothing) {
    LearnOnTheVirtualBoard();
    const std::int64_t end = clock.nowMs() + 60'000;
    GarbageStreamingBoard garbage(fake, clock, end, 15);
    user.retrying = [&] { return clock.nowMs() < end; };

    procedures.LearnAllButtons();

    ExpectNothingLost();
    EXPECT_GE(clock.nowMs(), end);
    EXPECT_LT(clock.nowMs(), end + 20'000);
    EXPECT_EQ(Count(PressButtonText("Two")), 1u);
    EXPECT_EQ(Count(PressButtonText("Three")), 0u);
    // The stream's faults were reported as such, as errors, one at a time.
    std::size_t complaints = 0;
    for (std::size_t k = 0; k < user.shown.size(); ++k) {
        if (!IsCaptureComplaint(user.shown[k].text)) continue;
        ++complaints;
        EXPECT_EQ(user.shown[k].kind, MessageKind::Error);
        ASSERT_LT(k + 1, user.shown.size());
        EXPECT_FALSE(IsCaptureComplaint(user.shown[k + 1].text)) << "two complaints about one capture";
    }
    EXPECT_GT(complaints, 10u);
}

TEST_F(LearningFaults, ABoardStreamingGarbageForAMinuteEndsAProtocolLearningWhenTheUserAborts) {
    LearnOnTheVirtualBoard();
    const std::int64_t end = clock.nowMs() + 60'000;
    GarbageStreamingBoard garbage(fake, clock, end, 16);
    user.retrying = [&] { return clock.nowMs() < end; };

    procedures.LearnProtocol(nullptr, &messages, nullptr);

    // A protocol learning starts from nothing (the user agreed to lose what was learned); it ends without one.
    EXPECT_FALSE(current.valid);
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_TRUE(window.commandStates.back());
    EXPECT_GE(clock.nowMs(), end);
    EXPECT_LT(clock.nowMs(), end + 20'000);
    EXPECT_GT(Count("No frames recorded, abort?"), 10u);
}

TEST_F(LearningFaults, ABoardThatStopsAnsweringInTheMiddleOfAResetEndsLearnAll) {
    LearnOnTheVirtualBoard();
    // The next reset is answered with a leftover byte, and then nothing ever comes again.
    int answered = 0;
    fake.setResponder([&](std::uint8_t written) -> std::vector<testing::TimedByte> {
        if (written == 0x00 && answered++ == 0) return {{0x55, 1}};
        return {};
    });
    int retries = 2;
    user.retrying = [&] { return retries-- > 0; };
    const std::int64_t start = clock.nowMs();

    procedures.LearnAllButtons();

    ExpectNothingLost();
    const std::vector<std::uint8_t> written = fake.writtenBytes();
    EXPECT_EQ(answered, std::count(written.begin(), written.end(), std::uint8_t{0x00}));
    // Three captures for "Two", none of them acknowledged, then Abort stops Learn All.
    EXPECT_EQ(Count("No frames captured, try again?"), 3u);
    EXPECT_EQ(Count(PressButtonText("Three")), 0u);
    EXPECT_EQ(std::count(written.begin(), written.end(), std::uint8_t{0x18}), 3);
    // Each unanswered exchange gives up after its 170 ms.
    EXPECT_LT(clock.nowMs() - start, 10'000);
}

// The board's device goes away while "Two" is being captured (a cable pulled): one message says so, and Learn
// All stops at once instead of asking to retry what cannot work.
TEST_F(LearningFaults, ABoardThatGoesAwayDuringACaptureEndsLearnAllWithOneMessage) {
    LearnOnTheVirtualBoard();
    // A board that answers and starts the capture, sends a burst, and is gone 300 ms later.
    fake.setResponder([&](std::uint8_t written) -> std::vector<testing::TimedByte> {
        if (written == 0x00) return {{0x00, 1}};
        if (written == 0x18) {
            fake.goAwayAt(clock.nowMs() + 300);
            return {{0xFF, 1}, {0x20, 100}, {0x01, 100}, {0x00, 100}, {0x00, 100}, {0x21, 101}, {0x01, 101},
                    {0x10, 101}, {0x00, 101}, {0x00, 102}, {0x30, 102}};
        }
        return {};
    });
    user.retrying = [] { return true; };
    const std::int64_t start = clock.nowMs();

    procedures.LearnAllButtons();

    ExpectNothingLost();
    EXPECT_EQ(user.texts(), (std::vector<std::string>{PressButtonText("Two"),
                                                      "Lost the connection to the reader on VIRTUAL: Input/output error"}));
    EXPECT_EQ(user.shown.back().kind, MessageKind::Error);
    // Not the 7.5 s of silence that end a capture of a working board.
    EXPECT_LT(clock.nowMs() - start, 2'000);

    // The next command finds the port gone and says so; still nothing is lost.
    user.shown.clear();
    fake.setOpenFails(true, "No such file or directory");
    procedures.LearnAllButtons();
    // One message for the whole list, not one per button still to learn.
    EXPECT_EQ(user.texts(), (std::vector<std::string>{PressButtonText("Two"), "No such file or directory"}));
    ExpectNothingLost();
}

TEST_F(LearningFaults, ABoardThatGoesAwayDuringAProtocolLearningEndsItWithOneMessage) {
    LearnOnTheVirtualBoard();
    fake.setResponder([&](std::uint8_t written) -> std::vector<testing::TimedByte> {
        if (written == 0x00) return {{0x00, 1}};
        if (written == 0x18) {
            fake.goAwayAt(clock.nowMs() + 300);
            return {{0xFF, 1}};
        }
        return {};
    });
    user.retrying = [] { return true; };

    procedures.LearnProtocol(nullptr, &messages, nullptr);

    EXPECT_FALSE(current.valid);
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_TRUE(window.commandStates.back());
    EXPECT_EQ(user.texts(), (std::vector<std::string>{learning_text::kLoseEverything, learning_text::kFirstPress,
                                                      "Lost the connection to the reader on VIRTUAL: Input/output error"}));
}

}  // namespace
}  // namespace spectrel::test
