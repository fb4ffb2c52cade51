// Pulses, pauses and carrier: the clock-adjusted analysis copy of the capture, the carrier period from the
// pulses' cycle counts, the pulse-width correction, the extreme-value searches and the check of a new capture.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "Code/SPX_Assert.h"
#include "Code/SPX_processing.h"

namespace spectrel {

namespace {

// Carrier tiers: (least time from the first to the last counted cycle in us, least cycle count).
// Long bursts give the most precise period; shorter ones are used when there are no long ones.
constexpr double kTierALeastSpan = 2000;  // more than
constexpr int kTierALeastCycles = 21;
constexpr double kTierBLeastSpan = 500;  // at least
constexpr int kTierBLeastCycles = 11;
constexpr double kTierCLeastSpan = 100;  // more than
constexpr int kTierCLeastCycles = 4;
// Tier C must add up to this much before a longer tier replaces its estimate.
constexpr double kTierCEnoughSpan = 1000;  // more than
constexpr double kTierCEnoughCycles = 11;  // at least

// A carrier faster than 100 kHz is suspicious; one faster than 500 kHz cannot be counted by the board.
constexpr double kSuspiciousPeriod = 10;
constexpr double kShortestPeriod = 2;

// Carrier spread: the starting minimum, and the maximum a pulse without counted cycles forces.
constexpr double kSpreadStartMinimum = 10000;
constexpr double kSpreadNoCycles = 1000000;

// Capture check: intervals and the longest pulse measured in carrier periods; the spread allowed.
constexpr double kShortestIntervalPeriods = 5;
constexpr double kLongestPulsePeriods = 5;
constexpr double kLargestSpread = 0.2;
constexpr int kLargestCountedUniques = 1000;

struct TierSums {
    double span = 0;
    double cycles = 0;  // cycles minus one per pulse: the periods between the first and the last cycle
    bool any = false;

    void add(double s, int c) {
        span += s;
        cycles += c - 1;
        any = true;
    }
};

// "9.50": fixed notation with two decimals, halves away from zero.
std::string FixedTwoDecimals(double value) {
    const double rounded = std::round(value * 100.0) / 100.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", rounded);
    return text;
}

}  // namespace

void CopyForAnalysis(TAnalysisContext& context) {
    SPX_ASSERT(context.recordCount >= 0 && context.recordCount <= kCaptureTableSize,
               "record count beyond the capture table", "Code/SPX_processing");
    const double adjustment = context.parameters().clockAdjustment();
    const TIntervalRecord* from = context.captureTable();
    TIntervalRecord* to = context.analysisTable();
    for (int k = 0; k < context.recordCount; ++k) {
        to[k] = from[k];
        to[k].time *= adjustment;
        to[k].duration *= adjustment;
    }
    if (context.analysisCopied) context.analysisCopied();
}

namespace {

// The carrier period rounded to 0.5 us, before a period too short for the board is raised.
double RoundedCarrierPeriod(const TIntervalRecord* table, int begin, int end, double readerDelay,
                            double durationScale, double clockAdjustment) {
    TierSums tierA, tierB, tierC;
    double estimate = 0;
    for (int k = std::max(begin, 0); k < end; ++k) {
        const TIntervalRecord& r = table[k];
        if (!r.isPulse) continue;
        const int c = r.carrierCycles;
        // The burst end is reported a reader delay after the last cycle.
        const double s = r.duration * durationScale - readerDelay;
        if (s > kTierALeastSpan && c >= kTierALeastCycles) tierA.add(s, c);
        if (s >= kTierBLeastSpan && c >= kTierBLeastCycles) tierB.add(s, c);
        if (s > kTierCLeastSpan && c >= kTierCLeastCycles) {
            tierC.add(s, c);
            estimate = tierC.span / tierC.cycles;
        }
    }
    if (tierC.span > kTierCEnoughSpan && tierC.cycles >= kTierCEnoughCycles) {
        if (tierA.any) {
            estimate = tierA.span / tierA.cycles;
        } else if (tierB.any) {
            estimate = tierB.span / tierB.cycles;
        }
    }
    return std::nearbyint(2 * (estimate / clockAdjustment)) / 2;
}

}  // namespace

double CarrierPeriodOf(const TIntervalRecord* table, int begin, int end, double readerDelay, double durationScale,
                       double clockAdjustment) {
    const double period = RoundedCarrierPeriod(table, begin, end, readerDelay, durationScale, clockAdjustment);
    return period > 0 && period < kShortestPeriod ? kShortestPeriod : period;
}

double MeasureCarrier(TAnalysisContext& context) {
    // The first and the last record of the table are left out.
    const double adjustment = context.parameters().clockAdjustment();
    double period = RoundedCarrierPeriod(context.analysisTable(), 1, context.recordCount - 1, context.readerDelay,
                                         1.0, adjustment);
    if (period > 0 && period < kSuspiciousPeriod) {
        context.messageBoxes.show(platform::MessageKind::Error, "Carrier " + FixedTwoDecimals(period) + " is too high ",
                                  platform::MessageButton::Ok | platform::MessageButton::Cancel);
        if (period < kShortestPeriod) period = kShortestPeriod;
    }
    context.working.carrier_period = period;
    return period;
}

void CorrectPulseWidths(TAnalysisContext& context, double x) {
    CopyForAnalysis(context);
    TIntervalRecord* table = context.analysisTable();
    for (int k = 1; k < context.recordCount; ++k) {
        if (table[k].isPulse) {
            table[k].duration -= x;
        } else {
            table[k].duration += x;
        }
    }
}

int LongestPulse(const TAnalysisContext& context) {
    const TIntervalRecord* table = context.analysisTable();
    int found = 0;
    double longest = 0;
    for (int k = 1; k < context.recordCount; ++k) {
        if (table[k].isPulse && table[k].duration > longest) {
            longest = table[k].duration;
            found = k;
        }
    }
    return found;
}

int LongestFramePause(const TAnalysisContext& context) {
    const TIntervalRecord* table = context.analysisTable();
    const double gap = context.parameters().minimumGapMicroseconds();
    int found = 0;
    double longest = 0;
    for (int k = 1; k < context.recordCount; ++k) {
        const TIntervalRecord& r = table[k];
        if (!r.isPulse && r.frameNumber >= 0 && r.duration < gap && r.duration > longest) {
            longest = r.duration;
            found = k;
        }
    }
    return found;
}

int ShortestPulse(const TAnalysisContext& context) {
    const TIntervalRecord* table = context.analysisTable();
    int found = 0;
    for (int k = 1; k < context.recordCount; ++k) {
        if (table[k].isPulse && (found == 0 || table[k].duration < table[found].duration)) found = k;
    }
    return found;
}

int ShortestPause(const TAnalysisContext& context) {
    const TIntervalRecord* table = context.analysisTable();
    int found = 0;
    // The last record (normally the closing entry) is left out.
    for (int k = 1; k < context.recordCount - 1; ++k) {
        const TIntervalRecord& r = table[k];
        if (!r.isPulse && r.duration > 0 && (found == 0 || r.duration < table[found].duration)) found = k;
    }
    return found;
}

double CarrierSpread(const TAnalysisContext& context) {
    const TIntervalRecord* table = context.analysisTable();
    double minimum = kSpreadStartMinimum;
    double maximum = 0;
    for (int k = 1; k < context.recordCount; ++k) {
        const TIntervalRecord& r = table[k];
        if (!r.isPulse) continue;
        if (r.carrierCycles == 0) {
            maximum = kSpreadNoCycles;
        } else if (r.carrierCycles == 1) {
            // A single counted cycle says nothing about the period: the spread is taken as none.
            minimum = 1;
            maximum = 1;
            break;
        } else {
            const double period = r.duration / r.carrierCycles;
            if (period < minimum) minimum = period;
            if (period > maximum) maximum = period;
        }
    }
    const double sum = maximum + minimum;
    // Only pulses of no length or less can bring the sum to zero; they give no spread to speak of.
    if (sum == 0) return 0;
    return std::fabs(maximum - minimum) / sum;
}

bool CheckCapture(const TAnalysisContext& context, std::string& message) {
    message.clear();
    if (context.recordCount < 2) return false;

    bool acceptable = true;
    const TIntervalRecord* table = context.analysisTable();
    const int record = table[context.recordCount - 1].recordNumber;
    const double period = context.working.carrier_period;

    if (period > 0 && table[LongestPulse(context)].duration > kLongestPulsePeriods * period) {
        const double shortest = kShortestIntervalPeriods * period;
        if (table[ShortestPulse(context)].duration < shortest || table[ShortestPause(context)].duration < shortest) {
            message = "Too short intervals";
            acceptable = false;
        }
        if (CarrierSpread(context) > kLargestSpread) {
            message = message.empty() ? "Inconsistent carrier" : message + ", Inconsistent carrier";
            acceptable = false;
        }
    }

    // Elements met fewer times than there are captures appear in only some of them.
    int uniques = 0;
    const auto& vocabulary = context.working.vocabulary;
    for (int k = 0; k < context.working.vocabulary_count; ++k) {
        if (vocabulary[k].members < record) ++uniques;
    }
    if (uniques > 0) {
        if (!acceptable) message += " and ";
        if (uniques == 1) {
            message += "1 unique interval";
        } else if (uniques <= kLargestCountedUniques) {
            message += std::to_string(uniques) + " unique intervals";
        }
        acceptable = false;
    }
    return acceptable;
}

}  // namespace spectrel
