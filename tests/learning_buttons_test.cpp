// Button learning and exploring, whole procedures on the virtual board with scripted answers.

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

class LearnButtonTest : public LearningRig {
protected:
    void SetUp() override { LearnNecQuietly(); }

    bool Learn(const vb::IrSignal& signal, const std::string& name = "Power") {
        Press(signal);
        data = "stale";
        data2 = "stale";
        return procedures.LearnButton(name, stop, nullptr, data, data2);
    }

    bool stop = false;
    std::string data;
    std::string data2;
};

TEST_F(LearnButtonTest, OnePressGivesTheDataFrameCode) {
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(stop);
    EXPECT_EQ(static_cast<int>(data.size()), 67);
    EXPECT_EQ(data2, "");
    EXPECT_EQ(window.mainWindowStates, (std::vector<bool>{false, true}));
    EXPECT_FALSE(link.ReaderPortOpen());

    // The same key again gives the same code, another key another one.
    const std::string first = data;
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(data, first);
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x46)));
    EXPECT_NE(data, first);
    EXPECT_EQ(data.size(), first.size());
}

TEST_F(LearnButtonTest, ADuplicateCodeCanBeUsedForASecondButton) {
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x45)));
    buttons.AddWithCodes("Power", data, data2);
    buttons.Add("Mute");
    window.selected = 1;
    Press(vb::necSignal(0, 0x45));
    procedures.LearnSelectedButton();

    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Click OK and then press button \r\r       Mute\r",
                           "This frame already recorded fo button \"Power\"\rDo you wish to use that code for button "
                           "\"Mute\" as well?",
                           text::kCodeRecorded}));
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
    EXPECT_EQ(boxes.shown()[1].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[1].buttons, MessageButton::Ok | MessageButton::Abort | MessageButton::Retry);
    EXPECT_EQ(buttons.Items(1).Code(), buttons.Items(0).Code());
    EXPECT_GE(window.gridRefreshes, 1);
}

TEST_F(LearnButtonTest, RetryAtTheDuplicateCapturesAgain) {
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x45)));
    buttons.AddWithCodes("Power", data, data2);
    Press(vb::necSignal(0, 0x45));
    boxes.script({MessageButton::Retry});
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x47), "Mute"));
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(data, buttons.Items(0).Code());
}

TEST_F(LearnButtonTest, AbortAtTheDuplicateStillGivesTheCodeButAsksToStop) {
    ASSERT_TRUE(Learn(vb::necSignal(0, 0x45)));
    buttons.AddWithCodes("Power", data, data2);
    boxes.script({MessageButton::Abort});
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45), "Mute"));
    EXPECT_TRUE(stop);
    EXPECT_EQ(data, buttons.Items(0).Code());
}

TEST_F(LearnButtonTest, NoFramesAsksAndAbortStops) {
    boxes.script({MessageButton::Abort});
    data = "stale";
    EXPECT_FALSE(procedures.LearnButton("Power", stop, nullptr, data, data2));
    EXPECT_EQ(Texts(), std::vector<std::string>{"No frames captured, try again?"});
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore);
    EXPECT_TRUE(stop);
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_EQ(window.mainWindowStates, (std::vector<bool>{false, true}));

    stop = false;
    boxes.script({MessageButton::Ignore});
    EXPECT_FALSE(procedures.LearnButton("Power", stop, nullptr, data, data2));
    EXPECT_FALSE(stop);
}

TEST_F(LearnButtonTest, AnotherProtocolDoesNotMatchTheVocabulary) {
    Press(vb::sirc12Signal(1, 0x15));
    boxes.script({MessageButton::Ignore});
    EXPECT_FALSE(procedures.LearnButton("Power", stop, nullptr, data, data2));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error: captured data do not match vocabulary"});
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
}

TEST_F(LearnButtonTest, ACarrierOutsideTheProtocolIsReported) {
    current.carrier_period = 30.5;
    boxes.script({MessageButton::Abort});
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(Texts(),
              std::vector<std::string>{
                  "Carrier period differs from the specified in protocol\rPlease explore IR or explore buttons"});
    EXPECT_TRUE(stop);
}

TEST_F(LearnButtonTest, AFrameRateOutsideTheProtocolIsReported) {
    current.frame_rate = 130;
    boxes.script({MessageButton::Retry, MessageButton::Abort});
    Press(vb::necSignal(0, 0x45));
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{
                  "Frames rate differs from the specified in protocol\rPlease explore IR or explore buttons",
                  "Frames rate differs from the specified in protocol\rPlease explore IR or explore buttons"}));
    EXPECT_EQ(board.capturesStarted(), 5);  // three to learn the protocol, two here
}

TEST_F(LearnButtonTest, ADifferentDummyFrameAsks) {
    current.dummy_code = "EcB";
    boxes.script({MessageButton::Ignore});
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(Texts(),
              std::vector<std::string>{"Received dummy frame \"EcA\"\rdoes not match described in protocol \"EcB\""});
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Retry | MessageButton::Ignore);
}

TEST_F(LearnButtonTest, AMissingOrDummyDataFrameAsks) {
    current.i_position = -1;  // no data frame in the capture
    boxes.script({MessageButton::Abort});
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    // After Abort the remaining checks still run: an empty code is shorter than the protocol's.
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kDataFrameMissed, text::kShorter}));
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Abort | MessageButton::Retry);
    EXPECT_TRUE(stop);
    EXPECT_EQ(data, "");

    // The data frame is the repeat frame the protocol calls its dummy frame.
    current.i_position = 1;
    stop = false;
    boxes.clear();
    boxes.script({MessageButton::Abort});
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kDataFrameMissed, text::kShorter}));
    EXPECT_EQ(data, current.dummy_code);
}

TEST_F(LearnButtonTest, LengthOutsideTheRuleAsks) {
    current.i_length = 70;
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Data frame is shorter than expected. Accept?"});
    current.i_length = 64;
    boxes.clear();
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Data frame is longer than expected. Accept?"});
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Retry);
    current.i_length = 66;
    boxes.clear();
    EXPECT_TRUE(Learn(vb::necSignal(0, 0x45)));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(LearnButtonTest, WithoutAProtocolButtonsAreNotLearned) {
    current.valid = false;
    buttons.Add("Power");
    window.selected = 0;
    procedures.LearnSelectedButton();
    procedures.LearnAllButtons();
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kNoProtocolForButton, text::kNoProtocolForButtons}));
    EXPECT_EQ(board.capturesStarted(), 3);
}

TEST_F(LearnButtonTest, LearnAllWithoutButtonsSaysSo) {
    procedures.LearnAllButtons();
    EXPECT_EQ(Texts(),
              std::vector<std::string>{"You have not created any buttons.\rPlease add some buttons and try again"});
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
}

TEST_F(LearnButtonTest, LearnAllSkipsLearnedButtonsAndStopsAfterAbort) {
    buttons.AddWithCodes("Power", "AbAb", "");
    buttons.Add("Mute");
    buttons.Add("  ");
    buttons.Add("Vol+");
    buttons.Add("Vol-");
    Press(vb::necSignal(0, 0x50));
    Press(vb::necSignal(0, 0x51));
    boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    procedures.LearnAllButtons();

    EXPECT_EQ(Texts(),
              (std::vector<std::string>{PressButtonText("Mute"), PressButtonText("???"), PressButtonText("Vol+")}));
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Abort | MessageButton::Ignore);
    EXPECT_EQ(buttons.Items(0).Code(), "AbAb");
    EXPECT_TRUE(buttons.Items(1).HasCode());
    EXPECT_TRUE(buttons.Items(2).HasCode());
    EXPECT_NE(buttons.Items(1).Code(), buttons.Items(2).Code());
    EXPECT_FALSE(buttons.Items(3).HasCode());
    EXPECT_FALSE(buttons.Items(4).HasCode());
    EXPECT_TRUE(procedures.StopRequested());
    EXPECT_EQ(window.commandStates.front(), false);
    EXPECT_EQ(window.commandStates.back(), true);
}

TEST_F(LearnButtonTest, LearnAllIgnoreSkipsAButtonAndAnAbortInsideStopsAfterStoringTheCode) {
    buttons.AddWithCodes("Power", "", "");
    buttons.Add("Mute");
    buttons.Add("Vol+");
    Press(vb::necSignal(0, 0x45));
    // Ignore Power; Mute: the carrier box answered Abort stores the code all the same and stops.
    current.carrier_period = 30.5;
    boxes.script({MessageButton::Ignore, MessageButton::Ok, MessageButton::Abort});
    procedures.LearnAllButtons();
    EXPECT_FALSE(buttons.Items(0).HasCode());
    EXPECT_TRUE(buttons.Items(1).HasCode());
    EXPECT_FALSE(buttons.Items(2).HasCode());
    EXPECT_EQ(Texts().size(), 3u);
}

TEST_F(LearnButtonTest, CancelOfTheSelectedButtonLearnsNothing) {
    buttons.Add("Power");
    window.selected = 0;
    boxes.script({MessageButton::Cancel});
    procedures.LearnSelectedButton();
    EXPECT_FALSE(buttons.Items(0).HasCode());
    EXPECT_EQ(board.capturesStarted(), 3);
    window.selected = -1;
    procedures.LearnSelectedButton();
    EXPECT_EQ(Texts().size(), 1u);
}

// --- exploring

class ExploreTest : public LearnButtonTest {
protected:
    void Explore(std::initializer_list<vb::IrSignal> presses, std::initializer_list<MessageButton> answers) {
        for (const vb::IrSignal& signal : presses) Press(signal);
        boxes.script(answers);
        procedures.ExploreButtons(nullptr, list);
    }

    TTextLines list;
};

TEST_F(ExploreTest, NewCodesAreCollectedAndTheLatestMarked) {
    procedures.options.UseSubstutionRules = false;
    Explore({vb::necSignal(0, 0x45), vb::necSignal(0, 0x46), vb::necSignal(0, 0x45)},
            {MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    ASSERT_EQ(explore.Count(), 2);
    EXPECT_EQ(Texts(), std::vector<std::string>(4, text::kPressAnyButton));
    const std::string first = explore.Items(0).Code();
    EXPECT_EQ(list.Lines(),
              (std::vector<std::string>{std::string("\005") + first + "  ", "\002" + explore.Items(1).Code() + "  "}));
    EXPECT_EQ(list.Flashed(), (std::vector<int>{0, 1, 0}));
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_EQ(window.commandStates.back(), true);
}

TEST_F(ExploreTest, ShowExploreListTranslatesWithTheRules) {
    explore.AddWithCodes("", "AaAb", "");
    explore.AddWithCodes("", "AbAa", "");
    list.Add("old 0");
    list.Add("old 1");
    list.Add("old 2");
    procedures.options.UseSubstutionRules = true;
    ResetRulesForProtocol(rules, current);
    EXPECT_EQ(procedures.ShowExploreList(list, " AbAa "), 1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Line(0), "\002" + TranslateCode(rules, current, "AaAb  ", false));
    EXPECT_EQ(list.Line(1), "\005" + TranslateCode(rules, current, "AbAa  ", false));
    EXPECT_EQ(list.Line(2), "old 2");
    EXPECT_EQ(procedures.ShowExploreList(list, "AbAb"), -1);
    EXPECT_EQ(list.Flashed(), std::vector<int>{1});
}

TEST_F(ExploreTest, AShorterFixedLengthIsMadeExactThenLongerThan) {
    current.i_length = 67;  // a fixed length: 32 bits
    // 31 bits: 65 intervals, two fewer than the protocol's; then 30 bits: 63, two fewer than the new length.
    Explore({NecWithBits(31, 0x12345678), NecWithBits(30, 0x12345678)},
            {MessageButton::Ok, MessageButton::Yes, MessageButton::Ok, MessageButton::Yes, MessageButton::Abort});
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kPressAnyButton, text::kShorterUpdate, text::kPressAnyButton,
                                                 text::kShorterUpdate, text::kPressAnyButton}));
    EXPECT_EQ(boxes.shown()[1].buttons, MessageButton::Yes | MessageButton::Retry);
    EXPECT_EQ(current.i_length, -(8 * 63 / 10));
    EXPECT_EQ(explore.Count(), 2);
}

TEST_F(ExploreTest, TheFirstAcceptedChangeSetsTheExactLength) {
    current.i_length = 64;
    Explore({vb::necSignal(0, 0x45)}, {MessageButton::Ok, MessageButton::Yes, MessageButton::Abort});
    EXPECT_EQ(Texts()[1], "Data frame is longer than expected.\rWould you like to update protocol definition?");
    EXPECT_EQ(current.i_length, 67);
}

TEST_F(ExploreTest, ALongerThanLengthTakesTheShorterCode) {
    ASSERT_EQ(current.i_length, -67);
    Explore({NecWithBits(30, 0)}, {MessageButton::Ok, MessageButton::Yes, MessageButton::Abort});
    EXPECT_EQ(Texts()[1], text::kShorterUpdate);
    EXPECT_EQ(current.i_length, -63);
}

class ExploreStandardTest : public ExploreTest {
protected:
    void SetUp() override {
        ExploreTest::SetUp();
        current.name = "NEC1";
        current.standard = true;
        DescriptorToWorkingState(current, context.working);
    }
};

TEST_F(ExploreStandardTest, ACarrierUpdateRenamesTheStandardProtocol) {
    current.carrier_period = 30.5;
    context.working.carrier_period = 30.5;
    Explore({vb::necSignal(0, 0x45)}, {MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    EXPECT_EQ(Texts()[1], "Carrier period differs from the specified in protocol\rUpdate protocol?");
    EXPECT_EQ(boxes.shown()[1].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[1].buttons, MessageButton::Ok | MessageButton::Abort | MessageButton::Retry);
    // round(2 * (2 * 26.5 + 30.5) / 3) / 2
    EXPECT_EQ(current.carrier_period, 28.0);
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.name, "~NEC1");
    EXPECT_EQ(window.protocolName, "~NEC1");
    EXPECT_EQ(window.protocolList.Lines(), ProtocolDescriptionLines(current));
    EXPECT_EQ(explore.Count(), 1);
}

struct UpdateCase {
    const char* name;
    double protocolCarrier;
    double protocolRate;
    double carrier;  // after the update
    double rate;
};

class ExploreUpdates : public ExploreTest, public ::testing::WithParamInterface<UpdateCase> {};

// Measured 26.5 us and 103.6 ms: the carrier goes to the nearest half microsecond of (2 x measured + old) / 3, the
// frame rate to the nearest whole millisecond, ties to the even one.
TEST_P(ExploreUpdates, RoundTheWeightedMean) {
    current.carrier_period = GetParam().protocolCarrier;
    current.frame_rate = GetParam().protocolRate;
    Explore({vb::necSignal(0, 0x45)}, {MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Abort});
    ASSERT_EQ(context.working.frame_rate, 103.6);
    ASSERT_EQ(context.working.carrier_period, 26.5);
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kPressAnyButton, text::kFrameRateUpdate, text::kCarrierUpdate,
                                                 text::kPressAnyButton}));
    EXPECT_EQ(current.carrier_period, GetParam().carrier);
    EXPECT_EQ(current.frame_rate, GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(Explore, ExploreUpdates,
                         ::testing::Values(UpdateCase{"WholeResults", 30.5, 130, 28.0, 112},
                                           UpdateCase{"HalfMicrosecondTieDown", 29.5, 130.3, 27.5, 112},
                                           UpdateCase{"TieUp", 23.0, 133.3, 25.5, 114}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExploreStandardTest, FrameRateAndDummyUpdatesRenameOnlyOnce) {
    current.frame_rate = 130;
    current.dummy_code = "EcB";
    Explore({vb::necSignal(0, 0x45)}, {MessageButton::Ok, MessageButton::Ok, MessageButton::Yes, MessageButton::Abort});
    EXPECT_EQ(Texts()[1], "Frames rate differs from the specified in protocol\rUpdate protocol?");
    EXPECT_EQ(Texts()[2],
              "Received dummy frame \"EcA\"\rdoes not match described in protocol \"EcB\"\r"
              "Would you like to update protocol definition?");
    EXPECT_EQ(current.frame_rate, RoundHalfEven((2 * context.working.frame_rate + 130) / 3));
    EXPECT_EQ(current.dummy_code, "EcA");
    EXPECT_EQ(current.name, "~NEC1");
}

TEST_F(ExploreStandardTest, AbortAtACheckEndsExploringWithoutChanges) {
    current.carrier_period = 30.5;
    context.working.carrier_period = 30.5;
    Explore({vb::necSignal(0, 0x45)}, {MessageButton::Ok, MessageButton::Abort});
    EXPECT_EQ(Texts().size(), 2u);
    EXPECT_EQ(current.carrier_period, 30.5);
    EXPECT_TRUE(current.standard);
    EXPECT_EQ(explore.Count(), 0);
    EXPECT_FALSE(link.ReaderPortOpen());
}

TEST_F(ExploreTest, RetryCapturesAgainWithoutAskingForAKey) {
    current.frame_rate = 130;
    Explore({vb::necSignal(0, 0x45), vb::necSignal(0, 0x46)},
            {MessageButton::Ok, MessageButton::Retry, MessageButton::Abort});
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{text::kPressAnyButton, text::kFrameRateUpdate, text::kFrameRateUpdate}));
    EXPECT_EQ(board.capturesStarted(), 5);
    EXPECT_EQ(current.frame_rate, 130);
    EXPECT_EQ(explore.Count(), 0);
}

TEST_F(ExploreTest, IgnoreAtNoFramesAsksForAKeyAgain) {
    // No press is queued for the first capture: it ends with no frames.
    Explore({}, {MessageButton::Ok, MessageButton::Ignore, MessageButton::Abort});
    EXPECT_EQ(Texts(), (std::vector<std::string>{text::kPressAnyButton, "No frames captured, try again?",
                                                 text::kPressAnyButton}));
    EXPECT_FALSE(link.ReaderPortOpen());
}

TEST_F(ExploreTest, WithoutAProtocolNothingHappens) {
    current.valid = false;
    Explore({}, {});
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(board.capturesStarted(), 3);
}

}  // namespace
}  // namespace spectrel::test
