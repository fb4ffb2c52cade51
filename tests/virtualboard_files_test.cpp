// Signal files: Flipper-style .ir files (the recorded remotes and our fixtures), Pronto and text code lists,
// and clear errors for broken files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "tests/virtualboard_host.h"
#include "virtualboard/Generators.h"
#include "virtualboard/SignalFiles.h"

namespace spectrel::virtualboard {
namespace {

std::string dataFile(const std::string& name) { return std::string(SPECTREL_SOURCE_DIR) + "/tests/data/" + name; }

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const std::map<std::string, std::size_t> kRecordedRemotes = {
    {"01_prinz_dvd_t182.ir", 16}, {"05_jvc_hr_s2902u.ir", 16},         {"08_hauppauge_wintv_dualhd.ir", 16},
    {"11_philips_tv.ir", 4},      {"13_panasonic_tx_43gxw584.ir", 16}, {"15_sharp_lc_rc1_16.ir", 16},
    {"16_denon_dra_365r.ir", 16}, {"21_dreo_cruiser_pro_fan.ir", 7},   {"24_daikin_ftxm95pvma.ir", 14},
    {"32_corona_ac_esp.ir", 20},
};

// The recorded remotes; the environment variable of the same name points elsewhere (a worktree's build).
std::string signalsDir() {
    if (const char* dir = std::getenv("SPECTREL_SIGNALS_DIR"); dir != nullptr && *dir != '\0') return dir;
    return SPECTREL_SIGNALS_DIR;
}

TEST(VirtualBoardSignalFiles, ReadsEveryRecordedRemote) {
    if (!std::filesystem::is_directory(signalsDir())) GTEST_SKIP() << "no recorded remotes at " << signalsDir();
    for (const auto& [file, buttons] : kRecordedRemotes) {
        const SignalFileResult r = readSignalFile(signalsDir() + "/" + file);
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_TRUE(r.notes.empty()) << file;
        EXPECT_EQ(r.signals.size(), buttons) << file;
        for (const IrSignal& s : r.signals) {
            EXPECT_FALSE(s.name.empty()) << file;
            EXPECT_EQ(s.carrierHz, 38'000) << file << " " << s.name;
            EXPECT_GE(s.once.size(), 3u) << file << " " << s.name;
            EXPECT_TRUE(s.repeat.empty());
        }
    }
    const SignalFileResult prinz = readSignalFile(signalsDir() + "/01_prinz_dvd_t182.ir");
    ASSERT_TRUE(prinz.ok);
    EXPECT_EQ(prinz.signals[0].name, "Key_lock");
    EXPECT_EQ(formatSignal(prinz.signals[0]).rfind("f38000 +8427 -4524 +574 -593 ", 0), 0u);
    EXPECT_EQ(prinz.signals[0].once.back(), 573);
}

// Every recorded button played by the board and decoded again gives back its recording.
TEST(VirtualBoardSignalFiles, RecordedButtonsRoundTripThroughTheBoard) {
    if (!std::filesystem::is_directory(signalsDir())) GTEST_SKIP() << "no recorded remotes at " << signalsDir();
    for (const auto& entry : kRecordedRemotes) {
        const SignalFileResult r = readSignalFile(signalsDir() + "/" + entry.first);
        ASSERT_TRUE(r.ok) << r.message;
        test::BoardHost host;
        for (const IrSignal& s : r.signals) {
            const auto decoded = test::decodeStream(test::BoardHost::values(host.capture({s, 0})));
            host.ask(reader_command::kReset);
            ASSERT_EQ(decoded.durationsUs.size(), s.once.size() - (s.once.size() % 2 == 0))
                << entry.first << " " << s.name;
            const std::vector<double> expected = test::reportedTrain(s.once, s, 50);
            for (std::size_t i = 0; i < decoded.durationsUs.size(); ++i) {
                ASSERT_NEAR(decoded.durationsUs[i], expected[i], 0.5 + 1e-9)
                    << entry.first << " " << s.name << " " << i;
            }
        }
    }
}

TEST(VirtualBoardSignalFiles, RawAndParsedFlipperButtons) {
    const SignalFileResult r = readSignalFile(dataFile("virtualboard_parsed.ir"));
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.signals.size(), 4u);
    EXPECT_EQ(r.signals[0].name, "Raw_long");
    EXPECT_EQ(formatSignal(r.signals[0]), "f36000 +889 -889 +1778 -889 +889 -889") << "data continues on a second line";
    IrSignal nec = necSignal(0x07, 0x02);
    nec.name = "Power";
    EXPECT_EQ(r.signals[1], nec);
    IrSignal rc5 = rc5Signal(0x05, 0x0D, false);
    rc5.name = "Mute";
    EXPECT_EQ(r.signals[2], rc5);
    IrSignal sirc = sirc12Signal(0x01, 0x25);
    sirc.name = "Input";
    EXPECT_EQ(r.signals[3], sirc);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_TRUE(endsWith(r.notes[0],
                         "virtualboard_parsed.ir:26: button \"Vol_up\" skipped: protocol \"Samsung32\" is "
                         "not generated"))
        << r.notes[0];
}

TEST(VirtualBoardSignalFiles, ProntoAndTextCodes) {
    const SignalFileResult r = readSignalFile(dataFile("virtualboard_codes.txt"));
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.signals.size(), 4u);
    const double unit = 0x6D * 0.241246;  // µs per carrier period at about 38 kHz
    const IrSignal& power = r.signals[0];
    EXPECT_EQ(power.name, "Power");
    EXPECT_EQ(power.carrierHz, 38'029);
    ASSERT_EQ(power.once.size(), 4u);
    EXPECT_NEAR(power.once[0], 0x156 * unit, 1e-9);
    EXPECT_NEAR(power.once[1], 0xAB * unit, 1e-9);
    ASSERT_EQ(power.repeat.size(), 2u);
    EXPECT_NEAR(power.repeat[1], 0xF80 * unit, 1e-9);
    EXPECT_EQ(r.signals[1].name, "Code 2");
    EXPECT_EQ(r.signals[1].carrierHz, 36'045);
    EXPECT_EQ(r.signals[2].name, "Flash");
    EXPECT_EQ(r.signals[2].carrierHz, 0) << "0100 codes have no carrier";
    EXPECT_EQ(r.signals[3].name, "Mute");
    EXPECT_EQ(formatSignal(r.signals[3]), "f38000 +9000 -4500 +562.5 [+9000 -2250 +562.5 -96187.5]");
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_NE(r.notes[0].find("virtualboard_codes.txt:6: \"RC5 preset\" skipped"), std::string::npos) << r.notes[0];
}

struct BrokenFile {
    const char* file;
    const char* message;  // the end of the error, after the path
};

class VirtualBoardBrokenSignalFile : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(VirtualBoardBrokenSignalFile, NamesTheFileAndLine) {
    const SignalFileResult r = readSignalFile(dataFile(GetParam().file));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.signals.empty()) << "nothing of a broken file is used";
    const std::string expected = std::string(GetParam().file) + GetParam().message;
    EXPECT_TRUE(endsWith(r.message, expected)) << r.message << "\nexpected the end: " << expected;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, VirtualBoardBrokenSignalFile,
    ::testing::Values(
        BrokenFile{"virtualboard_bad_value.ir", ":9: data value 3 \"56x\" is not a duration in whole microseconds"},
        BrokenFile{"virtualboard_no_filetype.ir",
                   ":1: not an IR signals file (expected \"Filetype: IR signals file\")"},
        BrokenFile{"virtualboard_no_data.ir", ":3: button \"Power\" has no \"data:\" line"},
        BrokenFile{"virtualboard_bad_frequency.ir", ":5: frequency \"38 kHz\" is not a carrier in Hz"},
        BrokenFile{"virtualboard_before_name.ir", ":3: \"type\" before the first \"name:\" line"},
        BrokenFile{"virtualboard_no_key.ir", ":7: expected \"key: value\", found \"this line has no key\""},
        BrokenFile{"virtualboard_truncated.ir", ":5: expected \"key: value\", found \"f\""},
        BrokenFile{"virtualboard_bad_pronto_count.txt",
                   ":3: the Pronto code announces 3 + 1 burst pairs, so 12 words, but has 10"},
        BrokenFile{"virtualboard_bad_pronto_word.txt",
                   ":1: Pronto word 5 \"00G0\" is not a 4-digit hexadecimal number"},
        BrokenFile{"virtualboard_bad_text.txt",
                   ":3: token 3 \"+100\": marks and spaces must alternate, starting with a mark"},
        BrokenFile{"virtualboard_empty.txt", ":2: no codes in the file"},
        BrokenFile{"virtualboard_missing_file.ir", ": cannot open the file"}),
    [](const auto& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        for (char& ch : name)
            if (ch == '_') ch = 'X';
        return name;
    });

TEST(VirtualBoardSignalFiles, FolderIsNotASignalFile) {
    const std::string folder = std::string(SPECTREL_SOURCE_DIR) + "/tests/data";
    const SignalFileResult r = readSignalFile(folder);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, folder + ": is a folder, not a signal file");
}

TEST(VirtualBoardSignalFiles, ProntoCodeErrors) {
    struct Case {
        const char* code;
        const char* message;
    };
    for (const Case c :
         {Case{"0000 006D 0001", "at least 4 words"}, Case{"0000 0000 0001 0000 0010 0010", "frequency"},
          Case{"0000 006D 0000 0000", "no burst pairs"}, Case{"0000 006D 0001 0000 0010 0000", "is 0000"},
          Case{"0000 006D 0001 0000 10 0010", "4-digit"}, Case{"900A 006D 0000 0001 0000 0001", "learned"}}) {
        const ParseSignalResult r = parseProntoCode(c.code);
        EXPECT_FALSE(r.ok) << c.code;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.code << " -> " << r.message;
    }
}

TEST(VirtualBoardSignalFiles, FlipperTextErrorsInPlace) {
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case c :
         {Case{"", "src:0: empty file"}, Case{"Filetype: IR signals file\n", "src:1: expected \"Version: 1\""},
          Case{"Filetype: IR signals file\nVersion: 2\n", "src:2: version 2 is not supported"},
          Case{"Filetype: IR signals file\nVersion: 1\nname: A\ntype: cooked\n", "src:4: unknown type"},
          Case{"Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\nfrequency: 1\nfrequency: 2\n",
               "src:6: a second \"frequency:\""},
          Case{"Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\ncolour: red\n",
               "src:5: unknown key \"colour\""},
          Case{"Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\ndata: 1 0 1\n", "src:5: data value 2 \"0\""},
          Case{"Filetype: IR signals file\nVersion: 1\nname: A\ntype: parsed\nprotocol: NEC\n",
               "src:3: parsed button \"A\" needs"},
          Case{"Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\nduty_cycle: 2\n",
               "src:5: duty cycle \"2\""}}) {
        const SignalFileResult r = parseFlipperIr(c.text, "src");
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.message.rfind(c.message, 0), 0u) << c.text << " -> " << r.message;
    }
    const SignalFileResult crlf = parseFlipperIr(
        "Filetype: IR signals file\r\nVersion: 1\r\nname: A\r\ntype: raw\r\nfrequency: 38000\r\ndata: 1 2 3\r\n",
        "src");
    ASSERT_TRUE(crlf.ok) << crlf.message;
    EXPECT_EQ(crlf.signals.at(0).once, (std::vector<double>{1, 2, 3}));
}

}  // namespace
}  // namespace spectrel::virtualboard
