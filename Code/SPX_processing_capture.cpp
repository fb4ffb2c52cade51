// The capture: the board's stream of burst-start and burst-end records, turned into pulses and pauses in the
// capture table while the user holds a button of the remote control.

#include <cstdint>

#include "Code/SPX_Assert.h"
#include "Code/SPX_CaptureStream.h"
#include "Code/SPX_CaptureViews.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_processing.h"

namespace spectrel {

namespace {

// Progress bar: one step per frame on a bar of 50.
constexpr int kProgressMinimum = 0;
constexpr int kProgressMaximum = 50;
constexpr int kProgressStart = 1;
constexpr int kProgressFull = 100;

// The capture stops after this many frames even if the button is still held.
constexpr int kMaximumFrames = 20;

// Idle rule: after 2.5 s without a record the message queue runs once; 5 s later the capture ends.
constexpr std::int64_t kIdlePumpMs = 2500;
constexpr std::int64_t kIdleEndMs = 5000;

// Durations in counter units (0.5 us).
constexpr std::int64_t kLongestBurstCounts = 100000;  // 50 ms
constexpr std::int64_t kGlitchCounts = 100;           // a pause below 50 us is a glitch
constexpr std::int64_t kCorruptedCounts = 20;         // an interval below 10 us inside a frame
// The board's timestamps sometimes come out 4096 counts low; a duration that turns negative is mended by adding
// this at most twice.
constexpr std::int64_t kTimestampSlipCounts = 4096;
constexpr int kMaximumSlipCorrections = 2;
// The 24-bit counter wraps after this many counts (8.4 s).
constexpr std::int64_t kCounterPeriodCounts = std::int64_t{1} << 24;

constexpr const char* kDataCorrupted = "Data corrupted";

enum class Family { None, BurstStart, BurstEnd };

// The erratic-reply reaction reports back through this.
class ErraticReplyOutcome : public TErraticReplySink {
public:
    explicit ErraticReplyOutcome(TCaptureDisplayList* displayList) : displayList_(displayList) {}
    void markCaptureFailed() override { failed = true; }
    void restoreDisplayListColour() override {
        if (displayList_) displayList_->restoreNormalColour();
    }
    bool failed = false;

private:
    TCaptureDisplayList* displayList_;
};

class CaptureRun {
public:
    CaptureRun(TAnalysisContext& context, TReaderLink& reader, int recordNumber, int buttonNumber,
               TCaptureProgressBar* progressBar, TCaptureDisplayList* displayList)
        : context_(context),
          reader_(reader),
          table_(context.captureTable()),
          recordNumber_(recordNumber),
          buttonNumber_(buttonNumber),
          progressBar_(progressBar),
          displayList_(displayList) {}

    int run();

private:
    bool start();
    // Reads one code byte, applying the idle rule while nothing comes. False when the capture has ended
    // (idle end); `byte` then holds nothing.
    bool readCodeByte(std::uint8_t& byte);
    void processBurst(const CaptureRecord& record);
    void processEndOfData();
    void reportErratic(std::uint8_t code);

    TAnalysisContext& context_;
    TReaderLink& reader_;
    TIntervalRecord* table_;
    const int recordNumber_;
    const int buttonNumber_;
    TCaptureProgressBar* progressBar_;
    TCaptureDisplayList* displayList_;

    bool failed_ = false;
    bool stopped_ = false;
    bool idlePumped_ = false;
    std::int64_t lastActivityMs_ = 0;

    Family lastFamily_ = Family::None;
    bool anyBurst_ = false;
    std::int64_t base_ = 0;      // timestamp of the capture's first record
    std::int64_t previous_ = 0;  // time of the last stored record since base, in counts
    std::int64_t wraps_ = 0;     // counter periods the timestamps have wrapped by since base, in counts
    int frameNumber_ = 0;
    int indexInFrame_ = 0;
};

int CaptureRun::run() {
    if (start()) {
        CaptureStreamDecoder decoder;
        decoder.reset();
        while (!failed_ && !stopped_) {
            std::uint8_t byte = 0;
            if (!readCodeByte(byte)) break;
            CaptureRecord record;
            bool complete = decoder.push(byte, record);
            while (!complete) {
                if (!reader_.ReadReaderByte(byte)) {
                    // A record whose bytes do not all arrive is not stored: its timestamp is unknown.
                    failed_ = true;
                    break;
                }
                complete = decoder.push(byte, record);
            }
            if (!complete) break;

            switch (record.kind) {
                case CaptureRecordKind::BurstStart:
                case CaptureRecordKind::BurstEnd:
                    processBurst(record);
                    break;
                case CaptureRecordKind::EndOfData:
                    processEndOfData();
                    break;
                case CaptureRecordKind::Erratic:
                    reportErratic(record.code);
                    break;
            }
            if (context_.recordCount >= kCaptureTableLimit || frameNumber_ >= kMaximumFrames) stopped_ = true;
        }
    }

    if (progressBar_) {
        progressBar_->setPosition(kProgressFull);
        progressBar_->redraw();
        progressBar_->setPosition(kProgressMinimum);
    }
    if (context_.dumps) context_.dumps->DumpCaptureTable(context_);
    return failed_ ? -1 : frameNumber_;
}

bool CaptureRun::start() {
    reader_.ResetReader();
    lastActivityMs_ = context_.clock.nowMs();
    if (progressBar_) {
        progressBar_->setRange(kProgressMinimum, kProgressMaximum);
        progressBar_->setPosition(kProgressStart);
    }
    context_.pump.pumpOnce();

    std::uint8_t reply = 0;
    if (!reader_.SendReaderByte(reader_command::kStartCapture) || !reader_.ReadReaderByte(reply) ||
        reply != reader_command::kCaptureAcknowledge) {
        failed_ = true;
        return false;
    }
    return true;
}

bool CaptureRun::readCodeByte(std::uint8_t& byte) {
    while (!reader_.ReadReaderByte(byte)) {
        if (!reader_.ReaderPortFailure().empty()) {
            // The board's device went away: nothing more will come.
            failed_ = true;
            return false;
        }
        const std::int64_t idleMs = context_.clock.nowMs() - lastActivityMs_;
        if (idlePumped_ && idleMs > kIdleEndMs) {
            stopped_ = true;
            return false;
        }
        if (!idlePumped_ && idleMs > kIdlePumpMs) {
            context_.pump.pumpOnce();
            idlePumped_ = true;
            lastActivityMs_ = context_.clock.nowMs();
        }
    }
    return true;
}

void CaptureRun::processBurst(const CaptureRecord& record) {
    const bool isPulse = record.kind == CaptureRecordKind::BurstEnd;
    const Family family = isPulse ? Family::BurstEnd : Family::BurstStart;
    // Starts and ends alternate; a second record of the same family in a row is ignored.
    if (family == lastFamily_) return;
    lastFamily_ = family;

    const std::int64_t timestamp = record.timestamp;
    const bool first = !anyBurst_;
    int carrierCycles = isPulse ? record.carrierCycles : 0;
    if (first) {
        anyBurst_ = true;
        base_ = timestamp;
        previous_ = 0;
        context_.pump.pumpOnce();
        if (isPulse) context_.pump.pumpOnce();
        // The stream began in the middle of a burst: its cycles are not all counted.
        carrierCycles = 0;
    }
    idlePumped_ = false;

    std::int64_t t = timestamp - base_ + wraps_;
    std::int64_t d = t - previous_;
    if (d < 0) {
        int corrections = 0;
        while (d < 0 && corrections < kMaximumSlipCorrections) {
            d += kTimestampSlipCounts;
            t += kTimestampSlipCounts;
            ++corrections;
        }
        if (d < 0) {
            // Still negative: the counter wrapped. Take the slip corrections back and add a counter period
            // instead, so the interval keeps its true length. The records after it run on from the wrap, so
            // that a slip among them is mended as before it.
            d -= corrections * kTimestampSlipCounts;
            t -= corrections * kTimestampSlipCounts;
            while (d < 0) {
                d += kCounterPeriodCounts;
                t += kCounterPeriodCounts;
                wraps_ += kCounterPeriodCounts;
            }
        }
    }
    lastActivityMs_ = context_.clock.nowMs();

    if (isPulse && d > kLongestBurstCounts) failed_ = true;

    TIntervalRecord& entry = table_[context_.recordCount];
    entry.time = static_cast<double>(t) / kCountsPerMicrosecond;
    entry.duration = static_cast<double>(d) / kCountsPerMicrosecond;
    entry.buttonNumber = buttonNumber_;
    entry.recordNumber = recordNumber_;
    entry.carrierCycles = carrierCycles;
    entry.isPulse = isPulse;
    entry.frameNumber = frameNumber_;
    entry.indexInFrame = indexInFrame_;

    const bool corrupted = d < kCorruptedCounts && indexInFrame_ > 0;

    if (!isPulse && d > context_.parameters().minimumGap()) {
        // The gap before a new frame.
        entry.frameNumber = -1;
        entry.indexInFrame = 0;
        indexInFrame_ = 0;
        if (!first) {
            ++frameNumber_;
            if (progressBar_) progressBar_->setPosition(progressBar_->position() + 1);
            context_.pump.pumpOnce();
        }
    }

    if (corrupted) {
        if (context_.dumps) context_.dumps->DumpReaderStream(reader_);
        context_.messageBoxes.show(platform::MessageKind::Error, kDataCorrupted, platform::MessageButton::Ok);
        reader_.ResetReader();
        failed_ = true;
        return;
    }
    if (!isPulse && d < kGlitchCounts) {
        // A glitch: not kept, and the next burst's duration runs from the end of the burst before it.
    } else {
        ++context_.recordCount;
        previous_ = t;
    }
    ++indexInFrame_;
}

void CaptureRun::processEndOfData() {
    if (!anyBurst_) {
        reportErratic(0x00);
        return;
    }
    // The closing entry: a pause of no length at the time of the last stored record.
    TIntervalRecord& entry = table_[context_.recordCount];
    entry.time = static_cast<double>(previous_) / kCountsPerMicrosecond;
    entry.duration = 0;
    entry.buttonNumber = buttonNumber_;
    entry.recordNumber = recordNumber_;
    entry.carrierCycles = 0;
    entry.isPulse = false;
    entry.frameNumber = -1;
    entry.indexInFrame = indexInFrame_;
    ++context_.recordCount;
    // The frame in progress is complete.
    ++frameNumber_;
    reader_.ResetReader();
    stopped_ = true;
}

void CaptureRun::reportErratic(std::uint8_t code) {
    ErraticReplyOutcome outcome(displayList_);
    reader_.ReportErraticReply(code, outcome);
    // The capture fails whatever the reaction reported.
    failed_ = true;
}

}  // namespace

int Capture(TAnalysisContext& context, TReaderLink& reader, int recordNumber, int buttonNumber,
            TCaptureProgressBar* progressBar, TCaptureDisplayList* displayList) {
    SPX_ASSERT(context.recordCount >= 0 && context.recordCount <= kCaptureTableLimit,
               "capture appended beyond the capture table", "Code/SPX_processing");
    ++context.captureSerial;
    CaptureRun run(context, reader, recordNumber, buttonNumber, progressBar, displayList);
    return run.run();
}

}  // namespace spectrel
