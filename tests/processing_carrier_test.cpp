// Carrier measurement, pulse-width correction, the extreme searches and the capture check, on capture tables
// written out as text.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace {

using spectrel::TAnalysisContext;
using spectrel::TIntervalRecord;
using spectrel::platform::MessageButton;
using spectrel::platform::MessageKind;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;

// A capture table as text, one token per record:
//   "+560:21"  a pulse of 560 us with 21 carrier cycles
//   "-1690"    a pause of 1690 us inside a frame
//   "=20000"   the gap before a frame (frame number -1); the frames after it count up
//   "r1"       the records that follow belong to record number 1
// Times run on from 0 at the first record of each record number.
void LoadCapture(TAnalysisContext& context, const std::string& text) {
    std::istringstream in(text);
    std::string token;
    int record = 0;
    int frame = 0;
    int index = 0;
    double time = 0;
    bool first = true;
    while (in >> token) {
        if (token[0] == 'r') {
            record = std::stoi(token.substr(1));
            frame = 0;
            index = 0;
            time = 0;
            first = true;
            continue;
        }
        TIntervalRecord r;
        r.isPulse = token[0] == '+';
        const auto colon = token.find(':');
        r.duration = std::stod(token.substr(1, colon == std::string::npos ? std::string::npos : colon - 1));
        r.carrierCycles = colon == std::string::npos ? 0 : std::stoi(token.substr(colon + 1));
        time = first ? 0 : time + r.duration;
        first = false;
        r.time = time;
        r.recordNumber = record;
        r.buttonNumber = record == 2 ? 1 : 0;
        if (token[0] == '=') {
            if (context.recordCount > 0) ++frame;
            r.frameNumber = -1;
            index = 0;
        } else {
            r.frameNumber = frame;
        }
        r.indexInFrame = index++;
        context.captureTable()[context.recordCount++] = r;
    }
}

// Cycles a board counts in a burst of `duration` us (burst end reported 50 us late) at `period` us.
int Cycles(double duration, double period) { return static_cast<int>(std::floor((duration - 50) / period)) + 1; }

std::string Pulse(double duration, double period) {
    std::ostringstream out;
    out << '+' << duration << ':' << Cycles(duration, period);
    return out.str();
}

// A NEC-like frame at the given carrier period: header, 32 bits, stop pulse.
std::string NecFrame(double period) {
    std::string text = Pulse(9000 + 50, period) + " -4500 ";
    for (int bit = 0; bit < 32; ++bit) text += Pulse(560 + 50, period) + (bit % 3 ? " -560 " : " -1690 ");
    return text + Pulse(560 + 50, period);
}

class CarrierTest : public ::testing::Test {
protected:
    void load(const std::string& text) {
        LoadCapture(context, text);
        spectrel::CopyForAnalysis(context);
    }

    ScriptedMessageBoxes boxes;
    SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

// --- the copy for analysis

TEST_F(CarrierTest, CopyScalesTimesAndDurationsByTheClockAdjustmentAndLeavesTheCaptureAlone) {
    ASSERT_TRUE(context.setClockAdjustmentIndex(0));  // +5%
    LoadCapture(context, "+600:23 -560 +600:23 -1690 +600:23 =30000 +600:23");
    spectrel::CopyForAnalysis(context);
    for (int k = 0; k < context.recordCount; ++k) {
        const TIntervalRecord& raw = context.captureTable()[k];
        const TIntervalRecord& copy = context.analysisTable()[k];
        EXPECT_DOUBLE_EQ(copy.duration, raw.duration * 1.05) << k;
        EXPECT_DOUBLE_EQ(copy.time, raw.time * 1.05) << k;
        EXPECT_EQ(copy.isPulse, raw.isPulse);
        EXPECT_EQ(copy.frameNumber, raw.frameNumber);
        EXPECT_EQ(copy.carrierCycles, raw.carrierCycles);
    }
    EXPECT_DOUBLE_EQ(context.captureTable()[1].duration, 560);
}

// --- carrier measurement

struct CarrierCase {
    std::string name;
    std::string capture;
    int clockAdjustmentIndex;
    double period;
};

class CarrierTiers : public CarrierTest, public ::testing::WithParamInterface<CarrierCase> {};

TEST_P(CarrierTiers, MeasuresThePeriod) {
    ASSERT_TRUE(context.setClockAdjustmentIndex(GetParam().clockAdjustmentIndex));
    load(GetParam().capture);
    EXPECT_DOUBLE_EQ(spectrel::MeasureCarrier(context), GetParam().period);
    EXPECT_DOUBLE_EQ(context.working.carrier_period, GetParam().period);
    EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Carrier, CarrierTiers,
    ::testing::Values(
        // 38 kHz: 26.3 us measures 26.5 (the nearest half microsecond).
        CarrierCase{"Nec38kHz", NecFrame(26.3), 2, 26.5},
        // Long bursts (tier A) decide even when many short bursts say otherwise.
        CarrierCase{"LongBurstsWin", "+100:1 -500 +8050:401 -500 +250:9 -500 +250:9 -500 +250:9 -500 +250:9 -600", 2,
                    20.0},
        // Without long bursts the middle tier (500 us and 11 cycles) decides: 30 us against 25 us.
        CarrierCase{"MiddleTierWithoutLongBursts",
                    "+100:1 -500 +650:21 -500 +250:9 -500 +250:9 -500 +250:9 -500 +650:21 -600", 2, 30.0},
        // Too little in the short tier: its running estimate stands. (600 + 150) / (10 + 3) = 57.7 -> 57.5.
        CarrierCase{"ShortTierTooSmall", "+100:1 -500 +650:11 -500 +200:4 -600", 2, 57.5},
        // Bursts no longer than 100 us plus the reader delay: no carrier.
        CarrierCase{"OnlyShortBursts", "+100:1 -500 +150:4 -500 +140:5 -500 +120:5 -600", 2, 0.0},
        // The first and the last record are never measured.
        CarrierCase{"FirstAndLastLeftOut", "+8050:401 -500 +150:40 -500 +8050:201", 2, 0.0},
        // 26.25 us lies halfway between 26.0 and 26.5: ties go to the even neighbour (2 x 26.25 = 52.5 -> 52).
        CarrierCase{"HalfwayGoesToEven", "+100:1 -500 +2675:101 -500 +2675:101 -600", 2, 26.0},
        // The measured period is divided by the clock adjustment: (2550 x 1.05 - 50) / 100 / 1.05 = 25.02 -> 25.
        CarrierCase{"ClockAdjustment", "+100:1 -500 +2550:101 -500 +2550:101 -600", 0, 25.0}),
    [](const auto& info) { return info.param.name; });

struct TooHighCase {
    std::string name;
    std::string capture;
    std::string text;
    double period;
};

class CarrierTooHigh : public CarrierTest, public ::testing::WithParamInterface<TooHighCase> {};

TEST_P(CarrierTooHigh, ShowsTheBoxAndKeepsAtLeastTwoMicroseconds) {
    boxes.script({MessageButton::Cancel});  // the answer does not matter
    load(GetParam().capture);
    EXPECT_DOUBLE_EQ(spectrel::MeasureCarrier(context), GetParam().period);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, GetParam().text);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Ok | MessageButton::Cancel);
}

INSTANTIATE_TEST_SUITE_P(
    Carrier, CarrierTooHigh,
    ::testing::Values(
        // 9.5 us (105 kHz)
        TooHighCase{"Above100kHz", "+100:1 -500 +2520:261 -500 +2520:261 -600", "Carrier 9.50 is too high ", 9.5},
        // 1.5 us (667 kHz) is shown as measured and then raised to 2 us.
        TooHighCase{"Above500kHz", "+100:1 -500 +2150:1401 -500 +2150:1401 -600", "Carrier 1.50 is too high ", 2.0}),
    [](const auto& info) { return info.param.name; });

TEST_F(CarrierTest, TenMicrosecondsIsNotTooHigh) {
    load("+100:1 -500 +2550:251 -500 +2550:251 -600");
    EXPECT_DOUBLE_EQ(spectrel::MeasureCarrier(context), 10.0);
    EXPECT_TRUE(boxes.shown().empty());
}

// --- pulse-width correction

TEST_F(CarrierTest, CorrectionAt38kHzIs24MicrosecondsAndStartsFromTheCapture) {
    load(NecFrame(26.3) + " =40000 " + NecFrame(26.3));
    const double period = spectrel::MeasureCarrier(context);
    ASSERT_DOUBLE_EQ(period, 26.5);
    const double x = std::nearbyint(context.readerDelay - period);
    EXPECT_DOUBLE_EQ(x, 24);

    spectrel::CorrectPulseWidths(context, x);
    spectrel::CorrectPulseWidths(context, x);  // a second run starts afresh, it does not add up
    for (int k = 0; k < context.recordCount; ++k) {
        const TIntervalRecord& raw = context.captureTable()[k];
        const TIntervalRecord& corrected = context.analysisTable()[k];
        const double expected = k == 0 ? raw.duration : raw.isPulse ? raw.duration - 24 : raw.duration + 24;
        EXPECT_DOUBLE_EQ(corrected.duration, expected) << k;
        EXPECT_DOUBLE_EQ(corrected.time, raw.time) << k;
    }
}

TEST_F(CarrierTest, CorrectionAppliesTheClockAdjustmentFirst) {
    ASSERT_TRUE(context.setClockAdjustmentIndex(4));  // -5%
    LoadCapture(context, "+600:23 -1000 +600:23 -1000");
    spectrel::CorrectPulseWidths(context, 10);
    EXPECT_DOUBLE_EQ(context.analysisTable()[1].duration, 1000 * 0.95 + 10);
    EXPECT_DOUBLE_EQ(context.analysisTable()[2].duration, 600 * 0.95 - 10);
}

// --- extreme searches

TEST_F(CarrierTest, ExtremeSearchesSkipRecordZeroAndTakeTheFirstOfEqualRecords) {
    // index:   0        1     2       3     4       5      6       7     8       9     10
    load("+9000:300 -400 +700:20 -900 +300:10 =50000 +700:20 -400 +300:10 -900 -300");
    EXPECT_EQ(spectrel::LongestPulse(context), 2);
    EXPECT_EQ(spectrel::ShortestPulse(context), 4);
    EXPECT_EQ(spectrel::ShortestPause(context), 1);
    EXPECT_EQ(spectrel::LongestFramePause(context), 3);
}

TEST_F(CarrierTest, FramePausesExcludeGapsAndAnythingFromTheMinimumGapOn) {
    // The minimum gap of 10 ms: 9999.5 us still belongs to a frame, 10000 us does not.
    load("+600:20 -800 +600:20 -10000 +600:20 =12000 +600:20 -9999.5 +600:20");
    EXPECT_EQ(spectrel::LongestFramePause(context), 7);
    ASSERT_TRUE(context.setMinimumGapIndex(0));  // 5 ms
    EXPECT_EQ(spectrel::LongestFramePause(context), 1);
}

TEST_F(CarrierTest, ShortestPauseLeavesOutTheLastRecordAndPausesOfNoLength) {
    load("+600:20 -800 +600:20 -0 +600:20 -700 +600:20 -100");
    EXPECT_EQ(spectrel::ShortestPause(context), 5);
}

TEST_F(CarrierTest, SearchesFindNothingInATableWithoutSuchRecords) {
    load("+600:20 +600:20 +700:20");
    EXPECT_EQ(spectrel::ShortestPause(context), 0);
    EXPECT_EQ(spectrel::LongestFramePause(context), 0);
    context.recordCount = 1;
    EXPECT_EQ(spectrel::LongestPulse(context), 0);
    EXPECT_EQ(spectrel::ShortestPulse(context), 0);
}

// --- carrier spread

struct SpreadCase {
    std::string name;
    std::string capture;
    double spread;
};

class Spread : public CarrierTest, public ::testing::WithParamInterface<SpreadCase> {};

TEST_P(Spread, OfThePulsePeriods) {
    load(GetParam().capture);
    EXPECT_NEAR(spectrel::CarrierSpread(context), GetParam().spread, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Carrier, Spread,
                         ::testing::Values(
                             // Periods 30 and 20: (30 - 20) / (30 + 20).
                             SpreadCase{"TwoPeriods", "+0:0 -500 +600:20 -500 +600:30", 0.2},
                             SpreadCase{"OnePeriod", "+0:0 -500 +600:20 -500 +900:30", 0.0},
                             // A single counted cycle makes the spread nothing, whatever came before.
                             SpreadCase{"SingleCycle", "+0:0 -500 +600:20 -500 +900:10 -500 +300:1 -500 +900:90", 0.0},
                             // A burst without counted cycles: (1 000 000 - 30) / (1 000 000 + 30).
                             SpreadCase{"NoCycles", "+0:0 -500 +600:20 -500 +600:0", (1e6 - 30) / (1e6 + 30)}),
                         [](const auto& info) { return info.param.name; });

// --- the capture check

struct CheckCase {
    std::string name;
    double carrier;            // the period the previous analysis left
    std::string capture;       // the last record number decides the unique-interval threshold
    std::vector<int> members;  // the vocabulary the previous analysis left
    bool acceptable;
    std::string message;
};

class Check : public CarrierTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(Check, GivesTheVerdictAndTheComplaint) {
    load(GetParam().capture);
    context.working.carrier_period = GetParam().carrier;
    context.working.vocabulary_count = static_cast<int>(GetParam().members.size());
    for (std::size_t k = 0; k < GetParam().members.size(); ++k)
        context.working.vocabulary[k].members = GetParam().members[k];
    std::string message = "left over";
    EXPECT_EQ(spectrel::CheckCapture(context, message), GetParam().acceptable);
    EXPECT_EQ(message, GetParam().message);
}

// With a 25 us carrier intervals must last 125 us; pulses of 600 us over 24 cycles are 25 us each, over 12 cycles
// 50 us (a spread of 1/3).
const std::string kGood = "r1 +600:24 -600 +600:24 -1200 +600:24 =30000 +1200:48 -600 +600:24 -0";
const std::string kShortPause = "r1 +600:24 -100 +600:24 -1200 +600:24 -0";
const std::string kMixedCarrier = "r1 +600:24 -600 +600:12 -1200 +600:24 -0";
const std::string kShortAndMixed = "r1 +600:24 -100 +600:12 -1200 +600:24 -0";

INSTANTIATE_TEST_SUITE_P(
    Carrier, Check,
    ::testing::Values(
        CheckCase{"Good", 25, kGood, {}, true, ""},
        CheckCase{"TooShortPause", 25, kShortPause, {}, false, "Too short intervals"},
        CheckCase{"TooShortPulse", 25, "r1 +600:24 -600 +100:4 -1200 +600:24 -0", {}, false, "Too short intervals"},
        CheckCase{"InconsistentCarrier", 25, kMixedCarrier, {}, false, "Inconsistent carrier"},
        CheckCase{"Both", 25, kShortAndMixed, {}, false, "Too short intervals, Inconsistent carrier"},
        // A burst without counted cycles spoils the spread.
        CheckCase{"UncountedBurst", 25, "r1 +600:24 -600 +600:0 -1200 +600:24 -0", {}, false, "Inconsistent carrier"},
        // Carrier checks need a known carrier and a longest pulse beyond 5 periods.
        CheckCase{"CarrierUnknown", -1, kShortAndMixed, {}, true, ""},
        CheckCase{"NoCarrier", 0, kShortAndMixed, {}, true, ""},
        CheckCase{"LongestPulseTooShort", 200, kShortAndMixed, {}, true, ""},
        // Record 2: elements met fewer than 2 times appear in only one capture.
        CheckCase{"OneUnique", -1, "r2 +600:24 -600 +600:24 -0", {5, 1, 2}, false, "1 unique interval"},
        CheckCase{"TwoUniques", -1, "r2 +600:24 -600 +600:24 -0", {1, 9, 0}, false, "2 unique intervals"},
        CheckCase{"ShortAndUnique",
                  25,
                  "r2 +600:24 -100 +600:24 -1200 +600:24 -0",
                  {1, 3},
                  false,
                  "Too short intervals and 1 unique interval"},
        // The first record of a procedure: no element can have fewer than 0 members.
        CheckCase{"FirstRecord", -1, "+600:24 -600 +600:24 -0", {0, 0}, true, ""},
        CheckCase{"TooFewRecords", 25, "+600:24", {}, false, ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
