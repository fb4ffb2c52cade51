#pragma once
// The picture of the latest capture: every record and frame of the capture table with each interval's place in
// time, its duration, the vocabulary element and letter the analysis gave it, how far it lies from the nearest
// reference duration of the vocabulary match, and the role of each frame in the protocol (data, second data,
// dummy, header, repeat). The capture view draws it; SvgOfCapturePicture writes it as an SVG document without any
// toolkit, for the command line and for bug reports. The exports of the capture as a signal are built from it as
// well (CapturedSignalOf).

#include <cstdint>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"

namespace spectrel {

class TAnalysisContext;

// What a frame is to the protocol. A dummy frame before the data frame is its header; a dummy frame repeated
// after the data frame while the key is held (a NEC repeat code) and every frame that sends an earlier frame's
// code again are repeats.
enum class TFrameRole : std::uint8_t { None, Data, SecondData, Dummy, Header, Repeat };
// "data", "second data", "dummy", "header", "repeat" or "none".
const char* FrameRoleName(TFrameRole role);

// One pulse or pause of a frame.
struct TPictureInterval {
    double start = 0;     // us from the start of its frame's first interval
    double duration = 0;  // us, as the analysis saw it (clock-adjusted; widths corrected after a protocol analysis)
    double captured = 0;  // us, as the board timed it
    bool isPulse = false;
    int carrierCycles = 0;
    int element = -1;  // vocabulary element the frame's code gave it; -1 none (not coded, or no vocabulary)
    char letter = 0;   // its letter in the frame's code; 0 none
    double nominal = 0;  // the element's nominal duration (0 without element)
    // The vocabulary match: whether it looked at this interval, the value it compared (a pulse-and-pause sum
    // without carrier), the nearest reference duration and the distance to it (0 inside a tolerant range; -1
    // when there is no reference at all), and whether that distance lies inside the vocabulary window.
    bool checked = false;
    double compared = 0;
    double reference = 0;
    double distance = -1;
    bool matched = true;
};

struct TPictureFrame {
    int number = 0;          // frame number within its record
    TFrameRole role = TFrameRole::None;
    std::string code;        // the frame's IR code string, as the analysis writes it
    double gapBefore = 0;    // us of silence before the frame (0 for the first frame of a capture)
    double capturedGapBefore = 0;  // the same as the board timed it
    double length = 0;       // us from the start of the first interval to the end of the last
    int unmatched = 0;       // intervals outside the vocabulary window
    std::vector<TPictureInterval> intervals;
};

struct TPictureRecord {
    int recordNumber = 0;
    int buttonNumber = 0;
    double carrierPeriod = 0;  // us, measured on this record's pulses (0: none)
    double frameRate = -1;     // ms, from frame 0 to frame 1 of this record; -1 not measured
    std::vector<TPictureFrame> frames;
};

struct TCapturePicture {
    std::vector<TPictureRecord> records;
    int intervalCount = 0;
    int unmatchedCount = 0;
    double longestFrame = 0;  // us: the time axis every row shares
    double tick = 0;          // us; 0 without a vocabulary
    int vocabularyCount = 0;
    double vocabularyWindow = 0;     // us: how far an interval may lie from its reference
    std::vector<double> references;  // the reference durations of the vocabulary match
    std::string format;              // the format whose frame roles are shown; empty when none is known
    bool protocolValid = false;
    std::string protocolName;
    // The tolerance tests of a button capture against the protocol: the values measured on the capture, the
    // protocol's, and whether they lie outside its tolerance (only with a valid protocol).
    double measuredCarrier = 0;  // us (0: no carrier)
    double protocolCarrier = -1;
    bool carrierOutside = false;
    double measuredFrameRate = -1;  // ms; -1 not measured
    double protocolFrameRate = -1;
    bool frameRateOutside = false;

    bool empty() const { return records.empty(); }
};

// Builds the picture of the records in the capture and analysis tables, with the letters of the working
// vocabulary, the references and tolerance tests of `current` (the working vocabulary when it is not valid) and
// the frame roles of its format (the working format when it is not valid).
TCapturePicture BuildCapturePicture(const TAnalysisContext& context, const Tprotocol_descriptor& current);

// The lines that say what is wrong with the capture, empty when nothing is: the intervals that match no
// vocabulary element with their distances, a frame rate or carrier outside the protocol's tolerance.
std::vector<std::string> CapturePictureComplaints(const TCapturePicture& picture);
// One interval as its hint says it: duration, nominal, element, cycles and the vocabulary distance.
std::string IntervalHint(const TPictureInterval& interval, const TCapturePicture& picture);
// "Record 0, button 0: 3 frames, carrier 26.5 us, frame rate 108.0 ms".
std::string RecordCaption(const TPictureRecord& record);
// "F0 data".
std::string FrameCaption(const TPictureFrame& frame);

// Colours of the picture, 0xRRGGBB: the frame roles in the colours the protocol description uses for its values
// (blue data, maroon second data, teal dummy, fuchsia header, grey repeats, black for a frame of no known role),
// red for what matches no vocabulary element.
std::uint32_t FrameRoleColour(TFrameRole role);
constexpr std::uint32_t kOutsideVocabularyColour = 0xFF0000;
constexpr std::uint32_t kTickGridColour = 0xE4E4EC;

// Where the rows of the picture lie, in pixels: one header line per record, then one row per frame of it.
struct TPictureLayout {
    static constexpr double kLeftMargin = 96;   // frame captions
    static constexpr double kRightMargin = 24;
    static constexpr double kTopMargin = 44;    // summary and time scale
    static constexpr double kRecordHeader = 20;
    static constexpr double kRowHeight = 34;    // letters above, the mark blocks below
    static constexpr double kLetterBand = 13;
    static constexpr double kMarkHeight = 14;
    struct TRow {
        int record = 0;  // index into TCapturePicture::records
        int frame = 0;   // index into its frames
        double top = 0;
    };
    std::vector<double> recordTops;  // top of each record's header line
    std::vector<TRow> rows;
    double height = 0;
};
// `extraTop` moves everything down (room for the complaint lines).
TPictureLayout LayoutCapturePicture(const TCapturePicture& picture, double extraTop = 0);

// The picture as an SVG document, `width` pixels wide with the longest frame filling it. Every interval outside
// the vocabulary window carries its distance in a title (a tooltip in a browser); all intervals do in a picture of
// at most `titledIntervals` intervals.
std::string SvgOfCapturePicture(const TCapturePicture& picture, double width = 1200, int titledIntervals = 4000);

// One record of the capture as the remote sent it, for exports that the virtual board plays again: the carrier
// in Hz (0 without), then the marks and spaces from the first mark on, the board's late burst end taken back
// (the pulse-width correction of the analysis), the gaps between frames included.
struct TCapturedSignal {
    std::string name;
    int carrierHz = 0;
    std::vector<double> durations;  // us, alternating, starting with a mark
};
TCapturedSignal CapturedSignalOf(const TCapturePicture& picture, int record, double readerDelay);

}  // namespace spectrel
