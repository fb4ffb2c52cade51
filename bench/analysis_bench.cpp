// The analysis run on a full capture table (65 536 records), with carrier and without: the whole run as
// protocol learning makes it after a press (AnalyseProtocol, then the frames buffer), next to the same run with
// the straightforward window sweep that rescans the table for every window.
//
// Each row shows fast_ms (the run as built), straightforward_ms (the same steps with the rescanning sweep) and
// speedup, and the two sweeps alone (sweep_fast_ms, sweep_straightforward_ms), in processor time of the
// benchmark's thread. The run goes on the user-interface thread: it has to stay well
// inside one display frame.

#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <memory>
#include <random>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"

namespace spectrel {
namespace {

constexpr int kFullTable = kCaptureTableLimit;

struct BenchContext {
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
};

// NEC-like presses at 38 kHz with jittered bits, three records of twenty frames, and one 45 ms burst that
// stretches the sweep to its longest range with carrier (windows of two carrier periods).
std::unique_ptr<BenchContext> CarrierTable() {
    auto b = std::make_unique<BenchContext>();
    std::mt19937 random(38000);
    std::uniform_real_distribution<double> jitter(-40, 40);
    std::bernoulli_distribution one(0.5);
    test::TableWriter writer(b->context);
    auto cycles = [](double mark) { return static_cast<int>(std::ceil(mark * 38000 / 1e6)); };
    const int perRecord = kFullTable / 3;
    for (int record = 0; record < 3; ++record) {
        writer.begin(record, record / 2);
        const int end = record == 2 ? kFullTable : (record + 1) * perRecord;
        for (int frame = 0; frame < 20; ++frame) {
            if (frame > 0) writer.pause(40000);
            const int frameEnd = b->context.recordCount + (end - b->context.recordCount) / (20 - frame);
            writer.pulse(9050, cycles(9000));
            writer.pause(4450);
            // Bits up to the frame's share of the table, ending with a pulse.
            for (bool pulse = true; b->context.recordCount < frameEnd; pulse = !pulse) {
                if (pulse) {
                    const bool longest = record == 1 && frame == 3 && b->context.recordCount + 3 >= frameEnd;
                    const double mark = longest ? 45000 : 562.5 + jitter(random);
                    writer.pulse(mark + 50, cycles(mark));
                } else {
                    writer.pause((one(random) ? 1687.5 : 562.5) - 50 + jitter(random));
                }
            }
        }
    }
    return b;
}

// A pulsed code without carrier: 60 us flashes, pauses of 120 and 480 us (windows of 37.5 us), and frame pauses
// up to 95 ms with the 100 ms minimum gap: the sweep's narrowest windows over its longest range.
std::unique_ptr<BenchContext> PulsedTable() {
    auto b = std::make_unique<BenchContext>();
    b->context.setMinimumGapIndex(3);  // 100 ms
    std::mt19937 random(1);
    std::uniform_real_distribution<double> jitter(-8, 8);
    std::bernoulli_distribution one(0.5);
    test::TableWriter writer(b->context);
    const int perRecord = kFullTable / 3;
    for (int record = 0; record < 3; ++record) {
        writer.begin(record, record / 2);
        const int end = record == 2 ? kFullTable : (record + 1) * perRecord;
        for (int frame = 0; frame < 20; ++frame) {
            if (frame > 0) writer.pause(150000);
            const int frameEnd = b->context.recordCount + (end - b->context.recordCount) / (20 - frame);
            writer.pulse(110, 1);
            writer.pause(frame == 5 ? 95000 : 2000);
            for (bool pulse = true; b->context.recordCount < frameEnd; pulse = !pulse) {
                if (pulse)
                    writer.pulse(110 + jitter(random), 1);
                else
                    writer.pause((one(random) ? 480 : 120) + jitter(random));
            }
        }
    }
    return b;
}

// The analysis run as built, then the frames buffer as protocol learning refills it.
void FastRun(BenchContext& b) {
    AnalyseProtocol(b.context, b.current);
    FillFramesBuffer(b.context);
}

// The same steps with the straightforward sweep, and the frames buffer filled by scanning the table for
// every frame.
void StraightforwardRun(BenchContext& b) {
    TAnalysisContext& c = b.context;
    CopyForAnalysis(c);
    const double period = MeasureCarrier(c);
    CorrectPulseWidths(c, std::nearbyint(c.readerDelay - period));
    // As the run does: closing entries keep no duration.
    for (int k = 1; k < c.recordCount; ++k) {
        if (!c.analysisTable()[k].isPulse && c.analysisTable()[k].frameNumber < 0 && c.captureTable()[k].duration == 0)
            c.analysisTable()[k].duration = 0;
    }
    SweepWindowsReference(c);
    MergeWindows(c);
    EstimateTick(c);
    SnapTick(c);
    AssignNominals(c);
    ScaleTick(c);
    SnapTick(c);
    AssignNominals(c);
    RemoveDuplicateNominals(c);
    const std::string format = ClassifyFormat(c);
    c.working.frame_rate = -1;
    if (format != "i") MeasureFrameRate(c);
    FormatDescription(c);
    c.framesBuffer.Clear();
    int presses[kIndexedRecords] = {};
    for (int r = 0; r <= 10; ++r) {
        int f = 0;
        int press = 0;
        for (; f <= 100; ++f) {
            const std::string code = FrameCode(c, r, f);
            if (code.empty()) break;
            const int button = c.analysis.lastRecordButton;
            if (f == 0) press = button >= 0 && button < kIndexedRecords ? presses[button]++ : 0;
            c.framesBuffer.Append(code, button, press, f);
        }
        if (f == 0) break;
    }
}

bool SameBuffer(const TFramesBuffer& a, const TFramesBuffer& b) {
    if (a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i) {
        const Tframes_buf& x = a.entries[i];
        const Tframes_buf& y = b.entries[i];
        if (x.code != y.code || x.button_number != y.button_number || x.record_number != y.record_number ||
            x.frame_number != y.frame_number)
            return false;
    }
    return true;
}

bool SameResult(const TWorkingProtocol& a, const TWorkingProtocol& b) {
    if (a.vocabulary_count != b.vocabulary_count || a.tick != b.tick || a.format != b.format ||
        a.data_code != b.data_code || a.frame_rate != b.frame_rate)
        return false;
    for (int k = 0; k < a.vocabulary_count; ++k) {
        if (a.vocabulary[k].nominal != b.vocabulary[k].nominal || a.vocabulary[k].mean != b.vocabulary[k].mean ||
            a.vocabulary[k].members != b.vocabulary[k].members)
            return false;
    }
    return true;
}

// Processor time of this thread, ms: the machine is shared, so wall time says little.
double ThreadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void RunBoth(benchmark::State& state, std::unique_ptr<BenchContext> (*make)()) {
    std::unique_ptr<BenchContext> b = make();
    // The classification reads the frames buffer of the run before, so each run is made twice; the results
    // must be the same.
    StraightforwardRun(*b);
    StraightforwardRun(*b);
    const TWorkingProtocol reference = b->context.working;
    auto referenceBuffer = std::make_unique<TFramesBuffer>(b->context.framesBuffer);
    FastRun(*b);
    FastRun(*b);
    if (!SameResult(b->context.working, reference) || !SameBuffer(b->context.framesBuffer, *referenceBuffer)) {
        state.SkipWithError("the fast run and the straightforward run disagree");
        return;
    }

    std::int64_t runs = 0;
    const double start = ThreadMilliseconds();
    for (auto _ : state) {
        FastRun(*b);
        benchmark::DoNotOptimize(b->context.working.tick);
        ++runs;
    }
    const double fast = (ThreadMilliseconds() - start) / static_cast<double>(runs);

    constexpr int kStraightforwardRuns = 3;
    const double slowStart = ThreadMilliseconds();
    for (int i = 0; i < kStraightforwardRuns; ++i) {
        StraightforwardRun(*b);
        benchmark::DoNotOptimize(b->context.working.tick);
    }
    const double slow = (ThreadMilliseconds() - slowStart) / kStraightforwardRuns;

    state.counters["elements"] = b->context.working.vocabulary_count;
    // The sweep alone, on the table the run left corrected.
    constexpr int kSweeps = 20;
    const double sweepStart = ThreadMilliseconds();
    for (int i = 0; i < kSweeps; ++i) SweepWindows(b->context);
    const double sweepFast = (ThreadMilliseconds() - sweepStart) / kSweeps;
    const double referenceStart = ThreadMilliseconds();
    SweepWindowsReference(b->context);
    const double sweepSlow = ThreadMilliseconds() - referenceStart;

    state.counters["records"] = b->context.recordCount;
    state.counters["sweep_fast_ms"] = sweepFast;
    state.counters["sweep_straightforward_ms"] = sweepSlow;
    state.counters["fast_ms"] = fast;
    state.counters["straightforward_ms"] = slow;
    state.counters["speedup"] = slow / fast;
}

void BM_AnalyseFullTableWithCarrier(benchmark::State& state) { RunBoth(state, CarrierTable); }
void BM_AnalyseFullTableWithoutCarrier(benchmark::State& state) { RunBoth(state, PulsedTable); }

BENCHMARK(BM_AnalyseFullTableWithCarrier)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_AnalyseFullTableWithoutCarrier)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace spectrel
