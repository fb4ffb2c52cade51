// The protocol column's commands: standard match, select, rename and advanced edit; the description it writes
// with the user's decimal separator, and the runs a coloured line is drawn in.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_ColouredText.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_ProtocolColumn.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_replace.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace spectrel {
namespace {

using platform::MessageButton;
using platform::MessageKind;

// A list in memory that writes numbers the way a German user reads them.
class CommaLines : public TTextLines {
public:
    char DecimalSeparator() const override { return ','; }
};

class ColumnWindow : public TLearningWindow {
public:
    void UpdateCommandStates(bool idle) override { commandStates.push_back(idle); }
    void RefreshButtonGrid() override { ++gridRefreshes; }
    void ShowProtocolName(const std::string& name) override { protocolName = name; }
    TColouredList* ProtocolList() override { return &protocolList; }

    std::vector<bool> commandStates;
    int gridRefreshes = 0;
    std::string protocolName = "unset";
    CommaLines protocolList;
};

class ColumnDialogs : public TProtocolColumnDialogs {
public:
    int SelectStandardProtocol(const Tstandard_protocols&) override {
        ++selections;
        return chosen;
    }
    void EditProtocolInDialog() override {
        ++edits;
        if (edit) edit();
    }
    void FocusMainWindow() override { ++focused; }

    int chosen = -1;
    int selections = 0;
    int edits = 0;
    int focused = 0;
    std::function<void()> edit;
};

Tprotocol_descriptor Nec(bool standard) {
    Tprotocol_descriptor d;
    d.valid = true;
    d.standard = standard;
    d.name = standard ? "NEC" : "NO NAME";
    d.carrier_period = 26.3;
    d.frame_rate = 108;
    d.format = "iX";
    d.i_letter = 'i';
    d.x_letter = 'X';
    d.i_position = 0;
    d.x_position = 1;
    d.dummy_code = "DdA";
    d.i_length = 32;
    d.x_length = 3;
    d.vocabulary_count = 4;
    d.durations = {560, 1690, 4500, 9000};
    d.is_pulse = {true, false, false, true};
    d.is_pause = {true, true, true, false};
    return d;
}

class ProtocolColumnTest : public ::testing::Test {
protected:
    ProtocolColumnTest() {
        standards.protocols[0] = Nec(true);
        standards.protocols[1] = Nec(true);
        standards.protocols[1].name = "Sony";
        standards.protocols[1].carrier_period = 25;
        standards.count = 2;
        for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
        buttons.Add("Power").SetCode("AbAbAb");
        buttons.Add("Mute");
    }

    std::vector<std::string> Shown() const { return window.protocolList.Lines(); }

    testing::SimulatedClock clock;
    testing::ScriptedMessageBoxes boxes;
    testing::ScriptedInputBox input;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TbuttonCodes buttons;
    TReplaceRule rules;
    ColumnWindow window;
    ColumnDialogs dialogs;
    TProtocolColumn column{{context, current, learned, standards, buttons, rules, boxes, input}, window, dialogs};
};

// --- the description

struct DescriptionCase {
    const char* name;
    std::function<void(Tprotocol_descriptor&)> change;
    char startColour;
    std::vector<std::string> lines;
};

class DescriptionLines : public ProtocolColumnTest, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(DescriptionLines, ShowTheProtocol) {
    current = Nec(false);
    current.x_letter = '?';
    current.vocabulary_count = 2;
    GetParam().change(current);
    column.DescribeProtocol(&window.protocolList);
    EXPECT_EQ(Shown(), GetParam().lines);
    EXPECT_EQ(window.protocolList.TextColour(), GetParam().startColour);
    EXPECT_EQ(window.protocolName, current.name);
    EXPECT_EQ(window.commandStates, std::vector<bool>{true});
    EXPECT_EQ(window.gridRefreshes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DescriptionLines,
    ::testing::Values(
        DescriptionCase{"Learned",
                        [](Tprotocol_descriptor&) {},
                        '\001',
                        {"Carrier frequency: \00338,0\001 kHz", "Frames rate: \003108\001 ms",
                         "Frames structure: \003iX", "  A:  \003560\001 us pulse/pause   ",
                         "  B:  \0031690\001 us pause   "}},
        DescriptionCase{"StandardStartsTeal",
                        [](Tprotocol_descriptor& d) {
                            d.standard = true;
                            d.x_letter = 'X';
                            d.vocabulary_count = 0;
                        },
                        '\002',
                        {"Carrier frequency: \00338,0\001 kHz", "Frames rate: \003108\001 ms",
                         "Frames structure: \003iX", "Dummy frame: \003DdA"}},
        DescriptionCase{"PulsedLongerThan",
                        [](Tprotocol_descriptor& d) {
                            d.carrier_period = 0;
                            d.frame_rate = 0;
                            d.i_length = -32;
                            d.vocabulary_count = 0;
                        },
                        '\001',
                        {"No carrier, pulsed code", "Frames structure: \002iX"}},
        DescriptionCase{"UnknownCarrierAnyLength",
                        [](Tprotocol_descriptor& d) {
                            d.carrier_period = -1;
                            d.frame_rate = 45.5;
                            d.i_length = 0;
                            d.vocabulary_count = 0;
                        },
                        '\001',
                        {"Frames rate: \00346\001 ms", "Frames structure: \001iX"}},
        DescriptionCase{"NotValid", [](Tprotocol_descriptor& d) { d.valid = false; }, '\001', {"No Protocol"}}),
    [](const ::testing::TestParamInfo<DescriptionCase>& info) { return std::string(info.param.name); });

TEST_F(ProtocolColumnTest, DescribingWithoutClearAppends) {
    current = Nec(false);
    current.vocabulary_count = 0;
    window.protocolList.Add("Record 0: 3 frames captured");
    column.DescribeProtocol(&window.protocolList, false);
    ASSERT_EQ(Shown().size(), 5u);
    EXPECT_EQ(Shown()[0], "Record 0: 3 frames captured");
    EXPECT_EQ(Shown()[1], "Carrier frequency: \00338,0\001 kHz");
}

// --- colour runs

TEST(ColouredRuns, CutAtTheColourCodes) {
    struct Case {
        const char* name;
        std::string line;
        int startText;
        std::vector<TColouredRun> runs;
    };
    const Case cases[] = {
        {"CarrierLineInTeal",
         "Carrier frequency: \00338,0\001 kHz",
         2,
         {{"Carrier frequency: ", 2, 0}, {"38,0", 3, 0}, {" kHz", 1, 0}}},
        {"PlainLine", "Frames rate", 0, {{"Frames rate", 0, 0}}},
        {"CodesOnlyGiveNoRun", "\003\001", 0, {}},
        {"EmptyLine", "", 0, {}},
        {"Backgrounds", "\007tip\010win\006red", 0, {{"tip", 0, 7}, {"win", 0, 8}, {"red", 6, 8}}},
        {"LeadingCode", "\002   Capturing \003first\002 button",
         1,
         {{"   Capturing ", 2, 0}, {"first", 3, 0}, {" button", 2, 0}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ColouredRuns(c.line, c.startText), c.runs) << c.name;
}

// --- standard match

TEST_F(ProtocolColumnTest, MatchReplacesALearnedProtocolAndKeepsItsCopy) {
    current = Nec(false);
    current.carrier_period = 26.8;
    column.ApplyStandardMatch(true);
    EXPECT_TRUE(current.standard);
    EXPECT_EQ(current.name, "NEC");
    EXPECT_EQ(current.carrier_period, 26.3);
    EXPECT_EQ(learned.name, "NO NAME");
    EXPECT_EQ(learned.carrier_period, 26.8);
    EXPECT_EQ(window.protocolList.TextColour(), '\002');
    EXPECT_EQ(window.protocolName, "NEC");
}

TEST_F(ProtocolColumnTest, MatchWithoutAFittingStandardChangesNothing) {
    current = Nec(false);
    current.carrier_period = 40;
    column.ApplyStandardMatch(true);
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.carrier_period, 40);
    EXPECT_FALSE(learned.valid);
}

TEST_F(ProtocolColumnTest, WithoutMatchingTheLearnedCopyComesBackNamedNoName) {
    current = Nec(true);
    learned = Nec(false);
    learned.name = "  ";
    learned.carrier_period = 26.8;
    column.ApplyStandardMatch(false);
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.carrier_period, 26.8);
    EXPECT_EQ(current.name, "NO NAME");
}

TEST_F(ProtocolColumnTest, WithoutMatchingAndNoLearnedCopyTheProtocolStays) {
    current = Nec(true);
    column.ApplyStandardMatch(false);
    EXPECT_TRUE(current.standard);
    EXPECT_EQ(current.name, "NEC");
}

// --- select

TEST_F(ProtocolColumnTest, SelectWithCodesAsksAndOkAppliesKeepingTheNames) {
    dialogs.chosen = 1;
    boxes.script({MessageButton::Ok});
    column.SelectStandardProtocol();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "All learned information will be lost. Continue?");
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
    EXPECT_EQ(current.name, "Sony");
    EXPECT_TRUE(current.standard);
    EXPECT_EQ(context.working.carrier_period, 25);
    EXPECT_EQ(context.working.vocabulary_count, 4);
    EXPECT_FALSE(buttons.AnyHasCode());
    EXPECT_EQ(buttons.Items(0).Name(), "Power");
    EXPECT_EQ(Shown().front(), "Carrier frequency: \00340,0\001 kHz");
}

TEST_F(ProtocolColumnTest, SelectCancelledAtTheWarningKeepsEverything) {
    dialogs.chosen = 0;
    boxes.script({MessageButton::Cancel});
    column.SelectStandardProtocol();
    EXPECT_FALSE(current.valid);
    EXPECT_EQ(buttons.Items(0).Code(), "AbAbAb");
}

TEST_F(ProtocolColumnTest, SelectWithoutCodesAppliesAtOnce) {
    buttons.ClearAllCodes();
    dialogs.chosen = 0;
    column.SelectStandardProtocol();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(current.name, "NEC");
    EXPECT_EQ(buttons.Count(), 2);
}

TEST_F(ProtocolColumnTest, SelectCancelledInTheDialogDoesNothing) {
    dialogs.chosen = -1;
    column.SelectStandardProtocol();
    EXPECT_EQ(dialogs.selections, 1);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(current.valid);
    EXPECT_EQ(buttons.Items(0).Code(), "AbAbAb");
}

// --- rename

struct RenameCase {
    const char* name;
    const char* before;
    bool standardBefore;
    std::optional<std::string> typed;
    std::vector<MessageButton> answers;
    const char* after;
    bool standardAfter;
    int warnings;
};

class Rename : public ProtocolColumnTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(Rename, FollowsTheStandardNameRule) {
    const RenameCase& c = GetParam();
    current = Nec(c.standardBefore);
    current.name = c.before;
    if (c.typed) {
        input.answer(*c.typed);
    } else {
        input.cancel();
    }
    for (MessageButton answer : c.answers) boxes.push(answer);
    column.RenameProtocol();
    ASSERT_EQ(input.asked().size(), 1u);
    EXPECT_EQ(input.asked()[0].title, "Edit Protocol");
    EXPECT_EQ(input.asked()[0].prompt, "Enter protocol name");
    EXPECT_EQ(input.asked()[0].initial, c.before);
    EXPECT_EQ(current.name, c.after);
    EXPECT_EQ(current.standard, c.standardAfter);
    EXPECT_EQ(boxes.shown().size(), static_cast<std::size_t>(c.warnings));
    if (c.warnings > 0) {
        EXPECT_EQ(boxes.shown()[0].text,
                  "You have selected the name of a standard protocol. This name \r\nwill be changed automatically to "
                  "avoid conflicts.");
        EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, Rename,
    ::testing::Values(
        RenameCase{"StandardNameGetsSuffix", "NO NAME", false, "nec", {MessageButton::Ok}, "nec~1", false, 1},
        RenameCase{"TrimmedStandardName", "NO NAME", false, " Sony ", {MessageButton::Ok}, " Sony ~1", false, 1},
        RenameCase{"CancelAtTheWarning", "NO NAME", false, "NEC", {MessageButton::Cancel}, "NO NAME", false, 1},
        RenameCase{"SameNameOtherCaseChangesNothing", "Sony", true, "SONY", {}, "Sony", true, 0},
        RenameCase{"CancelledInputChangesNothing", "NEC", true, std::nullopt, {}, "NEC", true, 0},
        RenameCase{"NewNameClearsStandard", "NEC", true, "Living room", {}, "Living room", false, 0}),
    [](const ::testing::TestParamInfo<RenameCase>& info) { return std::string(info.param.name); });

TEST_F(ProtocolColumnTest, RenameDescribesTheProtocolAgain) {
    current = Nec(true);
    input.answer("Living room");
    column.RenameProtocol();
    EXPECT_EQ(window.protocolName, "Living room");
    EXPECT_EQ(window.protocolList.TextColour(), '\001');
    EXPECT_FALSE(Shown().empty());
}

// --- advanced edit

TEST_F(ProtocolColumnTest, AdvancedEditWithoutChangeClearsEveryCode) {
    current = Nec(true);
    buttons.Items(1).SetSecondCode("Ab");
    column.AdvancedEdit();
    EXPECT_EQ(dialogs.edits, 1);
    EXPECT_EQ(dialogs.focused, 1);
    EXPECT_FALSE(buttons.AnyHasCode());
    EXPECT_EQ(buttons.Count(), 2);
    EXPECT_EQ(buttons.Items(1).Name(), "Mute");
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(current.name, "NEC");
    EXPECT_EQ(Shown().front(), "Carrier frequency: \00338,0\001 kHz");
}

TEST_F(ProtocolColumnTest, AdvancedEditEmptiesTheListWhileTheDialogIsOpen) {
    current = Nec(false);
    column.DescribeProtocol(&window.protocolList);
    std::size_t linesWhileOpen = 99;
    dialogs.edit = [&] { linesWhileOpen = Shown().size(); };
    column.AdvancedEdit();
    EXPECT_EQ(linesWhileOpen, 0u);
}

TEST_F(ProtocolColumnTest, AdvancedEditPutsTheVocabularyInOrder) {
    current = Nec(false);
    dialogs.edit = [&] {
        current.name = "  Mine  ";
        current.vocabulary_count = 5;
        current.durations = {1690, 560, 560, 9000, 4500};
        current.is_pulse = {false, true, false, true, false};
        current.is_pause = {true, false, true, false, true};
    };
    column.AdvancedEdit();
    EXPECT_EQ(current.name, "Mine");
    ASSERT_EQ(current.vocabulary_count, 4);
    EXPECT_EQ(current.durations[0], 560);
    EXPECT_EQ(current.durations[1], 1690);
    EXPECT_EQ(current.durations[2], 4500);
    EXPECT_EQ(current.durations[3], 9000);
}

TEST_F(ProtocolColumnTest, AdvancedEditKeepsTheEditedPositionsAndLengthRules) {
    // The analysis state still holds the frames of an earlier learning.
    context.working.data_code = "AbAb";
    context.working.i_position = 3;
    current = Nec(true);
    dialogs.edit = [&] { current.i_length = -20; };
    column.AdvancedEdit();
    EXPECT_EQ(current.i_length, -20);
    EXPECT_EQ(current.x_length, 3);
    EXPECT_EQ(current.i_position, 0);
    EXPECT_EQ(current.x_position, 1);
    EXPECT_EQ(current.format, "iX");
    EXPECT_EQ(current.dummy_code, "DdA");
}

TEST_F(ProtocolColumnTest, AdvancedEditOfNoProtocolStillClearsTheCodes) {
    column.AdvancedEdit();
    EXPECT_FALSE(current.valid);
    EXPECT_FALSE(buttons.AnyHasCode());
    EXPECT_EQ(Shown(), std::vector<std::string>{"No Protocol"});
}

}  // namespace
}  // namespace spectrel
