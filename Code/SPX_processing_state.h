#pragma once
// Working state and steps of the vocabulary, tick and frame analysis.
//
// The vocabulary itself (its elements, count and tick) lives in the working protocol (Code/SPX_Data.h); what
// is kept here is what the steps need besides it: the scratch space of the window sweep (allocated once with
// the context, never per window or per record), the index of frames into the analysis table, and the button
// number that coding a frame last met. The analysis context (Code/SPX_processing.h) holds one TAnalysisState.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace spectrel {

class TAnalysisContext;
struct Tprotocol_descriptor;

// The sweep keeps at most this many populated or closing windows before its final empty element.
constexpr int kSweepKeptElements = 100;
// Windows whose members the fast sweep gathers in one pass over the analysis table.
constexpr int kSweepWindowsPerPass = 8192;

// Members of one window of the sweep while the analysis table is scanned.
struct TSweepWindowTotals {
    double sum = 0;
    double largest = 0;
    double smallest = 0;
    int members = 0;
    bool hasPulse = false;
    bool hasPause = false;
};

// Scratch space of the fast window sweep.
struct TSweepScratch {
    TSweepScratch() : starts(kSweepWindowsPerPass + 1), totals(kSweepWindowsPerPass) {}
    std::vector<double> starts;              // start of every window of a pass, and the end of the last
    std::vector<TSweepWindowTotals> totals;  // members gathered per window of a pass
};

// Records and frames that FillFramesBuffer and the frame patterns look at.
constexpr int kIndexedRecords = 11;  // record numbers 0 to 10
constexpr int kIndexedFrames = 101;  // frame numbers 0 to 100

// Where each frame of the first records lies in the analysis table. Usable only when the table is in capture
// order (record numbers never go down, and within a record the frame numbers of frame entries never go down);
// then the entries of frame f of record r are those of that record and frame in [begin, end).
struct TFrameIndex {
    bool usable = false;
    std::array<std::array<int, kIndexedFrames>, kIndexedRecords> begin{};
    std::array<std::array<int, kIndexedFrames>, kIndexedRecords> end{};
};

// What the analysis steps keep between them, besides the working protocol.
struct TAnalysisState {
    TSweepScratch sweep;
    TFrameIndex frames;
    // Button number of the record entry that coding a frame met last (FrameCode).
    int lastRecordButton = 0;
};

// --- vocabulary and tick (Code/SPX_processing_vocabulary.cpp)

// Builds the vocabulary of swept windows: runs of adjacent populated windows, each followed by an empty
// element. Gathers the members of many windows per pass over the table.
void SweepWindows(TAnalysisContext& context);
// The same sweep, rescanning the whole table for every window: slow, kept to check the fast one against.
void SweepWindowsReference(TAnalysisContext& context);
// Joins each run of swept windows into one element.
void MergeWindows(TAnalysisContext& context);
// Tolerant learning, after the merge: joins neighbouring elements whose ranges lie closer than the join distance
// when one of them has at most an eighth of the members of the most populated element (a level whose few
// members jitter more than the windows are wide comes out in pieces otherwise).
void JoinNearElements(TAnalysisContext& context);
// The vocabulary window of the first element, or the spread (longest less shortest member) of the most populated
// element when that is larger: how far one level's members are seen to wander. Without a carrier the window.
double JoinDistance(const TAnalysisContext& context);
// Picks the tick among candidates near the first usable element's mean and its halves and thirds.
void EstimateTick(TAnalysisContext& context);
// Sum over the elements of members * (mean - t * round(mean / t))^2.
double TickResidual(const TAnalysisContext& context, double tick);
// True when every element's rounded mean is a multiple of the first one's.
bool MeansAreMultiples(const TAnalysisContext& context);
// Moves the tick to a nearby round or well-known value.
void SnapTick(TAnalysisContext& context);
// The tick alone, as SnapTick moves it.
double SnappedTick(double tick);
// Gives every element its nominal duration and tick multiple, then sorts the nominals.
void AssignNominals(TAnalysisContext& context);
// Puts the nominal durations in ascending order; every other field stays with its element.
void SortNominals(TAnalysisContext& context);
// Triples or doubles the tick when every tick multiple allows it.
void ScaleTick(TAnalysisContext& context);
// Removes each element whose nominal equals its predecessor's, passing its pulse and pause flags on.
void RemoveDuplicateNominals(TAnalysisContext& context);
// The vocabulary steps after the sweep, in order: merge the windows, estimate and snap the tick, assign the
// nominals, scale and snap the tick again, assign again, remove duplicate nominals.
void BuildVocabularyFromWindows(TAnalysisContext& context);
// The whole vocabulary and tick of the analysis run: the sweep, then BuildVocabularyFromWindows.
void BuildVocabulary(TAnalysisContext& context);

// The analysis run over everything captured so far: carrier, pulse widths, vocabulary and tick, frame format,
// frame rate. Does nothing and returns false when `current` is a defined protocol (valid); otherwise true when
// the frame format has a description.
bool AnalyseProtocol(TAnalysisContext& context, const Tprotocol_descriptor& current);

// --- frames and format (Code/SPX_processing_frames.cpp)

// Index of the element whose nominal is nearest (midpoints between neighbours decide); -1 without vocabulary.
int NearestElement(const TAnalysisContext& context, double duration);
// IR code string of one frame of one record of the analysis table; empty when there is no such frame.
std::string FrameCode(TAnalysisContext& context, int record, int frame);
// Refills the frames buffer with every frame of records 0 to 10 of the analysis table.
void FillFramesBuffer(TAnalysisContext& context);

// Queries on the frames buffer; `index` counts the records of one button from 0.
int RecordFrameCount(const TAnalysisContext& context, int button, int index);
// Code of frame `frame` of that record; the record's last frame for a frame number beyond it; empty when the
// record has no frames or the frame number is negative.
std::string BufferedFrameCode(const TAnalysisContext& context, int button, int index, int frame);
// The shortest code among frame `frame` of the first two presses of button 0 and the first press of button 1.
std::string ShortestDataCode(const TAnalysisContext& context, int frame);
// Frame `frame` is the same code in those three records.
bool FrameSameAcrossButtons(const TAnalysisContext& context, int frame);
// The last frames of those three records are the same code.
bool LastFramesEqual(const TAnalysisContext& context);
// Both records of the button have frames and agree on every frame the two have.
bool RecordsIdentical(const TAnalysisContext& context, int button, int indexA, int indexB);
// Every buffered record has exactly two frames (and the first press of button 0 has frames).
bool AllRecordsTwoFrames(const TAnalysisContext& context);

// Letter pattern of the frames of one record: "aB" for a frame followed by repeats of another, "[ab]" for two
// alternating frames, "a[bc]" for a frame followed by two alternating ones.
std::string FramePattern(TAnalysisContext& context, int record);
// The pattern the three learning records agree on; empty when they do not.
std::string ConsensusPattern(TAnalysisContext& context);
// Per frame of the first presses: '2' when the other keys sent the same frame, '1' when it changed;
// "nothing to say" without frames.
std::string PositionDigits(const TAnalysisContext& context);
// The digits lined up with the letters of a pattern, cut to their first and last digit.
std::string AlignedDigits(const std::string& digits, const std::string& pattern);
// Weight by which the consensus orders the patterns.
std::int64_t PatternWeight(const std::string& pattern);

// Sets the working frame format (format, letters, positions and codes) and returns the format.
std::string ClassifyFormat(TAnalysisContext& context);
// Frame repetition period in ms, from the first two frames of the table; stored in the working protocol.
double MeasureFrameRate(TAnalysisContext& context);
// How the working format sends its frames, such as "<data>-<data>- ..."; empty for a format without one.
std::string FormatDescription(TAnalysisContext& context);

}  // namespace spectrel
