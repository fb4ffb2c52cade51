#pragma once
// The IR data model: the protocol descriptor with its one-line text form, the working protocol state that
// the analysis fills, the table of standard protocols, the device header and the frames buffer.
//
// IR code strings hold one character per interval: 'A'+k for a pulse of vocabulary element k, 'a'+k for a
// pause of element k (k below 32; `PulseLetter`, `PauseLetter` for the larger working vocabulary), '?' for an
// interval that fits no element. Frame formats are strings of the frame
// letters I (data), J (second data) and X (dummy); upper case repeats while the key is held, lower case is
// sent once.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace spectrel {

namespace platform {
class MessageBoxes;
}

class TIniFile;

// Elements of a descriptor's vocabulary (0 to 30, letters 'A'..'_' and 'a'..DEL).
constexpr int kDescriptorVocabularySize = 31;
// Elements of the working vocabulary of the analysis (0 to 100).
constexpr int kWorkingVocabularySize = 101;
// The letter of a pulse and of a pause of working-vocabulary element `element` (0 to 100) in an IR code string.
// Elements below 32 are 'A' + element and 'a' + element. From 32 on 'A' + element would be a pause letter, so the
// elements 32 to 94 take the bytes above 'a' + 31 in pairs (pulse 0x81, pause 0x82, ...) and 95 to 100, which
// the window sweep never reaches, the characters '0' to ';'. No two letters are alike, and none is '?'.
char PulseLetter(int element);
char PauseLetter(int element);

// Slots of the standard protocol table.
constexpr int kStandardProtocolSlots = 26;
// Items of a protocol line before its closing "End" item.
constexpr int kDescriptorTextItems = 113;
// Section of the settings file that holds the standard protocols.
inline constexpr const char* kProtocolsSection = "Protocols Section";
// Initial match tolerance of the working state.
constexpr double kDefaultMatchTolerance = 0.06;
// The one standard protocol that is matched by its duration windows instead of its vocabulary.
inline constexpr const char* kHalvrenProtocolName = "Halvren";

// Parameter codes by which the editors address descriptor fields (GetParamText/SetParamText).
// Codes 0 to 2 belong to the decoding-parameters dialog and are no descriptor fields.
namespace param_code {
constexpr int kName = 3;
constexpr int kStandard = 4;
constexpr int kCarrierPeriod = 5;
constexpr int kFrameRate = 6;
constexpr int kFormat = 7;
constexpr int kDummyCode = 8;
constexpr int kMinFrames = 9;
constexpr int kMaxFrames = 10;
constexpr int kILength = 11;
constexpr int kJLength = 12;
constexpr int kXLength = 13;
constexpr int kVocabularyCount = 14;
constexpr int kDuration = 15;   // durations[index]
constexpr int kPulseFlag = 16;  // is_pulse[index] and is_pause[index] together
constexpr int kPauseFlag = 17;  // the same pair as kPulseFlag
}  // namespace param_code

// Outcome of a data-model operation that can fail (a malformed protocol line, a text that is no number).
struct TDataResult {
    bool ok = true;
    std::string message;  // empty when ok
    explicit operator bool() const { return ok; }
};

// How a remote control sends its codes.
struct Tprotocol_descriptor {
    bool valid = false;     // explored or selected; in the standard table: the slot holds a protocol
    bool standard = false;  // a standard protocol as loaded and not edited since
    std::string name;
    double carrier_period = -1.0;  // microseconds; -1 unknown; 0 no carrier (pulsed code)
    double frame_rate = -1.0;      // frame repetition period in milliseconds, a whole number
    std::string format;            // frame format
    char i_letter = '?';           // 'I' or 'i' as used in the format; '?' none
    char j_letter = '?';           // 'J' or 'j'; '?' none
    char x_letter = '?';           // 'X' or 'x'; '?' none
    std::string dummy_code;        // code of the dummy frame; empty without one
    int i_position = -1;           // index of the data frame in a capture's frame sequence; -1 none
    int j_position = -1;
    int x_position = -1;
    int i_length = 0;  // data frame length: 0 any; n > 0 exactly n; n < 0 more than -n
    int j_length = 0;
    int x_length = 0;  // length of the dummy frame code
    int min_frames = -1;
    int max_frames = -1;
    int vocabulary_count = -1;  // elements in use; only entries below it of the arrays mean something
    double tick = -1.0;         // time unit of the vocabulary, microseconds
    std::array<double, kDescriptorVocabularySize> durations{};
    std::array<bool, kDescriptorVocabularySize> is_pulse{};
    std::array<bool, kDescriptorVocabularySize> is_pause{};
};

// The table of standard protocols, in the order of the settings file.
struct Tstandard_protocols {
    std::array<Tprotocol_descriptor, kStandardProtocolSlots> protocols{};
    int count = 0;  // protocols loaded, 0 to 26
};

// One element of the working vocabulary of the analysis.
struct TVocabularyElement {
    bool hasPulse = false;
    bool hasPause = false;
    double mean = 0;
    double maxDuration = 0;
    double minDuration = 0;
    int members = 0;
    double nominal = 0;    // the duration the protocol uses for this element
    int tickMultiple = 0;  // nominal / tick; negated when the nominal is a rounded mean
};

// The protocol the analysis is working out. The analysis owns one; a fresh one holds the initial values.
struct TWorkingProtocol {
    std::string format;
    char i_letter = '?';
    char j_letter = '?';
    char x_letter = '?';
    std::string data_code;         // code of the data frame (source of i_length)
    std::string second_data_code;  // code of the second data frame (source of j_length)
    std::string dummy_code;
    int i_position = 0;  // the classification sets -1 before it looks
    int j_position = 0;
    int x_position = 0;
    double carrier_period = -1.0;
    double tick = 500.0;
    double frame_rate = 0;  // the analysis sets -1 at its start
    int vocabulary_count = 0;
    std::array<TVocabularyElement, kWorkingVocabularySize> vocabulary{};
    double match_tolerance = kDefaultMatchTolerance;

    // Back to the initial values.
    void Reset() { *this = TWorkingProtocol{}; }
};

// What the user typed about the remote control and the device; the save command fills one and hands it
// to the device file writer.
constexpr int kHeaderNoteLines = 101;
struct TIRheader {
    std::string protocol_name;
    std::string remote_brand;
    std::string remote_model;
    std::string device_type;
    std::string device_brand;
    std::string device_model;
    std::array<std::string, kHeaderNoteLines> notes{};
    int note_count = 0;  // entries of notes in use
};

// The code of one captured frame with the button, record and frame it came from.
struct Tframes_buf {
    std::string code;
    int button_number = 0;  // 0 for the first button pressed, 1 for the next ...
    int record_number = 0;  // press of that button, from 0
    int frame_number = 0;   // frame within its record, from 0
};

// The frames of the latest capture, in the order they were added (by record, then by frame number).
constexpr int kFramesBufferSize = 4097;
struct TFramesBuffer {
    std::array<Tframes_buf, kFramesBufferSize> entries{};
    int count = 0;  // entries 0 to count-1 are in use

    void Clear() { count = 0; }
    // Appends an entry; false (and nothing added) when the buffer is full.
    bool Append(std::string_view code, int button, int record, int frame);
};

// --- descriptor operations

// Puts the cleared state (the arrays are left as they are).
void ClearDescriptor(Tprotocol_descriptor& descriptor);
// Clears the target and copies every field and the first vocabulary_count entries of the arrays.
void CopyDescriptor(const Tprotocol_descriptor& source, Tprotocol_descriptor& target);
// Fills the descriptor from the working state (valid and standard stay false).
void DescriptorFromWorkingState(Tprotocol_descriptor& descriptor, const TWorkingProtocol& working);
// Loads the descriptor's vocabulary, format, dummy code, carrier, tick, frame rate and letters into the
// working state; its data codes, positions and lengths are left alone.
void DescriptorToWorkingState(const Tprotocol_descriptor& descriptor, TWorkingProtocol& working);

// Length of a frame code as the length rules count it: for a two-duration vocabulary whose long element is
// twice the short one (and a working carrier), in units of the short element.
int FrameCodeLength(const Tprotocol_descriptor& descriptor, std::string_view code, double workingCarrierPeriod);
int FrameCodeLength(const Tprotocol_descriptor& descriptor, std::string_view code, const TWorkingProtocol& working);

// The parameter `code` (see param_code) as the editors show it; empty for unknown codes.
std::string GetParamText(const Tprotocol_descriptor& descriptor, int code, int index = 0);
// Sets the parameter `code` from text. Clears `standard` first, whatever the code. Out-of-range carrier
// periods and durations are clamped and the user is told in a message box. A text that is no number for
// a numeric code, or an index outside 0 to 30, gives a failed result and leaves the field as it was.
TDataResult SetParamText(Tprotocol_descriptor& descriptor, const std::string& text, int code, int index,
                         const TWorkingProtocol& working, platform::MessageBoxes& boxes);

// Checks a text the protocol editor is about to set: not empty, a carrier period of 0 or 2 to 50, a
// format of the letters I, J, M and X, a duration of 100 to 16000. The message says what is wrong.
TDataResult CheckParamText(const Tprotocol_descriptor& descriptor, const std::string& text, int code);

// The one-line text form: 113 comma-separated items and "End".
std::string DescriptorToText(const Tprotocol_descriptor& descriptor);
// Reads the text form. On failure (fewer than 113 items, an empty letter item, a number that does not
// parse) the descriptor is left cleared and the result names the fault.
TDataResult DescriptorFromText(Tprotocol_descriptor& descriptor, std::string_view text);

// Splits a line by the comma-text rules shared by protocol lines and template values: items are separated by
// commas; blanks and control characters between items are skipped; a quoted item runs to its closing quote
// ("" inside stands for one quote); an unquoted item ends at a comma, a blank or a control character; two
// commas in a row, or a comma at the very end, give an empty item.
std::vector<std::string> SplitCommaText(std::string_view text);

// --- the standard protocol table

// Loads the table from the "Protocols Section" of the settings file. A malformed line stops the loading
// with an error that names the line; the table is then left as it was (empty at start-up), and the
// caller must not save it back.
TDataResult LoadStandardProtocols(Tstandard_protocols& table, const TIniFile& settings);
TDataResult LoadStandardProtocols(Tstandard_protocols& table, const std::string& settingsPath);
// Loads the table and, when every line was read, writes it straight back so that each stored line is in
// the current text form (a table that failed to load is not written).
TDataResult LoadAndRefreshStandardProtocols(Tstandard_protocols& table, TIniFile& settings);
// Writes every named slot as key name, value its text form; other entries of the section stay.
TDataResult SaveStandardProtocols(const Tstandard_protocols& table, TIniFile& settings);
TDataResult SaveStandardProtocols(const Tstandard_protocols& table, const std::string& settingsPath);
// Index of the first loaded slot whose name equals `name` (trimmed), compared in upper case; -1 none.
int FindStandardProtocol(const Tstandard_protocols& table, const std::string& name);
// Index of the first standard protocol that fits the descriptor within the tolerance; -1 none.
int MatchStandardProtocol(const Tstandard_protocols& table, const Tprotocol_descriptor& descriptor,
                          double matchTolerance);
int MatchStandardProtocol(const Tstandard_protocols& table, const Tprotocol_descriptor& descriptor,
                          const TWorkingProtocol& working);
// Copies slot `index` into the target (nothing happens for an index outside 0 to 25).
void CopyStandardProtocol(const Tstandard_protocols& table, int index, Tprotocol_descriptor& target);

// --- helpers shared with other modules

// Doubles in the shortest general form with up to 15 significant digits and '.' (26.5, -1, 0.06).
std::string FormatGeneralNumber(double value);
// Fixed notation with `decimals` decimals, halves rounded away from zero, '.' as decimal point.
std::string FormatFixedNumber(double value, int decimals);
// Rounds to the nearest integer, ties to the even neighbour.
double RoundHalfEven(double value);

}  // namespace spectrel
