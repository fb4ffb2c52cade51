// The IR wizard's pages, navigation rules, page checks and commands, on the main window's model with the
// virtual reader board, the window held in memory.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/settings_temp_folder.h"
#include "tests/wizard_host_double.h"
#include "tests/wizard_view_double.h"

namespace spectrel::test {
namespace {

using platform::MessageButton;
using platform::MessageKind;

const std::string kStandardsFile = std::string(SPECTREL_SOURCE_DIR) + "/tests/data/protocols_good.ini";

class WizardFlowTest : public ::testing::Test {
protected:
    WizardFlowTest() { host.details = FilledDetails(); }

    static TWizardDetails FilledDetails() {
        TWizardDetails details;
        details.deviceType = {{"DVD", "Other", "TV", "VCR"}, 2, "TV"};
        details.deviceBrand = {{"Akai", "Sony"}, 1, "Sony"};
        details.deviceModel = "KV-1";
        details.remoteBrand = {{"Akai", "Sony"}, 1, "SONY"};
        details.remoteModel = "rm-D5";
        details.notes = "living room";
        return details;
    }

    void Open() {
        flow.Open();
        host.calls.clear();
    }
    // Opens and walks Next from page 1 until `page` (the checks must pass on the way).
    void OpenAt(int target) {
        Open();
        while (view.page != target) {
            const int before = view.page;
            flow.Next();
            ASSERT_NE(view.page, before) << "Next refused on page " << before + 1;
        }
        host.calls.clear();
    }
    std::vector<std::string> Texts() const { return host.boxes.texts(); }
    void SelectStandard(const std::string& name) {
        const int index = FindStandardProtocol(host.standards, name);
        ASSERT_GE(index, 0);
        flow.StandardClicked(index);
        view.selectedStandard = index;
    }

    WizardHostDouble host{kStandardsFile};
    WizardViewDouble view;
    TWizardFlow flow{host.Model(), host, view};
};

// --- the pages

TEST(WizardPagesTest, TitlesHelpContextsAndNames) {
    struct Case {
        int page;
        const char* objectName;
        const char* title;
        int helpContext;
    };
    const Case cases[] = {
        {0, "KWizardWelcomePage", "Welcome to the Spectrel Wizard", 3100},
        {1, "kWizardInfo", "Remote Details", 3150},
        {2, "kwpProtocolSelect", "Getting the Protocol", 0},
        {3, "kwpExploreIR", "Learn Remote Control Protocol", 3300},
        {4, "kwpGetStandardProtocol", "Get Standard Protocol", 0},
        {5, "kwpGetButtons", "Get Button Template", 3400},
        {6, "pageLearnButtons", "Learn Buttons", 3500},
        {7, "kwpSaveToFile", "Save To File", 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.objectName);
        EXPECT_STREQ(WizardPageInfo(c.page).objectName, c.objectName);
        EXPECT_STREQ(WizardPageInfo(c.page).title, c.title);
        EXPECT_EQ(WizardPageInfo(c.page).helpContext, c.helpContext);
        EXPECT_EQ(WizardNavigation(c.page, false).helpShown, c.helpContext != 0);
    }
    EXPECT_STREQ(WizardPageInfo(4).subtitle, "Select the protocol to use with this remote.");
    EXPECT_STREQ(WizardPageInfo(7).subtitle,
                 "Now all  you have to do is save the learnt codes to a file. Press the save button..");
    EXPECT_STREQ(WizardPageInfo(1).subtitle,
                 "Add information about the remote that you wish to get the codes from. All fields excpet the "
                 "\"notes\" filed are required.");
}

TEST(WizardPagesTest, NavigationButtons) {
    struct Case {
        const char* name;
        int page;
        bool busy;
        TWizardNavigation expected;
    };
    // back, next, finish, help shown, help enabled, next is default
    const Case cases[] = {
        {"welcome: no Back", 0, false, {false, true, true, true, true, true}},
        {"details", 1, false, {true, true, true, true, true, true}},
        {"protocol choice: no Help", 2, false, {true, true, true, false, true, true}},
        {"standard protocol: no Help", 4, false, {true, true, true, false, true, true}},
        {"save: no Next, Finish is the default", 7, false, {true, false, true, true, true, false}},
        {"learning the protocol: all disabled", 3, true, {false, false, false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WizardNavigation(c.page, c.busy), c.expected);
    }
}

TEST_F(WizardFlowTest, OpeningPreparesThePages) {
    host.AddButtons({"Power", "Mute"});
    host.settings.AllowProtocolEdit = true;
    Open();
    EXPECT_EQ(view.page, 0);
    EXPECT_EQ(view.details, FilledDetails());
    EXPECT_EQ(view.protocolProgress.low, 0);
    EXPECT_EQ(view.protocolProgress.high, 6);
    EXPECT_EQ(view.buttonsProgress.high, 6);
    EXPECT_EQ(view.subtitles[0], wizard_text::kWelcomeSubtitle);
    EXPECT_EQ(view.subtitles[2], wizard_text::kProtocolChoiceSubtitle);
    EXPECT_EQ(view.standardDetails.Lines(), (std::vector<std::string>{"No Protocol"}));
    // The template list: the template commands without "&", not the window's own (tag 99).
    EXPECT_EQ(view.templateNames.size(), 10u);
    EXPECT_EQ(std::count(view.templateNames.begin(), view.templateNames.end(), "Save"), 0);
    EXPECT_EQ(view.buttonNames, (std::vector<TNamedIndex>{{"Power", 0}, {"Mute", 1}}));
    EXPECT_EQ(view.grid, (std::vector<TWizardRow>{{"Power", "<not recorded>"}, {"Mute", "<not recorded>"}}));
    EXPECT_FALSE(view.standardChosen);
    EXPECT_TRUE(view.editProtocolVisible);
    EXPECT_FALSE(view.editProtocolEnabled);
}

TEST(WizardTemplatesTest, CaptionsLoseEveryAmpersand) {
    EXPECT_EQ(TemplateCaptionText("&TV"), "TV");
    EXPECT_EQ(TemplateCaptionText("A&&B&"), "AB");
    EXPECT_EQ(TemplateCaptionText("DVD"), "DVD");
}

// --- the page flow with each protocol choice

TEST_F(WizardFlowTest, LearnChoiceSkipsTheStandardPage) {
    host.LearnNecProtocol();
    host.AddButtons({"Power"});
    Open();
    for (int i = 0; i < 6; ++i) flow.Next();
    EXPECT_EQ(view.pagesShown, (std::vector<int>{0, 1, 2, 3, 5, 6, 7}));
    flow.Next();  // Next does nothing on the last page
    EXPECT_EQ(view.page, 7);
    for (int i = 0; i < 6; ++i) flow.Back();
    EXPECT_EQ(view.pagesShown, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 6, 5, 3, 2, 1, 0}));
    flow.Back();
    EXPECT_EQ(view.page, 0);
}

TEST_F(WizardFlowTest, StandardChoiceSkipsTheLearnPage) {
    CopyStandardProtocol(host.standards, FindStandardProtocol(host.standards, "RC5"), host.current);
    host.AddButtons({"Power"});
    Open();
    // A standard protocol current presets the standard choice.
    EXPECT_TRUE(view.standardChosen);
    flow.Next();
    flow.Next();
    flow.Next();
    EXPECT_EQ(view.page, 4);
    EXPECT_EQ(view.selectedStandard, FindStandardProtocol(host.standards, "RC5"));
    flow.Next();
    flow.Next();
    flow.Next();
    EXPECT_EQ(view.pagesShown, (std::vector<int>{0, 1, 2, 4, 5, 6, 7}));
    flow.Back();
    flow.Back();
    flow.Back();
    flow.Back();
    EXPECT_EQ(view.pagesShown, (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 6, 5, 4, 2}));
}

TEST_F(WizardFlowTest, FinishClosesFromAnyPageWithoutTheChecks) {
    host.details = {};
    Open();
    flow.Next();
    EXPECT_EQ(view.page, 1);
    flow.Finish();
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(Texts().empty());
    EXPECT_TRUE(host.calls.empty());
}

// --- page 2

TEST_F(WizardFlowTest, DetailsChecksInOrder) {
    struct Case {
        const char* name;
        std::function<void(TWizardDetails&)> blank;
        const char* message;
    };
    const Case cases[] = {
        {"everything blank", [](TWizardDetails& d) { d = {}; }, "The remote brand field cannot be blank"},
        {"remote brand", [](TWizardDetails& d) { d.remoteBrand.text.clear(); }, "The remote brand field cannot be blank"},
        {"remote model and the rest",
         [](TWizardDetails& d) {
             d.remoteModel.clear();
             d.deviceType = {};
             d.deviceBrand.text.clear();
             d.deviceModel.clear();
         },
         "The remote model field cannot be blank"},
        {"device type and device model",
         [](TWizardDetails& d) {
             d.deviceType = {d.deviceType.items, -1, ""};
             d.deviceModel.clear();
         },
         "The device type field cannot be blank"},
        {"device brand", [](TWizardDetails& d) { d.deviceBrand.text.clear(); }, "The device brand field cannot be blank"},
        {"device model", [](TWizardDetails& d) { d.deviceModel.clear(); }, "The device model field cannot be blank"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WizardHostDouble caseHost;
        caseHost.details = FilledDetails();
        WizardViewDouble caseView;
        TWizardFlow caseFlow(caseHost.Model(), caseHost, caseView);
        caseFlow.Open();
        caseFlow.Next();
        c.blank(caseView.details);
        caseHost.calls.clear();
        caseFlow.Next();
        EXPECT_EQ(caseView.page, 1);
        ASSERT_EQ(caseHost.boxes.shown().size(), 1u);
        EXPECT_EQ(caseHost.boxes.shown()[0].text, c.message);
        EXPECT_EQ(caseHost.boxes.shown()[0].kind, MessageKind::Error);
        EXPECT_EQ(caseHost.boxes.shown()[0].buttons, MessageButton::Ok);
        EXPECT_TRUE(caseHost.calls.empty());
    }
}

TEST_F(WizardFlowTest, DetailsGoBackToTheMainWindowInOrder) {
    Open();
    flow.Next();
    view.details.notes = "";  // the notes may be blank
    view.details.deviceType = {view.details.deviceType.items, 3, "VCR"};
    view.details.deviceModel = "  ";
    flow.Next();
    EXPECT_EQ(view.page, 2);
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"RemoteBrand=SONY", "RemoteModel=rm-D5", "DeviceTypeIndex=3",
                                                    "DeviceTypeChange", "DeviceType=VCR", "DeviceBrand=Sony",
                                                    "DeviceModel=  ", "Notes="}));
}

TEST(WizardBrandListTest, BuiltInBrandsAndTheBrandFile) {
    const std::vector<std::string> builtIn{"Akai",    "Fujitsu", "Halvren", "JVC",  "Mitsubishi",
                                           "NEC",     "Panasonic", "Philips", "Samsung", "Sanyo",
                                           "Sharp",   "Siemens", "Sony",    "TEAC", "Westinghouse"};
    TempFolder folder;
    EXPECT_EQ(WizardBrandList(folder.Folder(), "Projector"), builtIn);

    folder.Write("TV.brd", "Sony\r\nbeko\nLoewe\r");
    const std::vector<std::string> tv = WizardBrandList(folder.Folder(), "TV");
    EXPECT_EQ(tv.size(), 18u);
    EXPECT_EQ(std::count(tv.begin(), tv.end(), "Sony"), 2);
    EXPECT_EQ(tv[1], "beko");
    EXPECT_TRUE(std::is_sorted(tv.begin(), tv.end(), [](std::string a, std::string b) {
        std::transform(a.begin(), a.end(), a.begin(), ::tolower);
        std::transform(b.begin(), b.end(), b.begin(), ::tolower);
        return a < b;
    }));
}

// --- pages 3 and 4

TEST(WizardProtocolNameTest, DefaultName) {
    struct Case {
        const char* brand;
        const char* model;
        const char* name;
    };
    const Case cases[] = {
        {"SONY", "rm-D5", "SonyRm-d5"}, {"philips", "RC 19", "PhilipsRc 19"}, {"", "", ""},
        {"jVC", "", "Jvc"},             {"9tv", "X", "9tvX"},                 {"\xc3\x89lan", "A", "\xc3\x89lanA"},
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultProtocolName(c.brand, c.model), c.name) << c.brand << c.model;
}

TEST_F(WizardFlowTest, LearnPageWithoutProtocolTakesTheDefaultName) {
    OpenAt(2);
    view.learnResults.Add("old line");
    flow.Next();
    EXPECT_EQ(view.page, 3);
    EXPECT_EQ(view.protocolName, "SonyRm-d5");
    EXPECT_TRUE(view.learnResults.Lines().empty());
    EXPECT_FALSE(view.editProtocolEnabled);
    // Next refuses without a valid protocol, whatever the name field holds.
    flow.Next();
    view.protocolName.clear();
    flow.Next();
    EXPECT_EQ(view.page, 3);
    const std::string message = "Cannot find a valid protocol. Explore has not been sucessfully completed.";
    EXPECT_EQ(Texts(), (std::vector<std::string>{message, message}));
}

TEST_F(WizardFlowTest, LearnPageWithAProtocolShowsItAndRefusesAnEmptyName) {
    host.LearnNecProtocol();
    host.settings.AllowProtocolEdit = true;
    OpenAt(3);
    EXPECT_EQ(view.protocolName, "NO NAME");
    EXPECT_EQ(view.learnResults.Lines(), ProtocolDescriptionLines(host.current));
    EXPECT_TRUE(view.editProtocolEnabled);
    view.protocolName.clear();
    flow.Next();
    EXPECT_EQ(view.page, 3);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"a protocol name is required"}));
}

TEST_F(WizardFlowTest, LearningOnTheVirtualReader) {
    host.settings.AllowProtocolEdit = true;
    OpenAt(3);
    TWizardNavigation whileLearning;
    bool progressWhileLearning = false;
    bool learnWhileLearning = true;
    host.onLearnProtocol = [&] {
        whileLearning = view.navigation;
        progressWhileLearning = view.protocolProgressShown;
        learnWhileLearning = view.learnEnabled;
        // Clicks that arrive while learning do nothing.
        flow.Next();
        flow.Back();
        flow.Finish();
    };
    host.QueueProtocolPresses();
    flow.LearnProtocol();
    EXPECT_TRUE(host.current.valid);
    EXPECT_EQ(whileLearning, (TWizardNavigation{false, false, false, true, false, false}));
    EXPECT_TRUE(progressWhileLearning);
    EXPECT_FALSE(learnWhileLearning);
    EXPECT_EQ(view.page, 3);
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(view.navigation, WizardNavigation(3, false));
    EXPECT_FALSE(view.protocolProgressShown);
    EXPECT_TRUE(view.learnEnabled);
    EXPECT_TRUE(view.editProtocolEnabled);
    // The progress lines and the description went to the results list.
    ASSERT_FALSE(view.learnResults.Lines().empty());
    EXPECT_EQ(view.learnResults.Lines().front(), "\002   Capturing \003first\002 button");
    EXPECT_EQ(view.learnResults.Lines().back(), ProtocolDescriptionLines(host.current).back());
    // The name field keeps the default name, which the protocol takes on leaving the page.
    flow.Next();
    EXPECT_EQ(view.page, 5);
    EXPECT_EQ(host.current.name, "SonyRm-d5");
}

TEST_F(WizardFlowTest, LearningThatFailsRestoresThePage) {
    host.settings.AllowProtocolEdit = true;
    OpenAt(3);
    host.onLearnProtocol = [] { throw std::runtime_error("reader gone"); };
    EXPECT_THROW(flow.LearnProtocol(), std::runtime_error);
    EXPECT_EQ(view.navigation, WizardNavigation(3, false));
    EXPECT_FALSE(view.protocolProgressShown);
    EXPECT_TRUE(view.learnEnabled);
    EXPECT_FALSE(view.editProtocolEnabled);
}

TEST_F(WizardFlowTest, ExitActionAppliesTheName) {
    struct Case {
        const char* name;
        const char* field;
        std::vector<MessageButton> answers;
        const char* expectedName;
        bool asked;
    };
    const Case cases[] = {
        {"the same name in other letter case: nothing", "no name", {}, "NO NAME", false},
        {"a new name", "Living Room", {}, "Living Room", false},
        {"a standard name, OK", " nec ", {MessageButton::Ok}, " nec ~1", true},
        {"a standard name, Cancel", "Rc5", {MessageButton::Cancel}, "NO NAME", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WizardHostDouble caseHost(kStandardsFile);
        caseHost.details = FilledDetails();
        caseHost.LearnNecProtocol();
        caseHost.current.standard = true;  // as a standard protocol would be, to see the flag cleared
        WizardViewDouble caseView;
        TWizardFlow caseFlow(caseHost.Model(), caseHost, caseView);
        caseFlow.Open();
        caseView.standardChosen = false;
        caseFlow.Next();
        caseFlow.Next();
        caseFlow.Next();
        ASSERT_EQ(caseView.page, 3);
        caseView.protocolName = c.field;
        for (MessageButton answer : c.answers) caseHost.boxes.push(answer);
        caseHost.calls.clear();
        caseFlow.Back();  // leaving by Back runs the action as well
        EXPECT_EQ(caseView.page, 2);
        EXPECT_EQ(caseHost.current.name, c.expectedName);
        if (c.asked) {
            ASSERT_EQ(caseHost.boxes.shown().size(), 1u);
            EXPECT_EQ(caseHost.boxes.shown()[0].text,
                      "You have selected the name of a standard protocol. This name \r\nwill be changed "
                      "automatically to avoid conflicts.");
            EXPECT_EQ(caseHost.boxes.shown()[0].kind, MessageKind::Warning);
            EXPECT_EQ(caseHost.boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
        } else {
            EXPECT_TRUE(caseHost.boxes.shown().empty());
        }
        const bool renamed = std::string(c.expectedName) != "NO NAME";
        EXPECT_EQ(caseHost.current.standard, !renamed);
        if (renamed) {
            EXPECT_EQ(caseView.protocolName, c.expectedName);
            EXPECT_EQ(caseHost.calls, (std::vector<std::string>{"DescribeProtocol", "DescribeMainProtocol"}));
            EXPECT_EQ(caseView.standardDetails.Lines(), ProtocolDescriptionLines(caseHost.current));
        } else {
            EXPECT_TRUE(caseHost.calls.empty());
        }
    }
}

TEST_F(WizardFlowTest, EditProtocolRendersTheDescriptionAgain) {
    host.LearnNecProtocol();
    host.settings.AllowProtocolEdit = true;
    host.protocolEdit = [](Tprotocol_descriptor& d) {
        d.name = "Edited";
        d.frame_rate = 99;
        return true;
    };
    OpenAt(3);
    flow.EditProtocol();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"EditProtocol", "DescribeMainProtocol"}));
    EXPECT_EQ(view.standardDetails.Lines(), ProtocolDescriptionLines(host.current));
    // The name field wins over a name changed in the editor.
    flow.Next();
    EXPECT_EQ(host.current.name, "NO NAME");
}

// --- page 5

TEST_F(WizardFlowTest, ChoosingAnotherStandardClearsCodesWithoutAsking) {
    host.AddButtons({"Power", "Mute"});
    host.buttons.Items(0).SetCode("AaAb");
    host.buttons.Items(1).SetCode("AbAb");
    host.details = FilledDetails();
    Open();
    view.standardChosen = true;
    flow.Next();
    flow.Next();
    flow.Next();
    ASSERT_EQ(view.page, 4);
    EXPECT_EQ(view.standardNames, (std::vector<std::string>{"NEC", "RC5", "Halvren"}));
    EXPECT_EQ(view.selectedStandard, -1);
    // Next refuses without a selection.
    flow.Next();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Please select a standard protocol from the list"}));
    host.boxes.clear();

    SelectStandard("RC5");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(host.current.name, "RC5");
    EXPECT_TRUE(host.current.standard);
    EXPECT_FALSE(host.buttons.AnyHasCode());
    EXPECT_EQ(host.context.working.carrier_period, 27.5);
    EXPECT_EQ(view.standardDetails.Lines(), ProtocolDescriptionLines(host.current));
    EXPECT_EQ(host.mainList.Lines(), ProtocolDescriptionLines(host.current));
    EXPECT_EQ(view.grid[0].value, "<not recorded>");

    // The protocol already current: the codes stay.
    host.buttons.Items(0).SetCode("AaAb");
    host.calls.clear();
    SelectStandard("RC5");
    EXPECT_TRUE(host.buttons.Items(0).HasCode());
    EXPECT_TRUE(host.calls.empty());

    flow.Next();
    EXPECT_EQ(view.page, 5);
    flow.Back();
    EXPECT_EQ(view.page, 4);
    EXPECT_EQ(view.selectedStandard, 1);
}

TEST_F(WizardFlowTest, StandardPageRefusesAnInvalidProtocol) {
    Open();
    view.standardChosen = true;
    flow.Next();
    flow.Next();
    flow.Next();
    view.selectedStandard = 0;  // selected, but not applied
    flow.Next();
    EXPECT_EQ(view.page, 4);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Cannot find a valid protocol."}));
}

// --- page 6

TEST_F(WizardFlowTest, ButtonsPageCommands) {
    host.LearnNecProtocol();
    OpenAt(5);
    flow.Next();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"The button list cannot be left blank"}));
    EXPECT_EQ(view.page, 5);
    EXPECT_FALSE(view.buttonCommandsEnabled);

    flow.TemplateClicked("VCR");
    EXPECT_EQ(host.calls.front(), "RunTemplateEntry=VCR");
    ASSERT_GT(host.buttons.Count(), 3);
    EXPECT_EQ(static_cast<int>(view.buttonNames.size()), host.buttons.Count());
    const int count = host.buttons.Count();

    // Delete keeps the index while it is below the new count minus one, otherwise the last entry.
    view.selectedButton = 1;
    flow.ButtonListClicked();
    EXPECT_TRUE(view.buttonCommandsEnabled);
    const std::string third = host.buttons.Items(2).Name();
    flow.DeleteListButton();
    EXPECT_EQ(host.buttons.Count(), count - 1);
    EXPECT_EQ(host.buttons.Items(1).Name(), third);
    EXPECT_EQ(view.selectedButton, 1);
    view.selectedButton = count - 2;
    flow.DeleteListButton();
    EXPECT_EQ(view.selectedButton, count - 3);

    // Edit renames through the dialog.
    host.plannedEdits.push_back([](TButtonCode& b) {
        b.SetName("Renamed");
        return true;
    });
    view.selectedButton = 0;
    flow.EditListButton();
    EXPECT_EQ(host.buttons.Items(0).Name(), "Renamed");
    EXPECT_EQ(view.buttonNames[0].name, "Renamed");
    EXPECT_EQ(view.selectedButton, 0);

    // Add: a cancelled dialog adds nothing, a saved one a "New Button".
    flow.AddButton();
    EXPECT_EQ(host.buttons.Count(), count - 2);
    host.plannedEdits.push_back([](TButtonCode&) { return true; });
    flow.AddButton();
    EXPECT_EQ(host.buttons.Items(host.buttons.Count() - 1).Name(), "New Button");
    EXPECT_EQ(view.grid.back().label, "New Button");

    flow.Next();
    EXPECT_EQ(view.page, 6);
    flow.Back();
    EXPECT_EQ(view.page, 5);
    flow.Back();
    EXPECT_EQ(view.page, 3);
}

// --- page 7

TEST_F(WizardFlowTest, LearnGridFollowsTheButtonsThroughTheBus) {
    host.LearnNecProtocol();
    host.settings.UseSubstutionRules = false;
    host.AddButtons({"Power", "Mute", "Play"});
    OpenAt(6);
    const int rebuilds = flow.GridRebuilds();
    EXPECT_EQ(flow.Subscriptions().Subscription().Count(), 3);

    host.plannedEdits.push_back([](TButtonCode& b) {
        b.SetName("Standby");
        return true;
    });
    view.selectedRow = 0;
    flow.GridClicked();
    EXPECT_TRUE(view.gridCommandsEnabled);
    flow.EditGridButton();
    EXPECT_EQ(view.grid[0], (TWizardRow{"Standby", "<not recorded>"}));
    host.buttons.Items(2).SetCode("AaAb");
    EXPECT_EQ(view.grid[2], (TWizardRow{"Play", "AaAb "}));
    EXPECT_EQ(flow.GridRebuilds(), rebuilds);
    EXPECT_GE(view.rewrites, 2);
}

TEST_F(WizardFlowTest, LearnGridTranslatesCodesWithTheRules) {
    host.LearnNecProtocol();
    host.settings.UseSubstutionRules = true;
    host.AddButtons({"Power"});
    host.buttons.Items(0).SetCode("AaAb");
    Open();
    EXPECT_EQ(view.grid[0].value, TranslateCode(host.rules, host.current, "AaAb", false));
}

TEST_F(WizardFlowTest, LearnOneButtonOnTheVirtualReader) {
    host.LearnNecProtocol();
    host.AddButtons({"Power", "Mute"});
    OpenAt(6);
    view.selectedRow = 1;
    flow.GridClicked();

    host.boxes.script({MessageButton::Cancel});
    flow.LearnGridButton();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Click OK and then press button \r\r       Mute\r"}));
    EXPECT_EQ(host.boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
    EXPECT_EQ(host.boxes.shown()[0].kind, MessageKind::Information);
    EXPECT_EQ(host.calls, std::vector<std::string>{});
    EXPECT_EQ(view.buttonsProgressHistory, (std::vector<bool>{true, false}));

    host.boxes.clear();
    host.Press(virtualboard::necSignal(0, 0x47));
    flow.LearnGridButton();
    EXPECT_TRUE(host.buttons.Items(1).HasCode());
    EXPECT_FALSE(host.buttons.Items(0).HasCode());
    ASSERT_FALSE(Texts().empty());
    EXPECT_EQ(Texts().back(), "Code recorded successfully");
    EXPECT_NE(view.grid[1].value, "<not recorded>");
    EXPECT_FALSE(view.buttonsProgressShown);
    EXPECT_EQ(view.selectedRow, 1);
}

TEST_F(WizardFlowTest, LearnAllAndDeleteOnTheLearnPage) {
    host.LearnNecProtocol();
    host.AddButtons({"Power", "Mute", "Play"});
    OpenAt(6);
    host.Press(virtualboard::necSignal(0, 0x47));
    host.Press(virtualboard::necSignal(0, 0x48));
    host.Press(virtualboard::necSignal(0, 0x49));
    flow.LearnAllButtons();
    EXPECT_TRUE(host.buttons.AllHaveCodes());
    EXPECT_EQ(view.buttonsProgressHistory, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.calls.back(), "RefreshButtonGrid");

    view.selectedRow = 2;
    flow.DeleteGridButton();
    EXPECT_EQ(host.buttons.Count(), 2);
    EXPECT_EQ(view.grid.size(), 2u);
    EXPECT_EQ(view.selectedRow, 1);
    EXPECT_EQ(view.buttonNames.size(), 2u);
}

TEST_F(WizardFlowTest, LearnPageNextNeedsEveryCodeCell) {
    host.LearnNecProtocol();
    host.AddButtons({"Power"});
    OpenAt(6);
    view.grid[0].value.clear();
    flow.Next();
    EXPECT_EQ(view.page, 6);
    view.grid.clear();
    flow.Next();
    EXPECT_EQ(view.page, 6);
    const std::string message =
        "Button codes have not been completly learnt. Press the \"Learn\" buton to complete the process.";
    EXPECT_EQ(Texts(), (std::vector<std::string>{message, message}));
}

// --- page 8

TEST_F(WizardFlowTest, SummaryCountsUsedAndIgnoredCommands) {
    host.LearnNecProtocol();
    host.AddButtons({"Power", "Mute", "Play"});
    host.buttons.Items(1).SetCode("AaAb");
    OpenAt(7);
    EXPECT_TRUE(Texts().empty());
    // Appending fills a last row whose label is empty, so the empty rows between the groups are taken over.
    EXPECT_EQ(view.summary, (std::vector<TWizardRow>{{"SUMMARY", ""},
                                                     {"Remote Device", "SONY rm-D5"},
                                                     {"Protocol", "NO NAME"},
                                                     {"Used Commands", "1"},
                                                     {"Ignored Commands", "2"},
                                                     {"NOT SAVED", ""}}));
}

TEST(WizardSummaryTest, AppendingFillsAnEmptyLastRow) {
    std::vector<TWizardRow> rows(1);
    AppendSummaryRow(rows, "A", "1");
    AppendSummaryRow(rows, "", "");
    AppendSummaryRow(rows, "", "x");
    AppendSummaryRow(rows, "B", "2");
    EXPECT_EQ(rows, (std::vector<TWizardRow>{{"A", "1"}, {"B", "2"}}));
}

TEST_F(WizardFlowTest, SaveShowsTheFileNameEvenWhenNothingWasWritten) {
    host.LearnNecProtocol();
    host.AddButtons({"Power"});
    OpenAt(7);
    flow.Save();  // the save dialog cancelled: no file name yet
    EXPECT_EQ(view.summary.back(), (TWizardRow{"Filename", ""}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"SaveDeviceFile"}));
}

TEST(WizardColumnsTest, OneThirdAndTwoThirdsMinus25) {
    EXPECT_EQ(WizardGridColumnWidths(300), (TGridColumnWidths{100, 175}));
    EXPECT_EQ(WizardGridColumnWidths(301), (TGridColumnWidths{100, 175}));
    EXPECT_EQ(WizardGridColumnWidths(302), (TGridColumnWidths{100, 176}));
}

// --- closing and help

TEST_F(WizardFlowTest, ClosingStoresTheProtocolChoice) {
    Open();
    view.standardChosen = true;
    flow.Closing();
    EXPECT_FALSE(host.settings.UserProtocolExplore);
    view.standardChosen = false;
    flow.Closing();
    EXPECT_TRUE(host.settings.UserProtocolExplore);
}

TEST_F(WizardFlowTest, HelpOpensThePageTopic) {
    Open();
    flow.Help();
    flow.Next();
    flow.Help();
    flow.Next();
    flow.Help();  // page 3 has no topic
    EXPECT_EQ(host.calls, (std::vector<std::string>{"OpenHelp=3100", "OpenHelp=3150", "RemoteBrand=SONY",
                                                    "RemoteModel=rm-D5", "DeviceTypeIndex=2", "DeviceTypeChange",
                                                    "DeviceType=TV", "DeviceBrand=Sony", "DeviceModel=KV-1",
                                                    "Notes=living room"}));
}

}  // namespace
}  // namespace spectrel::test
