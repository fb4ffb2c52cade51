#pragma once
// The analysis context: everything the capture and the analysis steps share while a remote control is learned.
// It owns the fixed capture and analysis tables (allocated once, never per record), the decoding parameters, the
// reader delay, the working protocol state with its vocabulary, and the frames buffer. There is one context per
// run of the program and a fresh one per test.
//
// The capture (Code/SPX_processing_capture.cpp) and the carrier extraction (Code/SPX_processing_carrier.cpp) are
// declared here; the vocabulary, frame and format steps with their state in Code/SPX_processing_state.h.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Code/SPX_Data.h"
#include "Code/SPX_processing_state.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

class TReaderLink;
class TCaptureProgressBar;
class TCaptureDisplayList;
class TAnalysisContext;

// One pulse or pause of a capture.
struct TIntervalRecord {
    double time = 0;        // us since the first record of its capture
    double duration = 0;    // us since the previous stored record: burst length, or silence before a burst
    int buttonNumber = 0;   // the caller's button number (0 for the first button of a procedure)
    int recordNumber = 0;   // the caller's record number (which press of the procedure)
    int frameNumber = 0;    // frame within the capture, from 0; -1 for the gap before a frame and the closing entry
    int indexInFrame = 0;   // position of the reader record within its frame, the gap record being 0
    int carrierCycles = 0;  // pulses: carrier cycles the board counted; pauses: 0
    bool isPulse = false;   // a carrier burst (true) or a pause (false)
};

// Sizes of the two tables. A capture stops when the capture table holds kCaptureTableLimit records.
constexpr int kCaptureTableSize = 65537;
constexpr int kCaptureTableLimit = 65536;
constexpr int kAnalysisTableSize = 655361;

// The board's counter advances twice per microsecond.
constexpr double kCountsPerMicrosecond = 2.0;

// One choice of a decoding parameter: the text the decoding-parameters dialog shows and the value it stands for.
template <typename Value>
struct TParameterChoice {
    const char* text;
    Value value;
};

// Minimum gap between frames, in counter units of 0.5 us.
inline constexpr std::array<TParameterChoice<int>, 4> kMinimumGapChoices{
    {{"5 ms", 10000}, {"10 ms", 20000}, {"20 ms", 40000}, {"100 ms", 200000}}};
// Remote-control clock adjustment: a factor applied to every measured time and duration.
inline constexpr std::array<TParameterChoice<double>, 5> kClockAdjustmentChoices{
    {{"+5%", 1.05}, {"+2.5%", 1.025}, {"Nominal", 1.0}, {"-2.5%", 0.975}, {"-5%", 0.95}}};
// Tolerance when a learned protocol is matched to a standard one.
inline constexpr std::array<TParameterChoice<double>, 6> kMatchToleranceChoices{
    {{"5%", 0.05}, {"6%", 0.06}, {"7%", 0.07}, {"8%", 0.08}, {"9%", 0.09}, {"10%", 0.10}}};

// The three decoding parameters. Each keeps the index of its choice and the value together; they are not
// stored anywhere, so every run starts with the defaults (10 ms, Nominal, 6%).
class TDecodingParameters {
public:
    static constexpr int kDefaultMinimumGapIndex = 1;
    static constexpr int kDefaultClockAdjustmentIndex = 2;
    static constexpr int kDefaultMatchToleranceIndex = 1;

    int minimumGapIndex() const { return minimumGapIndex_; }
    int clockAdjustmentIndex() const { return clockAdjustmentIndex_; }
    int matchToleranceIndex() const { return matchToleranceIndex_; }

    // Counter units of 0.5 us (20 000 by default).
    int minimumGap() const { return minimumGap_; }
    double minimumGapMicroseconds() const { return minimumGap_ / kCountsPerMicrosecond; }
    double clockAdjustment() const { return clockAdjustment_; }
    double matchTolerance() const { return matchTolerance_; }

    // Each returns false and changes nothing when the index is not one of the choices.
    bool setMinimumGapIndex(int index);
    bool setClockAdjustmentIndex(int index);
    bool setMatchToleranceIndex(int index);

private:
    int minimumGapIndex_ = kDefaultMinimumGapIndex;
    int minimumGap_ = kMinimumGapChoices[kDefaultMinimumGapIndex].value;
    int clockAdjustmentIndex_ = kDefaultClockAdjustmentIndex;
    double clockAdjustment_ = kClockAdjustmentChoices[kDefaultClockAdjustmentIndex].value;
    int matchToleranceIndex_ = kDefaultMatchToleranceIndex;
    double matchTolerance_ = kMatchToleranceChoices[kDefaultMatchToleranceIndex].value;
};

// The board needs this long after the last carrier cycle to report a burst end (us; settings key "Delay").
constexpr int kDefaultReaderDelay = 50;

// The diagnostic dumps the capture and the analysis write while dumps are switched on. The files module
// implements it; a context without one writes no dump.
class TAnalysisDumps {
public:
    virtual ~TAnalysisDumps() = default;
    // Reads the rest of the reader's stream and writes it out (after corrupted data).
    virtual void DumpReaderStream(TReaderLink& reader) = 0;
    // The capture table, at the end of every capture.
    virtual void DumpCaptureTable(const TAnalysisContext& context) = 0;
    // The analysis table, after a capture has been copied for analysis.
    virtual void DumpAnalysisTable(const TAnalysisContext& context) = 0;
    virtual void DumpVocabulary(const TAnalysisContext& context) = 0;
    virtual void DumpFramesBuffer(const TAnalysisContext& context) = 0;
};

class TAnalysisContext {
public:
    // The message boxes show the analysis' own complaints; the clock and the pump serve the capture's
    // idle rule and keep the window alive while it waits.
    TAnalysisContext(platform::MessageBoxes& messageBoxes, platform::Clock& clock, platform::MessagePump& pump);
    TAnalysisContext(const TAnalysisContext&) = delete;
    TAnalysisContext& operator=(const TAnalysisContext&) = delete;

    platform::MessageBoxes& messageBoxes;
    platform::Clock& clock;
    platform::MessagePump& pump;
    // Null: no dumps are written.
    TAnalysisDumps* dumps = nullptr;

    // Tolerant learning (an advanced option, off by default): the vocabulary keeps runs of windows whole, button
    // captures are matched against each element's measured range, and a one-frame press has no frame rate.
    // The procedures set it from the option as they start.
    bool tolerant = false;

    // The decoding parameters. The match tolerance is kept in step with the working protocol's copy.
    const TDecodingParameters& parameters() const { return parameters_; }
    bool setMinimumGapIndex(int index) { return parameters_.setMinimumGapIndex(index); }
    bool setClockAdjustmentIndex(int index) { return parameters_.setClockAdjustmentIndex(index); }
    bool setMatchToleranceIndex(int index);

    // us; the settings file may replace the default.
    int readerDelay = kDefaultReaderDelay;

    // The raw intervals as the board timed them; captures append at recordCount.
    TIntervalRecord* captureTable() { return captureTable_.get(); }
    const TIntervalRecord* captureTable() const { return captureTable_.get(); }
    // The copy the analysis works on (clock-adjusted, pulse widths corrected); same count.
    TIntervalRecord* analysisTable() { return analysisTable_.get(); }
    const TIntervalRecord* analysisTable() const { return analysisTable_.get(); }
    // Records in use in both tables. The caller of a capture sets it beforehand (0, or the count of the
    // records it keeps) and restores it to discard a capture.
    int recordCount = 0;
    // Raised by every capture as it starts, so that the captures of a run can be told apart.
    int captureSerial = 0;
    // Told each time the analysis table has been filled afresh from the capture table (a capture copied for
    // analysis, the pulse widths corrected); the capture view follows the captures through it. May be empty.
    std::function<void()> analysisCopied;

    // The results of the analysis: format, letters, codes, positions, carrier period, tick, frame rate and
    // the working vocabulary.
    TWorkingProtocol working;
    // Back to the initial working state (as a protocol learning starts), keeping the chosen match tolerance.
    void ResetWorkingProtocol();
    // Back to the state of a fresh context: no records, the initial working state, no frames, the default
    // decoding parameters and reader delay, no dumps, tolerant learning off; the tables stay allocated (one
    // context serves many runs).
    void Reset();
    // The frames of the latest protocol-learning or button capture.
    TFramesBuffer framesBuffer;
    // What the vocabulary and frame steps keep besides the working protocol.
    TAnalysisState analysis;

private:
    struct FreeTable {
        void operator()(TIntervalRecord* table) const;
    };
    using Table = std::unique_ptr<TIntervalRecord[], FreeTable>;
    static Table AllocateTable(int records);

    TDecodingParameters parameters_;
    Table captureTable_;
    Table analysisTable_;
};

// --- capture

// Starts the board and reads its records while the user holds a button, appending interval records to the
// capture table. Returns the number of frames captured, or -1 when the capture failed (no acknowledge, an
// erratic reply, corrupted data, a missing byte, an over-long burst). The records stored before a failure stay
// in the table. Both views may be null.
int Capture(TAnalysisContext& context, TReaderLink& reader, int recordNumber, int buttonNumber,
            TCaptureProgressBar* progressBar, TCaptureDisplayList* displayList);

// --- pulses, pauses and carrier

// Fills the analysis table from the capture table, with every time and duration multiplied by the remote clock
// adjustment.
void CopyForAnalysis(TAnalysisContext& context);
// The carrier period the pulses of table[begin, end) give (0: no carrier), rounded to 0.5 us and at least 2 us,
// as MeasureCarrier works it out but without its box. Each duration is multiplied by `durationScale` first (1 for
// the analysis table, the clock adjustment for the capture table).
double CarrierPeriodOf(const TIntervalRecord* table, int begin, int end, double readerDelay, double durationScale,
                       double clockAdjustment);
// Measures the carrier period from the pulses' cycle counts (0: no carrier), stores it in the working protocol
// and returns it. A carrier faster than 100 kHz is reported in a box.
double MeasureCarrier(TAnalysisContext& context);
// Copies the capture afresh and makes every pulse `x` us shorter and every pause `x` us longer (the board
// reports each burst end that late). Record 0 is left as copied.
void CorrectPulseWidths(TAnalysisContext& context, double x);

// Indexes into the analysis table; 0 when no record qualifies (record 0 is never considered).
int LongestPulse(const TAnalysisContext& context);
int LongestFramePause(const TAnalysisContext& context);
int ShortestPulse(const TAnalysisContext& context);
int ShortestPause(const TAnalysisContext& context);

// Relative spread of the per-pulse carrier periods: |max - min| / (max + min).
double CarrierSpread(const TAnalysisContext& context);
// The plausibility check of a new capture, on the analysis copy. False when the capture should not be
// accepted; `message` then says why (it stays empty for a table of fewer than 2 records).
bool CheckCapture(const TAnalysisContext& context, std::string& message);

}  // namespace spectrel
