#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_IniFile.h"

namespace {

namespace fs = std::filesystem;
using spectrel::TIniFile;

// A fresh folder per test, removed afterwards.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            fs::temp_directory_path() / ("spectrel-ini-" + std::to_string(std::random_device{}()) + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name = "SPX.ini") const { return (dir_ / name).string(); }
    void put(const std::string& text, const std::string& name = "SPX.ini") const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string get(const std::string& name = "SPX.ini") const {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_;
};

TEST_F(IniFileTest, SectionsAndKeysCompareWithoutCase) {
    put("[Setup]\r\nSerial=COM3\r\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("SETUP", "serial", "x"), "COM3");
    EXPECT_EQ(ini.ReadString("setup", "SeRiAl", "x"), "COM3");
    EXPECT_TRUE(ini.SectionExists("sEtUp"));
    EXPECT_TRUE(ini.ValueExists("SETUP", "SERIAL"));
    EXPECT_FALSE(ini.ValueExists("Setup", "Delay"));
    EXPECT_EQ(ini.ReadString("Setup", "Delay", "dflt"), "dflt");
    ASSERT_TRUE(ini.WriteString("SETUP", "SERIAL", "COM5"));
    EXPECT_EQ(get(), "[Setup]\r\nSERIAL=COM5\r\n");
}

TEST_F(IniFileTest, WriteReplacesInPlaceOrAppendsToItsSection) {
    put("[A]\nk1=1\nk2=2\n; heads section B\n[B]\nx=1\n");
    TIniFile ini(path());
    ASSERT_TRUE(ini.WriteString("A", "K1", "one"));
    ASSERT_TRUE(ini.WriteString("a", "k3", "3"));
    ASSERT_TRUE(ini.WriteString("C", "new", "value"));
    EXPECT_EQ(get(), "[A]\nK1=one\nk2=2\nk3=3\n; heads section B\n[B]\nx=1\n\n[C]\nnew=value\n");
    EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"K1", "k2", "k3"}));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFile) {
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("Setup", "Serial", "COM2"), "COM2");
    EXPECT_FALSE(fs::exists(path())) << "reads must not create the file";
    EXPECT_TRUE(ini.EraseSection("Setup"));
    EXPECT_FALSE(fs::exists(path())) << "erasing nothing must not create the file";
    ASSERT_TRUE(ini.WriteInteger("Setup", "Delay", 50));
    EXPECT_EQ(get(), "[Setup]\r\nDelay=50\r\n");
    EXPECT_FALSE(ini.HasError());
}

TEST_F(IniFileTest, KeysAndValuesInFileOrder) {
    put("[Protocols Section]\nZulu=3\nalpha = 1 \nMike=\"two words\"\nMike=again\n[Other]\nq=9\n"
        "[protocols section]\nlate=4\n#hash=5\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadSection("Protocols Section"),
              (std::vector<std::string>{"Zulu", "alpha", "Mike", "Mike", "late", "#hash"}));
    // Every line gives its own value, duplicates included.
    EXPECT_EQ(ini.ReadSectionValues("Protocols Section"),
              (std::vector<std::string>{"Zulu=3", "alpha=1", "Mike=two words", "Mike=again", "late=4", "#hash=5"}));
    EXPECT_EQ(ini.ReadString("Protocols Section", "mike", ""), "two words");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Protocols Section", "Other"}));
    EXPECT_TRUE(ini.ReadSection("Missing").empty());
}

TEST_F(IniFileTest, EraseSectionRemovesItWhole) {
    put("; top\n[Keep]\na=1\n[Drop]\nb=2\n; inside drop\nloose line\n[Keep2]\nc=3\n[DROP]\nd=4\n");
    TIniFile ini(path());
    ASSERT_TRUE(ini.EraseSection("drop"));
    EXPECT_EQ(get(), "; top\n[Keep]\na=1\n[Keep2]\nc=3\n");
    EXPECT_FALSE(ini.SectionExists("Drop"));
    ASSERT_TRUE(ini.DeleteKey("KEEP", "A"));
    EXPECT_EQ(get(), "; top\n[Keep]\n[Keep2]\nc=3\n");
    EXPECT_TRUE(ini.SectionExists("Keep"));
}

TEST_F(IniFileTest, ValuesAreTrimmedAndUnquotedOnRead) {
    struct Case {
        const char* stored;
        const char* read;
    } cases[] = {
        {"plain", "plain"},
        {"   padded \t ", "padded"},
        {"\"  inner blanks  \"", "  inner blanks  "},
        {"  \"quoted\"  ", "quoted"},
        {"\"\"", ""},
        {"\"", "\""},
        {"\"open", "\"open"},
        {"\"a\"b\"", "a\"b"},
        {"\"\"twice\"\"", "\"twice\""},
        {"'single'", "'single'"},
        {"a=b=c", "a=b=c"},
        {"", ""},
    };
    for (const Case& c : cases) {
        put(std::string("[S]\nk=") + c.stored + "\n");
        EXPECT_EQ(TIniFile(path()).ReadString("S", "k", "dflt"), c.read) << "stored: " << c.stored;
    }
}

TEST_F(IniFileTest, ReadLimits) {
    TIniFile ini(path());
    // Values of any length read back whole, the 2047 characters of the profile functions no limit.
    for (std::size_t length : {2047u, 2048u, 3000u, 100'000u}) {
        const std::string longValue(length, 'v');
        ASSERT_TRUE(ini.WriteString("S", "long", longValue));
        EXPECT_EQ(ini.ReadString("S", "long", ""), longValue) << length;
        EXPECT_EQ(ini.ReadSectionValues("S"), (std::vector<std::string>{"long=" + longValue})) << length;
    }
    // Quoted, with inner blanks kept.
    const std::string quoted = "\"" + std::string(5000, ' ') + "x\"";
    ASSERT_TRUE(ini.WriteString("S", "quoted", quoted));
    EXPECT_EQ(ini.ReadString("S", "quoted", ""), std::string(5000, ' ') + "x");
    ASSERT_TRUE(ini.EraseSection("S"));

    // 2000 keys of ten characters: each takes eleven characters of the 16384, plus one at the end.
    std::string text = "[Many]\n";
    for (int i = 0; i < 2000; ++i)
        text += "key" + std::string(7 - std::to_string(i).size(), '0') + std::to_string(i) + "=1\n";
    put(text);
    const std::vector<std::string> keys = ini.ReadSection("Many");
    ASSERT_EQ(keys.size(), (16384u - 1) / 11);
    EXPECT_EQ(keys.back(), "key0001488");
    EXPECT_EQ(ini.ReadSectionValues("Many").size(), keys.size());
}

TEST_F(IniFileTest, IntegersAndBooleans) {
    struct Case {
        const char* stored;
        int integer;   // read with default -7
        bool boolean;  // read with default false
    } cases[] = {
        {"42", 42, true},          {" -13 ", -13, true}, {"0", 0, false},    {"0x1F", 31, true},
        {"$10", 16, true},         {"12abc", -7, true},  {"", -7, true},     {"abc", -7, true},
        {"99999999999", -7, true}, {"+5", 5, true},      {"\"8\"", 8, true},
    };
    for (const Case& c : cases) {
        put(std::string("[S]\nk=") + c.stored + "\n");
        TIniFile ini(path());
        EXPECT_EQ(ini.ReadInteger("S", "k", -7), c.integer) << c.stored;
        // Not a number: the default; otherwise 0 false and anything else true.
        EXPECT_EQ(ini.ReadBool("S", "k", true), c.integer == -7 ? true : c.boolean) << c.stored;
    }
    TIniFile ini(path());
    ASSERT_TRUE(ini.WriteBool("S", "on", true));
    ASSERT_TRUE(ini.WriteBool("S", "off", false));
    EXPECT_EQ(ini.ReadString("S", "on", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "off", ""), "0");
    EXPECT_FALSE(ini.ReadBool("S", "off", true));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST_F(IniFileTest, CommentsAndUnknownLinesSurviveARewrite) {
    fs::copy_file(fs::path(SPECTREL_SOURCE_DIR) / "tests/data/settings_with_comments.ini", path());
    const std::string before = get();
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("Setup", "Serial", ""), "COM4");
    EXPECT_EQ(ini.ReadSection("Setup"), (std::vector<std::string>{"Serial", "Delay"}));
    ASSERT_TRUE(ini.WriteString("Setup", "Delay", "50"));
    ASSERT_TRUE(ini.WriteString("Setup", "Debug", "0"));
    std::string expected = before;
    expected.replace(expected.find("Delay=45"), 8, "Delay=50\nDebug=0");
    EXPECT_EQ(get(), expected);
}

TEST_F(IniFileTest, LineEndsAndByteOrderMarkAreKept) {
    put("\xEF\xBB\xBF[S]\r\na=1\r\n");
    TIniFile ini(path());
    ASSERT_TRUE(ini.WriteString("s", "b", "2"));
    EXPECT_EQ(get(), "\xEF\xBB\xBF[S]\r\na=1\r\nb=2\r\n");
    EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
}

// Lines end with CR LF, LF or a lone CR, also mixed: every line is read as a line of its own, and a write
// ends every line as the first line ends.
TEST_F(IniFileTest, EveryKindOfLineEndIsALineEnd) {
    struct Case {
        const char* name;
        const char* text;
        const char* written;  // after writing [Setup] Delay=60
    } cases[] = {
        {"CR LF", "[Setup]\r\nSerial=COM3\r\nDelay=45\r\n[Window]\r\nColor2=navy\r\n",
         "[Setup]\r\nSerial=COM3\r\nDelay=60\r\n[Window]\r\nColor2=navy\r\n"},
        {"LF", "[Setup]\nSerial=COM3\nDelay=45\n[Window]\nColor2=navy\n",
         "[Setup]\nSerial=COM3\nDelay=60\n[Window]\nColor2=navy\n"},
        {"CR only", "[Setup]\rSerial=COM3\rDelay=45\r[Window]\rColor2=navy\r",
         "[Setup]\rSerial=COM3\rDelay=60\r[Window]\rColor2=navy\r"},
        {"CR only, no last line end", "[Setup]\rSerial=COM3\rDelay=45\r[Window]\rColor2=navy",
         "[Setup]\rSerial=COM3\rDelay=60\r[Window]\rColor2=navy\r"},
        {"mixed", "[Setup]\rSerial=COM3\nDelay=45\r\n[Window]\rColor2=navy\n",
         "[Setup]\rSerial=COM3\rDelay=60\r[Window]\rColor2=navy\r"},
        {"mixed, CR LF first", "[Setup]\r\nSerial=COM3\rDelay=45\n\r[Window]\nColor2=navy",
         "[Setup]\r\nSerial=COM3\r\nDelay=60\r\n\r\n[Window]\r\nColor2=navy\r\n"},
    };
    for (const Case& c : cases) {
        put(c.text);
        TIniFile ini(path());
        EXPECT_EQ(ini.ReadString("Setup", "Serial", "COM2"), "COM3") << c.name;
        EXPECT_EQ(ini.ReadInteger("Setup", "Delay", 50), 45) << c.name;
        EXPECT_EQ(ini.ReadString("Window", "Color2", ""), "navy") << c.name;
        EXPECT_EQ(ini.ReadSection("Setup"), (std::vector<std::string>{"Serial", "Delay"})) << c.name;
        EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Setup", "Window"})) << c.name;
        ASSERT_TRUE(ini.WriteInteger("Setup", "Delay", 60)) << c.name;
        EXPECT_EQ(get(), c.written) << c.name;
    }
}

TEST_F(IniFileTest, WritesAreSeenByEveryObjectOnThePath) {
    TIniFile first(path());
    TIniFile second(path());
    ASSERT_TRUE(first.WriteString("S", "k", "v1"));
    EXPECT_EQ(second.ReadString("S", "k", ""), "v1");
    ASSERT_TRUE(second.WriteString("S", "k", "v2"));
    EXPECT_EQ(first.ReadString("S", "k", ""), "v2");
}

TEST_F(IniFileTest, TextThatWouldCorruptTheFileIsRefused) {
    put("[S]\na=1\n");
    const std::string before = get();
    TIniFile ini(path());
    struct Case {
        const char* what;
        std::string section, key, value;
    } cases[] = {
        {"line break in value", "S", "k", "one\r\n[Evil]\nx=1"},
        {"line feed in key", "S", "k\nx", "v"},
        {"equals sign in key", "S", "a=b", "v"},
        {"key that reads as a section", "S", "[T]", "v"},
        {"key that reads as a comment", "S", ";k", "v"},
        {"empty key", "S", "  ", "v"},
        {"bracket in section", "S]x", "k", "v"},
        {"empty section", "", "k", "v"},
    };
    for (const Case& c : cases) {
        const auto result = ini.WriteString(c.section, c.key, c.value);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_FALSE(result.message.empty()) << c.what;
    }
    EXPECT_EQ(get(), before);
}

// A write that cannot be completed is reported, and the file as it was stays in place.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntact) {
    put("[S]\na=1\n");
    const std::string before = get();
    TIniFile ini(path());
    // The temporary file cannot be created: a folder is in its place.
    fs::create_directory(ini.TemporaryFileName());
    const auto failed = ini.WriteString("S", "a", "2");
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.message.find(path()), std::string::npos) << failed.message;
    EXPECT_EQ(get(), before);
    EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
    EXPECT_TRUE(ini.HasError());

    // A later failure does not replace the first one.
    fs::remove(ini.TemporaryFileName());
    EXPECT_TRUE(ini.WriteString("S", "a", "3"));
    const auto erased = ini.EraseSection("S");
    EXPECT_TRUE(erased.ok);
    EXPECT_EQ(ini.FirstError().message, failed.message);
}

TEST_F(IniFileTest, WriteFailsWhenTheFileIsAFolderOrTheFolderIsGone) {
    fs::create_directory(path("Folder.ini"));
    TIniFile folder(path("Folder.ini"));
    EXPECT_EQ(folder.ReadString("S", "k", "dflt"), "dflt");
    EXPECT_FALSE(folder.CheckReadable().ok);
    EXPECT_FALSE(folder.WriteString("S", "k", "v").ok);
    EXPECT_TRUE(fs::is_directory(path("Folder.ini")));

    TIniFile gone((dir_ / "removed" / "SPX.ini").string());
    const auto result = gone.WriteString("S", "k", "v");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(gone.FirstError().message, result.message);
    EXPECT_FALSE(fs::exists(dir_ / "removed"));
}

}  // namespace
