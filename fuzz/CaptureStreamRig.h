#pragma once
// The bytes a reader board sends after acknowledging a start of capture, played through the capture on a fake
// serial port and a simulated clock, then analysed; and what must hold of the outcome, whatever the bytes.
//
// An input is a header of four bytes and the stream:
//   byte 0  bits 0-1 minimum gap choice, bits 2-4 clock adjustment choice (modulo 5), bit 5 tolerant learning,
//           bit 6 the capture appends to a table already holding 65 536 - (byte 3 & 0x3F) records,
//           bit 7 the board sends one byte a millisecond (otherwise the whole stream is there at once)
//   byte 1, 2  the board falls silent before this byte of the stream (high byte first) ...
//   byte 3  ... for this many times 40 ms (0: never)
// One rig serves every input: its analysis context is reset before each, as the program reuses its one context.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_CaptureStream.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_processing.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace spectrel::fuzz {

constexpr std::size_t kCaptureHeaderSize = 4;

// The header of an input (see above) as fields.
struct CaptureStreamOptions {
    int minimumGapIndex = 1;
    int clockAdjustmentIndex = 2;
    bool tolerant = false;
    bool nearlyFullTable = false;
    bool paced = false;
    std::size_t silenceBefore = 0;
    int silenceMs = 0;
    int prefilledRoom = 0;  // with nearlyFullTable: records left free in the table

    static CaptureStreamOptions From(const std::uint8_t* header) {
        CaptureStreamOptions o;
        o.minimumGapIndex = header[0] & 3;
        o.clockAdjustmentIndex = ((header[0] >> 2) & 7) % 5;
        o.tolerant = (header[0] & 0x20) != 0;
        o.nearlyFullTable = (header[0] & 0x40) != 0;
        o.paced = (header[0] & 0x80) != 0;
        o.silenceBefore = (std::size_t{header[1]} << 8) | header[2];
        o.silenceMs = 40 * header[3];
        o.prefilledRoom = header[3] & 0x3F;
        return o;
    }
    // The header bytes of default options: 10 ms gap, nominal clock, the whole stream at once, no silence.
    static std::vector<std::uint8_t> DefaultHeader() { return {0x09, 0, 0, 0}; }
};

// What one input gave.
struct CaptureStreamOutcome {
    int frames = 0;
    int firstRecord = 0;  // where the capture appended
    std::vector<std::string> boxes;
    std::string failure;  // the first property that did not hold, empty when all held
};

class CaptureStreamRig {
public:
    CaptureStreamRig() = default;

    CaptureStreamOutcome Run(const std::uint8_t* data, std::size_t size) {
        CaptureStreamOutcome outcome;
        if (size < kCaptureHeaderSize) return outcome;
        const CaptureStreamOptions options = CaptureStreamOptions::From(data);
        const std::uint8_t* stream = data + kCaptureHeaderSize;
        const std::size_t length = size - kCaptureHeaderSize;

        context_.Reset();
        boxes_.clear();
        context_.setMinimumGapIndex(options.minimumGapIndex);
        context_.setClockAdjustmentIndex(options.clockAdjustmentIndex);
        context_.tolerant = options.tolerant;
        const int record = options.nearlyFullTable ? 1 : 0;
        if (options.nearlyFullTable) Prefill(kCaptureTableLimit - options.prefilledRoom);
        outcome.firstRecord = context_.recordCount;

        // A fresh port per input: what one board left unread does not reach the next.
        testing::FakeSerialPort serial(clock_);
        std::vector<testing::TimedByte> reply{{reader_command::kCaptureAcknowledge, 1}};
        std::int64_t at = 2;
        for (std::size_t k = 0; k < length; ++k) {
            if (k == options.silenceBefore) at += options.silenceMs;
            if (options.paced) ++at;
            reply.push_back({stream[k], at});
        }
        serial.setResponder([&reply](std::uint8_t written) -> std::vector<testing::TimedByte> {
            if (written == reader_command::kReset) return {{0x00, 1}};
            if (written == reader_command::kStartCapture) return std::move(reply);
            return {};
        });
        TReaderLink link(serial, clock_, clock_, boxes_);
        if (!link.OpenReaderPort().ok) return Failed(outcome, "the fake port opens");

        outcome.frames = Capture(context_, link, record, 0, nullptr, nullptr);
        for (const auto& box : boxes_.shown()) outcome.boxes.push_back(box.text);
        if (!CheckTable(outcome, record)) return outcome;
        AnalyseTable(outcome);
        return outcome;
    }

    TAnalysisContext& context() { return context_; }

private:
    static CaptureStreamOutcome& Failed(CaptureStreamOutcome& outcome, std::string what) {
        if (outcome.failure.empty()) outcome.failure = std::move(what);
        return outcome;
    }

    // Records of an earlier press of 560 us pulses and pauses, so that the capture appends near the table's end.
    void Prefill(int count) {
        TIntervalRecord* table = context_.captureTable();
        for (int k = 0; k < count; ++k) {
            TIntervalRecord& r = table[k];
            r = TIntervalRecord{};
            r.isPulse = k % 2 == 0;
            r.duration = k == 0 ? 0 : 560;
            r.time = 560.0 * k;
            r.carrierCycles = r.isPulse && k > 0 ? 21 : 0;
            r.indexInFrame = k;
        }
        context_.recordCount = count;
    }

    // What the capture must leave, ended or failed.
    bool CheckTable(CaptureStreamOutcome& o, int record) {
        auto fail = [&](const std::string& what, int k = -1) {
            std::string detail = what;
            if (k >= 0) {
                const TIntervalRecord& r = context_.captureTable()[k];
                char text[200];
                std::snprintf(text, sizeof text, " (record %d: %s %.3f us at %.3f us, frame %d, index %d, cycles %d)",
                              k, r.isPulse ? "pulse" : "pause", r.duration, r.time, r.frameNumber, r.indexInFrame,
                              r.carrierCycles);
                detail += text;
            }
            Failed(o, detail + "; frames " + std::to_string(o.frames));
            return false;
        };
        if (o.frames < -1 || o.frames > 20) return fail("the result is -1 or 0 to 20 frames");
        if (o.boxes.size() > 1) return fail("a capture shows at most one box");
        for (const std::string& text : o.boxes) {
            if (o.frames != -1) return fail("a box is shown only when the capture fails: " + text);
            const bool erratic = text.size() == 33 && text.rfind("Erratic reply from PIC (value ", 0) == 0 &&
                                 std::isxdigit(static_cast<unsigned char>(text[30])) &&
                                 std::isxdigit(static_cast<unsigned char>(text[31])) && text[32] == ')' &&
                                 !std::islower(static_cast<unsigned char>(text[30])) &&
                                 !std::islower(static_cast<unsigned char>(text[31]));
            if (!erratic && text != "Data corrupted") return fail("an unknown box: " + text);
            if (boxes_.shown()[0].kind != platform::MessageKind::Error) return fail("the box is an error box");
        }
        const int first = o.firstRecord;
        const int count = context_.recordCount;
        if (count < first || count > std::max(first + 1, kCaptureTableLimit))
            return fail("the count stays within the table: " + std::to_string(count));

        const double minimumGapUs = context_.parameters().minimumGapMicroseconds();
        double previousTime = 0;
        int gaps = 0;
        bool closed = false;
        for (int k = first; k < count; ++k) {
            const TIntervalRecord& r = context_.captureTable()[k];
            if (r.recordNumber != record || r.buttonNumber != 0) return fail("the caller's numbers", k);
            if (!std::isfinite(r.duration) || r.duration < 0 || r.duration >= 8388608.0)
                return fail("a duration within one counter period", k);
            if (!std::isfinite(r.time) || r.time < previousTime) return fail("times never go back", k);
            previousTime = r.time;
            if (r.carrierCycles < 0 || r.carrierCycles > 65535 || (!r.isPulse && r.carrierCycles != 0))
                return fail("cycle counts of pulses only, 16 bits", k);
            if (r.frameNumber < -1 || r.frameNumber > 20 || r.indexInFrame < 0) return fail("frame and index", k);
            if (closed) return fail("nothing after the closing entry", k);
            if (o.frames < 0) continue;
            // An ended capture: a table the analysis can take as it is.
            if (r.isPulse) {
                if (r.duration > 50000) return fail("no burst longer than 50 ms", k);
                const bool opening = k == first && r.indexInFrame == 0;
                if (opening ? r.duration != 0 || r.carrierCycles != 0 : r.duration < 10)
                    return fail("pulses of 10 us or more (an opening burst end counts as 0 us without cycles)", k);
            } else if (r.frameNumber >= 0) {
                if (r.duration < 50 || r.duration > minimumGapUs) return fail("pauses in a frame: 50 us to the gap", k);
            } else if (r.duration == 0 && k == count - 1) {
                closed = true;
            } else if (r.duration > minimumGapUs) {
                ++gaps;
            } else {
                return fail("a pause outside a frame is a gap or the closing entry", k);
            }
        }
        if (o.frames >= 0 && o.frames != gaps + (closed ? 1 : 0))
            return fail("the frames counted are the gaps and the closing entry: " + std::to_string(gaps) + " gaps" +
                        (closed ? " and the closing entry" : ""));
        return true;
    }

    // The analysis of what a learning would accept: the capture's checks, the protocol and its frames.
    void AnalyseTable(CaptureStreamOutcome& o) {
        if (o.frames <= 0) return;
        boxes_.clear();
        CopyForAnalysis(context_);
        (void)MeasureCarrier(context_);
        std::string message;
        (void)CheckCapture(context_, message);
        Tprotocol_descriptor current;
        ClearDescriptor(current);
        (void)AnalyseProtocol(context_, current);
        FillFramesBuffer(context_);
        (void)FormatDescription(context_);
        const TWorkingProtocol& w = context_.working;
        if (w.vocabulary_count < 0 || w.vocabulary_count > 101)
            Failed(o, "the vocabulary fits its 101 elements: " + std::to_string(w.vocabulary_count));
        for (int k = 0; k < w.vocabulary_count && k <= 101; ++k) {
            if (!std::isfinite(w.vocabulary[k].mean) || !std::isfinite(w.vocabulary[k].nominal))
                Failed(o, "vocabulary durations are numbers");
        }
        if (context_.framesBuffer.count < 0 || context_.framesBuffer.count > kFramesBufferSize)
            Failed(o, "the frames buffer count within its size");
    }

    testing::ScriptedMessageBoxes boxes_{testing::ScriptedMessageBoxes::Unscripted::Accept};
    testing::SimulatedClock clock_;
    TAnalysisContext context_{boxes_, clock_, clock_};
};

}  // namespace spectrel::fuzz
