// The button list commands of the Buttons column: add, add several, edit, clear code, delete, the Templates
// menu with its own commands, button-name files, the grid rows and the enabled states.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Code/SPX_ButtonListEditing.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "testing/ScriptedFileDialogs.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tests/settings_temp_folder.h"

namespace spectrel {
namespace {

using platform::MessageButton;
using platform::MessageKind;

// The dialogs answer as the test says; what they were given is recorded.
}  // namespace

void PrintTo(const TButtonGridRow& row, std::ostream* out) {
    *out << "{" << row.name << ", \"" << row.codeText << "\", " << row.index << "}";
}

namespace {

class FakeDialogs : public TButtonListDialogs {
public:
    bool ExecuteButtonEdit(TButtonCode& button) override {
        editedNames.push_back(button.Name());
        if (!saveEdit) return false;
        button.SetName(editedName);
        return true;
    }
    bool ExecuteAddButtons(std::vector<std::string>& lines) override {
        initialAddLines = lines;
        lines = addLines;
        return addAnswer;
    }
    bool ExecuteRestrictedEdit(std::string& text, const std::string& prompt, const std::string& extra,
                               int mode) override {
        restrictedCalls.push_back({text, prompt, extra, mode});
        text = templateName;
        return templateAnswer;
    }

    bool saveEdit = true;
    std::string editedName = "Power";
    std::vector<std::string> editedNames;
    std::vector<std::string> addLines;
    std::vector<std::string> initialAddLines = {"unset"};
    bool addAnswer = true;
    struct Restricted {
        std::string text, prompt, extra;
        int mode;
    };
    std::vector<Restricted> restrictedCalls;
    std::string templateName = "My TV";
    bool templateAnswer = true;
};

class FakeView : public TButtonListView {
public:
    void RefreshButtonGrid() override { calls.push_back("refresh"); }
    void SelectLastButton() override { calls.push_back("select last"); }
    void UpdateCommandStates(bool idle) override { calls.push_back(idle ? "states idle" : "states busy"); }
    std::vector<int> SelectedButtonIndexes() const override { return selected; }
    std::vector<std::string> calls;
    std::vector<int> selected;
};

class ButtonListTest : public ::testing::Test {
protected:
    ButtonListTest() { templates.SetDefaultTemplates(); }

    void Fill(int count) {
        for (int i = 0; i < count; ++i) buttons.AddWithCodes("B" + std::to_string(i), "Aa" + std::to_string(i), "");
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < buttons.Count(); ++i) names.push_back(buttons.Items(i).Name());
        return names;
    }

    test::TempFolder folder;
    TbuttonCodes buttons;
    TButtonTemplates templates;
    testing::ScriptedMessageBoxes boxes;
    testing::ScriptedFileDialogs files;
    FakeDialogs dialogs;
    FakeView view;
    TButtonListCommands commands{{buttons, templates, boxes, files, dialogs, folder.Folder()}, view};
};

TEST_F(ButtonListTest, DeleteRemovesExactlyTheSelectedButtons) {
    struct Case {
        const char* name;
        std::vector<int> selected;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"rows 2, 5 and 7 of ten", {2, 5, 7}, {"B0", "B1", "B3", "B4", "B6", "B8", "B9"}},
        {"selected out of order", {7, 2, 5}, {"B0", "B1", "B3", "B4", "B6", "B8", "B9"}},
        {"the last row", {9}, {"B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8"}},
        {"the first row", {0}, {"B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9"}},
        {"nothing selected", {}, {"B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9"}},
        {"every row", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}},
        {"an index beyond the list is skipped", {3, 12}, {"B0", "B1", "B2", "B4", "B5", "B6", "B7", "B8", "B9"}},
    };
    for (const Case& c : cases) {
        buttons.Clear();
        Fill(10);
        view.selected = c.selected;
        view.calls.clear();
        commands.aDeleteButtonExecute();
        EXPECT_EQ(Names(), c.left) << c.name;
        EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh", "states idle"})) << c.name;
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ButtonListTest, RowSelectedAfterARebuild) {
    struct Case {
        const char* name;
        int remembered, count, row;
    };
    const Case cases[] = {
        {"the row stays", 2, 7, 2},
        {"after deleting the last of ten the row above", 9, 9, 8},
        {"far beyond", 12, 3, 2},
        {"none selected", -1, 5, -1},
        {"empty grid", 0, 0, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(RowToSelectAfterRefresh(c.remembered, c.count), c.row) << c.name;
}

TEST_F(ButtonListTest, ClearCodeKeepsNamesAndClearsOnlyTheSelected) {
    Fill(4);
    view.selected = {3, 1};
    commands.aClearButtonCodeExecute();
    EXPECT_EQ(Names(), (std::vector<std::string>{"B0", "B1", "B2", "B3"}));
    EXPECT_TRUE(buttons.Items(0).HasCode());
    EXPECT_FALSE(buttons.Items(1).HasCode());
    EXPECT_TRUE(buttons.Items(2).HasCode());
    EXPECT_FALSE(buttons.Items(3).HasCode());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh", "states idle"}));
}

TEST_F(ButtonListTest, AddShowsANewButtonAndAppendsItOnlyWhenSaved) {
    Fill(2);
    dialogs.saveEdit = false;
    commands.btnAddButtonClick();
    EXPECT_EQ(dialogs.editedNames, (std::vector<std::string>{"New Button"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"B0", "B1"}));
    EXPECT_TRUE(view.calls.empty());

    dialogs.saveEdit = true;
    dialogs.editedName = "Power ";
    commands.btnAddButtonClick();
    EXPECT_EQ(Names(), (std::vector<std::string>{"B0", "B1", "Power "}));
    EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh", "select last", "states idle"}));
}

TEST_F(ButtonListTest, AddSeveralAppendsOneTrimmedButtonPerLine) {
    Fill(1);
    dialogs.addLines = {"Power", "", "  Mute  "};
    commands.btnAddMultipleButtonsClick();
    EXPECT_TRUE(dialogs.initialAddLines.empty());
    EXPECT_EQ(Names(), (std::vector<std::string>{"B0", "Power", "", "Mute"}));
    EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh", "select last", "states idle"}));

    view.calls.clear();
    dialogs.addAnswer = false;
    commands.btnAddMultipleButtonsClick();
    EXPECT_EQ(buttons.Count(), 4);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(ButtonListTest, EditOpensTheFirstSelectedButton) {
    Fill(5);
    view.selected = {3, 1};
    dialogs.editedName = "Volume+";
    commands.ButtonGridDblClick();
    EXPECT_EQ(dialogs.editedNames, (std::vector<std::string>{"B3"}));
    EXPECT_EQ(buttons.Items(3).Name(), "Volume+");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh"}));

    view.calls.clear();
    dialogs.saveEdit = false;
    commands.ButtonGridDblClick();
    EXPECT_TRUE(view.calls.empty());

    view.selected = {};
    commands.ButtonGridDblClick();
    EXPECT_EQ(dialogs.editedNames.size(), 2u);
}

TEST_F(ButtonListTest, DeleteAllEmptiesTheListWithoutQuestion) {
    Fill(6);
    commands.Clear1Click();
    EXPECT_EQ(buttons.Count(), 0);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh", "states idle"}));
}

// The template menu of a window: template commands on top, then the menu's own three commands.
TEST_F(ButtonListTest, TemplatesMenuListsTheTemplatesAboveItsOwnCommands) {
    int saves = 0;
    int clears = 0;
    TTemplateMenuModel menu([&] { ++saves; }, [&] { ++clears; });
    EXPECT_EQ(menu.Captions(), (std::vector<std::string>{"-", "&Save", "Delete all Buttons"}));
    for (int i = 0; i < menu.CommandCount(); ++i) EXPECT_EQ(menu.CommandTag(i), 99);

    templates.BindMenu(&menu);
    EXPECT_EQ(menu.Captions(),
              (std::vector<std::string>{"AirCond", "CD", "DVD", "HomeAuto", "LaserDisc", "PreAmp", "TapePlayer",
                                        "Receiver", "TV", "VCR", "-", "&Save", "Delete all Buttons"}));
    EXPECT_TRUE(menu.Trigger(11));
    EXPECT_TRUE(menu.Trigger(12));
    EXPECT_FALSE(menu.Trigger(10));
    EXPECT_FALSE(menu.Trigger(13));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(clears, 1);

    // Rebuilt twice: still ten templates and the three own commands once.
    templates.RefreshViews();
    EXPECT_EQ(menu.CommandCount(), 13);
    templates.BindMenu(nullptr);
}

TEST_F(ButtonListTest, ATemplateCommandAppliesItsTemplate) {
    TTemplateMenuModel menu([] {}, [] {});
    templates.SetButtonList(&buttons);
    templates.BindMenu(&menu);
    ASSERT_TRUE(menu.Trigger(3));  // HomeAuto
    EXPECT_EQ(Names(), (std::vector<std::string>{"Arm Security", "Cool", "Dim Lights", "Heat", "Lights On/Off",
                                                 "Open Curtains", "Outside Lights", "Water Garden"}));
    templates.BindMenu(nullptr);
}

TEST_F(ButtonListTest, SaveTemplateAsksForANameAndAddsTheButtonNames) {
    TTemplateMenuModel menu([] {}, [] {});
    templates.BindMenu(&menu);
    buttons.Add("Power");
    buttons.Add("Mute");
    commands.SaveAs1Click();
    ASSERT_EQ(dialogs.restrictedCalls.size(), 1u);
    EXPECT_EQ(dialogs.restrictedCalls[0].text, "");
    EXPECT_EQ(dialogs.restrictedCalls[0].prompt, "Save Template");
    EXPECT_EQ(dialogs.restrictedCalls[0].extra, " -+");
    EXPECT_EQ(dialogs.restrictedCalls[0].mode, 2);
    ASSERT_EQ(templates.Count(), 11);
    EXPECT_EQ(templates.Strings(10), "My TV=\"Power\",\"Mute\"");
    EXPECT_EQ(menu.Captions()[10], "My TV");
    EXPECT_EQ(menu.CommandCount(), 14);
    templates.BindMenu(nullptr);
}

// The settings file keeps one template per name, so saving under a name in use (case and blanks aside) replaces
// that template where it stands, after asking; No keeps it.
TEST_F(ButtonListTest, SaveTemplateUnderANameInUseReplacesThatTemplateAfterAsking) {
    TTemplateMenuModel menu([] {}, [] {});
    templates.BindMenu(&menu);
    buttons.Add("Power");
    buttons.Add("Mute");
    const std::string tvLine = templates.Strings(8);
    ASSERT_EQ(templates.TemplateName(8), "TV");
    dialogs.templateName = " tv ";

    boxes.script({MessageButton::No});
    commands.SaveAs1Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(boxes.shown()[0].text,
              "A template named \"TV\" exists already.\rReplace it with the buttons of the list?");
    EXPECT_EQ(templates.Count(), 10);
    EXPECT_EQ(templates.Strings(8), tvLine);

    boxes.script({MessageButton::Yes});
    commands.SaveAs1Click();
    ASSERT_EQ(templates.Count(), 10);
    EXPECT_EQ(templates.Strings(8), "TV=\"Power\",\"Mute\"");
    EXPECT_EQ(menu.Captions()[8], "TV");
    EXPECT_EQ(menu.CommandCount(), 13);
    templates.BindMenu(nullptr);
}

TEST_F(ButtonListTest, SaveTemplateRefusals) {
    commands.SaveAs1Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].text, "No valid button names specified");
    EXPECT_TRUE(dialogs.restrictedCalls.empty());

    buttons.Add("Power");
    dialogs.templateAnswer = false;
    commands.SaveAs1Click();
    EXPECT_EQ(templates.Count(), 10);
}

TEST_F(ButtonListTest, LoadingNamesReplacesEveryButtonAndItsCode) {
    Fill(3);
    const std::string path = folder.Write("tv.btn", "Power\r\n  Mute \nVolume+\r\r\nB0\r\n");
    files.choose(path);
    commands.mnuLoadButtonNames();
    ASSERT_EQ(files.shown().size(), 1u);
    EXPECT_FALSE(files.shown()[0].save);
    EXPECT_EQ(files.shown()[0].request.title, "Load Buttons");
    EXPECT_EQ(files.shown()[0].request.filter, "Button File (*.btn)|*.btn|Text File (*.txt)|*.txt|All Files|*.*");
    EXPECT_EQ(files.shown()[0].request.initialFolder, folder.Folder() + "Button Templates");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Power", "Mute", "Volume+", "", "B0"}));
    EXPECT_FALSE(buttons.AnyHasCode());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"refresh", "states idle"}));
}

TEST_F(ButtonListTest, ANamesFileThatCannotBeReadLeavesTheListAlone) {
    Fill(3);
    files.choose(folder.File("missing.btn"));
    commands.mnuLoadButtonNames();
    EXPECT_EQ(Names(), (std::vector<std::string>{"B0", "B1", "B2"}));
    EXPECT_TRUE(buttons.Items(0).HasCode());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_NE(boxes.shown()[0].text.find("missing.btn"), std::string::npos);

    files.cancel();
    commands.mnuLoadButtonNames();
    EXPECT_EQ(buttons.Count(), 3);
}

TEST_F(ButtonListTest, SavingNamesWritesEachLineEndedByCrLfAndNoCodes) {
    buttons.AddWithCodes("Power", "AaAb", "Ab");
    buttons.Add("Mute");
    folder.Write("tv.btn", "old contents that are longer than the new ones\r\n");
    files.choose(folder.File("tv.btn"));
    commands.mnuSaveButtonsClick();
    ASSERT_EQ(files.shown().size(), 1u);
    EXPECT_TRUE(files.shown()[0].save);
    EXPECT_EQ(files.shown()[0].request.title, "Save Buttons");
    EXPECT_EQ(files.shown()[0].request.defaultExtension, ".btn");
    EXPECT_EQ(files.shown()[0].request.initialFolder, folder.Folder() + "Button Templates");
    EXPECT_EQ(folder.Read("tv.btn"), "Power\r\nMute\r\n");
    EXPECT_TRUE(boxes.shown().empty());

    // Saved names load back the same.
    TbuttonCodes loaded;
    ASSERT_TRUE(LoadButtonNamesFile(loaded, folder.File("tv.btn")));
    EXPECT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Items(1).Name(), "Mute");
}

TEST_F(ButtonListTest, SavingNamesIntoAMissingFolderIsReported) {
    buttons.Add("Power");
    files.choose(folder.File("no such folder/tv.btn"));
    commands.mnuSaveButtonsClick();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(buttons.Count(), 1);
}

TEST(ButtonGridTest, RowsShowNamesCodesAndCarryTheirIndex) {
    TbuttonCodes buttons;
    buttons.AddWithCodes("Power", "AaAbAaAb", "");
    buttons.Add("Mute");
    buttons.AddWithCodes("Play", "AaAa", "AbAb");
    TReplaceRule rules;
    for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
    Tprotocol_descriptor current;
    current.valid = true;
    current.name = "NO NAME";

    struct Case {
        const char* name;
        TCodeDisplayOptions options;
        std::vector<TButtonGridRow> rows;
    };
    const Case cases[] = {
        {"rules off: codes as stored",
         {false, false},
         {{"Power", "AaAbAaAb ", 0}, {"Mute", "<not recorded>", 1}, {"Play", "AaAa AbAb", 2}}},
        {"rules on: translated, no code stays <not recorded>",
         {true, false},
         {{"Power", "0101", 0}, {"Mute", "<not recorded>", 1}, {"Play", "00 11", 2}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ButtonGridRows(buttons, rules, current, c.options), c.rows) << c.name;
}

TEST(ButtonGridTest, NotRecordedIsNeverTranslated) {
    TbuttonCodes buttons;
    buttons.Add("Mute");
    TReplaceRule rules;
    rules.Add({"PULSED", "c", "2", "d", "3", 0});
    Tprotocol_descriptor current;
    current.valid = true;
    current.name = "Pulsed";
    EXPECT_EQ(ButtonGridRows(buttons, rules, current, {true, false})[0].codeText, "<not recorded>");
}

TEST(ButtonGridTest, GridCommandsFollowTheSelection) {
    EXPECT_EQ(GridCommandStates(false), (TGridCommandStates{false, false, false, false}));
    EXPECT_EQ(GridCommandStates(true), (TGridCommandStates{true, true, true, true}));
}

TEST(ButtonGridTest, OnlyAPlainDeleteKeyDeletes) {
    struct Case {
        int key;
        bool shift, ctrl, alt, deletes;
    };
    const Case cases[] = {
        {46, false, false, false, true}, {46, true, false, false, false}, {46, false, true, false, false},
        {46, false, false, true, false}, {8, false, false, false, false},  {45, false, false, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsGridDeleteKey(c.key, c.shift, c.ctrl, c.alt), c.deletes)
            << c.key << " " << c.shift << c.ctrl << c.alt;
}

TEST(ClipboardCommandsTest, EnabledStatesFollowTheFocusedControl) {
    struct Case {
        const char* name;
        TFocusedControl focused;
        bool clipboardHasText;
        TClipboardCommandStates states;
    };
    const Case cases[] = {
        {"device type selector is a pure list", {TFocusKind::ListDropDown, false, false}, true, {false, false, false}},
        {"device model field with clipboard text", {TFocusKind::TextField, false, false}, true, {false, false, true}},
        {"device model field, empty clipboard", {TFocusKind::TextField, false, false}, false, {false, false, false}},
        {"field with a selection", {TFocusKind::TextField, false, true}, false, {true, true, false}},
        {"notes memo with a selection", {TFocusKind::Memo, false, true}, true, {true, true, true}},
        {"read-only field", {TFocusKind::TextField, true, true}, true, {true, true, false}},
        {"brand selector", {TFocusKind::EditableDropDown, false, true}, true, {true, true, true}},
        {"button grid", {TFocusKind::Other, false, true}, true, {false, false, false}},
        {"nothing focused", {TFocusKind::None, false, false}, true, {false, false, false}},
    };
    for (const Case& c : cases) EXPECT_EQ(ClipboardCommandStates(c.focused, c.clipboardHasText), c.states) << c.name;
}

TEST(FilterPairsTest, LabelsAndPatterns) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(platform::FilterPairs("XML|*.xml|All|*.*"), (Pairs{{"XML", "*.xml"}, {"All", "*.*"}}));
    EXPECT_EQ(platform::FilterPairs("Button File (*.btn)|*.btn|Text File (*.txt)|*.txt|All Files|*.*").size(), 3u);
    EXPECT_EQ(platform::FilterPairs("Odd"), (Pairs{{"Odd", "*"}}));
    EXPECT_TRUE(platform::FilterPairs("").empty());
}

}  // namespace
}  // namespace spectrel
