// The vocabulary sweep over a small table whose intervals lie far apart: one pulse of 1.07e9 us in a table of
// seven records, so with carrier (windows of 52.6 us) twenty million windows lie between the short intervals and
// the long one. The sweep's cost follows the table, not the durations: this stays far below a display frame.
//
// `straightforward_windows` shows how many windows a sweep that walks every window would visit.

#include <benchmark/benchmark.h>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"

namespace spectrel {
namespace {

struct SweepContext {
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

void BM_SweepWithOneFarPulse(benchmark::State& state) {
    auto b = std::make_unique<SweepContext>();
    const double longPulse = static_cast<double>(state.range(0));
    test::TableWriter writer(b->context);
    writer.begin(0, 0);
    writer.pulse(1000, 26);
    writer.pulse(560, 15);
    writer.pause(560);
    writer.pulse(560, 15);
    writer.pause(1690);
    writer.pulse(longPulse, 20);
    writer.close();
    CopyForAnalysis(b->context);
    b->context.working.carrier_period = 26.3;
    for (auto _ : state) {
        SweepWindows(b->context);
        MergeWindows(b->context);
        benchmark::DoNotOptimize(b->context.working.vocabulary_count);
    }
    if (b->context.working.vocabulary_count != 3) state.SkipWithError("the long pulse is not an element of its own");
    state.counters["records"] = b->context.recordCount;
    state.counters["straightforward_windows"] = longPulse / (2 * 26.3);
}

BENCHMARK(BM_SweepWithOneFarPulse)->Arg(1'000'000)->Arg(1'070'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace spectrel
