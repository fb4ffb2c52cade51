#include "Code/SPX_processing.h"

#include <cstdlib>
#include <new>
#include <type_traits>

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

void TAnalysisContext::Reset() {
    parameters_ = TDecodingParameters{};
    readerDelay = kDefaultReaderDelay;
    dumps = nullptr;
    tolerant = false;
    recordCount = 0;
    ResetWorkingProtocol();
    framesBuffer.Clear();
    analysis.frames.usable = false;
    analysis.lastRecordButton = 0;
}

TAnalysisContext::TAnalysisContext(platform::MessageBoxes& messageBoxes_, platform::Clock& clock_,
                                   platform::MessagePump& pump_)
    : messageBoxes(messageBoxes_),
      clock(clock_),
      pump(pump_),
      captureTable_(AllocateTable(kCaptureTableSize)),
      analysisTable_(AllocateTable(kAnalysisTableSize)) {}

// The tables are zero-filled: all-zero records are cleared records. Fresh zeroed pages from the system cost
// nothing until they are used, which keeps a context cheap to create (one per test).
static_assert(std::is_trivially_copyable_v<TIntervalRecord> && std::is_trivially_destructible_v<TIntervalRecord>);

TAnalysisContext::Table TAnalysisContext::AllocateTable(int records) {
    void* memory = std::calloc(static_cast<std::size_t>(records), sizeof(TIntervalRecord));
    if (!memory) throw std::bad_alloc();
    return Table(static_cast<TIntervalRecord*>(memory));
}

void TAnalysisContext::FreeTable::operator()(TIntervalRecord* table) const { std::free(table); }

}  // namespace spectrel
