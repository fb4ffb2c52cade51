// Vocabulary and tick: the thousands of measured intervals reduced to the handful of lengths a protocol uses.
//
// Fixed-width duration windows are swept over the measured range; adjacent populated windows are joined into
// elements; the tick (the protocol's base unit) is chosen among candidates near the first element; every element
// gets a nominal duration, a tick multiple where it is a clean one; duplicates go.

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "Code/SPX_processing.h"

namespace spectrel {

namespace {

// Nearest integer, ties to the even neighbour.
double RoundEven(double value) { return std::nearbyint(value); }

int RoundToInt(double value) {
    const double r = RoundEven(value);
    if (!(r > INT_MIN)) return INT_MIN;
    if (!(r < INT_MAX)) return INT_MAX;
    return static_cast<int>(r);
}

// Lowest start of the sweep and lowest step without carrier (us).
constexpr double kSweepLowestStart = 90.0;
constexpr double kSweepLowestStep = 30.0;
// Without carrier an element is a pulse plus its pause: the longest is taken 20 % longer.
constexpr double kPulsedRangeFactor = 1.2;
constexpr double kSweepRangeMargin = 200.0;
// With carrier the range reaches ten carrier periods beyond the longest interval.
constexpr double kCarrierRangePeriods = 10.0;
// A window is two carrier periods wide.
constexpr double kWindowPeriods = 2.0;
// A window more than this many carrier periods away from the first of its run starts a new element.
constexpr double kRunSpreadPeriods = 6.0;
// Limits of the run means while a run is merged.
constexpr double kRunStartSmallest = 100000.0;
constexpr double kRunRestartSmallest = 10000000.0;

// The tick base skips a first element below this (or below two carrier periods) when there is a second one.
constexpr int kLowestTickBase = 80;
// Candidate ticks are not tried below this.
constexpr int kLowestTickCandidate = 40;
constexpr int kTickDivisors = 3;
constexpr int kCandidatesPerDivisor = 6;
constexpr int kCandidateOffset = 2;

// A nominal more than this far from the mean is replaced by the rounded mean where that is asked for.
constexpr double kNominalSlack = 20.0;
// Tick multiples from this on are long enough to stand as rounded means.
constexpr int kLongTickMultiple = 10;
// A first element of this many ticks or more makes the vocabulary uneven.
constexpr int kUnevenFirstMultiple = 3;

// Well-known ticks of common protocols and how near a tick must be to be moved to them.
struct TKnownTick {
    double tick;
    double within;
};
constexpr TKnownTick kKnownTicks[] = {{562.5, 8}, {889, 8}, {430, 5}, {158.5, 5}, {2527, 5}, {306, 5}, {120, 5}};

// Where a sweep runs; `ok` false when the table gives nothing to sweep.
struct TSweepRange {
    bool ok = false;
    bool carrier = false;
    double start = 0;
    double width = 0;
    double finish = 0;
};

TSweepRange PrepareSweep(TAnalysisContext& context) {
    TSweepRange range;
    context.working.vocabulary_count = 0;
    if (context.recordCount < 2) return range;
    const TIntervalRecord* table = context.analysisTable();
    const double period = context.working.carrier_period;
    range.carrier = period > 0;

    const int shortestPause = ShortestPause(context);
    if (shortestPause == 0) return range;
    const double pause = table[shortestPause].duration;
    double lowest = pause;
    if (range.carrier) {
        const int shortestPulse = ShortestPulse(context);
        if (shortestPulse == 0) return range;
        lowest = std::min(pause, table[shortestPulse].duration);
    }
    range.start = std::max(0.8 * lowest - 20.0, kSweepLowestStart);

    const int longestFramePause = LongestFramePause(context);
    if (longestFramePause == 0) return range;
    double highest = table[longestFramePause].duration;
    if (range.carrier) {
        const int longestPulse = LongestPulse(context);
        if (longestPulse == 0) return range;
        highest = std::max(highest, table[longestPulse].duration);
        range.finish = highest + kCarrierRangePeriods * period + kSweepRangeMargin;
        range.width = kWindowPeriods * period;
    } else {
        range.finish = kPulsedRangeFactor * highest + kSweepRangeMargin;
        range.width = std::max(pause / 4.0 - 5.0, kSweepLowestStep);
    }
    // A range that cannot be walked in steps (not finite, or steps too small to move) gives no vocabulary.
    if (!std::isfinite(range.start) || !std::isfinite(range.finish) || !(range.width > 0) ||
        !(range.start + range.width > range.start))
        return range;
    range.ok = true;
    return range;
}

// The duration the sweep files record k under: the interval itself with carrier; without carrier a pulse
// together with the pause after it, and nothing for a pause.
inline double SweepValue(const TIntervalRecord* table, int k, int count, bool carrier) {
    const TIntervalRecord& r = table[k];
    if (carrier) return r.duration;
    if (!r.isPulse) return 0.0;
    // The last record has no pause after it within the table.
    return r.duration + (k + 1 < count ? table[k + 1].duration : 0.0);
}

// Moves the sweep on by one window; true when the window just processed is the last one.
inline bool NextWindow(double& start, double& end, double width, double finish) {
    start = end;
    end = start + width;
    return end > finish || !(end > start);
}

void CloseSweep(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    w.vocabulary[w.vocabulary_count] = TVocabularyElement{};
    ++w.vocabulary_count;
}

}  // namespace

void SweepWindowsReference(TAnalysisContext& context) {
    const TSweepRange range = PrepareSweep(context);
    if (!range.ok) return;
    TWorkingProtocol& w = context.working;
    const TIntervalRecord* table = context.analysisTable();
    const int count = context.recordCount;

    double start = range.start;
    double end = start + range.width;
    int emptyWindows = 1;
    for (;;) {
        TVocabularyElement& element = w.vocabulary[w.vocabulary_count];
        element = TVocabularyElement{};
        double sum = 0;
        double largest = start;
        double smallest = end;
        int members = 0;
        for (int k = 1; k < count; ++k) {
            const double v = SweepValue(table, k, count, range.carrier);
            if (v > 0 && v >= start && v < end) {
                sum += v;
                ++members;
                emptyWindows = 0;
                if (range.carrier && table[k].isPulse)
                    element.hasPulse = true;
                else
                    element.hasPause = true;
                largest = std::max(largest, v);
                smallest = std::min(smallest, v);
            }
        }
        element.members = members;
        if (members > 0) {
            element.mean = sum / members;
            element.maxDuration = largest;
            element.minDuration = smallest;
        }
        const bool last = NextWindow(start, end, range.width, range.finish);
        if (emptyWindows == 0) {
            if (w.vocabulary_count >= kSweepKeptElements) break;
            ++w.vocabulary_count;
        }
        if (members == 0) ++emptyWindows;
        if (last) break;
    }
    CloseSweep(context);
}

// The same windows as the reference, but each pass over the table files every record into its window among
// the next kSweepWindowsPerPass windows at once. Members are summed in table order, as the reference sums
// them, so the means come out bit for bit the same.
void SweepWindows(TAnalysisContext& context) {
    const TSweepRange range = PrepareSweep(context);
    if (!range.ok) return;
    TWorkingProtocol& w = context.working;
    const TIntervalRecord* table = context.analysisTable();
    const int count = context.recordCount;
    std::vector<double>& starts = context.analysis.sweep.starts;
    std::vector<TSweepWindowTotals>& totals = context.analysis.sweep.totals;

    // Beyond the longest value no window can have members; the first pass over the table finds it.
    double longestValue = std::numeric_limits<double>::infinity();
    bool longestKnown = false;
    const double reciprocalWidth = 1.0 / range.width;

    double start = range.start;
    double end = start + range.width;
    int emptyWindows = 1;
    bool done = false;
    while (!done) {
        // The windows of this pass: window i is [starts[i], starts[i + 1]).
        starts[0] = start;
        starts[1] = end;
        int windows = 1;
        bool lastPass = false;
        for (;;) {
            double s = starts[windows];
            double e = s + range.width;
            if (e > range.finish || !(e > s)) {
                lastPass = true;
                break;
            }
            if (windows == kSweepWindowsPerPass) break;
            starts[windows + 1] = e;
            ++windows;
        }
        for (int i = 0; i < windows; ++i) totals[i] = TSweepWindowTotals{};

        const double low = starts[0];
        const double high = starts[windows];
        // The smallest value beyond this pass: the windows up to it are empty.
        double nextValue = std::numeric_limits<double>::infinity();
        if (low <= longestValue) {
            double longest = -1.0;
            for (int k = 1; k < count; ++k) {
                const double v = SweepValue(table, k, count, range.carrier);
                if (v > longest) longest = v;
                if (v >= high && v < nextValue) nextValue = v;
                if (!(v > 0 && v >= low && v < high)) continue;
                // The arithmetic guess is off by at most a window or so; the window edges decide.
                int i = static_cast<int>((v - low) * reciprocalWidth);
                i = std::clamp(i, 0, windows - 1);
                while (i > 0 && v < starts[i]) --i;
                while (i < windows - 1 && v >= starts[i + 1]) ++i;
                TSweepWindowTotals& t = totals[i];
                if (t.members == 0) {
                    t.largest = v;
                    t.smallest = v;
                } else {
                    t.largest = std::max(t.largest, v);
                    t.smallest = std::min(t.smallest, v);
                }
                t.sum += v;
                ++t.members;
                if (range.carrier && table[k].isPulse)
                    t.hasPulse = true;
                else
                    t.hasPause = true;
            }
            if (!longestKnown) {
                longestValue = longest;
                longestKnown = true;
            }
        }

        for (int i = 0; i < windows; ++i) {
            const TSweepWindowTotals& t = totals[i];
            TVocabularyElement& element = w.vocabulary[w.vocabulary_count];
            element = TVocabularyElement{};
            element.members = t.members;
            if (t.members > 0) {
                element.hasPulse = t.hasPulse;
                element.hasPause = t.hasPause;
                element.mean = t.sum / t.members;
                element.maxDuration = t.largest;
                element.minDuration = t.smallest;
                emptyWindows = 0;
            }
            if (emptyWindows == 0) {
                if (w.vocabulary_count >= kSweepKeptElements) {
                    done = true;
                    break;
                }
                ++w.vocabulary_count;
            }
            if (t.members == 0) ++emptyWindows;
            // The last window, or nothing left that a later window could hold: later windows change nothing.
            if ((lastPass && i == windows - 1) || (emptyWindows > 0 && starts[i + 1] > longestValue)) {
                done = true;
                break;
            }
        }
        if (!done) {
            start = starts[windows];
            // After a run has closed, a stretch of more than a pass of empty windows changes nothing but the
            // empty counter: jump to just before the next value, so that the passes are bounded by the table,
            // not by how long its intervals are.
            if (emptyWindows > 0 && nextValue > start) {
                if (nextValue >= range.finish) break;
                const double skipped = std::floor((nextValue - start) * reciprocalWidth) - 1.0;
                if (skipped >= kSweepWindowsPerPass) start += skipped * range.width;
            }
            end = start + range.width;
        }
    }
    CloseSweep(context);
}

void MergeWindows(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    const double period = w.carrier_period;
    const bool carrier = period > 0;
    const int swept = w.vocabulary_count;
    TVocabularyElement accumulator;
    int output = 0;
    double smallestMean = kRunStartSmallest;
    double largestMean = 0;

    auto closeRun = [&] {
        if (accumulator.members > 0) {
            w.vocabulary[output] = accumulator;
            ++output;
        }
        accumulator = TVocabularyElement{};
    };

    // Elements are read at k and written at output <= k, so the merge can work in place.
    for (int k = 0; k < swept; ++k) {
        const TVocabularyElement element = w.vocabulary[k];
        if (element.members == 0) {
            closeRun();
            smallestMean = kRunStartSmallest;
            largestMean = 0;
            continue;
        }
        // Tolerant learning keeps a run whole: a level that jitters by more than the spread is still one element.
        if (carrier && !context.tolerant && largestMean > 0 && std::abs(element.mean - smallestMean) > kRunSpreadPeriods * period) {
            // A window too far from the start of its run ends the run; its own members are dropped.
            closeRun();
            smallestMean = kRunRestartSmallest;
            largestMean = 0;
            continue;
        }
        smallestMean = std::min(smallestMean, element.mean);
        largestMean = std::max(largestMean, element.mean);
        const int members = accumulator.members + element.members;
        accumulator.mean = (accumulator.mean * accumulator.members + element.mean * element.members) / members;
        accumulator.members = members;
        accumulator.hasPulse = accumulator.hasPulse || element.hasPulse;
        accumulator.hasPause = accumulator.hasPause || element.hasPause;
        accumulator.maxDuration = std::max(accumulator.maxDuration, element.maxDuration);
        // Without carrier the minimum is never taken over from the cleared accumulator.
        if (accumulator.minDuration < period)
            accumulator.minDuration = element.minDuration;
        else
            accumulator.minDuration = std::min(accumulator.minDuration, element.minDuration);
    }
    closeRun();
    w.vocabulary_count = output;
}

// An element with at most this share of the most populated element's members is sparse.
constexpr int kSparseElementShare = 8;

double JoinDistance(const TAnalysisContext& context) {
    const TWorkingProtocol& w = context.working;
    if (w.vocabulary_count <= 0) return 0;
    const double period = w.carrier_period;
    const double window = period > 0 ? 6 * period + 30 : std::min(w.vocabulary[0].mean / 10 + 30, 300.0);
    // Without a carrier the merged minimum stays 0 and says nothing about the spread.
    if (period <= 0) return window;
    int best = 0;
    for (int k = 1; k < w.vocabulary_count; ++k) {
        if (w.vocabulary[k].members > w.vocabulary[best].members) best = k;
    }
    const TVocabularyElement& e = w.vocabulary[best];
    return std::max(window, e.maxDuration - e.minDuration);
}

void JoinNearElements(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    const double distance = JoinDistance(context);
    int most = 0;
    for (int k = 0; k < w.vocabulary_count; ++k) most = std::max(most, w.vocabulary[k].members);
    // Two well-populated elements with a gap between them are two levels, however close.
    const auto sparse = [&](const TVocabularyElement& e) { return e.members * kSparseElementShare <= most; };
    int output = 0;
    for (int k = 0; k < w.vocabulary_count; ++k) {
        const TVocabularyElement& e = w.vocabulary[k];
        if (output > 0 && e.minDuration - w.vocabulary[output - 1].maxDuration < distance &&
            (sparse(e) || sparse(w.vocabulary[output - 1]))) {
            TVocabularyElement& joined = w.vocabulary[output - 1];
            const int members = joined.members + e.members;
            joined.mean = (joined.mean * joined.members + e.mean * e.members) / members;
            joined.members = members;
            joined.hasPulse = joined.hasPulse || e.hasPulse;
            joined.hasPause = joined.hasPause || e.hasPause;
            joined.maxDuration = std::max(joined.maxDuration, e.maxDuration);
            joined.minDuration = std::min(joined.minDuration, e.minDuration);
            continue;
        }
        w.vocabulary[output++] = e;
    }
    w.vocabulary_count = output;
}

double TickResidual(const TAnalysisContext& context, double tick) {
    const TWorkingProtocol& w = context.working;
    double residual = 0;
    for (int k = 0; k < w.vocabulary_count; ++k) {
        const TVocabularyElement& e = w.vocabulary[k];
        const double off = e.mean - tick * RoundEven(e.mean / tick);
        residual += e.members * off * off;
    }
    return residual;
}

bool MeansAreMultiples(const TAnalysisContext& context) {
    const TWorkingProtocol& w = context.working;
    if (w.vocabulary_count < 1) return false;
    const double unit = RoundEven(w.vocabulary[0].mean);
    if (unit < 2) return false;
    for (int k = 1; k < w.vocabulary_count; ++k) {
        if (std::fmod(RoundEven(w.vocabulary[k].mean), unit) != 0) return false;
    }
    return true;
}

void EstimateTick(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    if (w.vocabulary_count < 1) return;
    double base = RoundEven(w.vocabulary[0].mean);
    if ((2 * w.carrier_period > base || base < kLowestTickBase) && w.vocabulary_count > 1)
        base = RoundEven(w.vocabulary[1].mean);

    constexpr int kMaxCandidates = kTickDivisors * kCandidatesPerDivisor;
    double candidates[kMaxCandidates];
    double residuals[kMaxCandidates];
    int produced = 0;
    double tick = base;
    for (int divisor = 1; divisor <= kTickDivisors; ++divisor) {
        if (tick < kLowestTickCandidate) break;
        tick = RoundEven(base / divisor) - kCandidateOffset;
        for (int j = 0; j < kCandidatesPerDivisor; ++j) {
            candidates[produced] = tick;
            residuals[produced] = TickResidual(context, tick);
            ++produced;
            tick += 1;
        }
    }
    if (produced < 2) {
        context.messageBoxes.show(platform::MessageKind::Error, "Unreliable tick", platform::MessageButton::Ok);
        // No candidate at all (a base below 40 us): the base itself is the best guess there is.
        if (produced == 0) {
            if (base >= 1) w.tick = base;
            return;
        }
    }
    const bool multiples = MeansAreMultiples(context);
    int best = 0;
    for (int k = 0; k < produced; ++k) {
        if (residuals[k] * (1.0 + k / 10.0) < residuals[best] && !multiples) best = k;
    }
    w.tick = candidates[best];
}

double SnappedTick(double t) {
    const double r100 = RoundEven(t / 100) * 100;
    if (std::abs(t - r100) <= 5) return r100;
    const double r50 = RoundEven(t / 50) * 50;
    if (std::abs(t - r50) <= 2.5) return r50;
    const double r25 = RoundEven(t / 25) * 25;
    if (std::abs(t - r25) <= 2.5) return r25;
    for (const TKnownTick& known : kKnownTicks) {
        if (std::abs(t - known.tick) < known.within) return known.tick;
    }
    return RoundEven(t);
}

void SnapTick(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    if (w.vocabulary_count < 1) return;
    w.tick = SnappedTick(w.tick);
}

namespace {

// The mean rounded to 10 us below 1 ms, to 20 us below 2 ms, to 50 us above.
double RoundedMean(double mean) {
    const double step = mean < 1000 ? 10.0 : (mean < 2000 ? 20.0 : 50.0);
    return RoundEven(mean / step) * step;
}

}  // namespace

void AssignNominals(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    bool uneven = false;
    for (int k = 0; k < w.vocabulary_count; ++k) {
        TVocabularyElement& e = w.vocabulary[k];
        int multiple = RoundToInt(e.mean / w.tick);
        double nominal = multiple * w.tick;
        if (nominal > e.maxDuration || nominal < e.minDuration) nominal = e.mean;
        if (k == 0 && multiple >= kUnevenFirstMultiple) uneven = true;
        if (uneven || multiple >= kLongTickMultiple || k == w.vocabulary_count - 1) {
            if (std::abs(nominal - e.mean) > kNominalSlack) {
                nominal = RoundedMean(e.mean);
                multiple = multiple == INT_MIN ? INT_MIN : -std::abs(multiple);
            }
        }
        e.nominal = nominal;
        e.tickMultiple = multiple;
    }
    SortNominals(context);
}

void SortNominals(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int k = 1; k < w.vocabulary_count; ++k) {
            if (w.vocabulary[k].nominal < w.vocabulary[k - 1].nominal) {
                std::swap(w.vocabulary[k].nominal, w.vocabulary[k - 1].nominal);
                swapped = true;
            }
        }
    }
}

void ScaleTick(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    if (w.vocabulary_count < 1) return;
    bool byThree = true;
    bool byTwo = true;
    for (int k = 0; k < w.vocabulary_count; ++k) {
        const int m = w.vocabulary[k].tickMultiple;
        if (m <= 0 || m % 3 != 0) byThree = false;
        if (m <= 0 || m % 2 != 0) byTwo = false;
    }
    if (byThree)
        w.tick = RoundEven(3 * w.tick);
    else if (byTwo)
        w.tick = RoundEven(2 * w.tick);
}

void RemoveDuplicateNominals(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    int k = 1;
    while (k < w.vocabulary_count) {
        TVocabularyElement& previous = w.vocabulary[k - 1];
        const TVocabularyElement& element = w.vocabulary[k];
        if (element.nominal != previous.nominal) {
            ++k;
            continue;
        }
        previous.hasPulse = previous.hasPulse || element.hasPulse;
        previous.hasPause = previous.hasPause || element.hasPause;
        for (int j = k; j + 1 < w.vocabulary_count; ++j) w.vocabulary[j] = w.vocabulary[j + 1];
        --w.vocabulary_count;
    }
}

}  // namespace spectrel
