// The Remote column: brand list files with the fifteen brands every list offers, the "Duplicate: " messages,
// the line ends of text files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Code/SPX_DeviceDetails.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tests/settings_temp_folder.h"

namespace spectrel {
namespace {

using platform::MessageButton;
using platform::MessageKind;

const std::vector<std::string> kDefaultsSorted = {"Akai",    "Fujitsu", "Halvren", "JVC",          "Mitsubishi",
                                                  "NEC",     "Panasonic", "Philips", "Samsung",    "Sanyo",
                                                  "Sharp",   "Siemens", "Sony",    "TEAC",         "Westinghouse"};

TEST(DeviceDetailsTest, DefaultBrandsInTheirOrder) {
    const std::vector<std::string> expected = {"Halvren", "Akai",  "JVC",     "Fujitsu", "Mitsubishi",
                                               "NEC",     "Panasonic", "Philips", "Sharp", "Samsung",
                                               "Sanyo",   "Siemens", "Sony",    "TEAC",  "Westinghouse"};
    EXPECT_EQ(DefaultBrands(), expected);
}

TEST(DeviceDetailsTest, BrandFileOfADeviceType) {
    EXPECT_EQ(BrandListFilePath("/opt/spectrel/", "TV"), "/opt/spectrel/TV.brd");
    EXPECT_EQ(BrandListFilePath("/opt/spectrel/", "Cable TV"), "/opt/spectrel/Cable TV.brd");
}

TEST(DeviceDetailsTest, TextLinesEndWithCrLfLfOrCr) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"crlf", "Grundig\r\nLoewe\r\n", {"Grundig", "Loewe"}},
        {"lf", "Grundig\nLoewe\n", {"Grundig", "Loewe"}},
        {"cr", "Grundig\rLoewe\r", {"Grundig", "Loewe"}},
        {"mixed", "Grundig\r\nLoewe\rMetz\nBang", {"Grundig", "Loewe", "Metz", "Bang"}},
        {"empty line kept", "Grundig\r\n\r\nLoewe", {"Grundig", "", "Loewe"}},
        {"empty text", "", {}},
        {"one line end", "\r\n", {""}},
        {"blanks kept", "  Loewe  \n", {"  Loewe  "}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.name;
}

TEST(DeviceDetailsTest, DuplicatesAreNeighboursEqualInUpperCase) {
    struct Case {
        const char* name;
        std::vector<std::string> brands;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"none", {"Akai", "JVC"}, {}},
        {"same case", {"Sony", "Sony"}, {"Duplicate: Sony"}},
        {"other case names the second", {"SONY", "Sony"}, {"Duplicate: Sony"}},
        {"three in a row give two", {"Akai", "AKAI", "akai"}, {"Duplicate: AKAI", "Duplicate: akai"}},
        {"empty entries", {"", ""}, {"Duplicate: "}},
    };
    for (const Case& c : cases) EXPECT_EQ(DuplicateBrandMessages(c.brands), c.messages) << c.name;
}

class BrandListsTest : public ::testing::Test {
protected:
    TBrandLists Choose(const std::string& type) { return DeviceTypeBrandLists(folder.Folder(), type, boxes); }
    test::TempFolder folder;
    testing::ScriptedMessageBoxes boxes;
};

TEST_F(BrandListsTest, NoBrandFileGivesTheFifteenDefaultsSortedWithoutMessage) {
    const TBrandLists lists = Choose("VCR");
    EXPECT_EQ(lists.deviceBrands, kDefaultsSorted);
    EXPECT_EQ(lists.remoteBrands, kDefaultsSorted);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(BrandListsTest, FileEntriesJoinTheDefaultsSortedWithoutRegardToCase) {
    folder.Write("TV.brd", "loewe\r\nGrundig\nbang & olufsen\r");
    const TBrandLists lists = Choose("TV");
    ASSERT_EQ(lists.deviceBrands.size(), 18u);
    EXPECT_EQ(lists.deviceBrands[0], "Akai");
    EXPECT_EQ(lists.deviceBrands[1], "bang & olufsen");
    EXPECT_EQ(lists.deviceBrands[3], "Grundig");
    EXPECT_EQ(lists.deviceBrands[6], "loewe");
    EXPECT_EQ(lists.remoteBrands, lists.deviceBrands);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(BrandListsTest, ABrandFileNamingADefaultBrandReportsItAndKeepsBoth) {
    folder.Write("TV.brd", "Sony\r\n");
    const TBrandLists lists = Choose("TV");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].text, "Duplicate: Sony");
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MessageButtons(MessageButton::Ok));
    EXPECT_EQ(std::count(lists.deviceBrands.begin(), lists.deviceBrands.end(), "Sony"), 2);
    EXPECT_EQ(std::count(lists.remoteBrands.begin(), lists.remoteBrands.end(), "Sony"), 2);
    EXPECT_EQ(lists.deviceBrands.size(), 16u);
}

TEST_F(BrandListsTest, EveryChangeOfTypeReportsTheDuplicateAgain) {
    folder.Write("TV.brd", "NEC\r\nsharp\r\n");
    Choose("TV");
    Choose("VCR");
    Choose("TV");
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Duplicate: NEC", "Duplicate: Sharp", "Duplicate: NEC",
                                                       "Duplicate: Sharp"}));
}

TEST_F(BrandListsTest, AnEmptyLineGivesAnEmptyEntry) {
    folder.Write("DVD.brd", "Pioneer\r\n\r\nDenon\r\n");
    const TBrandLists lists = Choose("DVD");
    ASSERT_EQ(lists.deviceBrands.size(), 18u);
    EXPECT_EQ(lists.deviceBrands.front(), "");
}

TEST_F(BrandListsTest, AFolderNamedLikeTheBrandFileGivesTheDefaults) {
    std::filesystem::create_directories(folder.File("Amplifier.brd"));
    EXPECT_EQ(Choose("Amplifier").deviceBrands, kDefaultsSorted);
}

}  // namespace
}  // namespace spectrel
