// The analysis run: after every accepted protocol-learning press, everything captured so far is analysed again,
// from the carrier to the frame format, its repetition period and its description.

#include <cmath>

#include "Code/SPX_processing.h"

namespace spectrel {

bool AnalyseProtocol(TAnalysisContext& context, const Tprotocol_descriptor& current) {
    if (current.valid) return false;

    CopyForAnalysis(context);
    const double period = MeasureCarrier(context);
    // The board reports each burst end a reader delay late, less the carrier cycle it is still counting.
    CorrectPulseWidths(context, std::nearbyint(context.readerDelay - period));

    SweepWindows(context);
    MergeWindows(context);
    EstimateTick(context);
    SnapTick(context);
    AssignNominals(context);
    ScaleTick(context);
    SnapTick(context);
    AssignNominals(context);
    RemoveDuplicateNominals(context);
    if (context.dumps != nullptr) context.dumps->DumpVocabulary(context);

    const std::string format = ClassifyFormat(context);
    context.working.frame_rate = -1;
    if (format != "i") MeasureFrameRate(context);
    return !FormatDescription(context).empty();
}

}  // namespace spectrel
