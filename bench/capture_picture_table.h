#pragma once
// A full capture table (65 536 records) of NEC-like presses at 38 kHz, analysed as protocol learning analyses it:
// three records of twenty frames, the bits jittered. The capture view's model and drawing are measured on it.

#include <cmath>
#include <memory>
#include <random>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"

namespace spectrel::bench {

struct PictureBenchContext {
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
};

inline std::unique_ptr<PictureBenchContext> FullAnalysedTable() {
    auto b = std::make_unique<PictureBenchContext>();
    std::mt19937 random(38000);
    std::uniform_real_distribution<double> jitter(-40, 40);
    std::bernoulli_distribution one(0.5);
    test::TableWriter writer(b->context);
    const auto cycles = [](double mark) { return static_cast<int>(std::ceil(mark * 38000 / 1e6)); };
    const int full = kCaptureTableLimit;
    const int perRecord = full / 3;
    for (int record = 0; record < 3; ++record) {
        writer.begin(record, record / 2);
        const int end = record == 2 ? full : (record + 1) * perRecord;
        for (int frame = 0; frame < 20; ++frame) {
            if (frame > 0) writer.pause(40000);
            const int frameEnd = b->context.recordCount + (end - b->context.recordCount) / (20 - frame);
            writer.pulse(9050, cycles(9000));
            writer.pause(4450);
            for (bool pulse = true; b->context.recordCount < frameEnd; pulse = !pulse) {
                if (pulse) {
                    writer.pulse(562.5 + 50 + jitter(random), cycles(562.5));
                } else {
                    writer.pause((one(random) ? 1687.5 : 562.5) - 50 + jitter(random));
                }
            }
        }
    }
    AnalyseProtocol(b->context, b->current);
    FillFramesBuffer(b->context);
    return b;
}

}  // namespace spectrel::bench
