// Frame structure: every captured frame written as an IR code string, the frames of the learning records
// collected in the frames buffer, and the frame format worked out by comparing them across presses and keys.

#include <algorithm>
#include <climits>
#include <cmath>

#include "Code/SPX_processing.h"

namespace spectrel {

namespace {

double RoundEven(double value) { return std::nearbyint(value); }

// The frame codes need more than this many records in the analysis table.
constexpr int kFewestCodedRecords = 5;
// Frames of a record that its pattern looks at.
constexpr int kPatternFrames = 31;
// Letters of a pattern that count in its weight.
constexpr int kWeightedLetters = 7;
// Buttons and presses that AllRecordsTwoFrames looks through.
constexpr int kCheckedButtons = 5;
constexpr int kCheckedPresses = 11;
// Frame counts from this on say nothing about positions.
constexpr int kMostPositionFrames = 100;
// Positions that stand for "the last frame" (they exceed any frame number).
constexpr int kLastFramePosition = 100;
constexpr int kBeyondLastPosition = 10000;

const std::string kNothingToSay = "nothing to say";
const std::string kAlternating = "[ab]";
const std::string kHeaderAlternating = "a[bc]";

const char* const kDifferentButtonsAccepted =
    "Please press DIFFERENT buttons as requested\rFortunately data can be accepted anyway";
const char* const kDifferentButtonsInconclusive = "Please press DIFFERENT buttons as requested\rData are inconclusive";
const char* const kDifferentButtonsAirConditioner =
    "Please press DIFFERENT buttons as requested\rSo far assumption is made that it is airconditioner code";

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
char ToUpper(char c) { return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
char ToLower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

// NearestElement with the midpoints worked out once for a whole frame.
class TElementFinder {
public:
    explicit TElementFinder(const TAnalysisContext& context)
        : count_(std::min(context.working.vocabulary_count, kWorkingVocabularySize)) {
        const auto& v = context.working.vocabulary;
        for (int k = 0; k + 1 < count_; ++k) midpoints_[k] = (v[k].nominal + v[k + 1].nominal) / 2;
    }
    int find(double duration) const {
        if (count_ <= 0) return -1;
        for (int k = 0; k + 1 < count_; ++k) {
            if (duration < midpoints_[k]) return k;
        }
        return count_ - 1;
    }

private:
    int count_;
    double midpoints_[kWorkingVocabularySize];
};

// Appends the letter of table entry i to a frame's code.
void AppendInterval(const TAnalysisContext& context, const TElementFinder& elements, const TIntervalRecord* table,
                    int i, std::string& code) {
    const TIntervalRecord& e = table[i];
    if (!(e.duration > 0)) return;
    if (context.working.carrier_period != 0) {
        const int element = elements.find(e.duration);
        if (element < 0)
            code += '?';
        else if (e.isPulse)
            code += PulseLetter(element);
        else if (!code.empty())  // the frame's leading pause is not written
            code += PauseLetter(element);
        return;
    }
    // A pulsed code is written by its pauses, each together with the pulse before it.
    if (e.isPulse) return;
    double duration = e.duration;
    if (i > 0 && table[i - 1].isPulse) duration += table[i - 1].duration;
    const int element = elements.find(duration);
    code += element < 0 ? '?' : PauseLetter(element);
}

// Finds where the frames of records 0 to 10 lie, when the table is in capture order.
void BuildFrameIndex(TAnalysisContext& context) {
    TFrameIndex& index = context.analysis.frames;
    for (auto& row : index.begin) row.fill(-1);
    for (auto& row : index.end) row.fill(-1);
    index.usable = true;
    const TIntervalRecord* table = context.analysisTable();
    int record = INT_MIN;
    int frame = -1;
    for (int i = 0; i < context.recordCount; ++i) {
        const TIntervalRecord& e = table[i];
        if (e.recordNumber < record) {
            index.usable = false;
            return;
        }
        if (e.recordNumber != record) {
            record = e.recordNumber;
            frame = -1;
        }
        if (e.frameNumber < 0) continue;
        if (e.frameNumber < frame) {
            index.usable = false;
            return;
        }
        frame = e.frameNumber;
        if (record >= 0 && record < kIndexedRecords && frame < kIndexedFrames) {
            if (index.begin[record][frame] < 0) index.begin[record][frame] = i;
            index.end[record][frame] = i + 1;
        }
    }
}

// FrameCode through the index when it covers the frame; the same result as the scan.
std::string IndexedFrameCode(TAnalysisContext& context, int record, int frame) {
    const TFrameIndex& index = context.analysis.frames;
    if (!index.usable || record < 0 || record >= kIndexedRecords || frame < 0 || frame >= kIndexedFrames)
        return FrameCode(context, record, frame);
    std::string code;
    if (context.recordCount < kFewestCodedRecords) return code;
    const int begin = index.begin[record][frame];
    if (begin < 0) return code;
    const int end = index.end[record][frame];
    const TIntervalRecord* table = context.analysisTable();
    const TElementFinder elements(context);
    for (int i = begin; i < end; ++i) {
        if (table[i].recordNumber == record && table[i].frameNumber == frame)
            AppendInterval(context, elements, table, i, code);
    }
    context.analysis.lastRecordButton = table[end - 1].buttonNumber;
    return code;
}

// One record of the frames buffer: where its entries start and how many there are.
struct TBufferedRecord {
    int first = -1;
    int frames = 0;
};

TBufferedRecord FindRecord(const TAnalysisContext& context, int button, int index) {
    TBufferedRecord found;
    const TFramesBuffer& buffer = context.framesBuffer;
    for (int i = 0; i < buffer.count; ++i) {
        const Tframes_buf& e = buffer.entries[i];
        if (e.button_number != button || e.record_number != index) continue;
        if (found.first < 0) found.first = i;
        ++found.frames;
    }
    return found;
}

std::string PatternFromIndex(TAnalysisContext& context, int record) {
    std::string codes[kPatternFrames];
    int frames = 0;
    for (; frames < kPatternFrames; ++frames) {
        codes[frames] = IndexedFrameCode(context, record, frames);
        if (codes[frames].empty()) break;
    }
    // One letter per frame: the number of its code in order of first appearance.
    int firstOf[kPatternFrames];
    int distinct = 0;
    std::string letters;
    for (int f = 0; f < frames; ++f) {
        int number = 0;
        while (number < distinct && codes[firstOf[number]] != codes[f]) ++number;
        if (number == distinct) firstOf[distinct++] = f;
        letters += static_cast<char>('a' + number);
    }
    // A frame that repeats its neighbour is a repeated frame: upper case.
    std::string marked = letters;
    for (size_t i = 0; i < letters.size(); ++i) {
        const bool before = i > 0 && ToLower(letters[i - 1]) == ToLower(letters[i]);
        const bool after = i + 1 < letters.size() && ToLower(letters[i + 1]) == ToLower(letters[i]);
        if (before || after) marked[i] = ToUpper(letters[i]);
    }
    std::string compressed;
    for (char c : marked) {
        if (compressed.empty() || compressed.back() != c) compressed += c;
    }
    auto pairsAre = [&](size_t from, const char* pair) {
        for (size_t i = from; i + 1 < compressed.size(); i += 2) {
            if (compressed[i] != pair[0] || compressed[i + 1] != pair[1]) return false;
        }
        return true;
    };
    if (compressed.size() > 3 && pairsAre(0, "ab")) return kAlternating;
    if (compressed.size() > 4 && pairsAre(1, "bc")) return kHeaderAlternating;
    return compressed;
}

std::string ConsensusFromIndex(TAnalysisContext& context) {
    std::string p0 = PatternFromIndex(context, 0);
    std::string p1 = PatternFromIndex(context, 1);
    std::string p2 = PatternFromIndex(context, 2);
    if (PatternWeight(p0) < PatternWeight(p1)) {
        p0 = p1;
        p1 = p2;
        p2.clear();
    }
    if (p0.empty()) return {};
    if (PatternWeight(p1) < PatternWeight(p2)) {
        p1 = p2;
        p2.clear();
    }
    if (p1.empty()) return {};
    if (p0 != p1) {
        // A press whose trailing frame was cut off still agrees with one that kept it.
        if ((p0 == "Ab" && p1 == "A") || (p0 == "A" && p1 == "Ab")) return "A";
        return {};
    }
    return p0;
}

}  // namespace

int NearestElement(const TAnalysisContext& context, double duration) {
    const TWorkingProtocol& w = context.working;
    const int n = w.vocabulary_count;
    if (n <= 0) return -1;
    for (int k = 0; k + 1 < n; ++k) {
        if (duration < (w.vocabulary[k].nominal + w.vocabulary[k + 1].nominal) / 2) return k;
    }
    return n - 1;
}

std::string FrameCode(TAnalysisContext& context, int record, int frame) {
    std::string code;
    if (context.recordCount < kFewestCodedRecords) return code;
    const TIntervalRecord* table = context.analysisTable();
    const TElementFinder elements(context);
    for (int i = 0; i < context.recordCount; ++i) {
        const TIntervalRecord& e = table[i];
        if (e.recordNumber < record) continue;
        if (e.recordNumber > record) break;
        if (e.frameNumber < frame) continue;
        if (e.frameNumber > frame) break;
        if (e.frameNumber < 0) continue;  // gaps never belong to a frame
        context.analysis.lastRecordButton = e.buttonNumber;
        AppendInterval(context, elements, table, i, code);
    }
    return code;
}

void FillFramesBuffer(TAnalysisContext& context) {
    TFramesBuffer& buffer = context.framesBuffer;
    buffer.Clear();
    BuildFrameIndex(context);
    // Presses seen so far per button, for the press index of each record.
    int buttons[kIndexedRecords];
    int presses[kIndexedRecords];
    int known = 0;
    for (int record = 0; record < kIndexedRecords; ++record) {
        int button = 0;
        int press = 0;
        bool any = false;
        for (int frame = 0; frame < kIndexedFrames; ++frame) {
            const std::string code = IndexedFrameCode(context, record, frame);
            if (code.empty()) break;
            if (!any) {
                any = true;
                button = context.analysis.lastRecordButton;
                int slot = 0;
                while (slot < known && buttons[slot] != button) ++slot;
                if (slot == known) {
                    buttons[known] = button;
                    presses[known] = 0;
                    ++known;
                }
                press = presses[slot]++;
            }
            if (!buffer.Append(code, button, press, frame)) return;
        }
        if (!any) break;
    }
}

int RecordFrameCount(const TAnalysisContext& context, int button, int index) {
    return FindRecord(context, button, index).frames;
}

std::string BufferedFrameCode(const TAnalysisContext& context, int button, int index, int frame) {
    if (frame < 0) return {};
    const TFramesBuffer& buffer = context.framesBuffer;
    const Tframes_buf* last = nullptr;
    for (int i = 0; i < buffer.count; ++i) {
        const Tframes_buf& e = buffer.entries[i];
        if (e.button_number != button || e.record_number != index) continue;
        if (e.frame_number == frame) return e.code;
        if (last == nullptr || e.frame_number > last->frame_number) last = &e;
    }
    // Beyond the record's last frame the last frame stands in (the positions 100 and 10 000 rely on it).
    if (last != nullptr && frame > last->frame_number) return last->code;
    return {};
}

std::string ShortestDataCode(const TAnalysisContext& context, int frame) {
    const std::string codes[] = {BufferedFrameCode(context, 0, 0, frame), BufferedFrameCode(context, 0, 1, frame),
                                 BufferedFrameCode(context, 1, 0, frame)};
    const std::string* shortest = nullptr;
    for (const std::string& code : codes) {
        if (code.empty()) continue;
        if (shortest == nullptr || code.size() < shortest->size()) shortest = &code;
    }
    return shortest != nullptr ? *shortest : std::string();
}

bool FrameSameAcrossButtons(const TAnalysisContext& context, int frame) {
    const std::string first = BufferedFrameCode(context, 0, 0, frame);
    return first == BufferedFrameCode(context, 0, 1, frame) && first == BufferedFrameCode(context, 1, 0, frame);
}

bool LastFramesEqual(const TAnalysisContext& context) {
    auto lastFrame = [&](int button, int index) {
        const int frames = RecordFrameCount(context, button, index);
        return frames > 0 ? BufferedFrameCode(context, button, index, frames - 1) : std::string();
    };
    const std::string first = lastFrame(0, 0);
    return first == lastFrame(0, 1) && first == lastFrame(1, 0);
}

bool RecordsIdentical(const TAnalysisContext& context, int button, int indexA, int indexB) {
    const int framesA = RecordFrameCount(context, button, indexA);
    const int framesB = RecordFrameCount(context, button, indexB);
    if (framesA == 0 || framesB == 0) return false;
    for (int f = 0; f < std::min(framesA, framesB); ++f) {
        if (BufferedFrameCode(context, button, indexA, f) != BufferedFrameCode(context, button, indexB, f))
            return false;
    }
    return true;
}

bool AllRecordsTwoFrames(const TAnalysisContext& context) {
    if (RecordFrameCount(context, 0, 0) != 2) return false;
    for (int button = 0; button < kCheckedButtons; ++button) {
        for (int index = 0; index < kCheckedPresses; ++index) {
            const int frames = RecordFrameCount(context, button, index);
            if (frames == 0) break;
            if (frames != 2) return false;
        }
    }
    return true;
}

std::string FramePattern(TAnalysisContext& context, int record) {
    BuildFrameIndex(context);
    return PatternFromIndex(context, record);
}

std::int64_t PatternWeight(const std::string& pattern) {
    std::int64_t weight = 0;
    std::int64_t scale = 1;
    for (size_t i = 0; i < pattern.size() && i < kWeightedLetters; ++i) {
        const int code = static_cast<unsigned char>(pattern[i]);
        weight += (IsLower(pattern[i]) ? code - 96 : code + 64) * scale;
        scale *= 10;
    }
    return weight;
}

std::string ConsensusPattern(TAnalysisContext& context) {
    BuildFrameIndex(context);
    return ConsensusFromIndex(context);
}

std::string PositionDigits(const TAnalysisContext& context) {
    int fewest = 0;
    for (int button = 0; button < 3; ++button) {
        const int frames = RecordFrameCount(context, button, 0);
        if (frames > 0 && (fewest == 0 || frames < fewest)) fewest = frames;
    }
    if (fewest == 0 || fewest >= kMostPositionFrames) return kNothingToSay;
    std::string digits;
    for (int frame = 0; frame < fewest; ++frame) {
        const std::string first = BufferedFrameCode(context, 0, 0, frame);
        int digit = 1;
        for (int button = 1; button < 3; ++button) {
            if (BufferedFrameCode(context, button, 0, frame) == first) ++digit;
        }
        digits += static_cast<char>('0' + digit);
    }
    return digits;
}

std::string AlignedDigits(const std::string& digits, const std::string& pattern) {
    if (digits.empty() || pattern.empty()) return {};
    std::string aligned;
    if (pattern == kAlternating || pattern == kHeaderAlternating) {
        aligned = std::string(2, digits[0]);
    } else if (digits.size() >= pattern.size()) {
        aligned = digits.substr(0, pattern.size());
        for (size_t i = pattern.size(); i < digits.size(); ++i) {
            if (digits[i] != aligned.back()) aligned += digits[i];
        }
    }
    if (aligned.size() > 2) aligned = std::string{aligned.front(), aligned.back()};
    return aligned;
}

std::string ClassifyFormat(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    w.format.clear();
    w.data_code.clear();
    w.second_data_code.clear();
    w.dummy_code.clear();
    w.i_letter = w.j_letter = w.x_letter = '?';
    w.i_position = w.j_position = w.x_position = -1;

    BuildFrameIndex(context);
    const std::string pattern = ConsensusFromIndex(context);
    const std::string digits = PositionDigits(context);
    const std::string aligned = AlignedDigits(digits, pattern);
    const int firstFrames = RecordFrameCount(context, 0, 0);
    const bool twoFrames = AllRecordsTwoFrames(context);

    auto set = [&](std::string format, int i, int j, int x, char iLetter, char jLetter, char xLetter) {
        w.format = std::move(format);
        w.i_position = i;
        w.j_position = j;
        w.x_position = x;
        w.i_letter = iLetter;
        w.j_letter = jLetter;
        w.x_letter = xLetter;
    };
    auto warn = [&](platform::MessageKind kind, const char* text) {
        context.messageBoxes.show(kind, text, platform::MessageButton::Ok);
    };
    // Data frame, then second data frame: the most common layout.
    auto twoData = [&](const char* format, char jLetter) {
        set(format, 0, 1, -1, 'i', jLetter, '?');
        w.data_code = ShortestDataCode(context, 0);
        w.second_data_code = ShortestDataCode(context, 1);
    };
    auto dataThenDummy = [&](const char* format) {
        set(format, 0, -1, 1, 'i', '?', 'X');
        w.data_code = ShortestDataCode(context, 0);
        w.dummy_code = BufferedFrameCode(context, 0, 0, 1);
    };
    auto dummyThenData = [&] {
        set("xI", 1, -1, 0, 'I', '?', 'x');
        w.dummy_code = BufferedFrameCode(context, 0, 0, 0);
        w.data_code = ShortestDataCode(context, 1);
    };

    bool matched = true;
    if (pattern == "a") {
        set("i", 0, -1, -1, 'i', '?', '?');
        w.data_code = BufferedFrameCode(context, 0, 0, 0);
    } else if (pattern == "A") {
        if (twoFrames)
            set("ii", 1, 0, -1, 'i', '?', '?');
        else
            set("I", 1, -1, -1, 'I', '?', '?');
        w.data_code = ShortestDataCode(context, 1);
        if (aligned == "2") warn(platform::MessageKind::Warning, kDifferentButtonsAccepted);
    } else if (pattern == "aB" && aligned == "12") {
        dataThenDummy("iX");
    } else if (pattern == "aB" && aligned == "21") {
        dummyThenData();
    } else if (pattern == "aB" && aligned == "11") {
        twoData("iJ", 'J');
    } else if (pattern == "aB" && aligned == "22") {
        warn(platform::MessageKind::Error, kDifferentButtonsInconclusive);
        matched = false;
    } else if (pattern == "ab" && aligned == "11") {
        twoData(twoFrames ? "ij" : "iJ", twoFrames ? 'j' : 'J');
    } else if (pattern == "ab" && aligned == "22") {
        if (twoFrames) {
            twoData("ij", 'j');
            warn(platform::MessageKind::Warning, kDifferentButtonsAirConditioner);
        } else {
            warn(platform::MessageKind::Error, kDifferentButtonsInconclusive);
            matched = false;
        }
    } else if (pattern == "ab" && aligned == "21") {
        // Two frames in every press, one of them the same for both keys: the format without data codes.
        if (twoFrames)
            set("ij", 0, 1, -1, 'i', 'j', '?');
        else
            dummyThenData();
    } else if (pattern == "ab" && aligned == "12") {
        if (twoFrames)
            set("ij", 0, 1, -1, 'i', 'j', '?');
        else
            dataThenDummy("iX");
    } else if (pattern == "Ab" && aligned == "21") {
        set("Xi", kLastFramePosition, -1, kBeyondLastPosition, 'i', '?', 'X');
        w.data_code = ShortestDataCode(context, firstFrames - 1);
        w.dummy_code = BufferedFrameCode(context, 0, 0, 0);
    } else if (pattern == "Ab" && (aligned == "11" || aligned == "12")) {
        if (LastFramesEqual(context)) {
            set("Ix", 1, kBeyondLastPosition, kLastFramePosition, 'I', '?', 'x');
            w.data_code = ShortestDataCode(context, 1);
            w.dummy_code = firstFrames > 0 ? BufferedFrameCode(context, 0, 0, firstFrames - 1) : std::string();
        } else if (aligned == "11") {
            set("Ij", 1, kBeyondLastPosition, -1, 'I', 'j', '?');
            w.data_code = ShortestDataCode(context, 1);
            w.second_data_code = ShortestDataCode(context, firstFrames - 1);
        } else {
            set("I", 1, -1, -1, 'I', '?', '?');
            w.data_code = ShortestDataCode(context, 1);
        }
    } else if (pattern == "aBa") {
        if (LastFramesEqual(context)) {
            set("xIx", 1, kBeyondLastPosition, 0, 'I', '?', 'x');
            w.data_code = ShortestDataCode(context, 1);
            w.dummy_code = BufferedFrameCode(context, 0, 0, 0);
        } else {
            twoData("iJi", 'J');
        }
    } else if (pattern == kAlternating) {
        set("IJ", 0, 1, -1, 'I', 'J', '?');
        w.data_code = ShortestDataCode(context, 0);
        w.second_data_code = ShortestDataCode(context, 1);
    } else if (pattern == kHeaderAlternating && !aligned.empty() && aligned[0] == '1') {
        dataThenDummy("iXY");
    } else if (pattern == kHeaderAlternating && !aligned.empty() && aligned[0] == '2') {
        set("xIJ", 1, 2, 0, 'I', 'J', 'x');
        w.dummy_code = BufferedFrameCode(context, 0, 0, 0);
        w.data_code = ShortestDataCode(context, 1);
        w.second_data_code = ShortestDataCode(context, 2);
    } else {
        matched = false;
    }
    if (!matched) twoData("iJ", 'J');
    return w.format;
}

double MeasureFrameRate(TAnalysisContext& context) {
    TWorkingProtocol& w = context.working;
    if (context.recordCount < 2) return w.frame_rate;
    const TIntervalRecord* table = context.analysisTable();
    for (int k = 1; k < context.recordCount; ++k) {
        if (table[k].frameNumber >= 1) {
            w.frame_rate = RoundEven((table[k].time - table[1].time) / 100.0) / 10.0;
            break;
        }
    }
    return w.frame_rate;
}

std::string FormatDescription(TAnalysisContext& context) {
    struct TDescribedFormat {
        const char* format;
        const char* description;
    };
    static constexpr TDescribedFormat kDescriptions[] = {
        {"i", "<data>"},
        {"I", "<data>-<data>- ..."},
        {"ii", "<data>-<data>"},
        {"Ix", "<data>-...-<data>-<dummy>"},
        {"xI", "<dummy>-<data>-<data>- ..."},
        {"xi", "<dummy>-<data>"},
        {"ix", "<data>-<dummy>"},
        {"iX", "<data>-<dummy>-<dummy>- ..."},
        {"iJ", "<data1>-<data2>-<data2>- ..."},
        {"IJ", "<data1>-<data2>-<data1>-<data2>- ..."},
        {"ij", "<data1>-<data2>"},
        {"Ij", "<data1>-...-<data1>-<data2>"},
        {"iJi", "<data1>-<data2>-...<data2>-<data1>"},
        {"xIx", "<dummy>-<data>-...<data>-<dummy>"},
    };
    TWorkingProtocol& w = context.working;
    // A single frame has no repetition period.
    if (w.format == "i") w.frame_rate = -1;
    for (const TDescribedFormat& d : kDescriptions) {
        if (w.format == d.format) return d.description;
    }
    return {};
}

}  // namespace spectrel
