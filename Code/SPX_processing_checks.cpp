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


// The values the vocabulary match looks at: every interval inside a frame, a pulse-and-pause sum without carrier.
template <typename Visit>
void ForEachMatchedValue(const TAnalysisContext& context, Visit visit) {
    const int count = context.recordCount;
    const double carrier = context.working.carrier_period;
    const TIntervalRecord* table = context.analysisTable();
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
        if (v > 0) visit(v, carrier > 0 && record.isPulse);
    }
}

// Nominal of a new level: its mean rounded to 10 us (below 1000 us), 20 us (below 2000 us) or 50 us.
double NewLevelNominal(double mean) {
    const double step = mean < 1000 ? 10 : mean < 2000 ? 20 : 50;
    return RoundHalfEven(mean / step) * step;
}

std::string NewLevelList(const std::vector<TVocabularyElement>& levels) {
    std::string list;
    for (const TVocabularyElement& level : levels) {
        list += (list.empty() ? "" : ", ") + FormatGeneralNumber(level.nominal);
    }
    return list + " us";
}

}  // namespace

std::vector<TReferenceRange> ReferenceRanges(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    std::vector<TReferenceRange> ranges;
    const auto add = [&](double nominal, double lowest, double highest) {
        TReferenceRange r{nominal, nominal, nominal};
        // Without a carrier the merged minimum stays 0: only the longest member says something then.
        if (lowest > 0) r.lowest = std::min(nominal, lowest);
        if (highest > 0) r.highest = std::max(nominal, highest);
        ranges.push_back(r);
    };
    if (current.valid) {
        const int count = std::clamp(current.vocabulary_count, 0, kDescriptorVocabularySize);
        for (int k = 0; k < count; ++k) add(current.durations[k], current.tolerant.lowest[k], current.tolerant.highest[k]);
    } else {
        const int count = std::clamp(context.working.vocabulary_count, 0, kWorkingVocabularySize);
        for (int k = 0; k < count; ++k) {
            const TVocabularyElement& e = context.working.vocabulary[k];
            add(e.nominal, e.minDuration, e.maxDuration);
        }
    }
    return ranges;
}

std::vector<TVocabularyElement> UnknownLevels(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    std::vector<TVocabularyElement> levels;
    if (context.recordCount < 2) return levels;
    const std::vector<TReferenceRange> ranges = ReferenceRanges(context, current);
    const double window =
        VocabularyWindow(context.working.carrier_period, ranges.empty() ? 0.0 : ranges.front().nominal);
    std::vector<std::pair<double, bool>> unmatched;
    ForEachMatchedValue(context, [&](double v, bool pulse) {
        const bool close = std::any_of(ranges.begin(), ranges.end(), [&](const TReferenceRange& r) {
            return v > r.lowest - window && v < r.highest + window;
        });
        if (!close) unmatched.emplace_back(v, pulse);
    });
    std::sort(unmatched.begin(), unmatched.end());
    double sum = 0;
    for (std::size_t i = 0; i < unmatched.size(); ++i) {
        const auto [v, pulse] = unmatched[i];
        // Durations closer than the window to the one before belong to the same level.
        if (levels.empty() || v - levels.back().maxDuration >= window) {
            if (!levels.empty()) levels.back().mean = sum / levels.back().members;
            levels.push_back({});
            levels.back().minDuration = v;
            sum = 0;
        }
        TVocabularyElement& level = levels.back();
        sum += v;
        ++level.members;
        level.maxDuration = v;
        (pulse ? level.hasPulse : level.hasPause) = true;
    }
    if (!levels.empty()) levels.back().mean = sum / levels.back().members;
    for (TVocabularyElement& level : levels) {
        level.nominal = NewLevelNominal(level.mean);
        if (ranges.empty() && !level.hasPulse) level.hasPause = true;
    }
    return levels;
}

bool ExtendVocabulary(TAnalysisContext& context, Tprotocol_descriptor& current,
                      const std::vector<TVocabularyElement>& levels) {
    const int count = std::clamp(current.vocabulary_count, 0, kDescriptorVocabularySize);
    if (count + static_cast<int>(levels.size()) > kDescriptorVocabularySize) return false;
    TWorkingProtocol& w = context.working;
    // The working vocabulary codes the frames: it holds the protocol's elements and then the new ones.
    w.vocabulary_count = std::min(w.vocabulary_count, count);
    for (int k = w.vocabulary_count; k < count; ++k) {
        w.vocabulary[k] = TVocabularyElement{};
        w.vocabulary[k].nominal = current.durations[k];
        w.vocabulary[k].hasPulse = current.is_pulse[k];
        w.vocabulary[k].hasPause = current.is_pause[k];
    }
    int k = count;
    for (const TVocabularyElement& level : levels) {
        current.durations[k] = level.nominal;
        current.is_pulse[k] = level.hasPulse;
        current.is_pause[k] = level.hasPause;
        current.tolerant.lowest[k] = level.minDuration;
        current.tolerant.highest[k] = level.maxDuration;
        w.vocabulary[k] = level;
        ++k;
    }
    current.vocabulary_count = k;
    w.vocabulary_count = k;
    if (current.standard) {
        current.standard = false;
        current.name = "~" + current.name;
    }
    return true;
}

std::string ExtendVocabularyText(const std::vector<TVocabularyElement>& levels) {
    return "The capture holds " + std::string(levels.size() == 1 ? "a duration" : "durations") +
           " the protocol does not have: " + NewLevelList(levels) +
           "\rAdd " + (levels.size() == 1 ? "it" : "them") +
           " to the protocol's vocabulary? Codes learned so far stay as they are.";
}

std::string VocabularyFullText(int count, int added) {
    return std::string(kNoVocabularyMatchText) + "\rThe " + std::to_string(added) + " new duration" +
           (added == 1 ? "" : "s") + " would make " + std::to_string(count + added) + " elements, more than the " +
           std::to_string(kDescriptorVocabularySize) + " a protocol can hold";
}

void ResetReaderAfterCapture(TReaderLink& reader) {
    reader.ResetReader();
    std::uint8_t stale = 0;
    int read = 0;
    while (read < kSettleBytes && reader.ReadReaderByte(stale)) ++read;
    if (read > 0) reader.ResetReader();
}

int CaptureButton(TAnalysisContext& context, TReaderLink& reader, Tprotocol_descriptor& current,
                  TCaptureProgressBar* progressBar, TCaptureDisplayList* displayList) {
    platform::MessageBoxes& boxes = context.messageBoxes;
    reader.ResetReader();
    for (;;) {
        context.recordCount = 0;
        const int frames = Capture(context, reader, 0, 0, progressBar, displayList);
        ResetReaderAfterCapture(reader);
        if (frames <= 0) {
            context.recordCount = 0;
            if (!reader.ReaderPortFailure().empty()) {
                // Retrying cannot help: say what happened once and stop.
                boxes.show(MessageKind::Error, reader.ReaderLostMessage(), MessageButton::Ok);
                return kButtonCaptureAborted;
            }
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
            std::string text = kNoVocabularyMatchText;
            if (context.tolerant && current.valid) {
                // Durations of a key the protocol-learning keys never showed: offered as new elements.
                const std::vector<TVocabularyElement> levels = UnknownLevels(context, current);
                const int count = std::clamp(current.vocabulary_count, 0, kDescriptorVocabularySize);
                const int added = static_cast<int>(levels.size());
                if (count + added > kDescriptorVocabularySize) {
                    text = VocabularyFullText(count, added);
                } else if (added > 0 && boxes.show(MessageKind::Confirmation, ExtendVocabularyText(levels),
                                                   MessageButton::Yes | MessageButton::No) == MessageButton::Yes) {
                    ExtendVocabulary(context, current, levels);
                    CopyForAnalysis(context);
                    return kButtonCaptured;
                }
            }
            const MessageButton answer =
                boxes.show(MessageKind::Error, text,
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
    if (context.tolerant) {
        if (ReferenceRanges(context, current).empty()) return false;
        return UnknownLevels(context, current).empty();
    }
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
    if (context.tolerant && current.tolerant.data_from >= 0) {
        data.clear();
        for (int frame = current.tolerant.data_from; frame <= lastFrame; ++frame) data += frameCode(frame);
    }
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
    // A press of one frame has no frame rate of its own; designed, it keeps the rate of the capture before.
    // Frames that are all data (tolerant.data_from) are not repeats and have no rate either.
    if (context.tolerant) {
        context.working.frame_rate = -1;
        if (current.tolerant.data_from >= 0) return false;
    }
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
