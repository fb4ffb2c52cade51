// Button captures checked against the protocol and reduced to their frame codes.

#include "Code/SPX_processing_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "Code/SPX_ComPortUnit.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;

constexpr double kCarrierWindowPeriods = 6;
constexpr double kWindowMarginUs = 30;
constexpr double kPulsedWindowDivisor = 10;
constexpr double kPulsedWindowCapUs = 300;

// The durations a captured interval may be close to.
std::vector<double> ReferenceDurations(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    std::vector<double> references;
    if (current.valid) {
        const int count = std::clamp(current.vocabulary_count, 0, kDescriptorVocabularySize);
        references.assign(current.durations.begin(), current.durations.begin() + count);
    } else {
        const int count = std::clamp(context.working.vocabulary_count, 0, kWorkingVocabularySize);
        for (int k = 0; k < count; ++k) references.push_back(context.working.vocabulary[k].nominal);
    }
    return references;
}

}  // namespace

void ResetReaderAfterCapture(TReaderLink& reader) {
    reader.ResetReader();
    std::uint8_t stale = 0;
    int read = 0;
    while (read < kSettleBytes && reader.ReadReaderByte(stale)) ++read;
    if (read > 0) reader.ResetReader();
}

int CaptureButton(TAnalysisContext& context, TReaderLink& reader, const Tprotocol_descriptor& current,
                  TCaptureProgressBar* progressBar, TCaptureDisplayList* displayList) {
    platform::MessageBoxes& boxes = context.messageBoxes;
    reader.ResetReader();
    for (;;) {
        context.recordCount = 0;
        const int frames = Capture(context, reader, 0, 0, progressBar, displayList);
        ResetReaderAfterCapture(reader);
        if (frames <= 0) {
            context.recordCount = 0;
            const MessageButton answer =
                boxes.show(MessageKind::Error, "No frames captured, try again?",
                           MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore);
            if (answer == MessageButton::Abort) return kButtonCaptureAborted;
            if (answer == MessageButton::Ignore) return kButtonCaptureIgnored;
            continue;
        }
        CopyForAnalysis(context);
        if (context.dumps != nullptr) context.dumps->DumpAnalysisTable(context);
        std::string message;
        if (!CheckCapture(context, message)) {
            const MessageButton answer =
                boxes.show(MessageKind::Error, "Error: " + message, MessageButton::Abort | MessageButton::Retry);
            if (answer == MessageButton::Abort) return kButtonCaptureAborted;
            continue;
        }
        if (!MatchesVocabulary(context, current)) {
            const MessageButton answer =
                boxes.show(MessageKind::Error, "Error: captured data do not match vocabulary",
                           MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore);
            if (answer == MessageButton::Abort) return kButtonCaptureAborted;
            if (answer == MessageButton::Ignore) return kButtonCaptureIgnored;
            continue;
        }
        CopyForAnalysis(context);
        return kButtonCaptured;
    }
}

double VocabularyWindow(double carrierPeriod, double firstReference) {
    if (carrierPeriod > 0) return kCarrierWindowPeriods * carrierPeriod + kWindowMarginUs;
    return std::min(firstReference / kPulsedWindowDivisor + kWindowMarginUs, kPulsedWindowCapUs);
}

bool MatchesVocabulary(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    const int count = context.recordCount;
    if (count < 2) return false;
    const std::vector<double> references = ReferenceDurations(context, current);
    // Without a single reference nothing can match (a valid protocol without vocabulary included).
    if (references.empty()) return false;

    const double carrier = context.working.carrier_period;
    const double window = VocabularyWindow(carrier, references.front());
    const TIntervalRecord* table = context.analysisTable();
    bool allMatch = true;
    for (int k = 1; k < count; ++k) {
        const TIntervalRecord& record = table[k];
        if (record.indexInFrame <= 0 || record.frameNumber < 0) continue;
        double v = record.duration;
        if (carrier <= 0) {
            // Without a carrier the vocabulary holds pulse-and-pause sums. A pulse that ends its frame has no
            // pause to pair with and is not considered.
            if (record.isPulse) {
                const bool nextInFrame = k + 1 < count && table[k + 1].frameNumber >= 0;
                v = nextInFrame ? record.duration + table[k + 1].duration : 0;
            } else {
                v = record.duration + table[k - 1].duration;
            }
        }
        if (v <= 0) continue;
        const bool close = std::any_of(references.begin(), references.end(),
                                       [&](double reference) { return std::fabs(reference - v) < window; });
        if (!close) allMatch = false;
    }
    return allMatch;
}

void ExtractButtonCodes(const TAnalysisContext& context, const Tprotocol_descriptor& current, std::string& data,
                        std::string& data2, std::string& dummy, bool explore) {
    const int lastFrame = RecordFrameCount(context, 0, 0) - 1;
    const auto frameCode = [&](int position) { return BufferedFrameCode(context, 0, 0, position); };

    data = frameCode(current.i_position < 2 ? current.i_position : lastFrame);
    data2.clear();
    if (current.j_letter != '?') {
        const int position = explore && current.j_position >= 3 ? lastFrame : current.j_position;
        data2 = frameCode(position);
    }
    dummy.clear();
    if (current.x_letter != '?') dummy = frameCode(current.x_position);
}

bool FrameRateOutside(double measured, const Tprotocol_descriptor& current, double tolerance) {
    if (measured <= 0 || current.format == "i") return false;
    return measured > (1 + 2 * tolerance) * current.frame_rate || measured < (1 - 2 * tolerance) * current.frame_rate;
}

bool CarrierOutside(double measured, double protocolPeriod, double tolerance) {
    return measured > (1 + tolerance) * protocolPeriod + 1 || measured < (1 - tolerance) * protocolPeriod - 1;
}

bool FrameRateDiffers(TAnalysisContext& context, const Tprotocol_descriptor& current) {
    const double measured = MeasureFrameRate(context);
    return FrameRateOutside(measured, current, MatchTolerance(context));
}

bool CarrierDiffers(TAnalysisContext& context, const Tprotocol_descriptor& current) {
    const double measured = MeasureCarrier(context);
    return CarrierOutside(measured, current.carrier_period, MatchTolerance(context));
}

TFrameLengthCheck CheckFrameLength(int ruleLength, int codeLength) {
    if (ruleLength < 0) return codeLength < -ruleLength ? TFrameLengthCheck::TooShort : TFrameLengthCheck::Fits;
    if (ruleLength > 0 && codeLength != ruleLength) {
        if (codeLength < ruleLength - 1) return TFrameLengthCheck::TooShort;
        if (codeLength > ruleLength + 1) return TFrameLengthCheck::TooLong;
    }
    return TFrameLengthCheck::Fits;
}

double MatchTolerance(const TAnalysisContext& context) { return context.working.match_tolerance; }

int MatchLearnedProtocol(const TAnalysisContext& context, const Tstandard_protocols& table,
                         const Tprotocol_descriptor& learned) {
    return MatchStandardProtocol(table, learned, MatchTolerance(context));
}

}  // namespace spectrel
