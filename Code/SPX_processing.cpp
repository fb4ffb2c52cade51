#include "Code/SPX_processing.h"

namespace spectrel {

namespace {

template <typename Choices>
bool ValidChoice(const Choices& choices, int index) {
    return index >= 0 && index < static_cast<int>(choices.size());
}

}  // namespace

bool TDecodingParameters::setMinimumGapIndex(int index) {
    if (!ValidChoice(kMinimumGapChoices, index)) return false;
    minimumGapIndex_ = index;
    minimumGap_ = kMinimumGapChoices[index].value;
    return true;
}

bool TDecodingParameters::setClockAdjustmentIndex(int index) {
    if (!ValidChoice(kClockAdjustmentChoices, index)) return false;
    clockAdjustmentIndex_ = index;
    clockAdjustment_ = kClockAdjustmentChoices[index].value;
    return true;
}

bool TDecodingParameters::setMatchToleranceIndex(int index) {
    if (!ValidChoice(kMatchToleranceChoices, index)) return false;
    matchToleranceIndex_ = index;
    matchTolerance_ = kMatchToleranceChoices[index].value;
    return true;
}

bool TAnalysisContext::setMatchToleranceIndex(int index) {
    if (!parameters_.setMatchToleranceIndex(index)) return false;
    working.match_tolerance = parameters_.matchTolerance();
    return true;
}

void TAnalysisContext::ResetWorkingProtocol() {
    working.Reset();
    working.match_tolerance = parameters_.matchTolerance();
}

TAnalysisContext::TAnalysisContext(platform::MessageBoxes& messageBoxes_, platform::Clock& clock_,
                                   platform::MessagePump& pump_)
    : messageBoxes(messageBoxes_),
      clock(clock_),
      pump(pump_),
      captureTable_(new TIntervalRecord[kCaptureTableSize]()),
      analysisTable_(new TIntervalRecord[kAnalysisTableSize]()) {}

}  // namespace spectrel
