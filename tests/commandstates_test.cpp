// The rule table of the main window's command states, the Options menu and the reader status texts.

#include <gtest/gtest.h>

#include "Code/SPX_CommandStates.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"

namespace spectrel {
namespace {

struct StateCase {
    const char* name;
    TCommandStateInput input;
    TCommandStates expected;
};

// Columns of the expected states: panel, wizard, save names, learn, select, add, load names, learn all,
// explore, save, edit, advanced edit.
constexpr TCommandStates States(bool panel, bool wizard, bool saveNames, bool learn, bool select, bool add,
                                bool loadNames, bool learnAll, bool explore, bool save, bool edit, bool advanced) {
    return TCommandStates{panel, wizard, saveNames, learn, select, add, loadNames, learnAll, explore, save, edit,
                          advanced};
}

// connected, idle, protocol valid, buttons, all have codes
constexpr TCommandStateInput Input(bool connected, bool idle, bool valid, int buttons, bool allCoded) {
    return TCommandStateInput{connected, idle, valid, buttons, allCoded};
}

class CommandStateRule : public ::testing::TestWithParam<StateCase> {};

TEST_P(CommandStateRule, GivesTheStates) { EXPECT_EQ(CommandStatesFor(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rule, CommandStateRule,
    ::testing::Values(
        StateCase{"NoReaderDisablesEverything", Input(false, true, true, 3, false),
                  States(false, false, false, false, false, false, false, false, false, false, false, false)},
        StateCase{"NoReaderWhileBusy", Input(false, false, false, 0, true),
                  States(false, false, false, false, false, false, false, false, false, false, false, false)},
        StateCase{"ConnectedIdleNoProtocolNoButtons", Input(true, true, false, 0, true),
                  States(true, true, true, true, true, true, true, false, false, false, false, false)},
        StateCase{"ConnectedIdleProtocolButtonsWithoutCodes", Input(true, true, true, 2, false),
                  States(true, true, true, true, true, true, true, true, true, true, true, true)},
        StateCase{"EveryButtonCodedDisablesLearnAll", Input(true, true, true, 2, true),
                  States(true, true, true, true, true, true, true, false, true, true, true, true)},
        StateCase{"ButtonsWithoutProtocolStillLearnAll", Input(true, true, false, 1, false),
                  States(true, true, true, true, true, true, true, true, false, false, false, false)},
        StateCase{"BusyKeepsPanelWizardAndSaveNames", Input(true, false, true, 2, false),
                  States(true, true, true, false, false, false, false, false, false, false, false, false)}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

TEST(CommandStateInput, ComesFromTheProtocolAndTheButtonList) {
    Tprotocol_descriptor current;
    current.valid = true;
    TbuttonCodes buttons;
    buttons.Add("Power");
    buttons.Add("Mute").SetCode("AbAb");
    const TCommandStateInput input = CommandStateInputFor(true, false, current, buttons);
    EXPECT_TRUE(input.connected);
    EXPECT_FALSE(input.idle);
    EXPECT_TRUE(input.protocolValid);
    EXPECT_EQ(input.buttonCount, 2);
    EXPECT_FALSE(input.allButtonsHaveCodes);
    buttons.Items(0).SetSecondCode("Ab");
    EXPECT_TRUE(CommandStateInputFor(true, true, current, buttons).allButtonsHaveCodes);
}

struct OptionsCase {
    bool allowProtocolEdit;
    bool allowDecodingParameterEdit;
    TOptionsMenuVisibility expected;
};

TEST(OptionsMenuVisibility, FollowsTheTwoOptions) {
    const OptionsCase cases[] = {
        {false, false, {false, false, false}},
        {true, false, {true, false, true}},
        {false, true, {false, true, true}},
        {true, true, {true, true, true}},
    };
    for (const OptionsCase& c : cases) {
        EXPECT_EQ(OptionsMenuVisibilityFor(c.allowProtocolEdit, c.allowDecodingParameterEdit), c.expected)
            << c.allowProtocolEdit << c.allowDecodingParameterEdit;
    }
}

TEST(ReaderStatusText, ForEachState) {
    struct Case {
        bool connected;
        int first;
        int second;
        bool firstActivation;
        const char* text;
    };
    const Case cases[] = {
        {true, 1, 3, true, "Reader 1.3"},
        {true, 2, 10, false, "Reader 2.10"},
        {false, 255, 255, true, "Cannot Find Reader"},
        {false, 0, 0, false, "No Reader"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReaderStatusText(c.connected, c.first, c.second, c.firstActivation), c.text);
    }
}

}  // namespace
}  // namespace spectrel
