#pragma once
// Button captures checked against a known protocol: one capture with its retry dialogue, the test that every
// captured interval belongs to the vocabulary, the data, second data and dummy frame codes of the capture, and
// the tolerance tests of frame rate, carrier and data frame length. The match tolerance used here (a decoding
// parameter, 6 % unless the user picks another) is also the tolerance of the standard-protocol matching.

#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_processing.h"

namespace spectrel {

class TReaderLink;
class TCaptureProgressBar;
class TCaptureDisplayList;

// Results of CaptureButton.
constexpr int kButtonCaptured = 1;
constexpr int kButtonCaptureAborted = 3;
constexpr int kButtonCaptureIgnored = 5;

// Resets the board after a capture. A capture that stopped while the board was still sending (20 frames of a
// long press) leaves the rest of the stream on the line, ahead of the reset's answer: the line is then read
// until it falls quiet (at most kSettleBytes bytes) and the board is reset once more, so the next capture
// starts clean.
constexpr int kSettleBytes = 8192;
void ResetReaderAfterCapture(TReaderLink& reader);

// One button capture with retries, in record 0 of an emptied capture table: resets the board, captures, checks
// the capture and its vocabulary, and asks the user when something is wrong. Returns kButtonCaptured (the
// analysis table then holds the capture), kButtonCaptureAborted or kButtonCaptureIgnored.
// With tolerant learning a capture that holds durations the protocol lacks offers to add them to its
// vocabulary (a standard protocol then becomes "~" + its name).
int CaptureButton(TAnalysisContext& context, TReaderLink& reader, Tprotocol_descriptor& current,
                  TCaptureProgressBar* progressBar, TCaptureDisplayList* displayList);

// A duration a captured interval may be close to, with the range measured for it while learning (both equal
// to the nominal when nothing was measured).
struct TReferenceRange {
    double nominal = 0;
    double lowest = 0;
    double highest = 0;
};

// The reference durations of the vocabulary match: the protocol's when it is valid, otherwise the working
// vocabulary's, each with its measured range.
std::vector<TReferenceRange> ReferenceRanges(const TAnalysisContext& context, const Tprotocol_descriptor& current);

inline constexpr const char* kNoVocabularyMatchText = "Error: captured data do not match vocabulary";

// Tolerant learning: the captured durations that lie within the vocabulary window of no element's measured range
// (nor of its nominal), grouped into new levels (durations closer than the window join one level; the nominal is
// the mean rounded to 10, 20 or 50 us). Empty when everything matches.
std::vector<TVocabularyElement> UnknownLevels(const TAnalysisContext& context, const Tprotocol_descriptor& current);
// Appends the levels to the protocol's vocabulary and to the working one, so that the letters of the elements
// before keep their meaning. False, and nothing changed, when the protocol would hold more than 31 elements.
bool ExtendVocabulary(TAnalysisContext& context, Tprotocol_descriptor& current,
                      const std::vector<TVocabularyElement>& levels);
// The question that offers the levels, and the error when they would not fit.
std::string ExtendVocabularyText(const std::vector<TVocabularyElement>& levels);
std::string VocabularyFullText(int count, int added);

// Width of the vocabulary window: six carrier periods and 30 us with a carrier, else a tenth of the first
// reference duration and 30 us, at most 300 us.
double VocabularyWindow(double carrierPeriod, double firstReference);

// Whether every captured interval lies within the vocabulary window of some reference duration: the current
// protocol's durations when it is valid, else the nominals of the working vocabulary. Tolerant learning widens
// each reference to the range measured for it while the protocol was learned.
bool MatchesVocabulary(const TAnalysisContext& context, const Tprotocol_descriptor& current);

// The codes of the frames at the protocol's I, J and X positions, from the frames buffer refilled from one
// button capture. An I position of 2 or more, and a J or X position beyond the last frame, take the last frame;
// with `explore` a J position of 3 or more takes the last frame as well. A code whose letter the protocol does
// not have is left empty.
void ExtractButtonCodes(const TAnalysisContext& context, const Tprotocol_descriptor& current, std::string& data,
                        std::string& data2, std::string& dummy, bool explore = false);

// The tolerance tests on values already measured; `tolerance` is the match tolerance.
bool FrameRateOutside(double measured, const Tprotocol_descriptor& current, double tolerance);
bool CarrierOutside(double measured, double protocolPeriod, double tolerance);

// Measure the frame rate (the carrier period) of the capture in the analysis table and test it against the
// current protocol with the match tolerance. The measured value stays in the working protocol.
bool FrameRateDiffers(TAnalysisContext& context, const Tprotocol_descriptor& current);
bool CarrierDiffers(TAnalysisContext& context, const Tprotocol_descriptor& current);

// The data frame length rule: `ruleLength` 0 accepts any length, n > 0 accepts n - 1 to n + 1, n < 0 accepts
// -n and more.
enum class TFrameLengthCheck { Fits, TooShort, TooLong };
TFrameLengthCheck CheckFrameLength(int ruleLength, int codeLength);

// The tolerance with which a learned protocol is matched against the standard table, and that matching.
double MatchTolerance(const TAnalysisContext& context);
int MatchLearnedProtocol(const TAnalysisContext& context, const Tstandard_protocols& table,
                         const Tprotocol_descriptor& learned);

}  // namespace spectrel
