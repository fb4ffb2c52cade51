// The vocabulary and its tick: window sweep (fast and reference), merging, tick estimation and snapping,
// nominal durations, scaling and duplicates.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"
#include "virtualboard/Generators.h"

namespace spectrel {
namespace {

using test::TableWriter;

class VocabularyTest : public ::testing::Test {
protected:
    // Copies the capture, measures the carrier and corrects the pulse widths, as the analysis run starts.
    void Prepare() {
        CopyForAnalysis(context);
        const double period = MeasureCarrier(context);
        CorrectPulseWidths(context, std::nearbyint(context.readerDelay - period));
    }
    // The vocabulary steps of the analysis run, in order.
    void BuildVocabulary() { spectrel::BuildVocabulary(context); }
    void SetVocabulary(std::initializer_list<TVocabularyElement> elements) {
        context.working.vocabulary_count = 0;
        for (const TVocabularyElement& e : elements) context.working.vocabulary[context.working.vocabulary_count++] = e;
    }
    const TVocabularyElement& Element(int k) const { return context.working.vocabulary[k]; }

    testing::ScriptedMessageBoxes boxes;
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

TVocabularyElement WithMean(double mean, int members, double minDuration, double maxDuration) {
    TVocabularyElement e;
    e.mean = mean;
    e.members = members;
    e.minDuration = minDuration;
    e.maxDuration = maxDuration;
    e.hasPulse = true;
    return e;
}

TVocabularyElement WithNominal(double nominal, bool pulse, bool pause) {
    TVocabularyElement e;
    e.nominal = nominal;
    e.mean = nominal;
    e.members = 3;
    e.hasPulse = pulse;
    e.hasPause = pause;
    return e;
}

// --- tick snapping

struct SnapCase {
    const char* name;
    double tick;
    double snapped;
};

void PrintTo(const SnapCase& c, std::ostream* os) { *os << c.name; }

class SnapTickTable : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapTickTable, MovesTheTickToARoundOrKnownValue) {
    EXPECT_DOUBLE_EQ(SnappedTick(GetParam().tick), GetParam().snapped);
}

INSTANTIATE_TEST_SUITE_P(Tick, SnapTickTable,
                         ::testing::Values(SnapCase{"NearAHundred", 297, 300}, SnapCase{"NearFifty", 548, 550},
                                           SnapCase{"NecBelow", 560, 562.5}, SnapCase{"NecAbove", 563, 562.5},
                                           SnapCase{"KnownTwelveScore", 118, 120}, SnapCase{"NearTwentyFive", 123, 125},
                                           SnapCase{"FiveFromAHundredStillSnaps", 405, 400}, SnapCase{"Rc5", 884, 889},
                                           SnapCase{"NotNearAnything", 333.4, 333},
                                           SnapCase{"TiesGoToEven", 340.5, 340},
                                           SnapCase{"EightFromNecIsTooFar", 570.5, 570}),
                         [](const ::testing::TestParamInfo<SnapCase>& info) { return std::string(info.param.name); });

TEST_F(VocabularyTest, SnapTickLeavesTheTickOfAnEmptyVocabulary) {
    context.working.tick = 563;
    context.working.vocabulary_count = 0;
    SnapTick(context);
    EXPECT_EQ(context.working.tick, 563);
}

// --- duplicates and sorting

TEST_F(VocabularyTest, ThreeEqualNominalsCollapseIntoOneWithAllTheirFlags) {
    SetVocabulary({WithNominal(560, true, false), WithNominal(1120, false, true), WithNominal(1120, true, false),
                   WithNominal(1120, false, false), WithNominal(1690, false, true)});
    RemoveDuplicateNominals(context);
    ASSERT_EQ(context.working.vocabulary_count, 3);
    EXPECT_EQ(Element(0).nominal, 560);
    EXPECT_EQ(Element(1).nominal, 1120);
    EXPECT_TRUE(Element(1).hasPulse);
    EXPECT_TRUE(Element(1).hasPause);
    EXPECT_EQ(Element(2).nominal, 1690);
    EXPECT_FALSE(Element(2).hasPulse);
}

TEST_F(VocabularyTest, SortNominalsMovesOnlyTheNominals) {
    SetVocabulary({WithNominal(900, true, false), WithNominal(500, false, true), WithNominal(700, true, true)});
    context.working.vocabulary[0].members = 11;
    SortNominals(context);
    EXPECT_EQ(Element(0).nominal, 500);
    EXPECT_EQ(Element(1).nominal, 700);
    EXPECT_EQ(Element(2).nominal, 900);
    EXPECT_EQ(Element(0).members, 11);
    EXPECT_EQ(Element(0).mean, 900);
    EXPECT_TRUE(Element(1).hasPause);
    EXPECT_FALSE(Element(1).hasPulse);
}

// --- nominals and scaling

TEST_F(VocabularyTest, NominalsAreTickMultiplesWhereTheyFitAndRoundedMeansElsewhere) {
    context.working.tick = 100;
    SetVocabulary({WithMean(104, 10, 90, 115),        // 1 tick
                   WithMean(297, 10, 280, 310),       // 3 ticks
                   WithMean(1234, 10, 1200, 1260),    // 12 ticks but 34 us off: rounded to 20 us
                   WithMean(2468, 10, 2450, 2510)});  // the last element: rounded to 50 us
    AssignNominals(context);
    EXPECT_EQ(Element(0).nominal, 100);
    EXPECT_EQ(Element(0).tickMultiple, 1);
    EXPECT_EQ(Element(1).nominal, 300);
    EXPECT_EQ(Element(1).tickMultiple, 3);
    EXPECT_EQ(Element(2).nominal, 1240);
    EXPECT_EQ(Element(2).tickMultiple, -12);
    EXPECT_EQ(Element(3).nominal, 2450);
    EXPECT_EQ(Element(3).tickMultiple, -25);
}

TEST_F(VocabularyTest, ANominalOutsideTheMembersFallsBackToTheMean) {
    context.working.tick = 100;
    SetVocabulary({WithMean(140, 10, 130, 150), WithMean(300, 10, 290, 310)});
    AssignNominals(context);
    EXPECT_EQ(Element(0).nominal, 140);
    EXPECT_EQ(Element(0).tickMultiple, 1);
}

TEST_F(VocabularyTest, AFirstElementOfThreeTicksMakesEveryNominalARoundedMean) {
    context.working.tick = 100;
    SetVocabulary({WithMean(300, 10, 290, 310), WithMean(530, 10, 490, 540), WithMean(800, 10, 790, 810)});
    AssignNominals(context);
    // 500 is 30 us off the mean of 530: uneven, so the mean rounded to 10 us stands.
    EXPECT_EQ(Element(1).nominal, 530);
    EXPECT_EQ(Element(1).tickMultiple, -5);
}

struct ScaleCase {
    const char* name;
    std::vector<int> multiples;
    double scaled;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class ScaleTickTable : public VocabularyTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaleTickTable, ScalesWhenEveryMultipleAllows) {
    context.working.tick = 100.4;
    context.working.vocabulary_count = 0;
    for (int m : GetParam().multiples) {
        TVocabularyElement e;
        e.tickMultiple = m;
        context.working.vocabulary[context.working.vocabulary_count++] = e;
    }
    ScaleTick(context);
    EXPECT_DOUBLE_EQ(context.working.tick, GetParam().scaled);
}

INSTANTIATE_TEST_SUITE_P(Tick, ScaleTickTable,
                         ::testing::Values(ScaleCase{"AllThrees", {3, 6, 9}, 301}, ScaleCase{"AllEven", {2, 4, 8}, 201},
                                           ScaleCase{"SixIsThreeFirst", {6, 12}, 301},
                                           ScaleCase{"OneOdd", {2, 3}, 100.4},
                                           ScaleCase{"NegativeMultiple", {2, -4}, 100.4},
                                           ScaleCase{"Empty", {}, 100.4}),
                         [](const ::testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

// --- tick estimation

TEST_F(VocabularyTest, TickResidualWeighsEveryElementByItsMembers) {
    SetVocabulary({WithMean(510, 2, 0, 0), WithMean(1480, 1, 0, 0)});
    // 510 is 10 off 500, 1480 is 20 off 1500.
    EXPECT_DOUBLE_EQ(TickResidual(context, 500), 2 * 100 + 400);
}

TEST_F(VocabularyTest, MeansAreMultiplesOfTheFirstRoundedMean) {
    SetVocabulary({WithMean(560.2, 1, 0, 0), WithMean(1119.8, 1, 0, 0), WithMean(1680, 1, 0, 0)});
    EXPECT_TRUE(MeansAreMultiples(context));
    SetVocabulary({WithMean(560, 1, 0, 0), WithMean(1690, 1, 0, 0)});
    EXPECT_FALSE(MeansAreMultiples(context));
    SetVocabulary({WithMean(1.2, 1, 0, 0), WithMean(2, 1, 0, 0)});
    EXPECT_FALSE(MeansAreMultiples(context));
}

TEST_F(VocabularyTest, WithMultiplesTheTickStaysTwoBelowTheBase) {
    SetVocabulary({WithMean(600, 10, 0, 0), WithMean(1200, 10, 0, 0), WithMean(2400, 1, 0, 0)});
    EstimateTick(context);
    EXPECT_EQ(context.working.tick, 598);
    SnapTick(context);
    EXPECT_EQ(context.working.tick, 600);
}

TEST_F(VocabularyTest, TheTickFitsTheMeansBest) {
    SetVocabulary({WithMean(563, 40, 0, 0), WithMean(1688, 20, 0, 0), WithMean(4505, 2, 0, 0)});
    EstimateTick(context);
    EXPECT_EQ(context.working.tick, 563);
    SnapTick(context);
    EXPECT_EQ(context.working.tick, 562.5);
}

// Candidates are tried near the first element, near its half and near its third: the tick is the one the means
// fit best, also where that is the smallest divisor's candidate.
TEST_F(VocabularyTest, TheTickIsTheCandidateNearAWholeDivisorOfTheFirstElement) {
    struct Case {
        const char* name;
        double means[3];
        double tick;
    } cases[] = {
        {"a third of the first element", {900, 1200, 1500}, 300},
        {"half of the first element", {1000, 1500, 2500}, 500},
        {"the first element itself", {563, 1688, 4505}, 563},
    };
    for (const Case& c : cases) {
        SetVocabulary(
            {WithMean(c.means[0], 5, 0, 0), WithMean(c.means[1], 5, 0, 0), WithMean(c.means[2], 5, 0, 0)});
        EstimateTick(context);
        EXPECT_EQ(context.working.tick, c.tick) << c.name;
    }
}

struct TickBaseCase {
    const char* name;
    double carrierPeriod;
    double first;
    double expectedTick;
};

void PrintTo(const TickBaseCase& c, std::ostream* os) { *os << c.name; }

class TickBase : public VocabularyTest, public ::testing::WithParamInterface<TickBaseCase> {};

// With all means multiples of the base, the tick is the base less 2: which element gave the base shows.
TEST_P(TickBase, ASmallFirstElementIsSkippedWhenThereIsASecond) {
    context.working.carrier_period = GetParam().carrierPeriod;
    SetVocabulary({WithMean(GetParam().first, 5, 0, 0), WithMean(600, 5, 0, 0), WithMean(1200, 5, 0, 0)});
    EstimateTick(context);
    EXPECT_EQ(context.working.tick, GetParam().expectedTick);
}

INSTANTIATE_TEST_SUITE_P(Tick, TickBase,
                         ::testing::Values(TickBaseCase{"Below80", 0, 75, 598}, TickBaseCase{"At80", 0, 100, 98},
                                           TickBaseCase{"BelowTwoPeriods", 50, 99, 598},
                                           TickBaseCase{"TwoPeriods", 50, 100, 98}),
                         [](const ::testing::TestParamInfo<TickBaseCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(VocabularyTest, ABaseBelowFortyGivesNoCandidateAndTheUnreliableTickBox) {
    SetVocabulary({WithMean(30, 5, 0, 0)});
    EstimateTick(context);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Unreliable tick");
    EXPECT_EQ(boxes.shown()[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(context.working.tick, 30);
}

// --- sweep and merge on tables

class SweepTest : public VocabularyTest {
protected:
    // Records k >= 1 with the given durations alternating pulse and pause, all in frame 0, record 0 first.
    void Intervals(const std::vector<double>& durations, int cycles = 20) {
        TableWriter writer(context);
        writer.begin(0, 0);
        writer.pulse(1000, cycles);
        for (size_t i = 0; i < durations.size(); ++i) {
            if (i % 2 == 0)
                writer.pulse(durations[i], cycles);
            else
                writer.pause(durations[i]);
        }
        writer.close();
        CopyForAnalysis(context);
    }
};

TEST_F(SweepTest, NeighbouringWindowsFormOneElementAndAnEmptyWindowSeparates) {
    context.working.carrier_period = 25;  // windows of 50 us from 0.8 * 500 - 20 = 380
    // 500 and 540 fall into neighbouring windows; 650 is two windows on.
    Intervals({500, 500, 540, 540, 650, 650, 500, 800});
    SweepWindows(context);
    MergeWindows(context);
    ASSERT_EQ(context.working.vocabulary_count, 3);
    EXPECT_EQ(Element(0).members, 5);
    EXPECT_DOUBLE_EQ(Element(0).mean, (3 * 500 + 2 * 540) / 5.0);
    EXPECT_EQ(Element(0).minDuration, 500);
    EXPECT_EQ(Element(0).maxDuration, 540);
    EXPECT_TRUE(Element(0).hasPulse);
    EXPECT_TRUE(Element(0).hasPause);
    EXPECT_EQ(Element(1).members, 2);
    EXPECT_EQ(Element(1).mean, 650);
    EXPECT_EQ(Element(2).mean, 800);
    EXPECT_FALSE(Element(2).hasPulse);
}

TEST_F(SweepTest, ARunWiderThanSixPeriodsIsCutAndItsFarWindowDropped) {
    context.working.carrier_period = 10;  // windows of 20 us; six periods are 60 us
    std::vector<double> durations;
    for (double d = 500; d <= 580; d += 20) durations.insert(durations.end(), {d, d});
    durations.insert(durations.end(), {900, 900});
    Intervals(durations);
    SweepWindows(context);
    MergeWindows(context);
    // 500..560 join; 580 lies 80 us from the run's first mean and is dropped.
    ASSERT_EQ(context.working.vocabulary_count, 2);
    EXPECT_EQ(Element(0).members, 8);
    EXPECT_EQ(Element(0).maxDuration, 560);
    EXPECT_EQ(Element(1).mean, 900);
}

TEST_F(SweepTest, WithoutCarrierEachElementIsAPulseWithItsPauseAndOnlyAPause) {
    context.working.carrier_period = 0;
    Intervals({150, 450, 150, 1050, 150, 450, 150, 2850, 150, 450});
    SweepWindows(context);
    MergeWindows(context);
    ASSERT_EQ(context.working.vocabulary_count, 3);
    EXPECT_EQ(Element(0).mean, 600);
    EXPECT_EQ(Element(0).members, 3);
    EXPECT_EQ(Element(1).mean, 1200);
    EXPECT_EQ(Element(2).mean, 3000);
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(Element(k).hasPulse);
        EXPECT_TRUE(Element(k).hasPause);
        EXPECT_EQ(Element(k).minDuration, 0) << k;
    }
}

// A table whose one long pulse lies millions of windows beyond the rest: the sweep jumps over the empty windows
// (its cost is in the benchmark) and finds the same elements; where the straightforward sweep is quick enough
// to run beside it, both agree.
TEST_F(SweepTest, ALongPulseFarBeyondTheOtherIntervalsIsItsOwnElement) {
    struct Case {
        const char* name;
        double longPulse;
        bool compareWithReference;
    } cases[] = {
        {"a second", 1e6, true},
        {"ten seconds", 1e7, true},
        {"nearly eighteen minutes", 1.07e9, false},
    };
    for (const Case& c : cases) {
        context.recordCount = 0;
        context.working.carrier_period = 26.3;  // windows of 52.6 us
        Intervals({560, 560, 560, 1690, c.longPulse});
        ASSERT_EQ(context.recordCount, 7) << c.name;
        SweepWindows(context);
        MergeWindows(context);
        ASSERT_EQ(context.working.vocabulary_count, 3) << c.name;
        EXPECT_EQ(Element(0).mean, 560) << c.name;
        EXPECT_EQ(Element(0).members, 3) << c.name;
        EXPECT_EQ(Element(1).mean, 1690) << c.name;
        EXPECT_EQ(Element(2).mean, c.longPulse) << c.name;
        EXPECT_EQ(Element(2).members, 1) << c.name;
        EXPECT_TRUE(Element(2).hasPulse) << c.name;
        EXPECT_FALSE(Element(2).hasPause) << c.name;
        if (!c.compareWithReference) continue;
        const std::vector<TVocabularyElement> fast(context.working.vocabulary.begin(),
                                                   context.working.vocabulary.begin() + context.working.vocabulary_count);
        SweepWindowsReference(context);
        MergeWindows(context);
        ASSERT_EQ(context.working.vocabulary_count, static_cast<int>(fast.size())) << c.name;
        for (int k = 0; k < context.working.vocabulary_count; ++k) {
            EXPECT_EQ(Element(k).mean, fast[k].mean) << c.name << k;
            EXPECT_EQ(Element(k).members, fast[k].members) << c.name << k;
            EXPECT_EQ(Element(k).minDuration, fast[k].minDuration) << c.name << k;
            EXPECT_EQ(Element(k).maxDuration, fast[k].maxDuration) << c.name << k;
        }
    }
}

struct EmptySweepCase {
    const char* name;
    const char* intervals;  // +pulse -pause; the first is record 0
    double carrierPeriod;
};

void PrintTo(const EmptySweepCase& c, std::ostream* os) { *os << c.name; }

class EmptySweep : public SweepTest, public ::testing::WithParamInterface<EmptySweepCase> {};

TEST_P(EmptySweep, GivesNoElements) {
    TableWriter writer(context);
    writer.begin(0, 0);
    std::istringstream in(GetParam().intervals);
    std::string item;
    while (in >> item) {
        const double d = std::stod(item.substr(1));
        if (item[0] == '+')
            writer.pulse(d, 20);
        else
            writer.pause(d);
    }
    CopyForAnalysis(context);
    context.working.carrier_period = GetParam().carrierPeriod;
    for (auto sweep : {&SweepWindows, &SweepWindowsReference}) {
        context.working.vocabulary_count = 7;
        sweep(context);
        MergeWindows(context);
        EXPECT_EQ(context.working.vocabulary_count, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sweep, EmptySweep,
    ::testing::Values(EmptySweepCase{"OneRecord", "+560", 26.5}, EmptySweepCase{"NoPause", "+560 +560 +560", 26.5},
                      EmptySweepCase{"OnlyTheLastRecordIsAPause", "+560 +560 -560", 26.5},
                      EmptySweepCase{"NoPulseWithCarrier", "+560 -560 -1690 -560", 26.5},
                      EmptySweepCase{"NoPulseWithoutCarrier", "+560 -560 -1690 -560", 0},
                      EmptySweepCase{"OnlyGapsBetweenFrames", "+560 -30000 +560 -30000 +560", 26.5}),
    [](const ::testing::TestParamInfo<EmptySweepCase>& info) { return std::string(info.param.name); });

// Without carrier a pulse is swept together with the pause after it; the table's last pulse has none, and
// whatever an earlier, longer capture left beyond the count is not taken for one.
TEST_F(SweepTest, TheLastPulseWithoutCarrierHasNoPauseAfterIt) {
    Intervals({150, 450, 150, 1050, 150, 450, 150, 450});
    context.recordCount -= 1;  // drop the closing entry: the table ends with a pulse
    TIntervalRecord& beyond = context.analysisTable()[context.recordCount];
    beyond.isPulse = false;
    beyond.duration = 900;  // left over: with the last pulse it would make a 1050 us member
    context.working.carrier_period = 0;
    for (auto sweep : {&SweepWindows, &SweepWindowsReference}) {
        sweep(context);
        MergeWindows(context);
        ASSERT_EQ(context.working.vocabulary_count, 2);
        EXPECT_EQ(Element(0).members, 3);  // 150 + 450 three times
        EXPECT_EQ(Element(1).members, 1);  // 150 + 1050
    }
}

TEST_F(SweepTest, MoreThanAHundredPopulatedWindowsStopAtAHundredAndOneElements) {
    context.working.carrier_period = 5;  // windows of 10 us
    std::vector<double> durations;
    for (int i = 0; i < 150; ++i) durations.insert(durations.end(), {500.0 + 10 * i, 500.0 + 10 * i});
    Intervals(durations);
    for (auto sweep : {&SweepWindows, &SweepWindowsReference}) {
        context.working.vocabulary[100].members = 7;  // the closing element is cleared
        sweep(context);
        EXPECT_EQ(context.working.vocabulary_count, 101);
        EXPECT_EQ(Element(100).members, 0);
        EXPECT_GT(Element(99).members, 0);
        // Windows from 0.8 * 500 - 20 = 380 us; the hundredth populated one holds the pulse and pause of 1490 us.
        EXPECT_EQ(Element(99).mean, 1490);
    }
}

// --- the fast sweep against the straightforward one

void ExpectSameVocabulary(const TWorkingProtocol& a, const TWorkingProtocol& b, const std::string& what) {
    ASSERT_EQ(a.vocabulary_count, b.vocabulary_count) << what;
    for (int k = 0; k < a.vocabulary_count; ++k) {
        const TVocabularyElement& x = a.vocabulary[k];
        const TVocabularyElement& y = b.vocabulary[k];
        EXPECT_EQ(x.members, y.members) << what << " element " << k;
        EXPECT_EQ(x.mean, y.mean) << what << " element " << k;  // bit for bit
        EXPECT_EQ(x.maxDuration, y.maxDuration) << what << " element " << k;
        EXPECT_EQ(x.minDuration, y.minDuration) << what << " element " << k;
        EXPECT_EQ(x.hasPulse, y.hasPulse) << what << " element " << k;
        EXPECT_EQ(x.hasPause, y.hasPause) << what << " element " << k;
    }
}

class SweepOracle : public VocabularyTest {
protected:
    // Both sweeps over the prepared analysis table must give the same windows.
    void ExpectSweepsAgree(const std::string& what) {
        SweepWindowsReference(context);
        const TWorkingProtocol reference = context.working;
        context.working.vocabulary_count = 0;
        SweepWindows(context);
        ExpectSameVocabulary(context.working, reference, what);
        // And so every later step.
        TWorkingProtocol fast = context.working;
        context.working = reference;
        BuildVocabularyAfterSweep();
        const TWorkingProtocol referenceVocabulary = context.working;
        context.working = fast;
        BuildVocabularyAfterSweep();
        ExpectSameVocabulary(context.working, referenceVocabulary, what + " (merged)");
        EXPECT_EQ(context.working.tick, referenceVocabulary.tick) << what;
    }
    void BuildVocabularyAfterSweep() { BuildVocabularyFromWindows(context); }
};

TEST_F(SweepOracle, GeneratedSignalsWithEveryClockAdjustment) {
    const virtualboard::IrSignal signals[] = {virtualboard::necSignal(0x04, 0x08), virtualboard::rc5Signal(5, 12, true),
                                              virtualboard::sirc12Signal(1, 21), virtualboard::flashSignal(3, 77)};
    for (const auto& signal : signals) {
        for (int adjustment = 0; adjustment < 5; ++adjustment) {
            context.recordCount = 0;
            ASSERT_TRUE(context.setClockAdjustmentIndex(adjustment));
            TableWriter writer(context);
            for (int record = 0; record < 3; ++record) {
                writer.begin(record, record / 2);
                writer.press(test::ExpandPress(signal, 3), signal.carrierHz, context.readerDelay);
            }
            Prepare();
            ExpectSweepsAgree(virtualboard::formatSignal(signal).substr(0, 30) + " adjustment " +
                              std::to_string(adjustment));
        }
    }
}

TEST_F(SweepOracle, RandomNoiseWithAndWithoutCarrier) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 24; ++round) {
        context.recordCount = 0;
        ASSERT_TRUE(context.setClockAdjustmentIndex(round % 5));
        std::uniform_real_distribution<double> duration(20.0, round % 3 == 0 ? 30000.0 : 3000.0);
        std::uniform_int_distribution<int> cycles(0, 200);
        TableWriter writer(context);
        writer.begin(0, 0);
        const int records = 50 + round * 40;
        for (int i = 0; i < records; ++i) {
            if (i % 2 == 0)
                writer.pulse(std::round(duration(random) * 2) / 2, round % 4 == 1 ? 1 : cycles(random));
            else
                writer.pause(std::round(duration(random) * 2) / 2);
        }
        CopyForAnalysis(context);
        context.working.carrier_period = round % 4 == 1 ? 0 : (round % 4 == 2 ? 2 : 26.5);
        ExpectSweepsAgree("noise round " + std::to_string(round));
    }
}

TEST_F(SweepOracle, ManyPassesOfNarrowWindows) {
    // A two-microsecond carrier: windows of 4 us up to a 39 ms burst are more than one pass of the fast
    // sweep gathers, and populated windows lie in both passes.
    TableWriter writer(context);
    writer.begin(0, 0);
    const double pulses[] = {500, 501.5, 39000, 500, 7000};
    const double pauses[] = {700, 9000.5, 25000, 700, 33000.5};
    for (int i = 0; i < 5; ++i) {
        writer.pulse(pulses[i], 20);
        writer.pause(pauses[i]);
    }
    writer.pulse(500, 20);
    CopyForAnalysis(context);
    context.working.carrier_period = 2;
    SweepWindows(context);
    EXPECT_EQ(context.working.vocabulary_count, 15);  // seven runs, each with its empty element, and the closing one
    ExpectSweepsAgree("narrow windows");
}

TEST_F(SweepOracle, RecordedRemotes) {
    const std::string dir = test::SignalsDir();
    if (dir.empty() || !std::filesystem::is_directory(dir)) GTEST_SKIP() << "no recordings folder";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".ir") continue;
        const test::RecordedRemote remote = test::ReadRecordedRemote(entry.path().string());
        if (remote.keys.size() < 2) continue;
        ++files;
        for (int carrier = 0; carrier < 2; ++carrier) {
            context.recordCount = 0;
            TableWriter writer(context);
            const std::vector<double>* presses[] = {&remote.keys[0], &remote.keys[0], &remote.keys[1]};
            for (int record = 0; record < 3; ++record) {
                writer.begin(record, record / 2);
                writer.press(*presses[record], carrier ? remote.carrierHz : 0, context.readerDelay);
            }
            Prepare();
            ExpectSweepsAgree(entry.path().filename().string() + (carrier ? " with carrier" : " pulsed"));
        }
    }
    EXPECT_GT(files, 0);
}

// --- the vocabulary of a real code

TEST_F(VocabularyTest, NecTimingGivesOneElementPerDistinctLength) {
    const virtualboard::IrSignal nec = virtualboard::necSignal(0x00, 0x45);
    // Two presses, so that the second one's leading pulse is no longer the table's first record.
    TableWriter writer(context);
    for (int record = 0; record < 2; ++record) {
        writer.begin(record, 0);
        writer.press(test::ExpandPress(nec, 0), nec.carrierHz, context.readerDelay);
    }
    Prepare();
    BuildVocabulary();
    // The 9000 us bursts (341 periods) decide the carrier: 26.5 us, so pulses lose round(50 - 26.5) = 24 us
    // and pauses gain as much.
    EXPECT_EQ(context.working.carrier_period, 26.5);
    ASSERT_EQ(context.working.vocabulary_count, 4);
    // The board reports every burst end 50 us late, so pauses come out 26 us short and pulses 26 us long.
    // Without any jitter every member of the long elements is the same, the tick multiple (3, 8, 16 ticks)
    // lies outside them, and their nominals stay at the measured mean.
    const double nominals[] = {562.5, 1661.5, 4474, 9026};
    const bool pulses[] = {true, false, false, true};
    const bool pauses[] = {true, true, true, false};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Element(k).nominal, nominals[k]) << k;
        EXPECT_EQ(Element(k).hasPulse, pulses[k]) << k;
        EXPECT_EQ(Element(k).hasPause, pauses[k]) << k;
    }
    EXPECT_EQ(context.working.tick, 562.5);
}

}  // namespace
}  // namespace spectrel
