// The frame window's plain rules: document command set, captions and hints, hint texts, status panel widths,
// the keys of the per-user store, the shell preferences, the toolbar layout text and the splash switch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/core/FrameRules.h"
#include "shell/core/ShellPreferences.h"
#include "shell/core/StartOptions.h"
#include "shell/core/StoreKey.h"
#include "testing/MemoryUserStore.h"

namespace spectrel::shell {
namespace {

std::vector<TFrameMenuItem> Members(std::uint16_t items) {
    std::vector<TFrameMenuItem> members;
    for (int i = 0; i < kFrameMenuItemCount; ++i)
        if (HasFrameMenuItem(items, static_cast<TFrameMenuItem>(i))) members.push_back(static_cast<TFrameMenuItem>(i));
    return members;
}

TEST(FrameMenuItems, BitNStandsForMemberN) {
    EXPECT_EQ(kInitialFrameMenuItems, 6943);
    EXPECT_EQ(Members(6943), (std::vector<TFrameMenuItem>{tmiNew, tmiOpen, tmiReopen, tmiSave, tmiSaveAs, tmiPreview,
                                                          tmiPrint, tmiPrinterSetup, tmiPreferences}));
    EXPECT_EQ(Members(4096), (std::vector<TFrameMenuItem>{tmiPreferences}));
    EXPECT_EQ(Members(0), (std::vector<TFrameMenuItem>{}));
    EXPECT_EQ(FrameMenuItemBit(tmiNew), 1);
    EXPECT_EQ(FrameMenuItemBit(tmiPreferences), 4096);
}

TEST(FrameMenuItems, CaptionsAndToolbarButtons) {
    struct Case {
        TFrameMenuItem item;
        std::string caption;
        bool toolButton;
    };
    const Case cases[] = {
        {tmiNew, "&New", true},          {tmiOpen, "&Open", true},
        {tmiReopen, "&Reopen", true},    {tmiSave, "&Save", true},
        {tmiSaveAs, "Save &As", true},   {tmiSaveAll, "Save All", false},
        {tmiClose, "Close", false},      {tmiCloseAll, "Close All", false},
        {tmiPreview, "Pre&view", true},  {tmiPrint, "&Print", true},
        {tmiPrintAll, "Print All", false}, {tmiPrinterSetup, "Printer &Setup", false},
        {tmiPreferences, "Pre&ferences", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameMenuItemInfo(c.item).caption, c.caption);
        EXPECT_EQ(FrameMenuItemInfo(c.item).toolButton, c.toolButton) << c.caption;
    }
}

TEST(FrameTexts, BuiltFromTheTitleAndTheVersion) {
    EXPECT_EQ(ExitHint("Spectrel"), "Exit Spectrel?");
    EXPECT_EQ(AboutCaption("Spectrel"), "&About Spectrel");
    EXPECT_EQ(AboutHint("Spectrel"), "View file/version details about Spectrel");
    // Two blanks stand before the version.
    EXPECT_EQ(WhatsNewCaption("Spectrel", "1.1.0.4"), "&Whats new for \"Spectrel\" version  1.1.0.4");
    EXPECT_EQ(WhatsNewHint("Spectrel", "1.1.0.4"), "Show new features and bug fixes of \"Spectrel\" version  1.1.0.4");
    EXPECT_EQ(NoHelpText("Spectrel"), "No help is installed for Spectrel.");
}

TEST(FrameHints, ShortPartForTheTooltipLongPartForTheStatusBar) {
    struct Case {
        const char* hint;
        const char* shortHint;
        const char* longHint;
    };
    const Case cases[] = {
        {"Save File|Click to save learned IR codes", "Save File", "Click to save learned IR codes"},
        {"Explore Buttons | Explorer the buttons of the IR unit", "Explore Buttons ",
         " Explorer the buttons of the IR unit"},
        {"Preview all available button images", "Preview all available button images",
         "Preview all available button images"},
        {"a|b|c", "a", "b|c"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortHint(c.hint), c.shortHint) << c.hint;
        EXPECT_EQ(LongHint(c.hint), c.longHint) << c.hint;
    }
}

TEST(FrameHints, StatusPanelShowsTheFirstLineAndRoomForTheGrip) {
    EXPECT_EQ(StatusPanelHint("Select COM port from list", false), "Select COM port from list");
    EXPECT_EQ(StatusPanelHint("Select COM port from list", true), "Select COM port from list      ");
    EXPECT_EQ(StatusPanelHint("first line\rsecond line", false), "first line");
    EXPECT_EQ(StatusPanelHint("", true), "      ");
}

TEST(StatusPanels, WidthIsTheTextPlusTenAndModifiedIsRed) {
    EXPECT_EQ(StatusPanelWidth(0), 10);
    EXPECT_EQ(StatusPanelWidth(57), 67);
    EXPECT_TRUE(StatusPanelTextIsRed("Modified"));
    EXPECT_FALSE(StatusPanelTextIsRed("modified"));
    EXPECT_FALSE(StatusPanelTextIsRed("Reader 1.3"));
}

TEST(FrameKeys, KeysOfTheWindowInTheUserStore) {
    EXPECT_EQ(ShellPreferencesKey("Halvren Didaziravu Systems", "Spectrel", "frmMain"),
              (TStoreKey{"Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain", "frmMain"}));
    EXPECT_EQ(PlacementKey("Halvren Didaziravu Systems", "Spectrel", "frmMain"),
              (TStoreKey{"Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain\\frmMain", "ZELFormSize"}));
    EXPECT_EQ(ToolbarLayoutKey("Halvren Didaziravu Systems", "Spectrel", "frmMain"),
              (TStoreKey{"Software\\Halvren Didaziravu Systems\\Spectrel", "frmMain"}));
    // Without a company name the key is "Software\<title>".
    EXPECT_EQ(ShellPreferencesKey("", "Spectrel", "frmMain"), (TStoreKey{"Software\\Spectrel\\frmMain", "frmMain"}));
}

TEST(ShellPreferences, DefaultsAndTheStoredValues) {
    testing::MemoryUserStore store;
    const TStoreKey key = ShellPreferencesKey("Halvren Didaziravu Systems", "Spectrel", "frmMain");
    const TShellPreferences first = ReadShellPreferences(store, key, 2500);
    EXPECT_TRUE(first.flatButtons);
    EXPECT_TRUE(first.saveIntPos);
    EXPECT_TRUE(first.showHelp);
    EXPECT_FALSE(first.savePos);
    EXPECT_TRUE(first.usePreferencesTree);
    EXPECT_EQ(first.hintHidePause, 2500);

    WriteShellPreferences(store, key, {false, false, false, true, false, 4000});
    const char* path = "Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain";
    struct Value {
        const char* name;
        const char* text;
    };
    const Value values[] = {{"FlatButtons", "0"}, {"SaveIntPos", "0"},         {"ShowHelp", "0"},
                            {"SavePos", "1"},     {"USEPREFERENCESTREE", "0"}, {"HintHidePause", "4000"}};
    for (const Value& v : values) EXPECT_EQ(store.readValue(path, "frmMain", v.name), v.text) << v.name;
    EXPECT_EQ(ReadShellPreferences(store, key, 2500), (TShellPreferences{false, false, false, true, false, 4000}));

    store.writeValue(path, "frmMain", "ShowHelp", "yes");
    store.writeValue(path, "frmMain", "HintHidePause", "-5");
    const TShellPreferences odd = ReadShellPreferences(store, key, 2500);
    EXPECT_TRUE(odd.showHelp) << "an unreadable value takes its default";
    EXPECT_EQ(odd.hintHidePause, 2500);
}

TEST(ToolbarLayout, TextRoundTripsAndBadTextIsRefused) {
    const TToolbarPlacement placements[] = {{"Top", 0, 0, true}, {"Bottom", 2, 140, false}, {"Left", 1, 33, true}};
    for (const TToolbarPlacement& p : placements) EXPECT_EQ(ParseToolbarPlacement(FormatToolbarPlacement(p)), p);
    EXPECT_EQ(FormatToolbarPlacement({"Top", 1, 250, false}), "Top,1,250,0");
    const char* bad[] = {"", "Top", "Top,0,0", "Top,0,0,1,9", "Middle,0,0,1", "Top,x,0,1", "Top,-1,0,1", "Top,0,0,2"};
    for (const char* text : bad) EXPECT_FALSE(ParseToolbarPlacement(text)) << text;
}

TEST(StartOptions, NoSplashInAnyLetterCase) {
    struct Case {
        std::vector<std::string> arguments;
        bool splash;
    };
    const Case cases[] = {
        {{"spectrel"}, true},
        {{"spectrel", "/NOSPLASH"}, false},
        {{"spectrel", "/nosplash"}, false},
        {{"spectrel", "--virtual", "/NoSplash"}, false},
        {{"spectrel", "--no-splash"}, false},
        {{"spectrel", "/NOSPLASHES"}, true},
        {{"spectrel", "NOSPLASH"}, true},
        // The program's own name is not an argument.
        {{"/NOSPLASH"}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(SplashWanted(c.arguments), c.splash) << c.arguments.back();
}

}  // namespace
}  // namespace spectrel::shell
