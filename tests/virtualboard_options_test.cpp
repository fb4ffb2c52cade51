// Command-line options of the virtual board programs.

#include <gtest/gtest.h>

#include "virtualboard/BoardOptions.h"
#include "virtualboard/Generators.h"

namespace spectrel::virtualboard {
namespace {

std::string dataFile(const std::string& name) { return std::string(SPECTREL_SOURCE_DIR) + "/tests/data/" + name; }

TEST(VirtualBoardOptions, DefaultsPlayOneNecCode) {
    const BoardOptionsResult r = parseBoardOptions({});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.options.config.firstVersion, 1);
    EXPECT_EQ(r.options.config.secondVersion, 3);
    ASSERT_EQ(r.options.playlist.size(), 1u);
    EXPECT_EQ(r.options.playlist[0](), necSignal(0x00, 0x45));
    EXPECT_FALSE(r.options.untilKilled);
}

TEST(VirtualBoardOptions, BoardTimingAndFaults) {
    // clang-format off
    const std::vector<std::string> args = {
        "--version", "10.0", "--late", "60", "--eod", "never", "--press-delay", "20", "--no-serial-timing",
        "--counter-start", "0xFFFF00", "--bad-reset", "always", "--bad-reset-value", "0x5A", "--erratic", "3:0x22",
        "--missing-byte", "7", "--missed-carry", "4", "--glitches", "0.25", "--jitter", "12.5",
        "--level-spread", "40", "--seed", "99",
        "--ignore", "0x16", "--hold", "500", "--until-killed"};
    // clang-format on
    const BoardOptionsResult r = parseBoardOptions(args);
    ASSERT_TRUE(r.ok) << r.message;
    const BoardConfig& c = r.options.config;
    EXPECT_EQ(c.firstVersion, 10);
    EXPECT_EQ(c.secondVersion, 0);
    EXPECT_EQ(c.lateBurstEndUs, 60);
    EXPECT_FALSE(c.endOfDataSilenceUs.has_value());
    EXPECT_EQ(c.pressDelayUs, 20'000);
    EXPECT_FALSE(c.serialTiming);
    EXPECT_EQ(c.counterStart, 0xFFFF00u);
    EXPECT_EQ(c.faults.badResetReplies, BoardFaults::kAlways);
    EXPECT_EQ(c.faults.badResetValue, 0x5A);
    EXPECT_EQ(c.faults.erraticBeforeRecord, 3);
    EXPECT_EQ(c.faults.erraticCode, 0x22);
    EXPECT_EQ(c.faults.missingByteInRecord, 7);
    EXPECT_EQ(c.faults.missedCarryRecord, 4);
    EXPECT_EQ(c.faults.glitchProbability, 0.25);
    EXPECT_EQ(c.faults.jitterUs, 12.5);
    EXPECT_EQ(c.faults.levelSpreadUs, 40);
    EXPECT_EQ(c.faults.seed, 99u);
    EXPECT_EQ(c.faults.ignoredCommands, std::vector<std::uint8_t>{0x16});
    EXPECT_EQ(r.options.holdUs, 500'000);
    EXPECT_TRUE(r.options.untilKilled);
}

TEST(VirtualBoardOptions, PlaylistFromGeneratorsFilesAndText) {
    const BoardOptionsResult r = parseBoardOptions({"--rc5", "5,12", "--signal", dataFile("virtualboard_codes.txt"),
                                                    "--text", "f0 +100 -1000 +100", "--hold", "0"});
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.options.playlist.size(), 1u + 4 + 1);
    EXPECT_EQ(r.notes.size(), 1u) << "the unsupported Pronto code";
    auto source = playlistPressSource(r.options);
    const auto first = source();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->signal, rc5Signal(5, 12, false));
    EXPECT_EQ(first->holdUs, 0);
    EXPECT_EQ(source()->signal.name, "Power");
    for (int i = 0; i < 3; ++i) source();
    EXPECT_EQ(formatSignal(source()->signal), "f0 +100 -1000 +100");
    EXPECT_EQ(source()->signal, rc5Signal(5, 12, true)) << "the RC5 toggle flips on its next press";
}

TEST(VirtualBoardOptions, ButtonPicksOneButton) {
    const BoardOptionsResult r =
        parseBoardOptions({"--signal", dataFile("virtualboard_parsed.ir"), "--button", "Mute"});
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.options.playlist.size(), 1u);
    EXPECT_EQ(r.options.playlist[0]().name, "Mute");
    const BoardOptionsResult none =
        parseBoardOptions({"--signal", dataFile("virtualboard_parsed.ir"), "--button", "Eject"});
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.message.find("\"Eject\""), std::string::npos);
}

TEST(VirtualBoardOptions, BadArgumentsAreNamed) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--version", "1"}, "--version needs"},
        {{"--version", "256.1"}, "--version needs"},
        {{"--nec", "1"}, "--nec needs"},
        {{"--nec", "256,1"}, "--nec needs"},
        {{"--jitter"}, "--jitter needs"},
        {{"--glitches", "1.5"}, "--glitches needs"},
        {{"--eod", "soon"}, "--eod needs"},
        {{"--counter-start", "0x1000000"}, "--counter-start needs"},
        {{"--erratic", "2:300"}, "--erratic needs"},
        {{"--text", "f38000 -1"}, "--text: "},
        {{"--signal", dataFile("virtualboard_bad_value.ir")}, "virtualboard_bad_value.ir:9: "},
    };
    for (const Case& c : cases) {
        const BoardOptionsResult r = parseBoardOptions(c.args);
        EXPECT_FALSE(r.ok) << c.args[0];
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.args[0] << " -> " << r.message;
    }
}

}  // namespace
}  // namespace spectrel::virtualboard
