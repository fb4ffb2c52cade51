// Button templates: the defaults, the settings-file round trip, the menu and list-box views, and applying
// a template to the button list.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_IniFile.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "tests/settings_temp_folder.h"
#include "tests/user_locale.h"

namespace spectrel {
namespace {

const std::vector<std::string> kDefaultNames = {"AirCond", "CD",         "DVD",      "HomeAuto", "LaserDisc",
                                                "PreAmp",  "TapePlayer", "Receiver", "TV",       "VCR"};

// A menu that records its commands.
class FakeMenu : public TTemplateMenu {
public:
    struct Command {
        std::string caption;
        int tag;
        std::function<void()> action;
    };
    int CommandCount() const override { return static_cast<int>(commands.size()); }
    int CommandTag(int index) const override { return commands.at(static_cast<std::size_t>(index)).tag; }
    void DeleteCommand(int index) override { commands.erase(commands.begin() + index); }
    void InsertCommand(int index, const std::string& caption, int tag, std::function<void()> action) override {
        commands.insert(commands.begin() + index, Command{caption, tag, std::move(action)});
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const Command& c : commands) captions.push_back(c.caption);
        return captions;
    }
    std::vector<Command> commands;
};

class FakeListBox : public TTemplateListBox {
public:
    void SetItems(const std::vector<std::string>& newItems) override { items = newItems; }
    int SelectedIndex() const override { return selected; }
    std::vector<std::string> items;
    int selected = -1;
};

class TemplatesTest : public ::testing::Test {
protected:
    TemplatesTest() : buttons_(bus_) { templates_.SetButtonList(&buttons_); }

    int TemplateIndex(const std::string& name) const {
        for (int i = 0; i < templates_.Count(); ++i)
            if (templates_.TemplateName(i) == name) return i;
        return -1;
    }
    std::vector<std::string> ButtonNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < buttons_.Count(); ++i) names.push_back(buttons_.Items(i).Name());
        return names;
    }
    std::vector<const TButtonCode*> ButtonObjects() const {
        std::vector<const TButtonCode*> objects;
        for (int i = 0; i < buttons_.Count(); ++i) objects.push_back(&buttons_.Items(i));
        return objects;
    }

    test::TempFolder folder_;
    TInfoBus bus_;
    TbuttonCodes buttons_;
    TButtonTemplates templates_;
};

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

TEST_F(TemplatesTest, MissingSettingsGiveTheTenDefaultsInTheMenuAboveItsOwnCommands) {
    FakeMenu menu;
    menu.commands = {{"stale template", 3, nullptr}, {"Add current buttons", 99, nullptr}, {"-", 99, nullptr}};
    templates_.BindMenu(&menu);
    templates_.LoadTemplates(TIniFile(folder_.File("SPX.ini")));

    ASSERT_EQ(templates_.Count(), 10);
    std::vector<std::string> expected = kDefaultNames;
    expected.push_back("Add current buttons");
    expected.push_back("-");
    EXPECT_EQ(menu.Captions(), expected);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(menu.commands[static_cast<std::size_t>(i)].tag, i);
}

TEST_F(TemplatesTest, DefaultTemplatesSplitIntoTheirButtonNames) {
    templates_.SetDefaultTemplates();
    struct Case {
        const char* name;
        std::size_t count;
        const char* first;
        const char* last;
    } cases[] = {
        {"AirCond", 45, "Heat 16C", "Auto 30C"},  {"CD", 59, "Mute", "Memo CLR"},
        {"DVD", 69, "Mute", "Karaoke Once More"}, {"HomeAuto", 8, "Arm Security", "Open Curtains"},
        {"LaserDisc", 61, "Program+", "Random"},  {"PreAmp", 85, "On", "Volume-"},
        {"TapePlayer", 31, "On", "Monitor"},      {"Receiver", 88, "Mute", "20"},
        {"TV", 59, "Mute", "Audio Select"},       {"VCR", 73, "Mute", "Fast FF"},
    };
    for (const Case& c : cases) {
        const int index = TemplateIndex(c.name);
        ASSERT_GE(index, 0) << c.name;
        const std::vector<std::string> names = SplitCommaText(templates_.TemplateValue(index));
        EXPECT_EQ(names.size(), c.count) << c.name;
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), c.first) << c.name;
        EXPECT_EQ(names.back(), c.last) << c.name;
    }
    EXPECT_EQ(templates_.Strings(TemplateIndex("HomeAuto")),
              "HomeAuto=\"Arm Security\",\"Outside Lights\",\"Lights On/Off\",\"Dim Lights\",\"Heat\",\"Cool\","
              "\"Water Garden\",\"Open Curtains\"");
}

TEST_F(TemplatesTest, ApplyingTvToPowerAndMute) {
    templates_.SetDefaultTemplates();
    buttons_.AddWithCodes("Power", "AaAb", "");
    buttons_.AddWithCodes("mute", "AbAb", "");
    int applied = 0;
    templates_.SetOnApplied([&] { ++applied; });
    ASSERT_TRUE(templates_.ApplyTemplate(TemplateIndex("TV")));
    EXPECT_EQ(applied, 1);

    const std::vector<std::string> names = ButtonNames();
    std::vector<std::string> tv = SplitCommaText(templates_.TemplateValue(TemplateIndex("TV")));
    ASSERT_EQ(names.size(), tv.size());
    // mute stays first with its code; Power is gone; the rest follow in alphabetical order.
    EXPECT_EQ(buttons_.Items(0).Name(), "mute");
    EXPECT_EQ(buttons_.Items(0).Code(), "AbAb");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Power"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Mute"), 0);
    EXPECT_TRUE(std::is_sorted(names.begin() + 1, names.end(), LessIgnoringCase));
    EXPECT_EQ(std::vector<std::string>(names.begin() + 1, names.begin() + 6),
              (std::vector<std::string>{"+", "+10", "-", "0", "1"}));
    for (int i = 1; i < buttons_.Count(); ++i) EXPECT_FALSE(buttons_.Items(i).HasCode()) << names[i];
    // Every template name is there as often as the template lists it.
    std::replace(tv.begin(), tv.end(), std::string("Mute"), std::string("mute"));
    std::vector<std::string> sortedNames = names;
    std::sort(sortedNames.begin(), sortedNames.end());
    std::sort(tv.begin(), tv.end());
    EXPECT_EQ(sortedNames, tv);
}

// Names match without regard to case whatever the user's locale (the window layer sets it).
TEST_F(TemplatesTest, NamesMatchWithoutCaseUnderTheUserLocale) {
    test::TurkishLocale turkish;
    if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale installed";
    templates_.SetDefaultTemplates();
    struct Case {
        const char* button;  // a learned button; the TV template lists it in another case
        const char* code;
    } cases[] = {{"VIDEO", "AaAa"}, {"pip", "AaAb"}, {"s-video", "AbAa"}, {"Main Swap", "AbAb"}};
    for (const Case& c : cases) buttons_.AddWithCodes(c.button, c.code, "");
    ASSERT_TRUE(templates_.ApplyTemplate(TemplateIndex("TV")));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(buttons_.Items(static_cast<int>(i)).Name(), cases[i].button);
        EXPECT_EQ(buttons_.Items(static_cast<int>(i)).Code(), cases[i].code) << cases[i].button;
    }
    EXPECT_EQ(buttons_.Count(), 59);
}

// New buttons follow in the collation of the user's locale, which here sorts "+10" as it sorts "10".
TEST_F(TemplatesTest, NewButtonsFollowTheCollationOfTheUserLocale) {
    test::TurkishLocale turkish;
    if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale installed";
    templates_.SetLines({TButtonTemplates::MakeTemplateLine("Keys", {"Step+", "+10", "source", "1", "0", "Mute"})});
    ASSERT_TRUE(templates_.ApplyTemplate(0));
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"0", "1", "+10", "Mute", "source", "Step+"}));
}

TEST_F(TemplatesTest, ApplyingTheSameTemplateTwiceChangesNothing) {
    templates_.SetDefaultTemplates();
    buttons_.AddWithCodes("Volume+", "AaAa", "");
    ASSERT_TRUE(templates_.ApplyTemplate(TemplateIndex("TV")));
    const std::vector<const TButtonCode*> before = ButtonObjects();
    const std::vector<std::string> namesBefore = ButtonNames();
    ASSERT_TRUE(templates_.ApplyTemplate(TemplateIndex("TV")));
    EXPECT_EQ(ButtonObjects(), before);
    EXPECT_EQ(ButtonNames(), namesBefore);
}

TEST_F(TemplatesTest, NamesListedTwiceGiveTwoButtonsAndSurplusButtonsGoFromTheFront) {
    templates_.SetDefaultTemplates();
    ASSERT_TRUE(templates_.ApplyTemplate(TemplateIndex("TV")));
    std::vector<std::string> names = ButtonNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "Size"), 2);

    buttons_.Clear();
    buttons_.AddWithCodes("size", "Aa", "");
    buttons_.AddWithCodes("SIZE", "Ab", "");
    buttons_.AddWithCodes("Size", "Ac", "");
    ASSERT_TRUE(templates_.ApplyTemplate(TemplateIndex("TV")));
    EXPECT_EQ(buttons_.Items(0).Code(), "Ab");
    EXPECT_EQ(buttons_.Items(1).Code(), "Ac");
    names = ButtonNames();
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n == "size"; }), 0);
}

TEST_F(TemplatesTest, UnknownTemplateChangesNothing) {
    templates_.SetDefaultTemplates();
    buttons_.Add("Power");
    EXPECT_FALSE(templates_.ApplyTemplate(10));
    EXPECT_FALSE(templates_.ApplyTemplate(-1));
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Power"}));
}

TEST_F(TemplatesTest, LostOuterQuotesAreRestored) {
    struct Case {
        const char* line;
        const char* name;
        const char* value;
    } cases[] = {
        {"TV=Mute\",\"Off", "TV", "\"Mute\",\"Off\""},
        {"TV=\"Mute\",\"Off", "TV", "\"Mute\",\"Off\""},
        {"TV=Mute\",\"Off\"", "TV", "\"Mute\",\"Off\""},
        {"TV=\"Mute\"", "TV", "\"Mute\""},
        {"TV=", "TV", ""},
        {"TV", "TV", ""},
        {"A=b=c", "A", "\"b=c\""},
    };
    for (const Case& c : cases) {
        templates_.SetLines({c.line});
        EXPECT_EQ(templates_.TemplateName(0), c.name) << c.line;
        EXPECT_EQ(templates_.TemplateValue(0), c.value) << c.line;
    }
    // Split, the restored value gives the names the user stored.
    templates_.SetLines({"TV=Mute\",\"Off"});
    EXPECT_EQ(SplitCommaText(templates_.TemplateValue(0)), (std::vector<std::string>{"Mute", "Off"}));
}

TEST_F(TemplatesTest, SaveThenLoadGivesTheSameLines) {
    const std::string path = folder_.Write("SPX.ini",
                                           "[Setup]\nDelay=60\n[Button Templates Section]\nOld=\"gone\"\n"
                                           "[Window]\nColor1=red\n");
    templates_.SetDefaultTemplates();
    templates_.Add(TButtonTemplates::MakeTemplateLine("Mine", {" Vol +", "Off", "A,B"}));
    templates_.Add("Lost=Up\",\"Down");
    TIniFile file(path);
    ASSERT_TRUE(templates_.SaveTemplates(file).ok);

    TButtonTemplates loaded;
    loaded.LoadTemplates(TIniFile(path));
    std::vector<std::string> expected = templates_.Lines();
    expected.back() = "Lost=\"Up\",\"Down\"";
    EXPECT_EQ(loaded.Lines(), expected);
    // A bound menu shows what was loaded.
    FakeMenu menu;
    loaded.BindMenu(&menu);
    loaded.LoadTemplates(TIniFile(path));
    EXPECT_EQ(menu.CommandCount(), 12);
    EXPECT_EQ(menu.commands.back().caption, "Lost");
    // The old section was replaced; the others are untouched.
    EXPECT_FALSE(file.ValueExists("Button Templates Section", "Old"));
    EXPECT_EQ(file.ReadInteger("Setup", "Delay", 0), 60);
    EXPECT_EQ(file.ReadString("Window", "Color1", ""), "red");
    EXPECT_EQ(SplitCommaText(loaded.TemplateValue(10)), (std::vector<std::string>{" Vol +", "Off", "A,B"}));
}

// A template of 300 button names is several thousand characters long: it is stored and read back whole, and
// applying it to the 300 learned buttons it was made from keeps every one with its code.
TEST_F(TemplatesTest, ATemplateOfThreeHundredNamesSurvivesTheSettingsFile) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        names.push_back("Button number " + std::to_string(i));
        buttons_.AddWithCodes(names.back(), "AaAb" + std::to_string(i), "");
    }
    const std::string line = TButtonTemplates::MakeTemplateLine("Big", names);
    ASSERT_GT(line.size(), 5000u);
    templates_.SetLines({line});
    const std::string path = folder_.File("SPX.ini");
    TIniFile file(path);
    ASSERT_TRUE(templates_.SaveTemplates(file).ok);

    TButtonTemplates loaded;
    loaded.SetButtonList(&buttons_);
    loaded.LoadTemplates(TIniFile(path));
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.Lines(), (std::vector<std::string>{line}));
    EXPECT_EQ(SplitCommaText(loaded.TemplateValue(0)), names);
    ASSERT_TRUE(loaded.ApplyTemplate(0));
    ASSERT_EQ(buttons_.Count(), 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(buttons_.Items(i).Name(), names[static_cast<std::size_t>(i)]);
        EXPECT_EQ(buttons_.Items(i).Code(), "AaAb" + std::to_string(i));
    }
}

TEST_F(TemplatesTest, MakeTemplateLine) {
    EXPECT_EQ(TButtonTemplates::MakeTemplateLine("Mine", {"On", "Off", "Vol +"}), "Mine=\"On\",\"Off\",\"Vol +\"");
    EXPECT_EQ(TButtonTemplates::MakeTemplateLine("Empty", {}), "Empty=");
}

TEST_F(TemplatesTest, ListBoxShowsTheNamesAndAppliesItsSelection) {
    FakeListBox list;
    templates_.SetDefaultTemplates();
    templates_.BindListBox(&list);
    EXPECT_EQ(list.items, kDefaultNames);

    EXPECT_FALSE(templates_.ApplyTemplateFromListBox());  // nothing selected
    list.selected = TemplateIndex("HomeAuto");
    ASSERT_TRUE(templates_.ApplyTemplateFromListBox());
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Arm Security", "Cool", "Dim Lights", "Heat", "Lights On/Off",
                                                       "Open Curtains", "Outside Lights", "Water Garden"}));

    templates_.Add("Extra=\"x\"");
    templates_.RefreshViews();
    EXPECT_EQ(list.items.back(), "Extra");
}

TEST_F(TemplatesTest, MenuCommandAppliesItsTemplate) {
    FakeMenu menu;
    templates_.SetDefaultTemplates();
    templates_.BindMenu(&menu);
    ASSERT_EQ(menu.CommandCount(), 10);
    menu.commands[static_cast<std::size_t>(TemplateIndex("HomeAuto"))].action();
    EXPECT_EQ(buttons_.Count(), 8);
    // Rebuilding does not pile up commands.
    templates_.RefreshViews();
    templates_.RefreshViews();
    EXPECT_EQ(menu.Captions(), kDefaultNames);
}

TEST(CommaTextTest, Splitting) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    } cases[] = {
        {"\"a\",\"b\"", {"a", "b"}}, {"\"a b\", \"c\"", {"a b", "c"}},
        {"a b", {"a", "b"}},         {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},           {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"  \"x\"  ", {"x"}},        {"", {}},
        {"\"open", {"open"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommaText(c.text), c.items) << c.text;
}

}  // namespace
}  // namespace spectrel
