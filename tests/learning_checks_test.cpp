// The checks of a button capture against the protocol: vocabulary window, code extraction, tolerances and the
// frame-length rule.

#include <gtest/gtest.h>

#include "Code/SPX_processing.h"
#include "Code/SPX_processing_checks.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace spectrel {
namespace {

class ChecksTest : public ::testing::Test {
protected:
    // A table of one frame: a gap, then the given intervals alternating pulse and pause.
    void Table(std::initializer_list<double> intervals) {
        TIntervalRecord* table = context.analysisTable();
        table[0] = TIntervalRecord{};
        table[0].frameNumber = -1;
        int k = 1;
        for (double d : intervals) {
            table[k] = TIntervalRecord{};
            table[k].duration = d;
            table[k].isPulse = k % 2 == 1;
            table[k].frameNumber = 0;
            table[k].indexInFrame = k;
            ++k;
        }
        context.recordCount = k;
    }

    testing::ScriptedMessageBoxes boxes;
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
};

TEST(VocabularyWindowTest, CarrierOrFirstReferenceWithCap) {
    EXPECT_DOUBLE_EQ(VocabularyWindow(26.5, 560), 189);
    EXPECT_DOUBLE_EQ(VocabularyWindow(0, 560), 86);
    EXPECT_DOUBLE_EQ(VocabularyWindow(0, 2700), 300);
    EXPECT_DOUBLE_EQ(VocabularyWindow(0, 5000), 300);
    EXPECT_DOUBLE_EQ(VocabularyWindow(-1, 1000), 130);
}

struct WindowCase {
    const char* name;
    double interval;
    bool matches;
};

class CarrierWindow : public ChecksTest, public ::testing::WithParamInterface<WindowCase> {};

// With a 26.5 us carrier a 560 us reference takes intervals strictly within 189 us of it.
TEST_P(CarrierWindow, A560ReferenceWithA26_5Carrier) {
    current.valid = true;
    current.vocabulary_count = 1;
    current.durations[0] = 560;
    context.working.carrier_period = 26.5;
    Table({560, GetParam().interval, 560});
    EXPECT_EQ(MatchesVocabulary(context, current), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Checks, CarrierWindow,
                         ::testing::Values(WindowCase{"Low", 371.5, true}, WindowCase{"High", 748.5, true},
                                           WindowCase{"LowEdge", 371, false}, WindowCase{"HighEdge", 749, false},
                                           WindowCase{"TooShort", 300, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChecksTest, WithoutCarrierPulsesArePairedWithTheirPause) {
    // A pulsed code: 150 us flashes, vocabulary of sums 750 and 1350; the window is 105 us.
    context.working.carrier_period = 0;
    context.working.vocabulary_count = 2;
    context.working.vocabulary[0].nominal = 750;
    context.working.vocabulary[1].nominal = 1350;
    Table({150, 600, 150, 1200, 150});
    EXPECT_TRUE(MatchesVocabulary(context, current));  // the closing flash has no pause and is not considered
    Table({150, 600, 150, 900, 150});
    EXPECT_FALSE(MatchesVocabulary(context, current));
}

TEST_F(ChecksTest, NoReferencesOrTooFewRecordsNeverMatch) {
    context.working.carrier_period = 26.5;
    Table({560, 560});
    EXPECT_FALSE(MatchesVocabulary(context, current));  // no working vocabulary
    current.valid = true;
    current.vocabulary_count = 0;
    EXPECT_FALSE(MatchesVocabulary(context, current));
    current.vocabulary_count = 1;
    current.durations[0] = 560;
    EXPECT_TRUE(MatchesVocabulary(context, current));
    context.recordCount = 1;
    EXPECT_FALSE(MatchesVocabulary(context, current));
}

TEST_F(ChecksTest, GapsAndRecordsOpeningAFrameAreNotConsidered) {
    current.valid = true;
    current.vocabulary_count = 1;
    current.durations[0] = 560;
    context.working.carrier_period = 26.5;
    Table({560, 560, 560});
    context.analysisTable()[2].frameNumber = -1;  // a gap between frames
    context.analysisTable()[2].duration = 20000;
    EXPECT_TRUE(MatchesVocabulary(context, current));
    context.analysisTable()[2].frameNumber = 1;
    context.analysisTable()[2].indexInFrame = 0;
    EXPECT_TRUE(MatchesVocabulary(context, current));
    context.analysisTable()[2].indexInFrame = 1;
    EXPECT_FALSE(MatchesVocabulary(context, current));
}

struct ExtractCase {
    const char* name;
    int iPosition;
    char jLetter;
    int jPosition;
    char xLetter;
    int xPosition;
    bool explore;
    const char* data;
    const char* data2;
    const char* dummy;
};

class Extract : public ChecksTest, public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(Extract, CodesAtTheProtocolsPositions) {
    for (int f = 0; f < 5; ++f) context.framesBuffer.Append("F" + std::to_string(f), 0, 0, f);
    const ExtractCase& c = GetParam();
    current.i_position = c.iPosition;
    current.j_letter = c.jLetter;
    current.j_position = c.jPosition;
    current.x_letter = c.xLetter;
    current.x_position = c.xPosition;
    std::string data = "stale", data2 = "stale", dummy = "stale";
    ExtractButtonCodes(context, current, data, data2, dummy, c.explore);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(data2, c.data2);
    EXPECT_EQ(dummy, c.dummy);
}

INSTANTIATE_TEST_SUITE_P(Checks, Extract,
                         ::testing::Values(ExtractCase{"i", 0, '?', -1, '?', -1, false, "F0", "", ""},
                                           ExtractCase{"xI", 1, '?', -1, 'x', 0, false, "F1", "", "F0"},
                                           ExtractCase{"Xi", 100, '?', -1, 'X', 10000, false, "F4", "", "F4"},
                                           ExtractCase{"PositionTwoTakesTheLast", 2, '?', -1, '?', -1, false, "F4", "",
                                                       ""},
                                           ExtractCase{"Ij", 1, 'j', 10000, '?', -1, false, "F1", "F4", ""},
                                           ExtractCase{"xIJ", 1, 'J', 2, 'x', 0, false, "F1", "F2", "F0"},
                                           ExtractCase{"JAtThree", 0, 'J', 3, '?', -1, false, "F0", "F3", ""},
                                           ExtractCase{"JAtThreeExploring", 0, 'J', 3, '?', -1, true, "F0", "F4", ""},
                                           ExtractCase{"NoDataPosition", -1, '?', -1, '?', -1, false, "", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChecksTest, NoFramesGiveEmptyCodes) {
    current.i_position = 5;
    current.j_letter = 'J';
    current.j_position = 1;
    std::string data, data2, dummy;
    ExtractButtonCodes(context, current, data, data2, dummy);
    EXPECT_EQ(data + data2 + dummy, "");
}

struct RateCase {
    const char* name;
    double measured;
    const char* format;
    bool differs;
};

class FrameRateTolerance : public ::testing::TestWithParam<RateCase> {};

// Twice the tolerance either way: 88 to 112 ms for a 100 ms protocol at 6 %.
TEST_P(FrameRateTolerance, AgainstA100MsProtocol) {
    Tprotocol_descriptor protocol;
    protocol.frame_rate = 100;
    protocol.format = GetParam().format;
    EXPECT_EQ(FrameRateOutside(GetParam().measured, protocol, 0.06), GetParam().differs);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FrameRateTolerance,
    ::testing::Values(RateCase{"TwoTAbove", 112, "iX", false}, RateCase{"JustAbove", 112.1, "iX", true},
                      RateCase{"TwoTBelow", 88, "iX", false}, RateCase{"JustBelow", 87.9, "iX", true},
                      RateCase{"NotMeasured", -1, "iX", false}, RateCase{"SingleFrameFormat", 150, "i", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CarrierCase {
    const char* name;
    double measured;
    bool differs;
};

class CarrierTolerance : public ::testing::TestWithParam<CarrierCase> {};

// A 26.5 us protocol at 6 % takes 23.91 to 29.09 us.
TEST_P(CarrierTolerance, AgainstA26_5Protocol) {
    EXPECT_EQ(CarrierOutside(GetParam().measured, 26.5, 0.06), GetParam().differs);
}

INSTANTIATE_TEST_SUITE_P(Checks, CarrierTolerance,
                         ::testing::Values(CarrierCase{"Measured27", 27.0, false}, CarrierCase{"Upper", 29.0, false},
                                           CarrierCase{"AboveUpper", 29.5, true}, CarrierCase{"Lower", 24.0, false},
                                           CarrierCase{"BelowLower", 23.5, true}, CarrierCase{"NoCarrier", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CarrierToleranceTest, APulsedProtocolTakesOnlyAPulsedCapture) {
    EXPECT_FALSE(CarrierOutside(0, 0, 0.06));
    EXPECT_TRUE(CarrierOutside(26.5, 0, 0.06));
}

struct LengthCase {
    int rule;
    int length;
    TFrameLengthCheck check;
};

class FrameLengthRule : public ::testing::TestWithParam<LengthCase> {};

TEST_P(FrameLengthRule, Rule) { EXPECT_EQ(CheckFrameLength(GetParam().rule, GetParam().length), GetParam().check); }

using enum TFrameLengthCheck;
INSTANTIATE_TEST_SUITE_P(Checks, FrameLengthRule,
                         ::testing::Values(LengthCase{32, 31, Fits}, LengthCase{32, 32, Fits}, LengthCase{32, 33, Fits},
                                           LengthCase{32, 30, TooShort}, LengthCase{32, 34, TooLong},
                                           LengthCase{-20, 20, Fits}, LengthCase{-20, 200, Fits},
                                           LengthCase{-20, 19, TooShort}, LengthCase{0, 0, Fits},
                                           LengthCase{0, 500, Fits}));

TEST_F(ChecksTest, TheMatchToleranceIsTheStandardMatchingsTolerance) {
    Tstandard_protocols table;
    table.count = 1;
    Tprotocol_descriptor& standard = table.protocols[0];
    standard.valid = true;
    standard.name = "NEC1";
    standard.carrier_period = 28.5;
    standard.frame_rate = 108;
    standard.format = "iX";
    standard.vocabulary_count = 0;
    Tprotocol_descriptor learned = standard;
    learned.carrier_period = 26.0;  // 28.5 lies within 7 % of 26 (+1 us), not within 5 %
    ASSERT_TRUE(context.setMatchToleranceIndex(0));
    EXPECT_EQ(MatchTolerance(context), 0.05);
    EXPECT_EQ(MatchLearnedProtocol(context, table, learned), -1);
    ASSERT_TRUE(context.setMatchToleranceIndex(2));
    EXPECT_EQ(MatchLearnedProtocol(context, table, learned), 0);
}

}  // namespace
}  // namespace spectrel
