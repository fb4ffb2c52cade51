// The settings file keys with their defaults and reading rules, the list palette, the advanced options on the
// per-user store, and the start-up and close sequences.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "Code/uKOR_SpectrelIni.h"
#include "testing/MemoryUserStore.h"
#include "tests/file_faults.h"
#include "tests/settings_temp_folder.h"
#include "tests/user_locale.h"

namespace spectrel {
namespace {

// The colours of the palette's names.
namespace rgb {
constexpr TListColour kBlack = TListColour::FromRgb24(0x000000);
constexpr TListColour kNavy = TListColour::FromRgb24(0x000080);
constexpr TListColour kGreen = TListColour::FromRgb24(0x008000);
constexpr TListColour kRed = TListColour::FromRgb24(0xFF0000);
constexpr TListColour kOlive = TListColour::FromRgb24(0x808000);
constexpr TListColour kMaroon = TListColour::FromRgb24(0x800000);
constexpr TListColour kPurple = TListColour::FromRgb24(0x800080);
constexpr TListColour kGray = TListColour::FromRgb24(0x808080);
constexpr TListColour kFuchsia = TListColour::FromRgb24(0xFF00FF);
}  // namespace rgb
using rgb::kBlack;

std::string Source(const std::string& relative) { return std::string(SPECTREL_SOURCE_DIR) + "/" + relative; }

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Everything the main window fills at start-up.
struct Model {
    TButtonTemplates templates;
    TAppSettings settings;
    TReplaceRule rules;
    Tstandard_protocols standard;
};

TEST(AppSettingsTest, MissingSettingsFileGivesEveryDefault) {
    test::TempFolder folder;
    testing::MemoryUserStore store;
    auto options = CreateAdvancedOptions(store);
    Model m;
    m.settings.setup.delay = 77;  // whatever was there is replaced
    const TDataResult result =
        ReadSettingsAtStartup(SettingsFilePath(folder.Folder()), m.templates, m.settings, m.rules, m.standard);

    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(m.settings.setup, (TSetupSettings{"COM2", 50, false}));
    EXPECT_EQ(m.settings.deviceTypes,
              (std::vector<std::string>{"TV", "Cable TV", "Satellite TV", "DVD", "VCR", "Amplifier", "Air Conditioner",
                                        "Home Automation", "Other"}));
    EXPECT_EQ(m.settings.palette, TListPalette());
    EXPECT_EQ(m.templates.Lines(), DefaultTemplateLines());
    EXPECT_EQ(m.standard.count, 0);
    EXPECT_EQ(m.rules.Rules(), DefaultAutomaticRules());
    // Reading writes nothing: an empty standard table has nothing to save back.
    EXPECT_FALSE(folder.Exists("SPX.ini"));

    EXPECT_TRUE(options->MatchToStandardProtocol);
    EXPECT_TRUE(options->UseSubstutionRules);
    EXPECT_FALSE(options->AllowProtocolEdit);
    EXPECT_FALSE(options->AllowDecodingParmeterEdit);
    EXPECT_TRUE(options->WizardView);
    EXPECT_TRUE(options->AttachProtocol);
    EXPECT_FALSE(options->SubsBinByHex);
    EXPECT_TRUE(options->UserProtocolExplore);
}

TEST(AppSettingsTest, CloseWithoutReaderWritesOnlyTheTemplatesAndTheDelay) {
    test::TempFolder folder;
    testing::MemoryUserStore store;
    auto options = CreateAdvancedOptions(store);
    Model m;
    const std::string path = SettingsFilePath(folder.Folder());
    ASSERT_TRUE(ReadSettingsAtStartup(path, m.templates, m.settings, m.rules, m.standard).ok);

    const TIniResult closed =
        WriteSettingsAtClose(options, path, m.templates, TCloseSettings{false, "COM7", m.settings.setup.delay});
    EXPECT_TRUE(closed.ok) << closed.message;
    EXPECT_EQ(options, nullptr);

    TIniFile file(path);
    EXPECT_EQ(file.ReadSections(), (std::vector<std::string>{"Button Templates Section", "Setup"}));
    EXPECT_EQ(file.ReadSection("Setup"), (std::vector<std::string>{"Delay"}));
    EXPECT_EQ(file.ReadInteger("Setup", "Delay", 0), 50);
    const std::vector<std::string> names = file.ReadSection("Button Templates Section");
    EXPECT_EQ(names, (std::vector<std::string>{"AirCond", "CD", "DVD", "HomeAuto", "LaserDisc", "PreAmp", "TapePlayer",
                                               "Receiver", "TV", "VCR"}));
    // The options went to the per-user store, one "1" or "0" each.
    EXPECT_EQ(store.valueCount(), 8u);
    EXPECT_EQ(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "MatchToStandardProtocol"), "1");
    EXPECT_EQ(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "SubsBinByHex"), "0");

    // The next start reads the same templates back.
    Model again;
    ASSERT_TRUE(ReadSettingsAtStartup(path, again.templates, again.settings, again.rules, again.standard).ok);
    EXPECT_EQ(again.templates.Lines(), DefaultTemplateLines());
}

TEST(AppSettingsTest, CloseWithReaderWritesThePortInUse) {
    test::TempFolder folder;
    const std::string path = folder.Write("SPX.ini", "[Setup]\nSerial=COM2\nDelay=60\nDebug=1\n[Window]\nColor1=red\n");
    testing::MemoryUserStore store;
    auto options = CreateAdvancedOptions(store);
    TButtonTemplates templates;
    templates.SetDefaultTemplates();
    ASSERT_TRUE(WriteSettingsAtClose(options, path, templates, TCloseSettings{true, "COM5", 70}).ok);

    TIniFile file(path);
    EXPECT_EQ(file.ReadString("Setup", "Serial", ""), "COM5");
    EXPECT_EQ(file.ReadInteger("Setup", "Delay", 0), 70);
    // Read-only keys stay as they were.
    EXPECT_EQ(file.ReadString("Setup", "Debug", ""), "1");
    EXPECT_EQ(file.ReadString("Window", "Color1", ""), "red");
}

TEST(AppSettingsTest, FailedWriteAtCloseIsReportedAndTheOptionsAreStillStored) {
    test::TempFolder folder;
    testing::MemoryUserStore store;
    auto options = CreateAdvancedOptions(store);
    options->SubsBinByHex = true;
    TButtonTemplates templates;
    templates.SetDefaultTemplates();
    const std::string path = folder.File("missing-folder/SPX.ini");
    const TIniResult closed = WriteSettingsAtClose(options, path, templates, TCloseSettings{true, "COM3", 50});
    EXPECT_FALSE(closed.ok);
    EXPECT_FALSE(closed.message.empty());
    EXPECT_EQ(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "SubsBinByHex"), "1");
}

// The settings file at close when the disk will not take it: a folder that cannot be written into, and a write
// that fails part way (the file grows beyond what may be written). Either way the previous file stays as it was,
// no temporary file is left, and the close reports one message that names the file.
TEST(AppSettingsTest, AFailedWriteAtCloseLeavesThePreviousFileAndGivesOneMessage) {
    struct Case {
        const char* name;
        bool readOnlyFolder;  // otherwise the file size limit stops the write part way
    };
    for (const Case& c : {Case{"read-only folder", true}, Case{"write failing part way", false}}) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const std::string before = "[Setup]\r\nSerial=COM2\r\nDelay=60\r\n";
        const std::string path = folder.Write("SPX.ini", before);
        testing::MemoryUserStore store;
        auto options = CreateAdvancedOptions(store);
        TButtonTemplates templates;
        templates.SetDefaultTemplates();
        TIniResult closed;
        if (c.readOnlyFolder) {
            test::ReadOnlyFolder readOnly(folder.Folder());
            if (readOnly.Writable()) GTEST_SKIP() << "the folder cannot be made read-only here";
            closed = WriteSettingsAtClose(options, path, templates, TCloseSettings{true, "COM5", 70});
        } else {
            test::FileSizeLimit limit(before.size() / 2);
            if (!limit.active()) GTEST_SKIP() << "cannot lower the file size limit";
            closed = WriteSettingsAtClose(options, path, templates, TCloseSettings{true, "COM5", 70});
        }
        EXPECT_FALSE(closed.ok);
        EXPECT_NE(closed.message.find("\"" + path + "\" could not be written"), std::string::npos) << closed.message;
        EXPECT_EQ(ReadWholeFile(path), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Folder()),
                                std::filesystem::directory_iterator()),
                  1);
        // The advanced options have their own store and were written all the same.
        EXPECT_EQ(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "SubsBinByHex"), "0");
    }
}

TEST(AppSettingsTest, SetupValues) {
    struct Case {
        const char* setup;  // lines of [Setup]
        TSetupSettings read;
    } cases[] = {
        {"", {"COM2", 50, false}},
        {"Delay=39\n", {"COM2", 45, false}},
        {"Delay=40\n", {"COM2", 40, false}},
        {"Delay=100\n", {"COM2", 100, false}},
        {"Delay=101\n", {"COM2", 45, false}},
        {"Delay=-5\n", {"COM2", 45, false}},
        {"Delay=fast\n", {"COM2", 50, false}},
        {"Serial= COM11 \nDebug=1\n", {"COM11", 50, true}},
        {"Debug=0\n", {"COM2", 50, false}},
        {"Debug=7\n", {"COM2", 50, true}},
        {"Debug=yes\n", {"COM2", 50, false}},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        TIniFile file(folder.Write("SPX.ini", std::string("[Setup]\n") + c.setup));
        EXPECT_EQ(ReadSetup(file), c.read) << c.setup;
    }
}

TEST(AppSettingsTest, ColourNames) {
    struct Case {
        const char* name;
        TListColour colour;
    } cases[] = {
        {"navy", rgb::kNavy},
        {"  NaVy  ", rgb::kNavy},
        {"\tGreen ", rgb::kGreen},
        {"RED", TListColour::Rgb(255, 0, 0)},
        {"olive", rgb::kOlive},
        {"maroon", rgb::kMaroon},
        {"purple", rgb::kPurple},
        {"teal", TListColour::Rgb(0, 128, 128)},
        {"gray", rgb::kGray},
        {"fuchsia", rgb::kFuchsia},
        {"yellow", TListColour::FromRgb24(0xFFFF00)},
        {"black", kBlack},
        {"info", TListColour::TooltipBackground()},
        {"Window", TListColour::WindowBackground()},
        {"blue", kBlack},  // blue has no name
        {"grey", kBlack},
        {"#0000FF", kBlack},
    };
    for (const Case& c : cases) EXPECT_EQ(ColourFromName(c.name), c.colour) << "\"" << c.name << "\"";
}

// The user's locale (set by the window layer) does not change which colour a name gives.
TEST(AppSettingsTest, ColourNamesDoNotDependOnTheUserLocale) {
    test::TurkishLocale turkish;
    if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale installed";
    struct Case {
        const char* name;
        TListColour colour;
    } cases[] = {
        {"info", TListColour::TooltipBackground()},
        {"Info", TListColour::TooltipBackground()},
        {"window", TListColour::WindowBackground()},
        {"WINDOW", TListColour::WindowBackground()},
        {"navy", rgb::kNavy},
    };
    for (const Case& c : cases) EXPECT_EQ(ColourFromName(c.name), c.colour) << "\"" << c.name << "\"";
}

TEST(AppSettingsTest, PaletteFromTheWindowSection) {
    test::TempFolder folder;
    TIniFile file(folder.Write("SPX.ini",
                               "[Window]\nColor2=  navy  \nColor3=blue\nColor4=\nColor5=\"  \"\nColor7=window\n"
                               "Color8=INFO\nColor9=pink\n"));
    TListPalette palette;
    ReadListPalette(file, palette);
    const TListColour expected[] = {
        kBlack,                            // 1: missing, default black
        rgb::kNavy,               // 2
        kBlack,                            // 3: blue is no name
        rgb::kMaroon,             // 4: empty keeps the default
        rgb::kFuchsia,            // 5: blank keeps the default
        rgb::kRed,                // 6: missing
        TListColour::WindowBackground(),   // 7
        TListColour::TooltipBackground(),  // 8
        kBlack,                            // 9: unknown name
    };
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(palette.Colour(n), expected[n - 1]) << "colour " << n;
}

TEST(AppSettingsTest, DefaultPalette) {
    const TListPalette palette;
    EXPECT_EQ(palette.Colour(1), kBlack);
    EXPECT_EQ(palette.Colour(2).Rgb24(), 0x008080u);
    EXPECT_EQ(palette.Colour(3).Rgb24(), 0x0000FFu);
    EXPECT_EQ(palette.Colour(4).Rgb24(), 0x800000u);
    EXPECT_EQ(palette.Colour(5).Rgb24(), 0xFF00FFu);
    EXPECT_EQ(palette.Colour(6).Rgb24(), 0xFF0000u);
    EXPECT_EQ(palette.Colour(7), TListColour::TooltipBackground());
    EXPECT_EQ(palette.Colour(8), TListColour::WindowBackground());
    EXPECT_EQ(palette.Colour(9).Rgb24(), 0x808080u);
}

TEST(AppSettingsTest, DeviceTypes) {
    const std::string long250(250, 'x');
    const std::string accented = std::string(199, 'a') + "\xC3\xA9" + "zz";  // an e-acute across the cut
    struct Case {
        const char* name;
        std::string section;
        std::vector<std::string> types;
    } cases[] = {
        {"key 1 with Projector", "1=Projector\n", {"Projector"}},
        {"keys are not used, file order is kept", "b=Radio\na=Projector\nz=TV\n", {"Radio", "Projector", "TV"}},
        {"cut to 200 characters", "1=" + long250 + "\n", {std::string(200, 'x')}},
        {"a character is not cut in half", "1=" + accented + "\n", {std::string(199, 'a')}},
        {"an empty section gives the defaults", "", DefaultDeviceTypes()},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        TIniFile file(folder.Write("SPX.ini", "[Device Types]\n" + c.section + "[Other]\nk=v\n"));
        EXPECT_EQ(ReadDeviceTypes(file), c.types) << c.name;
    }
}

TEST(AppSettingsTest, StandardProtocolsAreWrittenBackAtStartUp) {
    test::TempFolder folder;
    const std::string path = folder.Write("SPX.ini", ReadWholeFile(Source("tests/data/protocols_good.ini")));
    Model m;
    ASSERT_TRUE(ReadSettingsAtStartup(path, m.templates, m.settings, m.rules, m.standard).ok);
    ASSERT_GT(m.standard.count, 0);
    EXPECT_EQ(m.settings.setup.serialPort, "COM3");
    TIniFile file(path);
    for (int i = 0; i < m.standard.count; ++i) {
        const Tprotocol_descriptor& p = m.standard.protocols[static_cast<std::size_t>(i)];
        EXPECT_EQ(file.ReadString("Protocols Section", p.name, ""), DescriptorToText(p)) << p.name;
    }
}

TEST(AppSettingsTest, MalformedProtocolLineIsReportedAndNotWrittenBack) {
    test::TempFolder folder;
    const std::string original = ReadWholeFile(Source("tests/data/protocols_bad_number.ini"));
    const std::string path = folder.Write("SPX.ini", original + "[Setup]\nDelay=60\n");
    Model m;
    const TDataResult result = ReadSettingsAtStartup(path, m.templates, m.settings, m.rules, m.standard);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(m.standard.count, 0);
    // Everything before the protocols has been read all the same.
    EXPECT_EQ(m.settings.setup.delay, 60);
    EXPECT_EQ(m.templates.Count(), 10);
    EXPECT_EQ(ReadWholeFile(path), original + "[Setup]\nDelay=60\n");
}

TEST(AppSettingsTest, UnreadableSettingsFileIsReportedAndKeepsTheDefaults) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder.File("SPX.ini"));  // a folder where the file should be
    Model m;
    const TDataResult result =
        ReadSettingsAtStartup(SettingsFilePath(folder.Folder()), m.templates, m.settings, m.rules, m.standard);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("SPX.ini"), std::string::npos) << result.message;
    EXPECT_EQ(m.settings.setup, TSetupSettings{});
    EXPECT_EQ(m.templates.Lines(), DefaultTemplateLines());
}

TEST(AdvancedOptionsTest, StoredValuesAndDefaults) {
    struct Case {
        const char* stored;  // nullptr: missing
        bool defaultTrue;    // read by an option that defaults to true
        bool defaultFalse;   // ... and by one that defaults to false
    } cases[] = {
        {nullptr, true, false}, {"1", true, true},    {"0", false, false}, {"2", true, true},   {"-1", true, true},
        {" 1 ", true, true},    {"yes", true, false}, {"", true, false},   {"1x", true, false},
    };
    for (const Case& c : cases) {
        testing::MemoryUserStore store;
        if (c.stored != nullptr) {
            store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "AttachProtocol", c.stored);
            store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "SubsBinByHex", c.stored);
        }
        TSpectrelIniObject options(store, SpectrelKeyPath());
        const char* shown = c.stored ? c.stored : "(missing)";
        EXPECT_EQ(options.AttachProtocol, c.defaultTrue) << shown;
        EXPECT_EQ(options.SubsBinByHex, c.defaultFalse) << shown;
    }
}

TEST(AdvancedOptionsTest, ChangesAreStoredOnlyWhenTheObjectGoes) {
    testing::MemoryUserStore store;
    {
        TSpectrelIniObject options(store, SpectrelKeyPath());
        options.AllowProtocolEdit = true;
        options.WizardView = false;
        // Still alive: a process that ends here has stored nothing.
        EXPECT_EQ(store.writeCount(), 0u);
    }
    EXPECT_EQ(store.valueCount(), 8u);
    EXPECT_EQ(store.flushCount(), 1u);
    TSpectrelIniObject again(store, SpectrelKeyPath());
    EXPECT_TRUE(again.AllowProtocolEdit);
    EXPECT_FALSE(again.WizardView);
    EXPECT_TRUE(again.MatchToStandardProtocol);
    // Names in the store ignore case, as registry names do.
    EXPECT_EQ(store.readValue("software\\halvren didaziravu systems\\spectrel", "advancedoptions", "allowprotocoledit"),
              "1");
}

TEST(AdvancedOptionsTest, KeyPath) {
    EXPECT_EQ(SpectrelKeyPath(), "Software\\Halvren Didaziravu Systems\\Spectrel");
    EXPECT_EQ(ApplicationKeyPath("", "Spectrel"), "Software\\Spectrel");
    EXPECT_EQ(ApplicationKeyPath("Acme", "Tool"), "Software\\Acme\\Tool");
}

}  // namespace
}  // namespace spectrel
