#pragma once
// Test helpers of the analysis: interval records written into a context's tables the way a capture stores
// them, signals expanded into presses, and the recorded remotes of the shared signals folder.

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_processing.h"
#include "virtualboard/IrSignal.h"

namespace spectrel::test {

// Appends records to a table as a capture does: times from the first record of the capture, a pause longer
// than the minimum gap opens a new frame (frame number -1 for the gap itself), the closing entry at the end.
class TableWriter {
public:
    TableWriter(TAnalysisContext& context, TIntervalRecord* table) : context_(context), table_(table) {}
    TableWriter(TAnalysisContext& context, bool analysisTable = false)
        : TableWriter(context, analysisTable ? context.analysisTable() : context.captureTable()) {}

    // Starts the next capture (one press) at the current count.
    void begin(int record, int button) {
        record_ = record;
        button_ = button;
        time_ = 0;
        frame_ = 0;
        index_ = 0;
        first_ = true;
    }

    void pulse(double duration, int cycles) { add(true, duration, cycles); }
    void pause(double duration) {
        const bool gap = duration * kCountsPerMicrosecond > context_.parameters().minimumGap();
        if (gap) {
            if (!first_) ++frame_;
            index_ = 0;
            add(false, duration, 0, -1);
            return;
        }
        add(false, duration, 0);
    }
    // The entry stored for the board's end-of-data code.
    void close() {
        add(false, 0, 0, -1);
        ++frame_;
    }

    // The marks and spaces of a press (starting with a mark) as the board reports them: every burst end
    // `delay` late, so pulses that much longer and pauses that much shorter; a pause below 50 us is a glitch
    // that the next pulse absorbs. Cycle counts follow the carrier (one per flash without carrier).
    void press(const std::vector<double>& marksAndSpaces, int carrierHz, double delay, bool closing = true) {
        double carried = 0;
        for (size_t i = 0; i < marksAndSpaces.size(); ++i) {
            const double d = marksAndSpaces[i];
            if (i % 2 == 0) {
                const int cycles = carrierHz > 0 ? static_cast<int>(std::ceil(d * carrierHz / 1e6 - 1e-9)) : 1;
                pulse(carried + d + delay, cycles);
                carried = 0;
            } else if (d - delay < 50) {
                carried = d - delay;
            } else {
                pause(d - delay);
            }
        }
        if (closing) close();
    }

    int frames() const { return frame_; }

private:
    void add(bool isPulse, double duration, int cycles, int frameOverride = -2) {
        TIntervalRecord& r = table_[context_.recordCount];
        time_ += duration;
        r.isPulse = isPulse;
        r.time = time_;
        r.duration = duration;
        r.buttonNumber = button_;
        r.recordNumber = record_;
        r.frameNumber = frameOverride == -2 ? frame_ : frameOverride;
        r.indexInFrame = index_++;
        r.carrierCycles = cycles;
        first_ = false;
        ++context_.recordCount;
    }

    TAnalysisContext& context_;
    TIntervalRecord* table_;
    int record_ = 0;
    int button_ = 0;
    double time_ = 0;
    int frame_ = 0;
    int index_ = 0;
    bool first_ = true;
};

// A press of a key: the once part, then the repeat part `repeats` times, with the implied gap after a part
// that ends with a mark.
inline std::vector<double> ExpandPress(const virtualboard::IrSignal& signal, int repeats) {
    std::vector<double> out;
    auto append = [&](const std::vector<double>& part) {
        if (part.empty()) return;
        if (!out.empty() && out.size() % 2 == 1) out.push_back(virtualboard::kImpliedGapUs);
        out.insert(out.end(), part.begin(), part.end());
    };
    append(signal.once);
    for (int i = 0; i < repeats; ++i) append(signal.repeat);
    if (out.size() % 2 == 1) out.push_back(virtualboard::kImpliedGapUs);
    return out;
}

// One remote of the shared recordings: its carrier (the recorder's default) and every key's marks and spaces.
struct RecordedRemote {
    std::string file;
    int carrierHz = 38000;
    std::vector<std::string> names;
    std::vector<std::vector<double>> keys;
};

// The recordings folder the build names; empty when it names none.
inline std::string SignalsDir() {
#ifdef SPECTREL_SIGNALS_DIR
    return SPECTREL_SIGNALS_DIR;
#else
    return {};
#endif
}

// Reads a Flipper-style raw .ir file; an empty result when it cannot be read.
inline RecordedRemote ReadRecordedRemote(const std::string& path) {
    RecordedRemote remote;
    remote.file = path;
    std::ifstream in(path);
    std::string line;
    std::string name;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon);
        std::istringstream value(line.substr(colon + 1));
        if (key == "name") {
            value >> name;
        } else if (key == "frequency") {
            value >> remote.carrierHz;
        } else if (key == "data") {
            std::vector<double> durations;
            double d = 0;
            while (value >> d) durations.push_back(d);
            if (durations.size() % 2 == 1) durations.push_back(virtualboard::kImpliedGapUs);
            remote.names.push_back(name);
            remote.keys.push_back(std::move(durations));
        }
    }
    return remote;
}

}  // namespace spectrel::test
