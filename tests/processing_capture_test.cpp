// The capture: scripted reader streams on a fake serial port, and whole key presses through the in-process
// virtual reader board, all on a simulated clock.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_Assert.h"
#include "Code/SPX_CaptureViews.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_processing.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/SignalFiles.h"
#include "virtualboard/VirtualSerialPort.h"

namespace {

using spectrel::TAnalysisContext;
using spectrel::TIntervalRecord;
using spectrel::TReaderLink;
using spectrel::platform::MessageKind;
using spectrel::testing::FakeSerialPort;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;
using spectrel::testing::TimedByte;

constexpr std::uint32_t kCounterMask = 0xFFFFFF;

// A reader stream written record by record. Times are board counter readings (0.5 us per count); the
// helpers that take microseconds move a running counter on.
class Stream {
public:
    explicit Stream(std::uint32_t counter = 0x100000) : counter_(counter) {}

    Stream& startAt(std::uint32_t count) {
        count &= kCounterMask;
        return bytes({0x20, std::uint8_t(count >> 16), std::uint8_t(count >> 8), std::uint8_t(count)});
    }
    Stream& endAt(std::uint32_t count, int cycles) {
        count &= kCounterMask;
        return bytes({0x21, std::uint8_t(count >> 16), std::uint8_t(count >> 8), std::uint8_t(count),
                      std::uint8_t(cycles >> 8), std::uint8_t(cycles)});
    }
    // A burst of `us` at the running counter: its start and its end record.
    Stream& mark(double us, int cycles = 22) {
        startAt(counter_);
        counter_ += Counts(us);
        return endAt(counter_, cycles);
    }
    Stream& space(double us) {
        counter_ += Counts(us);
        return *this;
    }
    // A frame of `marks` bursts of 560 us with pauses of 560 us, followed by a gap of `gapUs`.
    Stream& frame(int marks, double gapUs = 40000) {
        for (int k = 0; k < marks; ++k) {
            mark(560);
            space(k + 1 < marks ? 560 : gapUs);
        }
        return *this;
    }
    Stream& endOfData() { return bytes({0x00}); }
    Stream& bytes(std::initializer_list<std::uint8_t> values) {
        data.insert(data.end(), values);
        return *this;
    }
    std::uint32_t counter() const { return counter_; }
    void setCounter(std::uint32_t counter) { counter_ = counter; }

    static std::uint32_t Counts(double us) { return static_cast<std::uint32_t>(std::lround(2 * us)); }

    std::vector<std::uint8_t> data;

private:
    std::uint32_t counter_;
};

// The records of a table as text: "+560:22" a pulse with its cycles, "-560" a pause inside a frame, "=40000" a
// pause with frame number -1 (a gap or the closing entry).
std::string TableText(const TIntervalRecord* table, int from, int to) {
    std::string text;
    char item[64];
    for (int k = from; k < to; ++k) {
        const TIntervalRecord& r = table[k];
        if (r.isPulse) {
            std::snprintf(item, sizeof item, "+%.10g:%d", r.duration, r.carrierCycles);
        } else {
            std::snprintf(item, sizeof item, "%c%.10g", r.frameNumber < 0 ? '=' : '-', r.duration);
        }
        if (!text.empty()) text += ' ';
        text += item;
    }
    return text;
}

class RecordingProgressBar : public spectrel::TCaptureProgressBar {
public:
    void setRange(int minimum, int maximum) override {
        calls.push_back("range " + std::to_string(minimum) + ".." + std::to_string(maximum));
    }
    void setPosition(int position) override {
        position_ = position;
        calls.push_back(std::to_string(position));
    }
    int position() const override { return position_; }
    void redraw() override { calls.push_back("redraw"); }

    std::vector<std::string> calls;

private:
    int position_ = 0;
};

class RecordingDisplayList : public spectrel::TCaptureDisplayList {
public:
    void restoreNormalColour() override { ++restored; }
    int restored = 0;
};

// --- scripted streams

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.OpenReaderPort().ok); }

    // Captures `stream`: the board answers every reset with 0x00 and the start command with 0xFF and the stream.
    int capture(const Stream& stream, int record = 0, int button = 0, spectrel::TCaptureProgressBar* bar = nullptr,
                spectrel::TCaptureDisplayList* list = nullptr) {
        std::vector<TimedByte> reply{{0xFF, 1}};
        for (std::uint8_t b : stream.data) reply.push_back({b, 2});
        serial.setResponder([reply, this](std::uint8_t written) -> std::vector<TimedByte> {
            if (written == 0x00) return {{0x00, 1}};
            if (written == 0x18 && acknowledge) return reply;
            return {};
        });
        begin = context.recordCount;
        return spectrel::Capture(context, link, record, button, bar, list);
    }
    std::string table() const { return TableText(context.captureTable(), begin, context.recordCount); }
    const TIntervalRecord& at(int k) const { return context.captureTable()[begin + k]; }

    SimulatedClock clock;
    FakeSerialPort serial{clock};
    ScriptedMessageBoxes boxes;
    TReaderLink link{serial, clock, clock, boxes};
    TAnalysisContext context{boxes, clock, clock};
    bool acknowledge = true;
    int begin = 0;
};

TEST_F(CaptureTest, OneFrameBecomesPulsesAndPausesWithTheirFrameAndPosition) {
    Stream s;
    s.mark(9000, 343).space(4500).mark(560, 22).space(1690).mark(560, 21).endOfData();
    EXPECT_EQ(capture(s, 2, 1), 1);
    // The opening burst-start record is dropped; the closing entry ends the capture.
    EXPECT_EQ(table(), "+9000:343 -4500 +560:22 -1690 +560:21 =0");
    const double times[] = {0, 4500, 5060, 6750, 7310, 7310};
    for (int k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(at(k).time, times[k] + 9000) << k;
        EXPECT_EQ(at(k).recordNumber, 2);
        EXPECT_EQ(at(k).buttonNumber, 1);
        EXPECT_EQ(at(k).indexInFrame, k + 1) << k;
        EXPECT_EQ(at(k).frameNumber, k < 5 ? 0 : -1) << k;
    }
    EXPECT_TRUE(boxes.shown().empty());
    // The board was reset before the start and after the end of data.
    EXPECT_EQ(serial.writtenBytes(), (std::vector<std::uint8_t>{0x00, 0x18, 0x00}));
}

TEST_F(CaptureTest, AStreamThatBeginsWithABurstEndKeepsItWithoutCycles) {
    Stream s(0x200000);
    s.endAt(s.counter(), 40).space(900).mark(600, 23).endOfData();
    EXPECT_EQ(capture(s), 1);
    EXPECT_EQ(table(), "+0:0 -900 +600:23 =0");
    EXPECT_EQ(at(0).indexInFrame, 0);
}

TEST_F(CaptureTest, CapturesAppendAtTheCountTheCallerSet) {
    context.recordCount = 3;
    context.captureTable()[2].duration = 1234;
    Stream s;
    s.mark(600).space(700).mark(600).endOfData();
    EXPECT_EQ(capture(s, 1, 0), 1);
    EXPECT_EQ(begin, 3);
    EXPECT_EQ(table(), "+600:22 -700 +600:22 =0");
    EXPECT_EQ(at(0).recordNumber, 1);
    EXPECT_DOUBLE_EQ(context.captureTable()[2].duration, 1234);
}

// A pause splits the frame only when it is longer than the minimum gap (20 000 counts by default).
struct GapCase {
    std::string name;
    std::uint32_t pauseCounts;
    int gapIndex;  // minimum gap choice
    int frames;
    std::string table;
};

class FrameSplit : public CaptureTest, public ::testing::WithParamInterface<GapCase> {};

TEST_P(FrameSplit, AtTheMinimumGap) {
    ASSERT_TRUE(context.setMinimumGapIndex(GetParam().gapIndex));
    Stream s;
    s.mark(560);
    s.setCounter(s.counter() + GetParam().pauseCounts);
    s.mark(560).endOfData();
    EXPECT_EQ(capture(s), GetParam().frames);
    EXPECT_EQ(table(), GetParam().table);
    if (GetParam().frames == 2) {
        EXPECT_EQ(at(1).indexInFrame, 0);
        EXPECT_EQ(at(2).frameNumber, 1);
        EXPECT_EQ(at(2).indexInFrame, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Capture, FrameSplit,
                         ::testing::Values(GapCase{"EqualDoesNotSplit", 20000, 1, 1, "+560:22 -10000 +560:22 =0"},
                                           GapCase{"OneCountMoreSplits", 20001, 1, 2, "+560:22 =10000.5 +560:22 =0"},
                                           GapCase{"FiveMsChoice", 10001, 0, 2, "+560:22 =5000.5 +560:22 =0"},
                                           GapCase{"HundredMsChoice", 200000, 3, 1, "+560:22 -100000 +560:22 =0"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, TheFirstRecordNeverRaisesTheFrameCount) {
    // The board's counter has run for seconds before the first burst; only real gaps count.
    Stream s(0xF00000);
    s.mark(560).space(30000).mark(560).endOfData();
    EXPECT_EQ(capture(s), 2);
    EXPECT_EQ(at(0).frameNumber, 0);
    EXPECT_EQ(table(), "+560:22 =30000 +560:22 =0");
}

struct GlitchCase {
    std::string name;
    double pauseUs;
    std::string table;
};

class Glitch : public CaptureTest, public ::testing::WithParamInterface<GlitchCase> {};

TEST_P(Glitch, PausesBelow50UsAreDropped) {
    Stream s;
    s.mark(560).space(800).mark(560).space(GetParam().pauseUs).mark(560).endOfData();
    EXPECT_EQ(capture(s), 1);
    EXPECT_EQ(table(), GetParam().table);
    // The position in the frame still counts the dropped record.
    EXPECT_EQ(at(context.recordCount - begin - 1).indexInFrame, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Capture, Glitch,
    ::testing::Values(
        // Two pulses in a row; the second one's duration runs from the end of the burst before the glitch.
        GlitchCase{"Dropped", 49.5, "+560:22 -800 +560:22 +609.5:22 =0"},
        GlitchCase{"KeptAt50Us", 50, "+560:22 -800 +560:22 -50 +560:22 =0"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, ASecondRecordOfTheSameFamilyIsIgnored) {
    Stream s;
    s.mark(560);
    s.startAt(s.counter() + 1000);  // 500 us after the burst end
    s.startAt(s.counter() + 3000);  // out of sequence: ignored
    s.endAt(s.counter() + 2000, 30);
    s.endAt(s.counter() + 2600, 31);  // ignored as well
    s.endOfData();
    EXPECT_EQ(capture(s), 1);
    EXPECT_EQ(table(), "+560:22 -500 +500:30 =0");
}

// Timestamps below the previous record's: 4096 counts are added, at most twice; beyond that the counter wrapped.
struct SlipCase {
    std::string name;
    std::int64_t stepCounts;  // from the burst end to the next burst start, as the timestamps say
    int frames;
    std::string table;
    // The counter wraps inside a first burst, which is followed by a 5 ms pause.
    bool afterAWrap = false;
};

class TimestampSlip : public CaptureTest, public ::testing::WithParamInterface<SlipCase> {};

TEST_P(TimestampSlip, IsMendedByAddingCounts) {
    Stream s(GetParam().afterAWrap ? 0xFFFF00 : 0x100000);
    if (GetParam().afterAWrap) s.mark(560).space(5000);
    s.mark(560);
    const std::uint32_t next = static_cast<std::uint32_t>(s.counter() + GetParam().stepCounts);
    s.setCounter(next);
    s.mark(560).endOfData();
    EXPECT_EQ(capture(s), GetParam().frames);
    EXPECT_EQ(table(), GetParam().table);
    // Times run on from the mended duration.
    for (int k = 1; k + 1 < context.recordCount - begin; ++k)
        EXPECT_DOUBLE_EQ(at(k).time, at(k - 1).time + at(k).duration) << k;
}

INSTANTIATE_TEST_SUITE_P(Capture, TimestampSlip,
                         ::testing::Values(SlipCase{"None", 1096, 1, "+560:22 -548 +560:22 =0"},
                                           SlipCase{"Once", 1096 - 4096, 1, "+560:22 -548 +560:22 =0"},
                                           SlipCase{"Twice", 3192 - 8192, 1, "+560:22 -1596 +560:22 =0"},
                                           // A third slip is not mended by 4096 counts: the difference is taken across
                                           // a counter wrap instead, (16 777 216 - 9000) / 2 us, a gap.
                                           SlipCase{"NotThrice", -9000, 2, "+560:22 =8384108 +560:22 =0"},
                                           // After a counter wrap the slips are mended just the same.
                                           SlipCase{"OnceAfterAWrap", 1096 - 4096, 1,
                                                    "+560:22 -5000 +560:22 -548 +560:22 =0", true},
                                           SlipCase{"TwiceAfterAWrap", 3192 - 8192, 1,
                                                    "+560:22 -5000 +560:22 -1596 +560:22 =0", true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, AnIntervalAcrossTheCounterWrapKeepsItsLength) {
    Stream s(0xFFF000);
    s.mark(560).space(1690).mark(560).space(560).mark(560).endOfData();
    ASSERT_GT(s.counter(), kCounterMask);  // the stream ran past the wrap
    EXPECT_EQ(capture(s), 1);
    EXPECT_EQ(table(), "+560:22 -1690 +560:22 -560 +560:22 =0");
    EXPECT_DOUBLE_EQ(at(4).time, 560 + 1690 + 560 + 560 + 560);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CaptureTest, ACaptureLongerThanTwoCounterPeriodsKeepsItsTimes) {
    // Frames one second apart for 20 s: the counter wraps twice.
    Stream s(0x800000);
    for (int k = 0; k < 21; ++k) s.mark(560).space(1'000'000);
    EXPECT_EQ(capture(s), 20);
    for (int k = 1; k < context.recordCount - begin; ++k) {
        EXPECT_DOUBLE_EQ(at(k).duration, k % 2 ? 1'000'000 : 560) << k;
        EXPECT_DOUBLE_EQ(at(k).time, at(k - 1).time + at(k).duration) << k;
    }
}

// --- stop rules

TEST_F(CaptureTest, EndOfDataCountsTheFrameInProgress) {
    Stream s;
    s.frame(4, 30000).frame(4, 30000).frame(3).endOfData();
    EXPECT_EQ(capture(s), 3);
    const TIntervalRecord& closing = at(context.recordCount - begin - 1);
    EXPECT_EQ(closing.frameNumber, -1);
    EXPECT_DOUBLE_EQ(closing.duration, 0);
    EXPECT_FALSE(closing.isPulse);
    EXPECT_EQ(closing.indexInFrame, 6);
    // The closing entry sits at the time of the last stored record.
    EXPECT_DOUBLE_EQ(closing.time, at(context.recordCount - begin - 2).time);
}

TEST_F(CaptureTest, SilenceEndsTheCapture7500MsAfterTheLastRecordWithoutCountingTheFrame) {
    Stream s;
    s.frame(4);
    EXPECT_EQ(capture(s), 0);
    const std::int64_t ended = clock.nowMs();
    EXPECT_EQ(table(), "+560:22 -560 +560:22 -560 +560:22 -560 +560:22");
    // The stream arrived 2 ms after the start command; the capture gave up 7.5 s later (a read lasts 170 ms).
    const std::int64_t written = serial.written()[1].atMs;
    EXPECT_GE(ended - written, 7500);
    EXPECT_LE(ended - written, 7500 + 2 * 170 + 10);
    EXPECT_TRUE(boxes.shown().empty());
}

// A board whose device goes away (a cable pulled) sends nothing more: the capture fails as soon as the port says
// so, keeping what came before, instead of waiting out the silence of a board that is still there.
TEST_F(CaptureTest, ABoardWhoseDeviceGoesAwayFailsTheCaptureAtOnce) {
    Stream s;
    s.frame(4);
    serial.goAwayAt(clock.nowMs() + 50);
    const std::int64_t started = clock.nowMs();
    EXPECT_EQ(capture(s), -1);
    EXPECT_LT(clock.nowMs() - started, 100);
    EXPECT_EQ(table(), "+560:22 -560 +560:22 -560 +560:22 -560 +560:22");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(link.ReaderPortFailure(), "Input/output error");
    EXPECT_EQ(link.ReaderLostMessage(), "Lost the connection to the reader on " + link.ReaderPortName() +
                                            ": Input/output error");
}

TEST_F(CaptureTest, RecordsAfterTheIdlePumpGiveTheWhole7500MsAgain) {
    // A frame, then 4 s of silence (the idle pump has run), then another frame and silence.
    Stream first;
    first.frame(2, 30000);
    Stream second(first.counter());
    second.frame(2);
    std::vector<TimedByte> reply{{0xFF, 1}};
    for (std::uint8_t b : first.data) reply.push_back({b, 2});
    for (std::uint8_t b : second.data) reply.push_back({b, 4000});
    serial.setResponder([reply](std::uint8_t written) -> std::vector<TimedByte> {
        if (written == 0x00) return {{0x00, 1}};
        if (written == 0x18) return reply;
        return {};
    });
    EXPECT_EQ(spectrel::Capture(context, link, 0, 0, nullptr, nullptr), 1);
    EXPECT_EQ(table(), "+560:22 -560 +560:22 =30000 +560:22 -560 +560:22");
    const std::int64_t lastRecord = serial.written()[1].atMs + 4000;
    EXPECT_GE(clock.nowMs() - lastRecord, 7500);
    EXPECT_LE(clock.nowMs() - lastRecord, 7500 + 2 * 170 + 10);
}

TEST_F(CaptureTest, TwentyFramesStopTheCaptureAtTheGapOfTheTwentyFirst) {
    Stream s;
    for (int k = 0; k < 25; ++k) s.frame(3, 30000);
    s.endOfData();
    EXPECT_EQ(capture(s), 20);
    const TIntervalRecord& last = at(context.recordCount - begin - 1);
    EXPECT_EQ(last.frameNumber, -1);
    EXPECT_DOUBLE_EQ(last.duration, 30000);
    EXPECT_EQ(context.recordCount - begin, 20 * 6);
}

TEST_F(CaptureTest, AFullTableStopsTheCapture) {
    context.recordCount = 65536 - 7;
    Stream s;
    s.frame(50).endOfData();
    EXPECT_EQ(capture(s), 0);
    EXPECT_EQ(context.recordCount, 65536);
}

TEST_F(CaptureTest, TheProgressBarStepsOncePerFrameAndEndsFullThenEmpty) {
    RecordingProgressBar bar;
    Stream s;
    s.frame(2, 30000).frame(2, 30000).frame(2).endOfData();
    EXPECT_EQ(capture(s, 0, 0, &bar), 3);
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"range 0..50", "1", "2", "3", "100", "redraw", "0"}));
}

// --- failures

struct FailureCase {
    std::string name;
    std::vector<std::uint8_t> stream;
    std::vector<std::string> messages;
    int storedRecords;
    bool colourRestored;
    bool boardReset;  // the capture resets the board itself
};

class CaptureFailure : public CaptureTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CaptureFailure, ReturnsMinusOneWithItsMessage) {
    RecordingDisplayList list;
    RecordingProgressBar bar;
    Stream s;
    s.data = GetParam().stream;
    EXPECT_EQ(capture(s, 0, 0, &bar, &list), -1);
    EXPECT_EQ(boxes.texts(), GetParam().messages);
    for (const auto& shown : boxes.shown()) {
        EXPECT_EQ(shown.kind, MessageKind::Error);
        EXPECT_EQ(shown.buttons, spectrel::platform::MessageButtons{spectrel::platform::MessageButton::Ok});
    }
    EXPECT_EQ(context.recordCount, GetParam().storedRecords);
    EXPECT_EQ(list.restored, GetParam().colourRestored ? 1 : 0);
    // The bar is emptied whatever the outcome.
    EXPECT_EQ(bar.calls.back(), "0");
    EXPECT_EQ(serial.writtenBytes().back(), GetParam().boardReset ? 0x00 : 0x18);
}

std::vector<std::uint8_t> Bytes(const Stream& s) { return s.data; }

INSTANTIATE_TEST_SUITE_P(
    Capture, CaptureFailure,
    ::testing::Values(
        FailureCase{"ErraticCode",
                    Bytes(Stream().mark(560).space(560).bytes({0x33, 1, 2, 3})),
                    {"Erratic reply from PIC (value 33)"},
                    1,
                    true,
                    true},
        FailureCase{"EndOfDataFirst", {0x00}, {"Erratic reply from PIC (value 00)"}, 0, true, true},
        FailureCase{"ShortPauseInsideAFrame",
                    Bytes(Stream().mark(560).space(9.5).mark(560)),
                    {"Data corrupted"},
                    1,
                    false,
                    true},
        FailureCase{"ShortPulseInsideAFrame",
                    Bytes(Stream().mark(560).space(560).mark(9.5)),
                    {"Data corrupted"},
                    2,
                    false,
                    true},
        // A record whose last byte never comes: nothing shown, the record not stored.
        FailureCase{"MissingByte", Bytes(Stream().mark(560).space(560).bytes({0x21, 0x10, 0x05})), {}, 1, false, false},
        // A burst longer than 50 ms is stored and fails the capture.
        FailureCase{"OverLongBurst", Bytes(Stream().mark(50000.5).space(560).mark(560)), {}, 1, false, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, ABurstOf50MsIsNotTooLong) {
    Stream s;
    s.mark(50000).space(560).mark(560).endOfData();
    EXPECT_EQ(capture(s), 1);
}

TEST_F(CaptureTest, EndOfDataAfterOnlyAGlitchEndsNormally) {
    Stream s;
    s.startAt(5).endOfData();
    EXPECT_EQ(capture(s), 1);
    EXPECT_EQ(table(), "=0");
}

TEST_F(CaptureTest, AMissingAcknowledgeFailsWithoutReading) {
    acknowledge = false;
    Stream s;
    s.frame(3).endOfData();
    EXPECT_EQ(capture(s), -1);
    EXPECT_EQ(context.recordCount, 0);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CaptureTest, AStartCommandThatCannotBeSentFails) {
    serial.setWriteFails(true);
    Stream s;
    s.frame(3).endOfData();
    EXPECT_EQ(capture(s), -1);
    EXPECT_TRUE(boxes.shown().empty());
}

// --- dumps and programming errors

class RecordingDumps : public spectrel::TAnalysisDumps {
public:
    void DumpReaderStream(TReaderLink& reader) override {
        std::uint8_t byte = 0;
        while (reader.ReadReaderByte(byte)) rest.push_back(byte);
        calls.push_back("stream");
    }
    void DumpCaptureTable(const TAnalysisContext& context) override {
        calls.push_back("capture " + std::to_string(context.recordCount));
    }
    void DumpAnalysisTable(const TAnalysisContext&) override { calls.push_back("analysis"); }
    void DumpVocabulary(const TAnalysisContext&) override { calls.push_back("vocabulary"); }
    void DumpFramesBuffer(const TAnalysisContext&) override { calls.push_back("frames"); }

    std::vector<std::string> calls;
    std::vector<std::uint8_t> rest;
};

TEST_F(CaptureTest, TheCaptureTableIsDumpedAfterEveryCaptureAndTheStreamAfterCorruption) {
    RecordingDumps dumps;
    context.dumps = &dumps;
    Stream good;
    good.frame(3).endOfData();
    EXPECT_EQ(capture(good), 1);
    EXPECT_EQ(dumps.calls, (std::vector<std::string>{"capture 6"}));

    dumps.calls.clear();
    context.recordCount = 0;
    Stream corrupted;
    corrupted.mark(560).space(5).mark(560).mark(600).endOfData();
    EXPECT_EQ(capture(corrupted), -1);
    EXPECT_EQ(dumps.calls, (std::vector<std::string>{"stream", "capture 1"}));
    // The rest of the stream went to the dump: the second burst's end record onwards.
    EXPECT_EQ(dumps.rest.size(), 6u + 4u + 6u + 1u);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Data corrupted"}));

    dumps.calls.clear();
    acknowledge = false;
    EXPECT_EQ(capture(good), -1);
    EXPECT_EQ(dumps.calls, (std::vector<std::string>{"capture 1"}));
}

TEST_F(CaptureTest, AppendingBeyondTheTableIsAProgrammingError) {
    context.recordCount = 65536 + 1;
    EXPECT_THROW(capture(Stream().frame(1).endOfData()), spectrel::EAssertionFailed);
}

// --- whole key presses through the virtual board

namespace vb = spectrel::virtualboard;

class BoardCapture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(link.SetReaderPortName(vb::kVirtualPortName).ok);
        ASSERT_TRUE(link.OpenReaderPort().ok);
    }

    int press(const vb::IrSignal& signal, double holdUs = 250'000) {
        board.queuePress({signal, holdUs});
        begin = context.recordCount;
        return spectrel::Capture(context, link, 0, 0, nullptr, nullptr);
    }

    // Every interval as the board reported it, from its counter readings, in the text form of TableText.
    std::vector<std::string> expectedRecords() const {
        std::vector<std::string> records;
        char item[64];
        const auto& bursts = board.lastPress();
        const double gap = context.parameters().minimumGap();
        for (std::size_t k = 0; k < bursts.size(); ++k) {
            if (k > 0) {
                const std::uint32_t pause = (bursts[k].startCount - bursts[k - 1].endCount) & kCounterMask;
                std::snprintf(item, sizeof item, "%c%.10g", pause > gap ? '=' : '-', pause / 2.0);
                records.push_back(item);
            }
            const std::uint32_t pulse = (bursts[k].endCount - bursts[k].startCount) & kCounterMask;
            std::snprintf(item, sizeof item, "+%.10g:%d", pulse / 2.0, bursts[k].cycles);
            records.push_back(item);
        }
        return records;
    }
    std::string expectedTable() const {
        std::string text;
        for (const std::string& record : expectedRecords()) text += record + " ";
        return text + "=0";
    }

    SimulatedClock clock;
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
    ScriptedMessageBoxes boxes;
    TReaderLink link{ports, clock, clock, boxes};
    TAnalysisContext context{boxes, clock, clock};
    int begin = 0;
};

struct PressCase {
    std::string name;
    vb::IrSignal signal;
    int frames;
    double carrier;  // as MeasureCarrier finds it
};

class BoardPress : public BoardCapture, public ::testing::WithParamInterface<PressCase> {};

TEST_P(BoardPress, StoresEveryBurstAndPauseTheBoardReported) {
    EXPECT_EQ(press(GetParam().signal), GetParam().frames);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(TableText(context.captureTable(), begin, context.recordCount), expectedTable());
    spectrel::CopyForAnalysis(context);
    EXPECT_DOUBLE_EQ(spectrel::MeasureCarrier(context), GetParam().carrier);
}

INSTANTIATE_TEST_SUITE_P(
    Capture, BoardPress,
    ::testing::Values(PressCase{"Nec", vb::necSignal(0x04, 0x08), 3, 26.5},
                      // 36 kHz (27.8 us) to the nearest half microsecond.
                      PressCase{"Rc5", vb::rc5Signal(0x05, 0x23, false), 3, 28.0},
                      // 40 kHz: the 2400 us header counts 96 cycles, the last one 2375 us after the first.
                      PressCase{"Sirc12", vb::sirc12Signal(0x01, 0x15), 6, 25.0},
                      PressCase{"Flash", vb::flashSignal(0x12, 0x34), 5, 0.0}),
    [](const auto& info) { return info.param.name; });

// Every button of the recorded remotes, played by the board: nothing fails, and what is stored is what the
// board reported (up to the 20th frame gap when a press holds more frames).
TEST_F(BoardCapture, RecordedRemotesAreCapturedAsTheBoardReportsThem) {
    const std::filesystem::path folder = SPECTREL_SIGNALS_DIR;
    if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no recorded remotes in " << folder;
    int presses = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (file.path().extension() != ".ir") continue;
        const vb::SignalFileResult read = vb::readSignalFile(file.path().string());
        ASSERT_TRUE(read.ok) << read.message;
        for (const vb::IrSignal& signal : read.signals) {
            SCOPED_TRACE(file.path().filename().string() + " " + signal.name);
            context.recordCount = 0;
            const int frames = press(signal, 0);
            // As the procedures do, reset the board after the capture. A capture stopped at 20 frames leaves
            // the board still sending what it had queued; wait until the line is quiet.
            link.ResetReader();
            for (std::uint8_t byte = 0; link.ReadReaderByte(byte);) {
            }
            ASSERT_GE(frames, 0);
            ASSERT_TRUE(boxes.shown().empty()) << boxes.texts().front();
            const std::vector<std::string> expected = expectedRecords();
            std::istringstream stored(TableText(context.captureTable(), 0, context.recordCount));
            std::size_t k = 0;
            for (std::string record; stored >> record; ++k) {
                if (k == expected.size()) {
                    EXPECT_EQ(record, "=0") << "the closing entry";
                } else {
                    ASSERT_LT(k, expected.size());
                    ASSERT_EQ(record, expected[k]) << "record " << k;
                }
            }
            EXPECT_TRUE(frames == 20 || k == expected.size() + 1) << k << " of " << expected.size();
            ++presses;
        }
    }
    EXPECT_GT(presses, 100);
}

TEST_F(BoardCapture, APressAcrossTheCounterWrapGivesTheSameTable) {
    const vb::IrSignal signal = vb::necSignal(0x10, 0x20);
    ASSERT_EQ(press(signal), 3);
    const std::string plain = TableText(context.captureTable(), begin, context.recordCount);

    // Start the counter so that it wraps 130 ms into the next capture, in the middle of the first frame.
    board.config().counterStart =
        (vb::BoardEngine::kCounterModulus - board.counterAt(clock.nowUs() + 130'000) + board.config().counterStart) &
        kCounterMask;
    ASSERT_EQ(press(signal), 3);
    EXPECT_EQ(TableText(context.captureTable(), begin, context.recordCount), plain);
    const auto& bursts = board.lastPress();
    EXPECT_GT(bursts.front().startCount, bursts.back().endCount);  // the wrap really happened
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(BoardCapture, ATimestampReportedLowAfterTheCounterWrapIsMended) {
    const vb::IrSignal signal = vb::necSignal(0x10, 0x20);
    ASSERT_EQ(press(signal), 3);
    const std::string plain = TableText(context.captureTable(), begin, context.recordCount);

    // The counter wraps 130 ms into the capture (30 ms into the first frame); the start of burst 20, later in
    // that frame, is reported 4096 counts low.
    board.config().counterStart =
        (vb::BoardEngine::kCounterModulus - board.counterAt(clock.nowUs() + 130'000) + board.config().counterStart) &
        kCounterMask;
    board.config().faults.missedCarryRecord = 2 * 20;
    ASSERT_EQ(press(signal), 3);
    EXPECT_EQ(TableText(context.captureTable(), begin, context.recordCount), plain);
    const auto& bursts = board.lastPress();
    EXPECT_LT(bursts[20].startCount, bursts.front().startCount);  // burst 20 came after the wrap
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(BoardCapture, TwoPressesFollowEachOtherInTheTable) {
    ASSERT_EQ(press(vb::necSignal(0x04, 0x08)), 3);
    const int first = context.recordCount;
    board.queuePress({vb::necSignal(0x04, 0x09), 250'000});
    EXPECT_EQ(spectrel::Capture(context, link, 1, 1, nullptr, nullptr), 3);
    EXPECT_GT(context.recordCount, first);
    EXPECT_EQ(context.captureTable()[first].recordNumber, 1);
    EXPECT_EQ(context.captureTable()[first].buttonNumber, 1);
    // Its times start again from its own first record (the burst start that opens it is not kept).
    EXPECT_DOUBLE_EQ(context.captureTable()[first].time, context.captureTable()[first].duration);
}

TEST_F(BoardCapture, BoardFaultsFailTheCapture) {
    board.config().faults.erraticBeforeRecord = 5;
    EXPECT_EQ(press(vb::necSignal(0x04, 0x08)), -1);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Erratic reply from PIC (value 33)"}));

    board.config().faults = {};
    board.config().faults.ignoredCommands = {0x18};
    EXPECT_EQ(press(vb::necSignal(0x04, 0x08)), -1);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

}  // namespace
