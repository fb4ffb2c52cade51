// The analysis context: the decoding parameters with their defaults and the tables it owns.

#include <gtest/gtest.h>

#include <string>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace {

using spectrel::TAnalysisContext;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;

class ContextTest : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

TEST_F(ContextTest, StartsWithTheDefaultDecodingParametersAndReaderDelay) {
    const auto& p = context.parameters();
    EXPECT_EQ(p.minimumGapIndex(), 1);
    EXPECT_EQ(p.minimumGap(), 20000);
    EXPECT_DOUBLE_EQ(p.minimumGapMicroseconds(), 10000);
    EXPECT_EQ(p.clockAdjustmentIndex(), 2);
    EXPECT_DOUBLE_EQ(p.clockAdjustment(), 1.0);
    EXPECT_EQ(p.matchToleranceIndex(), 1);
    EXPECT_DOUBLE_EQ(p.matchTolerance(), 0.06);
    EXPECT_DOUBLE_EQ(context.working.match_tolerance, 0.06);
    EXPECT_EQ(context.readerDelay, 50);
    EXPECT_EQ(context.recordCount, 0);
    EXPECT_DOUBLE_EQ(context.working.carrier_period, -1);
    EXPECT_EQ(context.dumps, nullptr);
}

TEST_F(ContextTest, EachChoiceSetsItsIndexAndValueTogether) {
    const int gaps[] = {10000, 20000, 40000, 200000};
    for (int k = 0; k < 4; ++k) {
        ASSERT_TRUE(context.setMinimumGapIndex(k));
        EXPECT_EQ(context.parameters().minimumGapIndex(), k);
        EXPECT_EQ(context.parameters().minimumGap(), gaps[k]);
    }
    const double factors[] = {1.05, 1.025, 1.0, 0.975, 0.95};
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(context.setClockAdjustmentIndex(k));
        EXPECT_EQ(context.parameters().clockAdjustmentIndex(), k);
        EXPECT_DOUBLE_EQ(context.parameters().clockAdjustment(), factors[k]);
    }
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(context.setMatchToleranceIndex(k));
        EXPECT_EQ(context.parameters().matchToleranceIndex(), k);
        EXPECT_DOUBLE_EQ(context.parameters().matchTolerance(), 0.05 + 0.01 * k);
        // The working protocol's copy, which the protocol checks read, follows.
        EXPECT_DOUBLE_EQ(context.working.match_tolerance, 0.05 + 0.01 * k);
    }
    EXPECT_STREQ(spectrel::kMinimumGapChoices[2].text, "20 ms");
    EXPECT_STREQ(spectrel::kClockAdjustmentChoices[2].text, "Nominal");
    EXPECT_STREQ(spectrel::kMatchToleranceChoices[1].text, "6%");
}

TEST_F(ContextTest, AChoiceOutsideTheListChangesNothing) {
    ASSERT_TRUE(context.setMinimumGapIndex(3));
    ASSERT_TRUE(context.setMatchToleranceIndex(4));
    EXPECT_FALSE(context.setMinimumGapIndex(4));
    EXPECT_FALSE(context.setMinimumGapIndex(-1));
    EXPECT_FALSE(context.setClockAdjustmentIndex(5));
    EXPECT_FALSE(context.setMatchToleranceIndex(6));
    EXPECT_EQ(context.parameters().minimumGap(), 200000);
    EXPECT_DOUBLE_EQ(context.parameters().clockAdjustment(), 1.0);
    EXPECT_DOUBLE_EQ(context.working.match_tolerance, 0.09);
}

TEST_F(ContextTest, ResettingTheWorkingProtocolKeepsTheChosenTolerance) {
    ASSERT_TRUE(context.setMatchToleranceIndex(5));
    context.working.carrier_period = 26.5;
    context.working.format = "iJ";
    context.ResetWorkingProtocol();
    EXPECT_DOUBLE_EQ(context.working.carrier_period, -1);
    EXPECT_TRUE(context.working.format.empty());
    EXPECT_DOUBLE_EQ(context.working.match_tolerance, 0.10);
}

// One context serves many runs (the fuzz targets reuse theirs): whatever a learning left in it, a reset
// context is a fresh one again.
TEST_F(ContextTest, ResetGivesAFreshContextAfterALearning) {
    struct NoDumps : spectrel::TAnalysisDumps {
        void DumpReaderStream(spectrel::TReaderLink&) override {}
        void DumpCaptureTable(const TAnalysisContext&) override {}
        void DumpAnalysisTable(const TAnalysisContext&) override {}
        void DumpVocabulary(const TAnalysisContext&) override {}
        void DumpFramesBuffer(const TAnalysisContext&) override {}
    } dumps;
    ASSERT_TRUE(context.setMinimumGapIndex(3));
    ASSERT_TRUE(context.setClockAdjustmentIndex(0));
    ASSERT_TRUE(context.setMatchToleranceIndex(5));
    context.readerDelay = 80;
    context.dumps = &dumps;
    context.tolerant = true;
    context.recordCount = 1234;
    context.working.format = "iJ";
    context.working.vocabulary_count = 7;
    context.working.carrier_period = 26.3;
    ASSERT_TRUE(context.framesBuffer.Append("AaBb", 1, 2, 3));
    context.analysis.frames.usable = true;
    context.analysis.lastRecordButton = 2;

    context.Reset();
    const auto& p = context.parameters();
    EXPECT_EQ(p.minimumGap(), 20000);
    EXPECT_DOUBLE_EQ(p.clockAdjustment(), 1.0);
    EXPECT_DOUBLE_EQ(p.matchTolerance(), 0.06);
    EXPECT_DOUBLE_EQ(context.working.match_tolerance, 0.06);
    EXPECT_EQ(context.readerDelay, 50);
    EXPECT_EQ(context.dumps, nullptr);
    EXPECT_FALSE(context.tolerant);
    EXPECT_EQ(context.recordCount, 0);
    EXPECT_TRUE(context.working.format.empty());
    EXPECT_EQ(context.working.vocabulary_count, 0);
    EXPECT_DOUBLE_EQ(context.working.carrier_period, -1);
    EXPECT_EQ(context.framesBuffer.count, 0);
    EXPECT_FALSE(context.analysis.frames.usable);
    EXPECT_EQ(context.analysis.lastRecordButton, 0);
}

TEST_F(ContextTest, TablesHoldTheirWholeSizeOfClearedRecords) {
    for (const spectrel::TIntervalRecord* r :
         {&context.captureTable()[0], &context.captureTable()[65536],
          &context.analysisTable()[0], &context.analysisTable()[655360]}) {
        EXPECT_FALSE(r->isPulse);
        EXPECT_DOUBLE_EQ(r->time, 0);
        EXPECT_DOUBLE_EQ(r->duration, 0);
        EXPECT_EQ(r->frameNumber, 0);
        EXPECT_EQ(r->carrierCycles, 0);
    }
    context.analysisTable()[655360].duration = 1;  // in bounds for the sanitizer
    // Two contexts never share tables.
    TAnalysisContext other{boxes, clock, clock};
    EXPECT_NE(other.captureTable(), context.captureTable());
    EXPECT_NE(other.analysisTable(), context.analysisTable());
}

}  // namespace
