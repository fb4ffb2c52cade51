// Protocol learning, whole procedures on the virtual board with scripted answers.

#include <algorithm>

#include "tests/learning_test_support.h"

namespace spectrel::test {
namespace {

// The procedures' texts as the user reads them.
namespace text {
constexpr const char* kLoseEverything = "All learned information will be lost. Continue?";
constexpr const char* kFirstPress =
    " Click OK, point remote control to receiver and then\rpress any button on remote control at least for 2 sec";
constexpr const char* kCapturingFirst = "\002   Capturing \003first\002 button";
constexpr const char* kCapturingNext = "\002   Capturing \003next\002 button";
constexpr const char* kNoFramesRecorded = "No frames recorded, abort?";
constexpr const char* kAnotherButton = "Click \"OK\" and then press ANOTHER button";
constexpr const char* kSameButton = "Click \"OK\" and then press THE SAME button again";
constexpr const char* kCodeRecorded = "Code recorded successfully";
constexpr const char* kNoProtocolForButton =
    "It is not possible to learn a button until you have selected or learnt a protocol.";
constexpr const char* kNoProtocolForButtons =
    "It is not possible to learn buttons until you have selected or learnt a protocol.";
constexpr const char* kPressAnyButton = "Click OK and then press any button on remote control";
constexpr const char* kDataFrameMissed = "Data frame is missed, please read again";
constexpr const char* kShorter = "Data frame is shorter than expected. Accept?";
constexpr const char* kFrameRateUpdate = "Frames rate differs from the specified in protocol\rUpdate protocol?";
constexpr const char* kCarrierUpdate = "Carrier period differs from the specified in protocol\rUpdate protocol?";
constexpr const char* kShorterUpdate =
    "Data frame is shorter than expected. \rWould you like to update protocol definition?";
}  // namespace text

class LearnProtocolTest : public LearningRig {
protected:
    bool HasLine(const TTextLines& list, const std::string& prefix) const {
        return std::any_of(list.Lines().begin(), list.Lines().end(),
                           [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    }
};

TEST_F(LearnProtocolTest, ThreePressesLearnTheProtocol) {
    buttons.AddWithCodes("Power", "AaAb", "");
    explore.AddWithCodes("", "AbAb", "");
    LearnNec();

    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kLoseEverything, text::kFirstPress, text::kSameButton,
                                                 text::kAnotherButton}));
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
    EXPECT_EQ(boxes.shown()[1].kind, MessageKind::Information);
    EXPECT_EQ(boxes.shown()[1].buttons, MessageButton::Ok | MessageButton::Abort);
    EXPECT_EQ(boxes.shown()[3].buttons, MessageButton::Ok | MessageButton::Abort);
    EXPECT_EQ(messages.Lines(),
              (std::vector<std::string>{"\002   Capturing \003first\002 button", "Record 0: 3 frames captured",
                                        "Record 1: 3 frames captured", "", "\002   Capturing \003next\002 button",
                                        "Record 2: 3 frames captured", "Frames: \003<data>-<dummy>-<dummy>- ..."}));

    EXPECT_TRUE(current.valid);
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.name, "NO NAME");
    EXPECT_EQ(current.format, "iX");
    EXPECT_EQ(current.carrier_period, 26.5);
    // The data frame differs between the keys, so its length is a "longer than" rule: 2 header intervals,
    // 32 bits of two and the stop pulse.
    EXPECT_EQ(current.i_length, -67);
    EXPECT_EQ(learned.format, "iX");
    EXPECT_TRUE(learned.valid);

    // Learning forgets every code, and shows the result in the window's protocol list.
    EXPECT_FALSE(buttons.Items(0).HasCode());
    EXPECT_FALSE(explore.Items(0).HasCode());
    EXPECT_EQ(window.protocolList.Lines(), ProtocolDescriptionLines(current));
    // The description list gets the protocol appended after every accepted record and at the end.
    const std::vector<std::string> finalLines = ProtocolDescriptionLines(current);
    ASSERT_GT(description.Lines().size(), finalLines.size());
    EXPECT_EQ(std::vector<std::string>(description.Lines().end() - static_cast<std::ptrdiff_t>(finalLines.size()),
                                       description.Lines().end()),
              finalLines);
    EXPECT_EQ(window.protocolName, "NO NAME");
    EXPECT_EQ(window.decodingResets, 1);
    // Disabled at the start, every description while it runs keeps them disabled, enabled at the end.
    ASSERT_FALSE(window.commandStates.empty());
    EXPECT_FALSE(window.commandStates.front());
    EXPECT_TRUE(window.commandStates.back());
    EXPECT_EQ(std::count(window.commandStates.begin(), window.commandStates.end() - 2, true), 0);
    EXPECT_FALSE(link.ReaderPortOpen());
    // Three records stay in the table.
    EXPECT_EQ(context.captureTable()[context.recordCount - 1].recordNumber, 2);
}

// The window and the wizard hand one list in for the messages and the description: the description is
// appended to the progress lines, never wiping them.
TEST_F(LearnProtocolTest, OneListForMessagesAndDescriptionKeepsEveryLine) {
    Press(vb::necSignal(0, 0x45));
    Press(vb::necSignal(0, 0x45));
    Press(vb::necSignal(0, 0x46));
    procedures.LearnProtocol(nullptr, &messages, &messages);
    ASSERT_TRUE(current.valid);

    const std::vector<std::string>& lines = messages.Lines();
    const auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    const std::ptrdiff_t record0 = at("Record 0: 3 frames captured");
    const std::ptrdiff_t record1 = at("Record 1: 3 frames captured");
    const std::ptrdiff_t next = at(text::kCapturingNext);
    const std::ptrdiff_t record2 = at("Record 2: 3 frames captured");
    const std::ptrdiff_t frames = at("Frames: \003<data>-<dummy>-<dummy>- ...");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), text::kCapturingFirst);
    EXPECT_EQ(record0, 1);
    EXPECT_LT(record0, record1);
    EXPECT_LT(record1, next);
    EXPECT_LT(next, record2);
    ASSERT_LT(record2, frames);
    ASSERT_LT(frames, static_cast<std::ptrdiff_t>(lines.size()));
    // Each accepted record is followed by the protocol as analysed so far.
    EXPECT_EQ(lines[static_cast<std::size_t>(record0 + 1)].rfind("Carrier frequency: ", 0), 0u);
    EXPECT_EQ(lines[static_cast<std::size_t>(record2 + 1)].rfind("Carrier frequency: ", 0), 0u);
    // The final description closes the list, after the frame format line.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + frames + 1, lines.end()), ProtocolDescriptionLines(current));
}

// Held for five seconds, every press stops at 20 frames while the board is still sending; the next capture
// still starts clean.
TEST_F(LearnProtocolTest, PressesHeldBeyondTwentyFramesStillLearn) {
    Press(vb::necSignal(0, 0x45), 5'000'000);
    Press(vb::necSignal(0, 0x45), 5'000'000);
    Press(vb::necSignal(0, 0x46), 5'000'000);
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kLoseEverything, text::kFirstPress, text::kSameButton,
                                                 text::kAnotherButton}));
    EXPECT_EQ(messages.Lines()[1], "Record 0: 20 frames captured");
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(current.format, "iX");
}

TEST_F(LearnProtocolTest, CancelAtTheStartChangesNothing) {
    buttons.AddWithCodes("Power", "AaAb", "");
    current.valid = true;
    current.name = "Kept";
    boxes.script({MessageButton::Cancel});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(Texts(), std::vector<std::string>{text::kLoseEverything});
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(current.name, "Kept");
    EXPECT_TRUE(buttons.Items(0).HasCode());
    EXPECT_EQ(board.capturesStarted(), 0);
    EXPECT_FALSE(link.ReaderPortOpen());
}

TEST_F(LearnProtocolTest, AbortAtTheFirstPromptSkipsTheFinalAnalysis) {
    current.valid = true;
    boxes.script({MessageButton::Ok, MessageButton::Abort});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_FALSE(current.valid);
    EXPECT_TRUE(messages.Lines().empty());
    EXPECT_EQ(window.protocolList.Lines(), std::vector<std::string>{"No Protocol"});
    EXPECT_EQ(board.capturesStarted(), 0);
}

TEST_F(LearnProtocolTest, RetryInTheErrorsBoxRemovesItsRecordLine) {
    Press(vb::necSignal(0, 0x45));
    // The second press holds a 100 us pause as the host sees it: shorter than five carrier periods.
    Press(WithShortSpace(vb::necSignal(0, 0x45), 150));
    Press(vb::necSignal(0, 0x45));
    Press(vb::necSignal(0, 0x46));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Retry});
    procedures.LearnProtocol(nullptr, &messages, &description);

    ASSERT_GE(Texts().size(), 4u);
    EXPECT_EQ(Texts()[3], "Errors: Too short intervals\rPress OK to accept record, Abort to exit");
    EXPECT_EQ(boxes.shown()[3].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[3].buttons, MessageButton::Ok | MessageButton::Abort | MessageButton::Retry);
    EXPECT_EQ(std::count(messages.Lines().begin(), messages.Lines().end(), "Record 1: 3 frames captured"), 1);
    EXPECT_EQ(Texts().back(), text::kAnotherButton);
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(current.format, "iX");
}

TEST_F(LearnProtocolTest, ClosingTheErrorsBoxCapturesAgainAndKeepsTheLine) {
    Press(vb::necSignal(0, 0x45));
    Press(WithShortSpace(vb::necSignal(0, 0x45), 150));
    Press(vb::necSignal(0, 0x45));
    Press(vb::necSignal(0, 0x46));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::None});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(std::count(messages.Lines().begin(), messages.Lines().end(), "Record 1: 3 frames captured"), 2);
    EXPECT_TRUE(current.valid);
}

TEST_F(LearnProtocolTest, OkInTheErrorsBoxAcceptsTheRecord) {
    Press(vb::necSignal(0, 0x45));
    Press(WithShortSpace(vb::necSignal(0, 0x45), 150));
    Press(vb::necSignal(0, 0x46));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Ok});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(board.capturesStarted(), 3);
    const std::vector<std::string> texts = Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), text::kAnotherButton), 1);
    EXPECT_TRUE(current.valid);
}

TEST_F(LearnProtocolTest, AbortInTheErrorsBoxLeavesNoProtocol) {
    Press(vb::necSignal(0, 0x45));
    Press(WithShortSpace(vb::necSignal(0, 0x45), 150));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_FALSE(current.valid);
    EXPECT_FALSE(HasLine(messages, "Frames: "));
    EXPECT_FALSE(link.ReaderPortOpen());
}

TEST_F(LearnProtocolTest, AbortAtTheSameButtonStillBuildsAProtocol) {
    Press(vb::necSignal(0, 0x45));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(Texts().back(), text::kSameButton);
    EXPECT_TRUE(HasLine(messages, "Frames: "));
    EXPECT_EQ(current.name, "NO NAME");
    EXPECT_EQ(current.carrier_period, 26.5);
    EXPECT_GT(current.vocabulary_count, 0);
    EXPECT_EQ(current.valid, !FormatDescription(context).empty());
}

TEST_F(LearnProtocolTest, AbortAtAnotherButtonLeavesItNotValid) {
    Press(vb::necSignal(0, 0x45));
    Press(vb::necSignal(0, 0x45));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(Texts().back(), text::kAnotherButton);
    EXPECT_FALSE(current.valid);
    EXPECT_FALSE(HasLine(messages, "Frames: "));
    EXPECT_EQ(window.protocolList.Lines(), std::vector<std::string>{"No Protocol"});
}

TEST_F(LearnProtocolTest, NoFramesAsksAndRetryCapturesAgain) {
    // The first capture gets no press and ends by the idle rule with no frames.
    board.setPressSource([n = 0]() mutable -> std::optional<vb::KeyPress> {
        if (n++ == 0) return std::nullopt;
        return vb::KeyPress{vb::necSignal(0, n < 4 ? 0x45 : 0x46), 250'000};
    });
    procedures.LearnProtocol(nullptr, &messages, &description);
    ASSERT_GE(Texts().size(), 3u);
    EXPECT_EQ(Texts()[2], text::kNoFramesRecorded);
    EXPECT_EQ(boxes.shown()[2].buttons, MessageButton::Abort | MessageButton::Retry);
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(messages.Lines()[1], "Record 0: 3 frames captured");
}

TEST_F(LearnProtocolTest, NoFramesThenAbortLeavesNoProtocol) {
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_EQ(Texts().back(), text::kNoFramesRecorded);
    EXPECT_FALSE(current.valid);
    EXPECT_EQ(context.recordCount, 0);
    EXPECT_FALSE(link.ReaderPortOpen());
}

TEST_F(LearnProtocolTest, AMatchingStandardProtocolReplacesTheLearnedOneUnlessMatchingIsOff) {
    LearnNec();
    ASSERT_TRUE(current.valid);
    Tprotocol_descriptor standard = current;
    standard.name = "NEC1";
    standard.standard = true;
    standards.protocols[0] = standard;
    standards.count = 1;

    boxes.clear();
    LearnNec(0x10, 0x11);
    EXPECT_EQ(current.name, "NEC1");
    EXPECT_TRUE(current.standard);
    EXPECT_EQ(learned.name, "");  // the learned copy keeps what was learned
    EXPECT_FALSE(learned.standard);
    EXPECT_EQ(window.protocolList.TextColour(), '\002');

    procedures.options.MatchToStandardProtocol = false;
    LearnNec(0x10, 0x11);
    EXPECT_EQ(current.name, "NO NAME");
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(window.protocolList.TextColour(), '\001');
}

TEST_F(LearnProtocolTest, APortThatCannotBeOpenedIsReported) {
    link.SetReaderPortName("COM9");
    procedures.LearnProtocol(nullptr, &messages, &description);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_FALSE(link.ReaderPortOpen());
}

// A box answered by the window closing the port behind the procedure's back: an error escapes, and the
// port is closed and the commands enabled all the same.
class ThrowingBoxes : public platform::MessageBoxes {
public:
    MessageButton show(MessageKind, const std::string& text, platform::MessageButtons, const std::string&) override {
        if (text == text::kFirstPress) throw std::runtime_error("window gone");
        return MessageButton::Ok;
    }
};

TEST_F(LearnProtocolTest, AnEscapingErrorStillClosesThePort) {
    ThrowingBoxes throwing;
    TLearningProcedures failing{{context, link, throwing, current, learned, standards, buttons, explore, rules},
                                window};
    EXPECT_THROW(failing.LearnProtocol(nullptr, &messages, &description), std::runtime_error);
    EXPECT_FALSE(link.ReaderPortOpen());
    ASSERT_FALSE(window.commandStates.empty());
    EXPECT_TRUE(window.commandStates.back());
}

// Counts the dumps the procedures ask for.
class CountingDumps : public TAnalysisDumps {
public:
    void DumpReaderStream(TReaderLink&) override {}
    void DumpCaptureTable(const TAnalysisContext&) override { ++captureTables; }
    void DumpAnalysisTable(const TAnalysisContext&) override { ++analysisTables; }
    void DumpVocabulary(const TAnalysisContext&) override { ++vocabularies; }
    void DumpFramesBuffer(const TAnalysisContext&) override { ++framesBuffers; }
    int captureTables = 0;
    int analysisTables = 0;
    int vocabularies = 0;
    int framesBuffers = 0;
};

TEST_F(LearnProtocolTest, DumpsEveryCopiedCaptureAndTheFramesBufferAtTheEnd) {
    CountingDumps dumps;
    context.dumps = &dumps;
    LearnNec();
    EXPECT_EQ(dumps.captureTables, 3);
    EXPECT_EQ(dumps.analysisTables, 3);
    EXPECT_EQ(dumps.framesBuffers, 1);
    EXPECT_EQ(dumps.vocabularies, 4);  // three records and the final analysis

    // A button capture dumps its copy once.
    bool stop = false;
    std::string data, data2;
    Press(vb::necSignal(0, 0x45));
    ASSERT_TRUE(procedures.LearnButton("Power", stop, nullptr, data, data2));
    EXPECT_EQ(dumps.analysisTables, 4);
    context.dumps = nullptr;
}

struct GeneratorCase {
    const char* name;
    vb::IrSignal key;
    vb::IrSignal other;
    const char* format;
    double carrier;
};

class LearnEveryGenerator : public LearningRig, public ::testing::WithParamInterface<GeneratorCase> {};

TEST_P(LearnEveryGenerator, GivesAValidDescribedProtocol) {
    Press(GetParam().key);
    Press(GetParam().key);
    Press(GetParam().other);
    procedures.LearnProtocol(nullptr, &messages, &description);
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(current.format, GetParam().format);
    EXPECT_EQ(current.carrier_period, GetParam().carrier);
    EXPECT_EQ(current.name, "NO NAME");
}

INSTANTIATE_TEST_SUITE_P(
    Learning, LearnEveryGenerator,
    ::testing::Values(GeneratorCase{"Nec", vb::necSignal(1, 2), vb::necSignal(1, 3), "iX", 26.5},
                      GeneratorCase{"Rc5", vb::rc5Signal(5, 0x23, false), vb::rc5Signal(5, 0x24, false), "I", 28.0},
                      GeneratorCase{"Sirc12", vb::sirc12Signal(1, 0x15), vb::sirc12Signal(1, 0x16), "I", 25.0},
                      GeneratorCase{"Flash", vb::flashSignal(0x12, 0x34), vb::flashSignal(0x12, 0x35), "I", 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace spectrel::test
