// One paint of the capture view's picture on a full capture table (65 536 records), zoomed out to show the
// whole time axis and zoomed in to the most detail, headless. A paint runs on the user-interface thread: it has
// to stay inside one display frame (16 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "Code/SPX_CaptureView.h"
#include "bench/capture_picture_table.h"

namespace spectrel {
namespace {

void PaintBench(benchmark::State& state, bool zoomedIn) {
    const auto b = bench::FullAnalysedTable();
    TCapturePictureWidget widget;
    widget.resize(1200, 800);
    widget.SetPicture(BuildCapturePicture(b->context, b->current));
    widget.Fit();
    if (zoomedIn) {
        for (int i = 0; i < 60; ++i) widget.ZoomAt(600, 1.25);
    }
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        widget.render(&painter);
        painter.end();
        benchmark::ClobberMemory();
    }
    state.counters["us_per_px"] = widget.MicrosecondsPerPixel();
}

void BM_PaintCaptureViewFit(benchmark::State& state) { PaintBench(state, false); }
void BM_PaintCaptureViewZoomedIn(benchmark::State& state) { PaintBench(state, true); }
BENCHMARK(BM_PaintCaptureViewFit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintCaptureViewZoomedIn)->Unit(benchmark::kMillisecond);

void BM_RefreshAndPaintCaptureView(benchmark::State& state) {
    const auto b = bench::FullAnalysedTable();
    TCapturePictureWidget widget;
    widget.resize(1200, 800);
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget.SetPicture(BuildCapturePicture(b->context, b->current));
        QPainter painter(&image);
        widget.render(&painter);
    }
}
BENCHMARK(BM_RefreshAndPaintCaptureView)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace spectrel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
