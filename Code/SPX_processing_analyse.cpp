// The analysis run: after every accepted protocol-learning press, everything captured so far is analysed again,
// from the carrier to the frame format, its repetition period and its description.

#include <cmath>

#include "Code/SPX_processing.h"

namespace spectrel {

namespace {

// The pulse-width correction lengthens every pause, the closing entries of earlier captures (stored with no
// duration when the board reported the end of its data) included. Those entries are no pauses of the signal:
// left at the correction's length they would be taken as the shortest pause and, without carrier, as the end of
// a pulse-plus-pause interval. They go back to no duration.
void RestoreClosingEntries(TAnalysisContext& context) {
    const TIntervalRecord* capture = context.captureTable();
    TIntervalRecord* table = context.analysisTable();
    for (int k = 1; k < context.recordCount; ++k) {
        if (!table[k].isPulse && table[k].frameNumber < 0 && capture[k].duration == 0) table[k].duration = 0;
    }
}

}  // namespace

void BuildVocabularyFromWindows(TAnalysisContext& context) {
    MergeWindows(context);
    if (context.tolerant) JoinNearElements(context);
    EstimateTick(context);
    SnapTick(context);
    AssignNominals(context);
    ScaleTick(context);
    SnapTick(context);
    AssignNominals(context);
    RemoveDuplicateNominals(context);
}

void BuildVocabulary(TAnalysisContext& context) {
    SweepWindows(context);
    BuildVocabularyFromWindows(context);
}

bool AnalyseProtocol(TAnalysisContext& context, const Tprotocol_descriptor& current) {
    if (current.valid) return false;

    CopyForAnalysis(context);
    const double period = MeasureCarrier(context);
    // The board reports each burst end a reader delay late, less the carrier cycle it is still counting.
    CorrectPulseWidths(context, std::nearbyint(context.readerDelay - period));
    RestoreClosingEntries(context);

    BuildVocabulary(context);
    if (context.dumps != nullptr) context.dumps->DumpVocabulary(context);

    const std::string format = ClassifyFormat(context);
    context.working.frame_rate = -1;
    if (format != "i") MeasureFrameRate(context);
    return !FormatDescription(context).empty();
}

}  // namespace spectrel
