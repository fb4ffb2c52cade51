// The capture view's model on a full capture table (65 536 records): building the picture after a capture, and
// writing it as SVG (spectrel-cli --picture). The picture is built on the user-interface thread after every
// capture while the view is open, so it has to stay inside one display frame (16 ms).

#include <benchmark/benchmark.h>

#include "Code/SPX_CapturePicture.h"
#include "bench/capture_picture_table.h"

namespace spectrel {
namespace {

void BM_BuildCapturePicture(benchmark::State& state) {
    const auto b = bench::FullAnalysedTable();
    for (auto _ : state) {
        TCapturePicture picture = BuildCapturePicture(b->context, b->current);
        benchmark::DoNotOptimize(picture.intervalCount);
    }
    state.counters["intervals"] = BuildCapturePicture(b->context, b->current).intervalCount;
}
BENCHMARK(BM_BuildCapturePicture)->Unit(benchmark::kMillisecond);

void BM_CapturePictureSvg(benchmark::State& state) {
    const auto b = bench::FullAnalysedTable();
    const TCapturePicture picture = BuildCapturePicture(b->context, b->current);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string svg = SvgOfCapturePicture(picture);
        bytes = svg.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CapturePictureSvg)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace spectrel
