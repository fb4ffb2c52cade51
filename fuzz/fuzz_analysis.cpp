// The analysis over tables a capture can store (and a dump or an import could hold): any intervals give a
// vocabulary within its bounds and no crash, on one context reused for every input and reset before each.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Code/SPX_processing.h"
#include "fuzz/FuzzInput.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"

using namespace spectrel;

namespace {

struct Rig {
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

Rig& TheRig() {
    static auto rig = std::make_unique<Rig>();
    return *rig;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Rig& rig = TheRig();
    rig.context.Reset();
    rig.boxes.clear();
    TAnalysisContext& c = rig.context;
    if (size < 2) return 0;
    c.setMinimumGapIndex(data[0] % 8);
    c.setClockAdjustmentIndex(data[1] % 8);
    // Then records of five bytes: a flags byte (pulse, new press), a 24-bit duration in 0.1 us, a cycle count.
    test::TableWriter writer(c);
    int record = 0;
    writer.begin(0, 0);
    for (std::size_t i = 2; i + 5 <= size && c.recordCount + 2 < kCaptureTableLimit; i += 5) {
        const std::uint8_t flags = data[i];
        const double duration = ((data[i + 1] << 16) | (data[i + 2] << 8) | data[i + 3]) / 10.0;
        if (flags & 2) {
            writer.close();
            ++record;
            writer.begin(record, (flags >> 2) % 3);
        }
        if (flags & 1)
            writer.pulse(duration, data[i + 4]);
        else
            writer.pause(duration);
    }
    writer.close();
    Tprotocol_descriptor current;
    ClearDescriptor(current);
    AnalyseProtocol(c, current);
    FillFramesBuffer(c);
    const TWorkingProtocol& w = c.working;
    fuzz::Check(w.vocabulary_count <= 101, "the vocabulary fits its 101 elements", std::to_string(w.vocabulary_count));
    for (int k = 0; k < w.vocabulary_count; ++k) {
        fuzz::Check(std::isfinite(w.vocabulary[k].mean) && std::isfinite(w.vocabulary[k].nominal),
                    "vocabulary durations are numbers");
    }
    return 0;
}
