// Where the frame window goes: the default placement (the screen less 10 pixels at each side and 40 more in
// height, centred) and the saved placement used only while it still fits the screen.

#include <gtest/gtest.h>

#include "shell/core/FormPlacement.h"
#include "shell/core/StoreKey.h"
#include "testing/MemoryUserStore.h"

namespace spectrel::shell {
namespace {

TEST(FormPlacement, DefaultFillsTheScreenLessTheBorders) {
    struct Case {
        const char* name;
        TScreenArea screen;
        TPlacement expected;  // left, top, width, height
    };
    const Case cases[] = {
        {"1024 x 768", {0, 0, 1024, 768}, {10, 30, 1004, 708}},
        {"1920 x 1080", {0, 0, 1920, 1080}, {10, 30, 1900, 1020}},
        // Odd room: the halves are rounded towards zero.
        {"801 x 601", {0, 0, 801, 601}, {10, 30, 781, 541}},
        {"a task bar on the left and at the top", {60, 28, 1860, 1052}, {70, 58, 1840, 992}},
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultPlacement(c.screen), c.expected) << c.name;
}

TEST(FormPlacement, SavedPlacementIsUsedOnlyWhenItFits) {
    const TScreenArea screen{0, 0, 1024, 768};
    const TPlacement fallback{10, 30, 1004, 708};
    struct Case {
        const char* name;
        TPlacement saved;
        bool used;
    };
    const Case cases[] = {
        {"inside the screen", {100, 50, 800, 600}, true},
        {"right and bottom edges on the screen's edges", {24, 18, 1000, 750}, true},
        {"Left 0", {0, 50, 800, 600}, false},
        {"Top 0", {100, 0, 800, 600}, false},
        {"never saved", {-1, -1, -1, -1}, false},
        {"negative Left", {-20, 50, 800, 600}, false},
        {"right edge beyond the screen (resolution lowered)", {300, 50, 800, 600}, false},
        {"bottom edge beyond the screen", {100, 200, 800, 600}, false},
        {"one pixel too wide", {25, 18, 1000, 600}, false},
        {"huge values do not wrap round", {2147483000, 1, 2147483000, 10}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SavedPlacementFits(c.saved, screen), c.used) << c.name;
        EXPECT_EQ(RestoredPlacement(c.saved, screen), c.used ? c.saved : fallback) << c.name;
    }
}

TEST(FormPlacement, IsKeptInTheWindowsSubkey) {
    testing::MemoryUserStore store;
    const TStoreKey key = PlacementKey("Halvren Didaziravu Systems", "Spectrel", "frmMain");
    EXPECT_EQ(key.keyPath, "Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain\\frmMain");
    EXPECT_EQ(key.section, "ZELFormSize");

    EXPECT_EQ(ReadPlacement(store, key), (TPlacement{-1, -1, -1, -1})) << "missing values are -1";
    WritePlacement(store, key, {120, 80, 700, 500});
    const char* keyPath = "Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain\\frmMain";
    EXPECT_EQ(store.readValue(keyPath, "ZELFormSize", "Left"), "120");
    EXPECT_EQ(store.readValue(keyPath, "ZELFormSize", "Top"), "80");
    EXPECT_EQ(store.readValue(keyPath, "ZELFormSize", "Width"), "700");
    EXPECT_EQ(store.readValue(keyPath, "ZELFormSize", "Height"), "500");
    EXPECT_EQ(ReadPlacement(store, key), (TPlacement{120, 80, 700, 500}));

    store.writeValue(keyPath, "ZELFormSize", "Left", "wide");
    EXPECT_EQ(ReadPlacement(store, key).left, -1) << "an unreadable value counts as missing";
}

}  // namespace
}  // namespace spectrel::shell
