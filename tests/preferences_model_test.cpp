// The preferences dialog's decisions: pairs, pages, "Default", the template editor, and a run that hands its
// copies back only after OK.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "Code/SPX_PreferencesModel.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "Code/uKOR_IniObject.h"
#include "Code/uKOR_SpectrelIni.h"
#include "testing/MemoryUserStore.h"

namespace spectrel {
namespace {

using P = TPreferencePair;

// --- tree and pages

TEST(PreferencesPages, TreeNodesShowThePageOfTheSameTitle) {
    std::vector<std::string> nodes;
    for (const TPreferencesNode& n : PreferencesTree()) nodes.push_back(n.text);
    EXPECT_EQ(nodes, (std::vector<std::string>{
                         "Form Preferences", "Flat Buttons", "Remember floating control positions", "Show Hints",
                         "Hint Time", "Persistant form size and position", "Wizard view", "Advanced",
                         "Match to Standard Protocol", "Use Substitution Rules", "Allow Protocol Edit",
                         "Allow Ir Decoding Parmeters Edit", "Attach Protocol To File", "Button Templates"}));
    // Three top nodes; the others hang below "Form Preferences" and "Advanced".
    std::vector<int> parents;
    for (const TPreferencesNode& n : PreferencesTree()) parents.push_back(n.parent);
    EXPECT_EQ(parents, (std::vector<int>{-1, 0, 0, 0, 0, 0, 0, -1, 7, 7, 7, 7, 7, -1}));

    for (const TPreferencesNode& n : PreferencesTree()) {
        const std::string page = PageOfNode(n.text);
        if (n.text == "Persistant form size and position") {
            EXPECT_EQ(page, "Persistent Form Size and Position");
        } else {
            EXPECT_EQ(page, n.text);
        }
    }
    EXPECT_EQ(PageOfNode("Nowhere"), "");
    EXPECT_EQ(PageHint("Hint Time"), "Hint Time page");
}

TEST(PreferencesPages, HeaderTexts) {
    struct Case {
        const char* page;
        const char* header;
    } cases[] = {
        {"Form Preferences",
         "Options here affect the look or behavior of controls on the main form. you can either set the controls "
         "here or get a more detailed view by selecting the appropiate sub item on the tree."},
        {"Flat Buttons",
         "This affects the tool bar buttons. Flat buttons have no border unless depressed. Change the checkbox to "
         "view the sample."},
        {"Remember floating control positions",
         "Floating controls can be set to remember where they are between sessions, or to open up in their default "
         "positions and visibility."},
        {"Show Hints",
         "Hints (also known as tool tips) are the little yellow boxes that appear when you hover a mouse over a "
         "control (like a button). You can turn these off or on depending on your preference."},
        {"Persistent Form Size and Position",
         "You can set the form  so that it will reopen using the size and position values at closure. If you set "
         "this to false then the form will reopen sized to the screen."},
        {"Hint Time",
         "This is the amount of time in milliseconds that the hint (Tooltip) is displayed. Make the number smaller "
         "to decrease the time the hint is displayed. Show hints must be checked for the hints to work."},
        {"Advanced", "Advanced Settings\nFOR ADVANCED USERS ONLY"},
        {"Match to Standard Protocol", "Match to Standard Protocol"},
        {"Use Substitution Rules", "Use Substitution Rules"},
        {"Allow Protocol Edit", "Allow Protocol Edit"},
        {"Allow Ir Decoding Parmeters Edit", "Allow Ir Decoding Parmeters Edit"},
        {"Wizard view", "Wizard view"},
        {"Attach Protocol To File", "Attach Protocol To File"},
        {"Button Templates", "Button Templates"},
    };
    ASSERT_EQ(PreferencesPages().size(), std::size(cases));
    for (const Case& c : cases) {
        bool found = false;
        for (const TPreferencesPage& page : PreferencesPages()) {
            if (page.title != c.page) continue;
            found = true;
            EXPECT_EQ(page.header, c.header) << c.page;
        }
        EXPECT_TRUE(found) << c.page;
    }
}

TEST(PreferencesModel, SelectingTheWindowSizeNodeShowsTheFormSizePage) {
    TPreferencesModel model;
    EXPECT_EQ(model.ShownPage(), "Form Preferences");
    model.SelectNode("Persistant form size and position");
    EXPECT_EQ(model.ShownPage(), "Persistent Form Size and Position");
    model.SelectNode("Button Templates");
    EXPECT_EQ(model.ShownPage(), "Button Templates");
    model.SelectNode("no such node");
    EXPECT_EQ(model.ShownPage(), "Button Templates");
    model.Prepare();
    EXPECT_EQ(model.ShownPage(), "Form Preferences");
    // Selecting pages does not count as a change.
    EXPECT_FALSE(model.OkEnabled());
}

// --- pairs

TEST(PreferencesModel, ClickingEitherControlOfAPairSetsTheValueAndEnablesOk) {
    const P pairs[] = {P::FlatButtons,
                       P::SaveIntPos,
                       P::ShowHints,
                       P::SavePos,
                       P::MatchToStandardProtocol,
                       P::UseSubstutionRules,
                       P::SubsBinByHex,
                       P::AllowProtocolEdit,
                       P::AllowDecodingParmeterEdit,
                       P::WizardView,
                       P::AttachProtocol,
                       P::UsePreferencesTree};
    for (P pair : pairs) {
        for (bool value : {true, false}) {
            TPreferencesModel model;
            model.SetValue(P::UseSubstutionRules, true);
            model.SetValue(pair, !value);
            model.Prepare();
            model.Click(pair, value);
            EXPECT_EQ(model.Value(pair), value) << static_cast<int>(pair);
            EXPECT_TRUE(model.OkEnabled()) << static_cast<int>(pair);
        }
    }
}

TEST(PreferencesModel, SubstitutionOptionsFollowUseSubstitutionRules) {
    TPreferencesModel model;
    model.SetValue(P::UseSubstutionRules, true);
    model.SetValue(P::SubsBinByHex, false);  // "Sub Bin" chosen on both pages
    EXPECT_TRUE(model.Enabled(P::SubsBinByHex));
    EXPECT_FALSE(model.Value(P::SubsBinByHex));

    model.Click(P::UseSubstutionRules, false);
    EXPECT_FALSE(model.Value(P::UseSubstutionRules));
    EXPECT_FALSE(model.Enabled(P::SubsBinByHex));
    // A disabled option cannot be chosen.
    model.Click(P::SubsBinByHex, true);
    EXPECT_FALSE(model.Value(P::SubsBinByHex));

    model.Click(P::UseSubstutionRules, true);
    EXPECT_TRUE(model.Enabled(P::SubsBinByHex));
    model.Click(P::SubsBinByHex, true);
    EXPECT_TRUE(model.Value(P::SubsBinByHex));
}

TEST(PreferencesModel, HintTimeFieldsHoldOneValueWithinTheirRange) {
    struct Case {
        int set;
        int held;
    } cases[] = {{500, 500}, {10000, 10000}, {2500, 2500}, {100, 500}, {20000, 10000}, {-1, 500}};
    for (const Case& c : cases) {
        TPreferencesModel model;
        model.SetHintHidePause(c.set);
        EXPECT_EQ(model.HintHidePause(), c.held) << c.set;
        EXPECT_FALSE(model.OkEnabled());
        model.ChangeHintTime(c.set);
        EXPECT_EQ(model.HintHidePause(), c.held) << c.set;
        EXPECT_TRUE(model.OkEnabled());
    }
}

TEST(PreferencesModel, ShowHintsTakesEffectAtOnceAndCancelKeepsIt) {
    TPreferencesModel model;
    std::vector<bool> hints;
    model.OnShowHints = [&](bool on) { hints.push_back(on); };
    model.OnLoad = [](TPreferencesModel& m) { m.SetValue(P::ShowHints, true); };
    bool saved = false;
    model.OnSave = [&](TPreferencesModel&) { saved = true; };
    const bool ok = model.Execute([&] {
        model.Click(P::ShowHints, false);
        return false;  // Cancel
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(saved);
    // Preparing switches them as the box says, the click at once; nothing switches them back.
    EXPECT_EQ(hints, (std::vector<bool>{true, false}));
}

TEST(PreferencesModel, DefaultSetsTheFourProtocolOptions) {
    TPreferencesModel model;
    model.SetValue(P::MatchToStandardProtocol, false);
    model.SetValue(P::UseSubstutionRules, false);
    model.SetValue(P::AllowProtocolEdit, true);
    model.SetValue(P::AllowDecodingParmeterEdit, true);
    model.SetValue(P::WizardView, false);
    model.SetValue(P::AttachProtocol, false);
    model.SetValue(P::SubsBinByHex, true);
    model.Prepare();
    model.Default();
    EXPECT_TRUE(model.Value(P::MatchToStandardProtocol));
    EXPECT_TRUE(model.Value(P::UseSubstutionRules));
    EXPECT_TRUE(model.Enabled(P::SubsBinByHex));
    EXPECT_FALSE(model.Value(P::AllowProtocolEdit));
    EXPECT_FALSE(model.Value(P::AllowDecodingParmeterEdit));
    // Left alone.
    EXPECT_FALSE(model.Value(P::WizardView));
    EXPECT_FALSE(model.Value(P::AttachProtocol));
    EXPECT_TRUE(model.Value(P::SubsBinByHex));
    EXPECT_TRUE(model.OkEnabled());
}

// --- the template editor

class TemplateEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        TButtonTemplates start;
        start.SetLines({"TV=\"Mute\",\"On\",\"Off\"", "VCR=\"Play\"", "CD=\"Eject\", \"Play\""});
        model.SetTemplates(start);
        model.TemplateEditor().SetAsk([this](std::string& text, const std::string& prompt) {
            prompts.push_back(prompt + ":" + text);
            if (answers.empty()) return false;
            text = answers.front();
            answers.pop_front();
            return true;
        });
        model.Prepare();
    }
    TTemplateEditor& editor() { return model.TemplateEditor(); }
    const std::vector<std::string>& lines() const { return model.Templates().Lines(); }

    TPreferencesModel model;
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
};

TEST_F(TemplateEditorTest, OpensWithNothingSelected) {
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"TV", "VCR", "CD"}));
    EXPECT_EQ(editor().SelectedName(), -1);
    EXPECT_TRUE(editor().Items().empty());
    TTemplateCommandStates none;
    EXPECT_EQ(editor().Commands(), none);
}

TEST_F(TemplateEditorTest, SelectingANameFillsItsItemsAndSelectsTheFirst) {
    editor().SelectName(2);
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Eject", "Play"}));
    EXPECT_EQ(editor().SelectedItem(), 0);
    EXPECT_FALSE(model.OkEnabled());
}

TEST_F(TemplateEditorTest, CommandEnablingRules) {
    struct Case {
        const char* what;
        int name;
        int item;
        TTemplateCommandStates expected;
    };
    auto states = [](bool edit, bool del, bool clone, bool up, bool down, bool iadd, bool iedit, bool idel, bool iup,
                     bool idown) {
        TTemplateCommandStates s;
        s.nameEdit = edit;
        s.nameDelete = del;
        s.nameClone = clone;
        s.nameUp = up;
        s.nameDown = down;
        s.itemAdd = iadd;
        s.itemEdit = iedit;
        s.itemDelete = idel;
        s.itemUp = iup;
        s.itemDown = idown;
        return s;
    };
    const Case cases[] = {
        {"first template, first item", 0, 0, states(true, true, false, false, true, true, true, true, false, true)},
        {"first template, last item", 0, 2, states(true, true, false, false, true, true, true, true, true, false)},
        {"first template, no item", 0, -1, states(true, true, false, false, true, true, false, false, false, false)},
        {"middle template with one item", 1, 0, states(true, true, true, true, true, true, true, false, false, false)},
        {"last template, second item", 2, 1, states(true, true, true, true, false, true, true, true, true, false)},
    };
    for (const Case& c : cases) {
        editor().SelectName(c.name);
        editor().SelectItem(c.item);
        EXPECT_EQ(editor().Commands(), c.expected) << c.what;
    }
}

TEST_F(TemplateEditorTest, CloneInsertsACopyAboveAndKeepsTheOriginalSelected) {
    editor().SelectName(1);
    editor().CloneName();
    EXPECT_EQ(lines(), (std::vector<std::string>{"TV=\"Mute\",\"On\",\"Off\"", "VCR Clone=\"Play\"", "VCR=\"Play\"",
                                                 "CD=\"Eject\", \"Play\""}));
    EXPECT_EQ(editor().SelectedName(), 2);
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Play"}));
    EXPECT_TRUE(model.OkEnabled());

    // The first template cannot be cloned.
    editor().SelectName(0);
    editor().CloneName();
    EXPECT_EQ(lines().size(), 4u);
}

TEST_F(TemplateEditorTest, DeleteKeepsTheIndexOrTakesTheLast) {
    editor().SelectName(1);
    editor().DeleteName();
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"TV", "CD"}));
    EXPECT_EQ(editor().SelectedName(), 1);
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Eject", "Play"}));
    editor().DeleteName();
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"TV"}));
    EXPECT_EQ(editor().SelectedName(), 0);
    editor().DeleteName();
    EXPECT_TRUE(editor().Names().empty());
    EXPECT_EQ(editor().SelectedName(), -1);
    EXPECT_TRUE(editor().Items().empty());
    EXPECT_TRUE(model.OkEnabled());
}

TEST_F(TemplateEditorTest, NameCommands) {
    editor().SelectName(1);
    answers = {"Video Recorder"};
    editor().EditName();
    EXPECT_EQ(prompts, (std::vector<std::string>{"Template Name:VCR"}));
    EXPECT_EQ(lines()[1], "Video Recorder=\"Play\"");
    EXPECT_EQ(editor().SelectedName(), 1);

    editor().MoveNameUp();
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"Video Recorder", "TV", "CD"}));
    EXPECT_EQ(editor().SelectedName(), 0);
    editor().MoveNameDown();
    editor().MoveNameDown();
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"TV", "CD", "Video Recorder"}));
    EXPECT_EQ(editor().SelectedName(), 2);

    // A new template goes before the selected one and is selected, with no items.
    answers = {"Amp"};
    editor().AddName();
    EXPECT_EQ(lines(), (std::vector<std::string>{"TV=\"Mute\",\"On\",\"Off\"", "CD=\"Eject\", \"Play\"",
                                                 "Amp=", "Video Recorder=\"Play\""}));
    EXPECT_EQ(editor().SelectedName(), 2);
    EXPECT_TRUE(editor().Items().empty());
    EXPECT_TRUE(editor().Commands().itemAdd);
}

TEST_F(TemplateEditorTest, AddingANameWithNothingSelectedAppends) {
    answers = {"Projector"};
    editor().AddName();
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"TV", "VCR", "CD", "Projector"}));
    EXPECT_EQ(editor().SelectedName(), 3);
}

TEST_F(TemplateEditorTest, CancelledTextDialogChangesNothing) {
    editor().SelectName(0);
    editor().AddName();
    editor().EditName();
    editor().AddItem();
    editor().EditItem();
    EXPECT_EQ(prompts,
              (std::vector<std::string>{"Template Name:", "Template Name:TV", "Template Item:", "Template Item:Mute"}));
    EXPECT_EQ(lines()[0], "TV=\"Mute\",\"On\",\"Off\"");
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_FALSE(model.OkEnabled());
}

TEST_F(TemplateEditorTest, ItemCommandsRebuildTheTemplate) {
    editor().SelectName(0);
    editor().SelectItem(1);
    answers = {"Power"};
    editor().AddItem();  // before "On"
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Mute", "Power", "On", "Off"}));
    EXPECT_EQ(editor().SelectedItem(), 1);
    EXPECT_EQ(lines()[0], "TV=\"Mute\",\"Power\",\"On\",\"Off\"");
    EXPECT_TRUE(model.OkEnabled());

    answers = {"Standby"};
    editor().EditItem();
    EXPECT_EQ(lines()[0], "TV=\"Mute\",\"Standby\",\"On\",\"Off\"");

    editor().MoveItemDown();
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Mute", "On", "Standby", "Off"}));
    EXPECT_EQ(editor().SelectedItem(), 2);
    editor().MoveItemUp();
    editor().MoveItemUp();
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Standby", "Mute", "On", "Off"}));
    EXPECT_EQ(editor().SelectedItem(), 0);

    editor().SelectItem(3);
    editor().DeleteItem();
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Standby", "Mute", "On"}));
    EXPECT_EQ(editor().SelectedItem(), 2);
    EXPECT_EQ(lines()[0], "TV=\"Standby\",\"Mute\",\"On\"");

    // With no item selected a new item is appended and nothing is selected.
    editor().SelectItem(-1);
    answers = {"Off"};
    editor().AddItem();
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Standby", "Mute", "On", "Off"}));
    EXPECT_EQ(editor().SelectedItem(), -1);
}

TEST_F(TemplateEditorTest, TheLastItemOfATemplateCannotBeDeleted) {
    editor().SelectName(1);
    EXPECT_FALSE(editor().Commands().itemDelete);
    editor().DeleteItem();
    EXPECT_EQ(editor().Items(), (std::vector<std::string>{"Play"}));
    EXPECT_EQ(lines()[1], "VCR=\"Play\"");
}

TEST_F(TemplateEditorTest, DefaultsReplaceEveryTemplateWithoutEnablingOk) {
    editor().SelectName(0);
    editor().SetDefaults();
    EXPECT_EQ(editor().Names(), (std::vector<std::string>{"AirCond", "CD", "DVD", "HomeAuto", "LaserDisc", "PreAmp",
                                                          "TapePlayer", "Receiver", "TV", "VCR"}));
    EXPECT_EQ(lines(), DefaultTemplateLines());
    EXPECT_EQ(editor().SelectedName(), -1);
    EXPECT_FALSE(model.OkEnabled());
}

// --- the whole run with the main window's callbacks

class PreferencesRun : public ::testing::Test {
protected:
    PreferencesRun() {
        templates.SetLines({"TV=\"Mute\",\"On\"", "VCR=\"Play\""});
        shell.flatButtons = true;
        shell.saveIntPos = false;
        shell.showHelp = true;
        shell.savePos = true;
        shell.usePreferencesTree = true;
        shell.hintHidePause = 3000;
        options.MatchToStandardProtocol = true;
        options.UseSubstutionRules = true;
        options.AllowProtocolEdit = false;
        options.AllowDecodingParmeterEdit = false;
        options.WizardView = true;
        options.AttachProtocol = false;
        options.SubsBinByHex = false;
        options.UserProtocolExplore = false;
        model.OnLoad = [this](TPreferencesModel& m) { LoadPreferences(m, shell, options, templates); };
        model.OnSave = [this](TPreferencesModel& m) {
            TakePreferences(m, shell, options, templates);
            ++saves;
        };
        model.TemplateEditor().SetAsk([](std::string& text, const std::string&) {
            text = "Projector";
            return true;
        });
    }

    // Every control of the dialog changed.
    void ChangeEverything() {
        for (P pair : {P::FlatButtons, P::SaveIntPos, P::ShowHints, P::SavePos, P::UsePreferencesTree,
                       P::MatchToStandardProtocol, P::AllowProtocolEdit, P::AllowDecodingParmeterEdit, P::WizardView,
                       P::AttachProtocol, P::SubsBinByHex})
            model.Click(pair, !model.Value(pair));
        model.ChangeHintTime(6000);
        model.TemplateEditor().SelectName(1);
        model.TemplateEditor().CloneName();
        model.TemplateEditor().AddItem();
    }

    testing::MemoryUserStore store;
    TSpectrelIniObject options{store, SpectrelKeyPath()};
    shell::TShellPreferences shell;
    TButtonTemplates templates;
    TPreferencesModel model;
    int saves = 0;
};

TEST_F(PreferencesRun, OpensWithTheCallersValuesAndOkDisabled) {
    bool okAtShow = true;
    model.Execute([&] {
        EXPECT_TRUE(model.Value(P::FlatButtons));
        EXPECT_FALSE(model.Value(P::SaveIntPos));
        EXPECT_TRUE(model.Value(P::SavePos));
        EXPECT_EQ(model.HintHidePause(), 3000);
        EXPECT_TRUE(model.Value(P::MatchToStandardProtocol));
        EXPECT_FALSE(model.Value(P::AttachProtocol));
        EXPECT_FALSE(model.Value(P::SubsBinByHex));  // "Sub Bin" chosen
        EXPECT_EQ(model.TemplateEditor().Names(), (std::vector<std::string>{"TV", "VCR"}));
        okAtShow = model.OkEnabled();
        return false;
    });
    EXPECT_FALSE(okAtShow);
}

TEST_F(PreferencesRun, CancelDiscardsEveryChange) {
    const shell::TShellPreferences shellBefore = shell;
    const std::vector<std::string> linesBefore = templates.Lines();
    const bool ok = model.Execute([&] {
        ChangeEverything();
        model.Default();
        return false;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(shell.flatButtons, shellBefore.flatButtons);
    EXPECT_EQ(shell.saveIntPos, shellBefore.saveIntPos);
    EXPECT_EQ(shell.showHelp, shellBefore.showHelp);
    EXPECT_EQ(shell.savePos, shellBefore.savePos);
    EXPECT_EQ(shell.usePreferencesTree, shellBefore.usePreferencesTree);
    EXPECT_EQ(shell.hintHidePause, 3000);
    EXPECT_TRUE(options.MatchToStandardProtocol);
    EXPECT_TRUE(options.UseSubstutionRules);
    EXPECT_FALSE(options.AllowProtocolEdit);
    EXPECT_FALSE(options.AllowDecodingParmeterEdit);
    EXPECT_TRUE(options.WizardView);
    EXPECT_FALSE(options.AttachProtocol);
    EXPECT_FALSE(options.SubsBinByHex);
    EXPECT_EQ(templates.Lines(), linesBefore);
}

TEST_F(PreferencesRun, OkHandsEveryValueBack) {
    const bool ok = model.Execute([&] {
        ChangeEverything();
        return true;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(shell.flatButtons);
    EXPECT_TRUE(shell.saveIntPos);
    EXPECT_FALSE(shell.showHelp);
    EXPECT_FALSE(shell.savePos);
    EXPECT_FALSE(shell.usePreferencesTree);
    EXPECT_EQ(shell.hintHidePause, 6000);
    EXPECT_FALSE(options.MatchToStandardProtocol);
    EXPECT_TRUE(options.UseSubstutionRules);
    EXPECT_TRUE(options.AllowProtocolEdit);
    EXPECT_TRUE(options.AllowDecodingParmeterEdit);
    EXPECT_FALSE(options.WizardView);
    EXPECT_TRUE(options.AttachProtocol);
    EXPECT_TRUE(options.SubsBinByHex);
    EXPECT_FALSE(options.UserProtocolExplore);  // not in the dialog
    EXPECT_EQ(templates.Lines(),
              (std::vector<std::string>{"TV=\"Mute\",\"On\"", "VCR Clone=\"Play\"", "VCR=\"Projector\",\"Play\""}));
}

TEST_F(PreferencesRun, DefaultsAsTheOnlyChangeLeaveOkDisabledAndCancelKeepsTheTemplates) {
    bool okAfterDefaults = true;
    model.Execute([&] {
        model.TemplateEditor().SetDefaults();
        okAfterDefaults = model.OkEnabled();
        return false;
    });
    EXPECT_FALSE(okAfterDefaults);
    EXPECT_EQ(templates.Lines(), (std::vector<std::string>{"TV=\"Mute\",\"On\"", "VCR=\"Play\""}));
}

TEST_F(PreferencesRun, CancelAfterTickingAllowProtocolEditKeepsTheSetting) {
    model.Execute([&] {
        model.Click(P::AllowProtocolEdit, true);
        return false;
    });
    EXPECT_FALSE(options.AllowProtocolEdit);
}

// The dialog's copy is its own: editing it before OK never touches the caller's list.
TEST_F(PreferencesRun, TheDialogEditsACopy) {
    model.Execute([&] {
        model.TemplateEditor().SelectName(0);
        model.TemplateEditor().DeleteName();
        EXPECT_EQ(templates.Count(), 2);
        return true;
    });
    EXPECT_EQ(templates.Lines(), (std::vector<std::string>{"VCR=\"Play\""}));
}

}  // namespace
}  // namespace spectrel
