// The data shipped beside the program (data/): SPX.ini reads at start-up without an error and is left as it
// was, every button template applies, every brand list of the default device types loads without
// "Duplicate: " messages, and the button name files hold the templates' names.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "tests/settings_temp_folder.h"

namespace spectrel::test {
namespace {

namespace fs = std::filesystem;

std::string DataFolder() { return std::string(SPECTREL_SOURCE_DIR) + "/data/"; }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Where two texts first differ, or npos when they are equal.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return ia == a.end() && ib == b.end() ? std::string::npos : static_cast<std::size_t>(ia - a.begin());
}

// Lines as the program reads them: CR LF, LF or a lone CR ends a line.
std::vector<std::string> ReadLines(const std::string& path) {
    const std::string text = ReadBytes(path);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const std::vector<std::string> kShippedTemplates = {
    "TV", "DVD Blu-ray", "Receiver Amplifier", "Set-top Box", "Air Conditioner", "Fan", "Lighting", "CD", "VCR"};

TEST(ShippedSettings, ReadsAtStartUpWithoutErrorAndIsLeftAsItWas) {
    TempFolder folder;
    const std::string settings = folder.Write("SPX.ini", ReadBytes(DataFolder() + "SPX.ini"));
    TButtonTemplates templates;
    TAppSettings app;
    TReplaceRule rules;
    Tstandard_protocols standard;
    const TDataResult read = ReadSettingsAtStartup(settings, templates, app, rules, standard);
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_EQ(standard.count, 18);
    EXPECT_EQ(app.setup.delay, 50);
    EXPECT_EQ(app.deviceTypes, (std::vector<std::string>{"TV", "Cable TV", "Satellite TV", "DVD", "VCR", "Amplifier",
                                                         "Air Conditioner", "Home Automation", "Other"}));
    ASSERT_EQ(templates.Count(), static_cast<int>(kShippedTemplates.size()));
    for (int i = 0; i < templates.Count(); ++i) EXPECT_EQ(templates.TemplateName(i), kShippedTemplates[i]);
    // The table written back at start-up is the table as shipped.
    EXPECT_EQ(FirstDifference(ReadBytes(settings), ReadBytes(DataFolder() + "SPX.ini")), std::string::npos);
}

class ShippedTemplate : public ::testing::TestWithParam<std::string> {
protected:
    ShippedTemplate() {
        templates.LoadTemplates(TIniFile(DataFolder() + "SPX.ini"));
        templates.SetButtonList(&buttons);
    }
    int Index() const {
        for (int i = 0; i < templates.Count(); ++i) {
            if (templates.TemplateName(i) == GetParam()) return i;
        }
        return -1;
    }
    std::vector<std::string> SortedNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < buttons.Count(); ++i) names.push_back(Upper(buttons.Items(i).Name()));
        std::sort(names.begin(), names.end());
        return names;
    }

    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TButtonTemplates templates;
};

TEST_P(ShippedTemplate, AppliesToAnEmptyListAndOverEveryOtherTemplate) {
    const int index = Index();
    ASSERT_GE(index, 0);
    std::vector<std::string> expected;
    for (const std::string& name : SplitCommaText(templates.TemplateValue(index))) {
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find_first_of("\"="), std::string::npos) << name;
        expected.push_back(Upper(name));
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_GE(expected.size(), 10u);
    EXPECT_EQ(std::adjacent_find(expected.begin(), expected.end()), expected.end()) << "a name listed twice";

    ASSERT_TRUE(templates.ApplyTemplate(index));
    EXPECT_EQ(SortedNames(), expected);
    for (int other = 0; other < templates.Count(); ++other) {
        ASSERT_TRUE(templates.ApplyTemplate(other));
        ASSERT_TRUE(templates.ApplyTemplate(index));
        EXPECT_EQ(SortedNames(), expected) << "after " << templates.TemplateName(other);
    }
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedTemplate, ::testing::ValuesIn(kShippedTemplates), [](const auto& info) {
    std::string name;
    for (char ch : info.param) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
});

// The 15 names every brand list gets after the file's own.
const std::vector<std::string> kDefaultBrands = {"Halvren", "Akai",    "JVC",     "Fujitsu", "Mitsubishi",
                                                 "NEC",     "Panasonic", "Philips", "Sharp",   "Samsung",
                                                 "Sanyo",   "Siemens", "Sony",    "TEAC",    "Westinghouse"};

class ShippedBrands : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedBrands, LoadsWithoutDuplicateMessages) {
    const std::string file = DataFolder() + GetParam() + ".brd";
    ASSERT_TRUE(fs::exists(file)) << file;
    const std::vector<std::string> lines = ReadLines(file);
    EXPECT_GE(lines.size(), 20u);
    // The list as a device-type change builds it: the file, the defaults, sorted without regard to case; then
    // one "Duplicate: " message for every entry equal in upper case to the one before it.
    std::vector<std::string> list = lines;
    list.insert(list.end(), kDefaultBrands.begin(), kDefaultBrands.end());
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return Upper(a) < Upper(b); });
    std::vector<std::string> messages;
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (Upper(list[i - 1]) == Upper(list[i])) messages.push_back("Duplicate: " + list[i]);
    }
    EXPECT_EQ(messages, std::vector<std::string>{});
    for (const std::string& brand : lines) {
        EXPECT_FALSE(brand.empty());
        EXPECT_EQ(brand, brand.substr(brand.find_first_not_of(' '))) << "leading blank";
    }
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedBrands, ::testing::ValuesIn(DefaultDeviceTypes()), [](const auto& info) {
    std::string name;
    for (char ch : info.param) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
});

TEST(ShippedButtonNames, EveryNameFileHoldsItsTemplate) {
    TButtonTemplates templates;
    templates.LoadTemplates(TIniFile(DataFolder() + "SPX.ini"));
    std::map<std::string, std::vector<std::string>> byName;
    for (int i = 0; i < templates.Count(); ++i) {
        byName[templates.TemplateName(i)] = SplitCommaText(templates.TemplateValue(i));
    }
    int files = 0;
    for (const auto& entry : fs::directory_iterator(DataFolder() + "Button Templates")) {
        ASSERT_EQ(entry.path().extension(), ".btn");
        const std::string name = entry.path().stem().string();
        ASSERT_TRUE(byName.count(name)) << name;
        EXPECT_EQ(ReadLines(entry.path().string()), byName[name]) << name;
        // Written the way the program writes them: every line ended by CR LF.
        const std::string bytes = ReadBytes(entry.path().string());
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        ++files;
    }
    EXPECT_EQ(files, 7);
}

}  // namespace
}  // namespace spectrel::test
