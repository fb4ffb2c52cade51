// The protocol description lines with their colour codes.

#include <gtest/gtest.h>

#include "Code/SPX_ProtocolDescription.h"

namespace spectrel {
namespace {

Tprotocol_descriptor NecLike() {
    Tprotocol_descriptor d;
    d.valid = true;
    d.name = "NO NAME";
    d.carrier_period = 26.5;
    d.frame_rate = 108;
    d.format = "iX";
    d.i_letter = 'i';
    d.x_letter = 'X';
    d.dummy_code = "EcA";
    d.i_length = -67;
    d.vocabulary_count = 3;
    d.durations = {562.5, 1687.4, 9000};
    d.is_pulse = {true, false, true};
    d.is_pause = {true, true, false};
    return d;
}

TEST(DescribeTest, EveryLineOfALearnedProtocol) {
    EXPECT_EQ(ProtocolDescriptionLines(NecLike()),
              (std::vector<std::string>{"Carrier frequency: \00337.7\001 kHz", "Frames rate: \003108\001 ms",
                                        "Frames structure: \002iX", "Dummy frame: \003EcA",
                                        "  A:  \003563\001 us pulse/pause   ", "  B:  \0031687\001 us pause   ",
                                        "  C:  \0039000\001 us pulse   "}));
    EXPECT_EQ(ProtocolDescriptionColour(NecLike()), '\001');
}

struct LineCase {
    const char* name;
    void (*change)(Tprotocol_descriptor&);
    std::vector<std::string> lines;
};

class DescribeLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(DescribeLines, ForADescriptor) {
    Tprotocol_descriptor d = NecLike();
    d.vocabulary_count = 0;
    d.x_letter = '?';
    d.frame_rate = 0;
    GetParam().change(d);
    EXPECT_EQ(ProtocolDescriptionLines(d), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Describe, DescribeLines,
    ::testing::Values(
        LineCase{"NotValid", [](Tprotocol_descriptor& d) { d.valid = false; }, {"No Protocol"}},
        LineCase{"UnknownCarrierHasNoLine",
                 [](Tprotocol_descriptor& d) { d.carrier_period = -1; },
                 {"Frames structure: \002iX"}},
        LineCase{"PulsedCode",
                 [](Tprotocol_descriptor& d) { d.carrier_period = 0; },
                 {"No carrier, pulsed code", "Frames structure: \002iX"}},
        LineCase{"ExactLengthIsBlue",
                 [](Tprotocol_descriptor& d) { d.i_length = 32; },
                 {"Carrier frequency: \00337.7\001 kHz", "Frames structure: \003iX"}},
        LineCase{"AnyLengthIsBlack",
                 [](Tprotocol_descriptor& d) { d.i_length = 0; },
                 {"Carrier frequency: \00337.7\001 kHz", "Frames structure: \001iX"}},
        LineCase{"FrameRateRounded",
                 [](Tprotocol_descriptor& d) { d.frame_rate = 45.5; },
                 {"Carrier frequency: \00337.7\001 kHz", "Frames rate: \00346\001 ms", "Frames structure: \002iX"}},
        LineCase{"DummyLetterWithoutCode",
                 [](Tprotocol_descriptor& d) {
                     d.x_letter = 'x';
                     d.dummy_code.clear();
                 },
                 {"Carrier frequency: \00337.7\001 kHz", "Frames structure: \002iX", "Dummy frame: \003"}},
        LineCase{"FortyKilohertz",
                 [](Tprotocol_descriptor& d) { d.carrier_period = 25; },
                 {"Carrier frequency: \00340.0\001 kHz", "Frames structure: \002iX"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DescribeTest, AStandardProtocolStartsInTeal) {
    Tprotocol_descriptor d = NecLike();
    d.standard = true;
    EXPECT_EQ(ProtocolDescriptionColour(d), '\002');
    TTextLines list;
    list.Add("old");
    WriteProtocolDescription(list, d, false);
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(list.TextColour(), '\002');
    WriteProtocolDescription(list, d);
    EXPECT_EQ(list.Lines(), ProtocolDescriptionLines(d));
}

TEST(DescribeTest, ColourCodesAreStripped) {
    EXPECT_EQ(StripColourCodes("\002   Capturing \003first\002 button"), "   Capturing first button");
    EXPECT_EQ(StripColourCodes(std::string("a\001b\010c\011d")), "abc\011d");
}

}  // namespace
}  // namespace spectrel
