// Which picture a button gets: image names from file names, the sorted and unique name table, the lookup by
// whole name, first word and the VANTA fallback, and loading each picture once.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Code/SPX_ButtonImageNames.h"

namespace spectrel {
namespace {

TEST(ButtonImageNames, ImageNamesFromFileNames) {
    struct Case {
        std::string file;
        bool candidate;
        std::string name;
    };
    const Case cases[] = {
        {"Power.bmp", true, "POWER"},   {"VOL.UP.bmp", true, "VOL"},  {"mute.BMP", true, "MUTE"},
        {"Ch+.Bmp", true, "CH+"},       {"play.png", false, "PLAY"},  {"bmp", false, "BMP"},
        {"notes.bmp.txt", false, "NOTES"}, {".bmp", true, ""},       {"Über.bmp", true, "\xC3\x9C" "BER"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(IsButtonImageFile(c.file), c.candidate);
        EXPECT_EQ(ImageNameFromFileName(c.file), c.name);
    }
}

TEST(ButtonImageNames, LookupKeysOfAButtonName) {
    struct Case {
        std::string button;
        TButtonImageKeys keys;
    };
    const Case cases[] = {
        {"Power", {"POWER", ""}},
        {"Volume Up", {"VOLUME UP", "VOLUME"}},
        {"Power (main)", {"POWER", "POWER"}},
        {"Power(main)", {"POWER", ""}},
        {"Vol/Up", {"VOL", ""}},
        {"Vol/Up (x)", {"VOL", ""}},
        {"A (b/c)", {"A", "A"}},            // cut at "(" first, so the "/" is gone with it
        {"Ch Up/Down", {"CH UP", "CH"}},
        {" Mute", {"MUTE", ""}},            // a leading blank: no first word
        {"  Two words", {"TWO WORDS", ""}},
        {"Tab\tKey", {"TAB\tKEY", ""}},     // only a blank separates words
        {"", {"", ""}},
        {"(all)", {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_EQ(ButtonImageKeys(c.button), c.keys);
    }
}

TEST(ButtonImageNames, TheTableIsSortedAndUnique) {
    TButtonImageNames names;
    EXPECT_TRUE(names.AddFile("VOLUME.bmp"));
    EXPECT_TRUE(names.AddFile("power.bmp"));
    EXPECT_TRUE(names.AddFile("Vanta.bmp"));
    EXPECT_FALSE(names.AddFile("POWER.BMP"));     // the same image name again
    EXPECT_FALSE(names.AddFile("Power.old.bmp"));  // gives POWER too
    EXPECT_FALSE(names.AddFile("readme.txt"));
    EXPECT_FALSE(names.AddFile(".bmp"));
    EXPECT_TRUE(names.AddFile("Ch+.bmp"));

    std::vector<std::string> order;
    for (const TButtonImageEntry& entry : names.Entries()) {
        order.push_back(entry.name);
        EXPECT_EQ(entry.imageIndex, -1);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"CH+", "POWER", "VANTA", "VOLUME"}));
    // The first file of a name is the one kept.
    EXPECT_EQ(names.Entries()[1].fileName, "power.bmp");
    EXPECT_EQ(names.Position("VANTA"), 2);
    EXPECT_EQ(names.Position("MUTE"), -1);
    EXPECT_EQ(names.Position(""), -1);
}

class ButtonImageLookup : public ::testing::Test {
protected:
    // Counts the loads and hands out indexes in load order, as the image list does.
    TButtonImageNames::Loader Loader() {
        return [this](const TButtonImageEntry& entry) {
            loaded.push_back(entry.name);
            return static_cast<int>(loaded.size()) - 1;
        };
    }
    int Find(const std::string& button) { return names.FindButtonImage(button, Loader()); }

    TButtonImageNames names;
    std::vector<std::string> loaded;
};

TEST_F(ButtonImageLookup, WholeNameFirstWordThenVanta) {
    for (const char* file : {"POWER.bmp", "VOLUME.bmp", "VANTA.bmp", "VOL.bmp"}) names.AddFile(file);
    struct Case {
        std::string button;
        std::string image;
    };
    const Case cases[] = {
        {"Power", "POWER"},        {"Volume Up", "VOLUME"}, {"Power (main)", "POWER"}, {"Mute", "VANTA"},
        {"Vol/Up", "VOL"},         {"power", "POWER"},      {" Power", "POWER"},       {"VANTA", "VANTA"},
        {"vanta", "VANTA"},        {"", "VANTA"},           {"Volume", "VOLUME"},      {"Vol Up", "VOL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_EQ(names.ImageForIndex(Find(c.button)), c.image);
    }
}

TEST_F(ButtonImageLookup, EachPictureIsLoadedOnceTheFallbackFirst) {
    for (const char* file : {"POWER.bmp", "VOLUME.bmp", "VANTA.bmp"}) names.AddFile(file);
    EXPECT_EQ(Find("Volume Up"), 1);
    EXPECT_EQ(Find("Volume Down"), 1);
    EXPECT_EQ(Find("Power"), 2);
    EXPECT_EQ(Find("Mute"), 0);
    EXPECT_EQ(loaded, (std::vector<std::string>{"VANTA", "VOLUME", "POWER"}));
    EXPECT_EQ(names.ImageForIndex(0), "VANTA");
    EXPECT_EQ(names.ImageForIndex(1), "VOLUME");
    EXPECT_EQ(names.ImageForIndex(3), "");
    EXPECT_EQ(names.ImageForIndex(-1), "");
}

TEST_F(ButtonImageLookup, WithoutVantaNothingMatchingGivesNoPicture) {
    names.AddFile("POWER.bmp");
    EXPECT_EQ(Find("Mute"), -1);
    EXPECT_EQ(Find("VANTA"), -1);
    EXPECT_EQ(Find("Power Off"), 0);
    EXPECT_EQ(loaded, std::vector<std::string>{"POWER"});

    TButtonImageNames empty;
    EXPECT_EQ(empty.FindButtonImage("Power", Loader()), -1);
}

TEST_F(ButtonImageLookup, LoadingAllGivesTheIndexesInNameOrder) {
    for (const char* file : {"VOLUME.bmp", "POWER.bmp", "VANTA.bmp", "MUTE.bmp"}) names.AddFile(file);
    names.LoadAll(Loader());
    EXPECT_EQ(loaded, (std::vector<std::string>{"MUTE", "POWER", "VANTA", "VOLUME"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(names.ImageForIndex(i), names.Entries()[static_cast<std::size_t>(i)].name);
    // Nothing is loaded twice.
    names.LoadAll(Loader());
    EXPECT_EQ(Find("Power"), 1);
    EXPECT_EQ(loaded.size(), 4u);
}

}  // namespace
}  // namespace spectrel
