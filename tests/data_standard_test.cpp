#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "Code/SPX_Data.h"
#include "Code/SPX_IniFile.h"

namespace {

namespace fs = std::filesystem;
using namespace spectrel;

Tprotocol_descriptor Protocol(const std::string& name, double carrier, double frameRate, const std::string& format,
                              std::initializer_list<double> durations) {
    Tprotocol_descriptor d;
    d.valid = true;
    d.standard = true;
    d.name = name;
    d.carrier_period = carrier;
    d.frame_rate = frameRate;
    d.format = format;
    d.i_letter = 'I';
    d.vocabulary_count = static_cast<int>(durations.size());
    int k = 0;
    for (double v : durations) {
        d.durations[k] = v;
        d.is_pulse[k] = d.is_pause[k] = true;
        ++k;
    }
    d.tick = d.durations[0];
    return d;
}

class DataStandardTable : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("spectrel-table-" + std::to_string(std::random_device{}()) + "-" + info->name());
        fs::create_directories(dir_);
        table_ = std::make_unique<Tstandard_protocols>();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path() const { return (dir_ / "SPX.ini").string(); }
    std::string contents() const {
        std::ifstream in(path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void useFixture(const char* name) const {
        fs::copy_file(fs::path(SPECTREL_SOURCE_DIR) / "tests/data" / name, path());
    }
    // A section with `n` protocols named P1, P2 ...
    void writeProtocols(int n) const {
        TIniFile ini(path());
        for (int i = 1; i <= n; ++i) {
            Tprotocol_descriptor d = Protocol("P" + std::to_string(i), 26.3, 100 + i, "I", {560, 1120});
            ASSERT_TRUE(ini.WriteString("Protocols Section", d.name, DescriptorToText(d)));
        }
    }
    fs::path dir_;
    std::unique_ptr<Tstandard_protocols> table_;
};

TEST_F(DataStandardTable, LoadsTheFileInOrder) {
    useFixture("protocols_good.ini");
    Tstandard_protocols& t = *table_;
    ASSERT_TRUE(LoadStandardProtocols(t, path()));
    ASSERT_EQ(t.count, 3);
    EXPECT_EQ(t.protocols[0].name, "NEC");
    EXPECT_EQ(t.protocols[1].name, "RC5");
    EXPECT_EQ(t.protocols[2].name, "Halvren");
    const Tprotocol_descriptor& nec = t.protocols[0];
    EXPECT_TRUE(nec.valid);
    EXPECT_TRUE(nec.standard);
    EXPECT_EQ(nec.carrier_period, 26.3);
    EXPECT_EQ(nec.format, "Ix");
    EXPECT_EQ(nec.dummy_code, "AbAa");
    EXPECT_EQ(nec.x_position, 5);
    EXPECT_EQ(nec.vocabulary_count, 4);
    EXPECT_EQ(nec.durations[2], 9000);
    EXPECT_EQ(t.protocols[1].i_length, -20);
    EXPECT_EQ(t.protocols[1].dummy_code, "");
    // Unused slots are cleared.
    EXPECT_FALSE(t.protocols[3].valid);
    EXPECT_TRUE(t.protocols[3].name.empty());
}

TEST_F(DataStandardTable, CountFollowsTheLinesUpTo26) {
    struct Case {
        int lines, count;
    } cases[] = {{0, 0}, {1, 1}, {25, 25}, {26, 26}, {30, 26}};
    for (const Case& c : cases) {
        fs::remove(path());
        writeProtocols(c.lines);
        Tstandard_protocols t;
        t.count = 9;
        t.protocols[0].name = "stale";
        ASSERT_TRUE(LoadStandardProtocols(t, path())) << c.lines;
        EXPECT_EQ(t.count, c.count) << c.lines;
        EXPECT_EQ(t.protocols[0].name, c.lines > 0 ? "P1" : "") << c.lines;
        EXPECT_EQ(t.protocols[25].name, c.lines >= 26 ? "P26" : "") << c.lines;
        if (c.lines == 0) {
            EXPECT_EQ(MatchStandardProtocol(t, Protocol("x", 26.3, 101, "I", {560, 1120}), 0.06), -1);
        }
    }
}

TEST_F(DataStandardTable, LinesAfterThe26thAreNotRead) {
    writeProtocols(26);
    ASSERT_TRUE(TIniFile(path()).WriteString("Protocols Section", "Broken", "T,T,\"Broken\",cut"));
    ASSERT_TRUE(LoadStandardProtocols(*table_, path()));
    EXPECT_EQ(table_->count, 26);

    // A settings file that exists but cannot be read is reported.
    Tstandard_protocols t;
    fs::create_directory(dir_ / "Folder.ini");
    const TDataResult loaded = LoadStandardProtocols(t, (dir_ / "Folder.ini").string());
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(t.count, 0);
}

// A broken line stops the loading; the table stays as it was and the file is not touched.
TEST_F(DataStandardTable, MalformedLineLeavesTheTableEmptyAndTheFileAlone) {
    struct Case {
        const char* fixture;
        const char* inMessage;
    } cases[] = {
        {"protocols_truncated_line.ini", "entry 2 (\"RC5\")"},
        {"protocols_bad_number.ini", "item 3 (carrier period)"},
        {"protocols_empty_letter.ini", "item 7"},
    };
    for (const Case& c : cases) {
        fs::remove(path());
        useFixture(c.fixture);
        const std::string before = contents();
        Tstandard_protocols t;
        const TDataResult loaded = LoadStandardProtocols(t, path());
        EXPECT_FALSE(loaded.ok) << c.fixture;
        EXPECT_NE(loaded.message.find(c.inMessage), std::string::npos) << loaded.message;
        EXPECT_NE(loaded.message.find(path()), std::string::npos) << loaded.message;
        EXPECT_EQ(t.count, 0);
        EXPECT_TRUE(t.protocols[0].name.empty()) << "no slot is filled by a failed load";
        EXPECT_EQ(FindStandardProtocol(t, "NEC"), -1);
        // Even a caller that saves anyway does not lose the file's lines.
        EXPECT_TRUE(SaveStandardProtocols(t, path()));
        EXPECT_EQ(contents(), before) << c.fixture;
    }
}

TEST_F(DataStandardTable, SaveRewritesEachLineAndKeepsTheRest) {
    useFixture("protocols_good.ini");
    {
        // An entry whose key is not its protocol's name.
        TIniFile ini(path());
        ASSERT_TRUE(
            ini.WriteString("Protocols Section", "Old key", DescriptorToText(Protocol("Sony", 25, 45, "I", {600}))));
    }
    Tstandard_protocols& t = *table_;
    ASSERT_TRUE(LoadStandardProtocols(t, path()));
    ASSERT_EQ(t.count, 4);
    EXPECT_EQ(t.protocols[3].name, "Sony");
    t.protocols[1].name = "rc5";  // the same key in another case: replaced in place
    t.protocols[1].frame_rate = 113;
    ASSERT_TRUE(SaveStandardProtocols(t, path()));

    TIniFile ini(path());
    EXPECT_EQ(ini.ReadSection("Protocols Section"),
              (std::vector<std::string>{"NEC", "rc5", "Halvren", "Old key", "Sony"}));
    EXPECT_EQ(ini.ReadString("Setup", "Serial", ""), "COM3");
    EXPECT_EQ(ini.ReadSection("Device Types"), (std::vector<std::string>{"1"}));
    EXPECT_NE(contents().find("; protocols the learned remotes are matched against"), std::string::npos);

    Tstandard_protocols again;
    ASSERT_TRUE(LoadStandardProtocols(again, path()));
    ASSERT_EQ(again.count, 5);
    EXPECT_EQ(again.protocols[1].frame_rate, 113);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(DescriptorToText(again.protocols[i]), DescriptorToText(t.protocols[i]));

    // Saving what was loaded changes nothing more.
    const std::string saved = contents();
    ASSERT_TRUE(SaveStandardProtocols(again, path()));
    EXPECT_EQ(contents(), saved);
}

// At start-up the table is loaded and written straight back, but only when it loaded.
TEST_F(DataStandardTable, RefreshWritesBackOnlyALoadedTable) {
    useFixture("protocols_good.ini");
    {
        // An older spelling of a number.
        TIniFile ini(path());
        std::string line = ini.ReadString("Protocols Section", "RC5", "");
        line.replace(line.find(",889,"), 5, ",889.0,");
        ASSERT_TRUE(ini.WriteString("Protocols Section", "RC5", line));
    }
    TIniFile ini(path());
    ASSERT_TRUE(LoadAndRefreshStandardProtocols(*table_, ini));
    EXPECT_EQ(ini.ReadString("Protocols Section", "RC5", ""), DescriptorToText(table_->protocols[1]));

    fs::remove(path());
    useFixture("protocols_truncated_line.ini");
    const std::string before = contents();
    Tstandard_protocols t;
    EXPECT_FALSE(LoadAndRefreshStandardProtocols(t, ini));
    EXPECT_EQ(contents(), before);
}

TEST_F(DataStandardTable, SaveReportsAFailedWrite) {
    Tstandard_protocols& t = *table_;
    t.protocols[0] = Protocol("NEC", 26.3, 108, "I", {560, 1690});
    t.count = 1;
    fs::create_directory(path());  // the settings file's place is taken by a folder
    const TDataResult saved = SaveStandardProtocols(t, path());
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message.find("NEC"), std::string::npos) << saved.message;

    // A name that cannot be a key is reported; the other slots are still written.
    fs::remove(path());
    t.protocols[0].name = "A=B";
    t.protocols[1] = Protocol("RC5", 27.5, 114, "I", {889, 1778});
    t.count = 2;
    const TDataResult partly = SaveStandardProtocols(t, path());
    EXPECT_FALSE(partly.ok);
    EXPECT_NE(partly.message.find("A=B"), std::string::npos) << partly.message;
    EXPECT_EQ(TIniFile(path()).ReadSection("Protocols Section"), (std::vector<std::string>{"RC5"}));
}

TEST(DataStandardFind, ByTrimmedNameWithoutCase) {
    auto t = std::make_unique<Tstandard_protocols>();
    t->protocols[0] = Protocol("NEC", 26.3, 108, "I", {560});
    t->protocols[1] = Protocol("Sony 12", 25, 45, "I", {600});
    t->protocols[2] = Protocol("Beyond", 25, 45, "I", {600});
    t->count = 2;
    EXPECT_EQ(FindStandardProtocol(*t, "NEC"), 0);
    EXPECT_EQ(FindStandardProtocol(*t, "  nec \t"), 0);
    EXPECT_EQ(FindStandardProtocol(*t, "SONY 12"), 1);
    EXPECT_EQ(FindStandardProtocol(*t, "Sony"), -1);
    EXPECT_EQ(FindStandardProtocol(*t, "Beyond"), -1) << "slots beyond count are not searched";
    EXPECT_EQ(FindStandardProtocol(*t, ""), -1);
}

TEST(DataStandardCopy, CopiesTheWholeSlot) {
    auto t = std::make_unique<Tstandard_protocols>();
    t->protocols[3] = Protocol("RC5", 27.5, 114, "I", {889, 1778});
    t->count = 4;
    Tprotocol_descriptor target;
    target.name = "learned";
    CopyStandardProtocol(*t, 3, target);
    EXPECT_EQ(target.name, "RC5");
    EXPECT_TRUE(target.valid);
    EXPECT_TRUE(target.standard);
    EXPECT_EQ(target.durations[1], 1778);
    CopyStandardProtocol(*t, 26, target);
    CopyStandardProtocol(*t, -1, target);
    EXPECT_EQ(target.name, "RC5");
}

struct MatchCase {
    const char* what;
    Tprotocol_descriptor learned;
    int expected;
};

// The table the learned protocols are matched against.
std::unique_ptr<Tstandard_protocols> MatchTable() {
    auto t = std::make_unique<Tstandard_protocols>();
    t->protocols[0] = Protocol("NEC", 26.3, 108, "I", {560, 1690});
    t->protocols[1] = Protocol("Pulsed", 0, 100, "xIx", {500, 1000, 1500});
    t->protocols[1].dummy_code = "aBc";
    t->protocols[2] = Protocol("Halvren", 26.3, 72, "I", {560, 1120, 4480});
    t->protocols[3] = Protocol("Late", 30, 50, "iJ", {700});
    t->count = 4;
    return t;
}

Tprotocol_descriptor Learned(double carrier, double frameRate = 108, const std::string& format = "I",
                             std::initializer_list<double> durations = {560, 1690}) {
    Tprotocol_descriptor d = Protocol("", carrier, frameRate, format, durations);
    d.standard = false;
    return d;
}

TEST(DataStandardMatch, ToleranceFormatAndWindows) {
    const auto table = MatchTable();
    auto with = [](Tprotocol_descriptor d, auto change) {
        change(d);
        return d;
    };
    const MatchCase cases[] = {
        {"same carrier", Learned(26.3), 0},
        {"carrier 24 within the lower edge", Learned(24), 0},
        {"carrier 29 within the upper edge", Learned(29), 0},
        {"carrier 23.5 too short", Learned(23.5), -1},
        {"carrier 29.5 too long", Learned(29.5), -1},
        {"frame rate at the edge", Learned(26.3, 122.7), 0},
        {"frame rate too slow", Learned(26.3, 123), -1},
        {"frame rate too fast", Learned(26.3, 95), -1},
        {"durations within tolerance", Learned(26.3, 108, "I", {595, 1600}), 0},
        {"duration within the lower edge", Learned(26.3, 108, "I", {529, 1690}), 0},
        {"duration too long", Learned(26.3, 108, "I", {596, 1690}), -1},
        {"duration too short", Learned(26.3, 108, "I", {527, 1690}), -1},
        {"vocabulary count differs", Learned(26.3, 108, "I", {560, 1690, 9000}), -1},
        {"Ix matches I whatever the dummy", with(Learned(26.3, 108, "Ix"), [](auto& d) { d.dummy_code = "AbAb"; }), 0},
        {"other format", Learned(26.3, 108, "ii"), -1},
        {"pulsed code with its dummy",
         with(Learned(0, 100, "xIx", {500, 1000, 1500}), [](auto& d) { d.dummy_code = "aBc"; }), 1},
        {"xIx matches xI only with the same dummy",
         with(Learned(0, 100, "xIx", {500, 1000, 1500}), [](auto& d) { d.dummy_code = "aBd"; }), -1},
        {"pulsed code against carrier slots", Learned(0, 108), -1},
        {"unknown carrier counts as pulsed",
         with(Learned(-1, 100, "xIx", {500, 1000, 1500}), [](auto& d) { d.dummy_code = "aBc"; }), 1},
        {"Halvren at its lower windows", Learned(26.3, 72, "I", {520, 1050}), 2},
        {"Halvren at its upper windows", Learned(26.3, 72, "I", {600, 1200}), 2},
        {"Halvren short element too short", Learned(26.3, 72, "I", {519, 1100}), -1},
        {"Halvren long element too long", Learned(26.3, 72, "I", {560, 1201}), -1},
        {"Halvren with a different count", Learned(26.3, 72, "I", {560, 1120, 4480, 9000}), 2},
    };
    for (const MatchCase& c : cases) EXPECT_EQ(MatchStandardProtocol(*table, c.learned, 0.06), c.expected) << c.what;

    // The tolerance comes from the working state when it is given.
    TWorkingProtocol working;
    working.match_tolerance = 0.2;
    EXPECT_EQ(MatchStandardProtocol(*table, Learned(31), working), 0);
    EXPECT_EQ(MatchStandardProtocol(*table, Learned(31), 0.06), -1);
}

TEST(DataStandardMatch, SearchStopsAtTheFirstEmptySlot) {
    auto table = MatchTable();
    const Tprotocol_descriptor late = Learned(30, 50, "iJ", {700});
    EXPECT_EQ(MatchStandardProtocol(*table, late, 0.06), 3);
    table->protocols[2].valid = false;
    EXPECT_EQ(MatchStandardProtocol(*table, late, 0.06), -1);
    // The first of two fitting slots wins.
    table->protocols[2] = table->protocols[0];
    table->protocols[2].name = "NEC copy";
    EXPECT_EQ(MatchStandardProtocol(*table, Learned(26.3), 0.06), 0);
    table->count = 0;
    EXPECT_EQ(MatchStandardProtocol(*table, Learned(26.3), 0.06), -1);
}

}  // namespace
