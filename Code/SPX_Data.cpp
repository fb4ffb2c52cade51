#include "Code/SPX_Data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "Code/SPX_IniFile.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;

constexpr const char* kTextEnd = "End";

// Carrier period limits of the editors, microseconds.
constexpr double kMinCarrierPeriod = 2.0;   // 500 kHz
constexpr double kMaxCarrierPeriod = 50.0;  // 20 kHz
// Interval limits of the editors, microseconds.
constexpr double kMinDuration = 100.0;
constexpr double kMaxDuration = 16000.0;

// Duration windows of the Halvren protocol's two elements, microseconds.
constexpr double kHalvrenShortMin = 520.0;
constexpr double kHalvrenShortMax = 600.0;
constexpr double kHalvrenLongMin = 1050.0;
constexpr double kHalvrenLongMax = 1200.0;

constexpr const char* kCarrierTooShort = "Carrier period cannot be less than 2 us (500 kHz)";
constexpr const char* kCarrierTooLong = "Carrier period cannot be greater than 50 us (20 kHz)";
constexpr const char* kPulsedCode = "New setting defines pulsed code (no carrier)";
constexpr const char* kFormatLetters = "Only letters \"I\",\"J\",\"X\" are allowed";
constexpr const char* kIntervalTooShort = "Interval cannot be less than 100 us";
constexpr const char* kIntervalTooLong = "Interval cannot be greater than 16 ms";
constexpr const char* kFieldBlank = "Field cannot be left blank";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

// Entries of the arrays that a vocabulary count makes meaningful, kept inside the arrays.
int UsedEntries(int vocabularyCount) { return std::clamp(vocabularyCount, 0, kDescriptorVocabularySize); }

// A decimal number with '.' as the decimal point; blanks around it are allowed.
bool ParseNumber(std::string_view text, double& value) {
    std::string_view s = TrimBlanks(text);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && (s.front() == '-' || s.front() == '+')) return false;
    }
    if (s.empty()) return false;
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// A decimal integer in the range of int; blanks around it are allowed.
bool ParseInteger(std::string_view text, int& value) {
    std::string_view s = TrimBlanks(text);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && (s.front() == '-' || s.front() == '+')) return false;
    }
    if (s.empty()) return false;
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    value = v;
    return true;
}

TDataResult Failure(std::string message) { return TDataResult{false, std::move(message)}; }

std::string NotANumber(const std::string& text) { return "'" + text + "' is not a valid floating point value"; }
std::string NotAnInteger(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

void ShowBox(platform::MessageBoxes& boxes, MessageKind kind, const char* text) {
    boxes.show(kind, text, MessageButton::Ok);
}


// An item between double quotes, a quote inside doubled so that the line reads back the same.
std::string Quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

// A text item as it stands, unless it holds a character that would split or shift the line's items
// (a comma, a blank, a control character or a double quote); then it is quoted.
std::string TextItem(std::string_view s) {
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [](char c) { return IsBlank(c) || c == ',' || c == '"'; });
    return needsQuotes ? Quoted(s) : std::string(s);
}

const char* BoolItem(bool b) { return b ? "T" : "F"; }

std::string DescriptorItemName(int item) {
    static constexpr const char* kNames[] = {
        "valid",
        "standard",
        "name",
        "carrier period",
        "frame rate",
        "format",
        "data frame letter",
        "second data frame letter",
        "dummy frame letter",
        "dummy code",
        "data frame position",
        "second data frame position",
        "dummy frame position",
        "data frame length",
        "second data frame length",
        "dummy frame length",
        "minimum frames",
        "maximum frames",
        "vocabulary count",
        "tick",
    };
    if (item >= 0 && item < static_cast<int>(std::size(kNames))) return kNames[item];
    const int first = static_cast<int>(std::size(kNames));
    if (item < first + kDescriptorVocabularySize) return "duration " + std::to_string(item - first);
    if (item < first + 2 * kDescriptorVocabularySize)
        return "pulse flag " + std::to_string(item - first - kDescriptorVocabularySize);
    return "pause flag " + std::to_string(item - first - 2 * kDescriptorVocabularySize);
}

}  // namespace

// Splits a line by the comma-text rules: items are separated by commas; blanks and control characters
// between items are skipped; a quoted item runs to its closing quote ("" inside stands for one quote);
// an unquoted item ends at a comma, a blank or a control character.
std::vector<std::string> SplitCommaText(std::string_view s) {
    std::vector<std::string> items;
    const std::size_t n = s.size();
    std::size_t p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlank(s[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (s[p] == '"') {
            ++p;
            while (p < n) {
                if (s[p] == '"') {
                    if (p + 1 < n && s[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += s[p++];
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlank(s[p]) && s[p] != ',') ++p;
            item.assign(s.substr(start, p - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < n && s[p] == ',') {
            if (p + 1 == n) items.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return items;
}

// --- number helpers

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double low = std::floor(value);
    const double diff = value - low;
    if (diff > 0.5) return low + 1.0;
    if (diff < 0.5) return low;
    return std::fmod(low, 2.0) == 0.0 ? low : low + 1.0;
}

std::string FormatGeneralNumber(double value) {
    if (value == 0.0) return "0";  // no "-0"
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

std::string FormatFixedNumber(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 18);
    if (!std::isfinite(value)) return FormatGeneralNumber(value);
    // Enough exact digits to see whether the value lies on a half, then round that half away from zero.
    constexpr int kGuardDigits = 30;
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                   decimals + kGuardDigits);
    if (ec != std::errc()) return FormatGeneralNumber(value);
    std::string digits(buffer, end);
    const std::size_t point = digits.find('.');
    const bool roundUp = digits[point + 1 + decimals] >= '5';
    digits.erase(decimals == 0 ? point : point + 1 + decimals);
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[i] == '.') continue;
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
        }
        if (i < 0) digits.insert(digits.begin(), '1');
    }
    const bool allZero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; });
    if (value < 0 && !allZero) digits.insert(digits.begin(), '-');
    return digits;
}

// --- frames buffer

bool TFramesBuffer::Append(std::string_view code, int button, int record, int frame) {
    if (count < 0) count = 0;
    if (count >= kFramesBufferSize) return false;
    Tframes_buf& entry = entries[count];
    entry.code.assign(code);
    entry.button_number = button;
    entry.record_number = record;
    entry.frame_number = frame;
    ++count;
    return true;
}

// --- descriptor operations

void ClearDescriptor(Tprotocol_descriptor& d) {
    d.valid = false;
    d.standard = false;
    d.name.clear();
    d.format.clear();
    d.dummy_code.clear();
    d.carrier_period = -1.0;
    d.frame_rate = -1.0;
    d.tick = -1.0;
    d.i_letter = d.j_letter = d.x_letter = '?';
    d.i_position = d.j_position = d.x_position = -1;
    d.i_length = d.j_length = d.x_length = 0;
    d.min_frames = -1;
    d.max_frames = -1;
    d.vocabulary_count = -1;
}

void CopyDescriptor(const Tprotocol_descriptor& source, Tprotocol_descriptor& target) {
    if (&source == &target) return;  // clearing the target first would lose the source
    ClearDescriptor(target);
    target.valid = source.valid;
    target.standard = source.standard;
    target.name = source.name;
    target.carrier_period = source.carrier_period;
    target.frame_rate = source.frame_rate;
    target.format = source.format;
    target.i_letter = source.i_letter;
    target.j_letter = source.j_letter;
    target.x_letter = source.x_letter;
    target.dummy_code = source.dummy_code;
    target.i_position = source.i_position;
    target.j_position = source.j_position;
    target.x_position = source.x_position;
    target.i_length = source.i_length;
    target.j_length = source.j_length;
    target.x_length = source.x_length;
    target.min_frames = source.min_frames;
    target.max_frames = source.max_frames;
    target.vocabulary_count = source.vocabulary_count;
    target.tick = source.tick;
    const int used = UsedEntries(source.vocabulary_count);
    for (int k = 0; k < used; ++k) {
        target.durations[k] = source.durations[k];
        target.is_pulse[k] = source.is_pulse[k];
        target.is_pause[k] = source.is_pause[k];
    }
}

void DescriptorFromWorkingState(Tprotocol_descriptor& d, const TWorkingProtocol& w) {
    ClearDescriptor(d);
    d.vocabulary_count = std::clamp(w.vocabulary_count, 0, 30);
    for (int k = 0; k < d.vocabulary_count; ++k) {
        const TVocabularyElement& element = w.vocabulary[k];
        d.is_pulse[k] = element.hasPulse;
        d.is_pause[k] = element.hasPause;
        d.durations[k] = element.nominal;
    }
    d.format = w.format;
    d.dummy_code = w.dummy_code;
    d.i_letter = w.i_letter;
    d.j_letter = w.j_letter;
    d.x_letter = w.x_letter;
    d.i_length = FrameCodeLength(d, w.data_code, w);
    d.j_length = FrameCodeLength(d, w.second_data_code, w);
    d.x_length = FrameCodeLength(d, w.dummy_code, w);
    d.i_position = w.i_position;
    d.j_position = w.j_position;
    d.x_position = w.x_position;
    d.tick = w.tick;
    d.carrier_period = w.carrier_period;
    const double rate = RoundHalfEven(w.frame_rate);
    d.frame_rate = rate < 0 ? 0.0 : rate;
}

void DescriptorToWorkingState(const Tprotocol_descriptor& d, TWorkingProtocol& w) {
    // Members are set to a large count so that the vocabulary match of the button learning takes the
    // loaded elements as well populated.
    constexpr int kLoadedMembers = 10000;
    const int used = UsedEntries(d.vocabulary_count);
    w.vocabulary_count = used;
    for (int k = 0; k < used; ++k) {
        TVocabularyElement& element = w.vocabulary[k];
        element.hasPulse = d.is_pulse[k];
        element.hasPause = d.is_pause[k];
        element.nominal = d.durations[k];
        element.members = kLoadedMembers;
    }
    w.format = d.format;
    w.dummy_code = d.dummy_code;
    w.carrier_period = d.carrier_period;
    w.tick = d.tick;
    w.frame_rate = d.frame_rate;
    w.i_letter = d.i_letter;
    w.j_letter = d.j_letter;
    w.x_letter = d.x_letter;
}

namespace {

// Elements whose letters are 'A' + element and 'a' + element.
constexpr int kPlainLetterElements = 32;
// Elements that take a pair of the bytes after 'a' + 31.
constexpr int kHighLetterElements = 63;
constexpr int kFirstHighLetter = 0x81;
constexpr char kFirstLowLetter = '0';

char ElementLetter(int element, bool pause) {
    if (element < kPlainLetterElements) {
        return static_cast<char>(static_cast<unsigned char>((pause ? 'a' : 'A') + element));
    }
    const int pair = element - kPlainLetterElements;
    if (pair < kHighLetterElements) {
        return static_cast<char>(static_cast<unsigned char>(kFirstHighLetter + 2 * pair + (pause ? 1 : 0)));
    }
    return static_cast<char>(kFirstLowLetter + 2 * (pair - kHighLetterElements) + (pause ? 1 : 0));
}

}  // namespace

char PulseLetter(int element) { return ElementLetter(std::clamp(element, 0, kWorkingVocabularySize - 1), false); }
char PauseLetter(int element) { return ElementLetter(std::clamp(element, 0, kWorkingVocabularySize - 1), true); }

int FrameCodeLength(const Tprotocol_descriptor& d, std::string_view code, double workingCarrierPeriod) {
    if (TrimBlanks(code).empty()) return 0;
    const double shortDuration = d.durations[0];
    const double longDuration = d.durations[1];
    const bool doubledLongElement = 2.02 * shortDuration > longDuration && 1.98 * shortDuration < longDuration &&
                                    workingCarrierPeriod > 0 && d.is_pulse[0] && d.is_pause[0] && d.is_pulse[1] &&
                                    d.is_pause[1];
    if (!doubledLongElement) return static_cast<int>(code.size());
    std::size_t rebuiltLength = 0;
    std::size_t counted = 0;
    for (char c : code) {
        if (c == 'B' || c == 'b') {
            rebuiltLength += 2;
            ++counted;
        } else {
            ++rebuiltLength;
            if (c == 'A' || c == 'a') ++counted;
        }
    }
    // Codes made mostly of other elements keep their plain length.
    if (counted + 3 < code.size()) return static_cast<int>(code.size());
    return static_cast<int>(rebuiltLength);
}

int FrameCodeLength(const Tprotocol_descriptor& d, std::string_view code, const TWorkingProtocol& w) {
    return FrameCodeLength(d, code, w.carrier_period);
}

std::string GetParamText(const Tprotocol_descriptor& d, int code, int index) {
    const bool indexOk = index >= 0 && index < kDescriptorVocabularySize;
    switch (code) {
        case param_code::kName:
            return d.name;
        case param_code::kStandard:
            return d.standard ? "standard" : "learned";
        case param_code::kCarrierPeriod:
            return FormatFixedNumber(d.carrier_period, 1);
        case param_code::kFrameRate:
            return FormatFixedNumber(d.frame_rate, 0);
        case param_code::kFormat:
            return d.format;
        case param_code::kDummyCode:
            return d.dummy_code;
        case param_code::kMinFrames:
            return std::to_string(d.min_frames);
        case param_code::kMaxFrames:
            return std::to_string(d.max_frames);
        case param_code::kILength:
            return std::to_string(std::abs(static_cast<long long>(d.i_length)));
        case param_code::kJLength:
            return std::to_string(std::abs(static_cast<long long>(d.j_length)));
        case param_code::kXLength:
            return std::to_string(std::abs(static_cast<long long>(d.x_length)));
        case param_code::kVocabularyCount:
            return std::to_string(d.vocabulary_count);
        case param_code::kDuration:
            return indexOk ? FormatFixedNumber(RoundHalfEven(d.durations[index]), 0) : std::string();
        case param_code::kPulseFlag:
        case param_code::kPauseFlag: {
            if (!indexOk) return {};
            std::string flags;
            if (d.is_pulse[index]) flags += '+';
            if (d.is_pause[index]) flags += '-';
            return flags;
        }
        default:
            return {};
    }
}

TDataResult SetParamText(Tprotocol_descriptor& d, const std::string& text, int code, int index,
                         const TWorkingProtocol& working, platform::MessageBoxes& boxes) {
    // Any edit turns a standard protocol into a learned one, unless the edit sets it again.
    d.standard = false;

    const bool indexOk = index >= 0 && index < kDescriptorVocabularySize;
    auto integerField = [&](int& field) -> TDataResult {
        int value = 0;
        if (!ParseInteger(text, value)) return Failure(NotAnInteger(text));
        field = value;
        return {};
    };

    switch (code) {
        case param_code::kName:
            d.name = text;
            return {};
        case param_code::kStandard:
            d.standard = UpperAscii(text) == "STANDARD";
            return {};
        case param_code::kCarrierPeriod: {
            double number = 0;
            if (!ParseNumber(text, number)) return Failure(NotANumber(text));
            double v = RoundHalfEven(2.0 * number) / 2.0;  // to the nearest half microsecond
            if (v < kMinCarrierPeriod) {
                if (v != 0) {
                    v = kMinCarrierPeriod;
                    ShowBox(boxes, MessageKind::Error, kCarrierTooShort);
                } else {
                    ShowBox(boxes, MessageKind::Warning, kPulsedCode);
                }
            }
            if (v > kMaxCarrierPeriod) {
                v = kMaxCarrierPeriod;
                ShowBox(boxes, MessageKind::Error, kCarrierTooLong);
            }
            d.carrier_period = v;
            return {};
        }
        case param_code::kFrameRate: {
            double number = 0;
            if (!ParseNumber(text, number)) return Failure(NotANumber(text));
            d.frame_rate = RoundHalfEven(number);
            return {};
        }
        case param_code::kFormat: {
            if (!text.empty()) {
                d.format = text;
                const int length =
                    static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
                d.min_frames = length;
                if (d.max_frames < length) d.max_frames = length;
                d.j_letter = '?';
                d.x_letter = '?';
                for (char c : text) {
                    switch (UpperAscii(c)) {
                        case 'I':
                            d.i_letter = c;
                            break;
                        case 'J':
                            d.j_letter = c;
                            break;
                        case 'M':  // typed for a repeated second data frame
                            d.j_letter = 'J';
                            break;
                        case 'X':
                            d.x_letter = c;
                            break;
                        default:
                            ShowBox(boxes, MessageKind::Error, kFormatLetters);
                            break;
                    }
                }
            }
            if (d.x_letter == '?') d.dummy_code.clear();
            return {};
        }
        case param_code::kDummyCode:
            d.dummy_code.clear();
            if (d.format.find_first_of("Xx") != std::string::npos) {
                d.x_length = FrameCodeLength(d, text, working);
                d.dummy_code = text;
            }
            return {};
        case param_code::kMinFrames:
            return integerField(d.min_frames);
        case param_code::kMaxFrames:
            return integerField(d.max_frames);
        case param_code::kILength:
            return integerField(d.i_length);
        case param_code::kJLength:
            return integerField(d.j_length);
        case param_code::kXLength:
            return integerField(d.x_length);
        case param_code::kVocabularyCount:
            return integerField(d.vocabulary_count);
        case param_code::kDuration: {
            if (!indexOk) return Failure("Vocabulary index " + std::to_string(index) + " is outside 0 to 30");
            double number = 0;
            if (!ParseNumber(text, number)) return Failure(NotANumber(text));
            double v = RoundHalfEven(number);
            if (v < kMinDuration) {
                v = kMinDuration;
                ShowBox(boxes, MessageKind::Error, kIntervalTooShort);
            } else if (v > kMaxDuration) {
                v = kMaxDuration;
                ShowBox(boxes, MessageKind::Error, kIntervalTooLong);
            }
            d.durations[index] = v;
            return {};
        }
        case param_code::kPulseFlag:
        case param_code::kPauseFlag:
            if (!indexOk) return Failure("Vocabulary index " + std::to_string(index) + " is outside 0 to 30");
            if (!text.empty()) {
                d.is_pulse[index] = false;
                d.is_pause[index] = false;
                if (text == "+") {
                    d.is_pulse[index] = true;
                } else if (text == "-") {
                    d.is_pause[index] = true;
                } else if (text == "+-" || text == "-+") {
                    d.is_pulse[index] = true;
                    d.is_pause[index] = true;
                }
            }
            return {};
        default:
            return {};
    }
}

TDataResult CheckParamText(const Tprotocol_descriptor&, const std::string& text, int code) {
    if (text.empty()) return Failure(kFieldBlank);
    switch (code) {
        case param_code::kCarrierPeriod: {
            double number = 0;
            if (!ParseNumber(text, number)) return Failure(NotANumber(text));
            const double v = RoundHalfEven(2.0 * number) / 2.0;
            if (v != 0 && v < kMinCarrierPeriod) return Failure(kCarrierTooShort);
            if (v > kMaxCarrierPeriod) return Failure(kCarrierTooLong);
            return {};
        }
        case param_code::kFormat:
            for (char c : text) {
                const char u = UpperAscii(c);
                if (u != 'I' && u != 'J' && u != 'M' && u != 'X') return Failure(kFormatLetters);
            }
            return {};
        case param_code::kDuration: {
            double number = 0;
            if (!ParseNumber(text, number)) return Failure(NotANumber(text));
            const double v = RoundHalfEven(number);
            if (v < kMinDuration) return Failure(kIntervalTooShort);
            if (v > kMaxDuration) return Failure(kIntervalTooLong);
            return {};
        }
        default:
            return {};
    }
}

// --- text form

std::string DescriptorToText(const Tprotocol_descriptor& d) {
    std::vector<std::string> items;
    items.reserve(kDescriptorTextItems + 1);
    items.emplace_back(BoolItem(d.valid));
    items.emplace_back(BoolItem(d.standard));
    items.push_back(Quoted(d.name));
    items.push_back(FormatGeneralNumber(d.carrier_period));
    items.push_back(FormatGeneralNumber(d.frame_rate));
    items.push_back(TextItem(d.format));
    items.push_back(TextItem(std::string(1, d.i_letter)));
    items.push_back(TextItem(std::string(1, d.j_letter)));
    items.push_back(TextItem(std::string(1, d.x_letter)));
    items.push_back(TextItem(d.dummy_code));
    for (int v : {d.i_position, d.j_position, d.x_position, d.i_length, d.j_length, d.x_length, d.min_frames,
                  d.max_frames, d.vocabulary_count})
        items.push_back(std::to_string(v));
    items.push_back(FormatGeneralNumber(d.tick));
    for (double v : d.durations) items.push_back(FormatGeneralNumber(v));
    for (bool b : d.is_pulse) items.emplace_back(BoolItem(b));
    for (bool b : d.is_pause) items.emplace_back(BoolItem(b));
    items.emplace_back(kTextEnd);

    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) line += ',';
        line += items[i];
    }
    return line;
}

TDataResult DescriptorFromText(Tprotocol_descriptor& descriptor, std::string_view text) {
    ClearDescriptor(descriptor);
    const std::vector<std::string> items = SplitCommaText(text);
    if (items.size() < static_cast<std::size_t>(kDescriptorTextItems))
        return Failure("it has " + std::to_string(items.size()) + " items, " + std::to_string(kDescriptorTextItems) +
                       " are needed");

    Tprotocol_descriptor d = descriptor;
    auto badNumber = [&](int item) {
        return Failure("item " + std::to_string(item) + " (" + DescriptorItemName(item) + ") \"" + items[item] +
                       "\" is not a number");
    };
    auto number = [&](int item, double& field) { return ParseNumber(items[item], field); };
    auto integer = [&](int item, int& field) { return ParseInteger(items[item], field); };
    auto letter = [&](int item, char& field) {
        if (items[item].empty()) return false;
        field = items[item][0];
        return true;
    };

    d.valid = items[0] == "T";
    d.standard = items[1] == "T";
    d.name = items[2];
    if (!number(3, d.carrier_period)) return badNumber(3);
    if (!number(4, d.frame_rate)) return badNumber(4);
    d.format = items[5];
    char* letters[] = {&d.i_letter, &d.j_letter, &d.x_letter};
    for (int i = 0; i < 3; ++i) {
        if (!letter(6 + i, *letters[i]))
            return Failure("item " + std::to_string(6 + i) + " (" + DescriptorItemName(6 + i) + ") is empty");
    }
    d.dummy_code = items[9];
    int* integers[] = {&d.i_position, &d.j_position, &d.x_position, &d.i_length,        &d.j_length,
                       &d.x_length,   &d.min_frames, &d.max_frames, &d.vocabulary_count};
    for (int i = 0; i < 9; ++i) {
        if (!integer(10 + i, *integers[i])) return badNumber(10 + i);
    }
    if (!number(19, d.tick)) return badNumber(19);
    constexpr int kFirstDuration = 20;
    constexpr int kFirstPulseFlag = kFirstDuration + kDescriptorVocabularySize;
    constexpr int kFirstPauseFlag = kFirstPulseFlag + kDescriptorVocabularySize;
    for (int k = 0; k < kDescriptorVocabularySize; ++k) {
        if (!number(kFirstDuration + k, d.durations[k])) return badNumber(kFirstDuration + k);
        d.is_pulse[k] = items[kFirstPulseFlag + k] == "T";
        d.is_pause[k] = items[kFirstPauseFlag + k] == "T";
    }
    descriptor = std::move(d);
    return {};
}

// --- the standard protocol table

TDataResult LoadStandardProtocols(Tstandard_protocols& table, const TIniFile& settings) {
    const TIniResult readable = settings.CheckReadable();
    if (!readable) return Failure("The standard protocols were not loaded: " + readable.message);

    const std::vector<std::string> lines = settings.ReadSectionValues(kProtocolsSection);
    // Built aside so that a malformed line leaves the table as it was.
    Tstandard_protocols loaded = table;
    for (int i = 0; i < kStandardProtocolSlots; ++i) {
        Tprotocol_descriptor& slot = loaded.protocols[i];
        if (i >= static_cast<int>(lines.size())) {
            ClearDescriptor(slot);
            continue;
        }
        const std::string& line = lines[i];
        const std::size_t equals = line.find('=');
        const std::string_view value =
            equals == std::string::npos ? std::string_view() : std::string_view(line).substr(equals + 1);
        const TDataResult parsed = DescriptorFromText(slot, value);
        if (!parsed) {
            const std::string key = line.substr(0, std::min(equals, line.size()));
            return Failure("The standard protocols were not loaded: entry " + std::to_string(i + 1) + " (\"" + key +
                           "\") of section \"" + kProtocolsSection + "\" in \"" + settings.FileName() +
                           "\" is malformed: " + parsed.message + ".");
        }
    }
    loaded.count = std::min(static_cast<int>(lines.size()), kStandardProtocolSlots);
    table = std::move(loaded);
    return {};
}

TDataResult LoadStandardProtocols(Tstandard_protocols& table, const std::string& settingsPath) {
    return LoadStandardProtocols(table, TIniFile(settingsPath));
}

TDataResult LoadAndRefreshStandardProtocols(Tstandard_protocols& table, TIniFile& settings) {
    if (TDataResult loaded = LoadStandardProtocols(table, settings); !loaded) return loaded;
    return SaveStandardProtocols(table, settings);
}

TDataResult SaveStandardProtocols(const Tstandard_protocols& table, TIniFile& settings) {
    // A slot that cannot be written does not keep the others from being saved; the first failure is reported.
    TDataResult result;
    for (const Tprotocol_descriptor& slot : table.protocols) {
        if (slot.name.empty()) continue;
        const TIniResult written = settings.WriteString(kProtocolsSection, slot.name, DescriptorToText(slot));
        if (!written && result.ok)
            result = Failure("The standard protocol \"" + slot.name + "\" was not saved: " + written.message);
    }
    return result;
}

TDataResult SaveStandardProtocols(const Tstandard_protocols& table, const std::string& settingsPath) {
    TIniFile settings(settingsPath);
    return SaveStandardProtocols(table, settings);
}

int FindStandardProtocol(const Tstandard_protocols& table, const std::string& name) {
    const std::string wanted = UpperAscii(TrimBlanks(name));
    const int count = std::clamp(table.count, 0, kStandardProtocolSlots);
    for (int i = 0; i < count; ++i) {
        if (UpperAscii(table.protocols[i].name) == wanted) return i;
    }
    return -1;
}

namespace {

bool SlotMatches(const Tprotocol_descriptor& s, const Tprotocol_descriptor& d, double tol) {
    if (d.carrier_period > 0) {
        if (s.carrier_period < (1 - tol) * d.carrier_period - 1 || s.carrier_period > (1 + tol) * d.carrier_period + 1)
            return false;
    } else if (s.carrier_period != 0) {
        return false;
    }
    if (s.frame_rate < (1 - 2 * tol) * d.frame_rate || s.frame_rate > (1 + 2 * tol) * d.frame_rate) return false;

    // A learned "Ix" is a standard "I" whose last frame was seen as a dummy: its dummy code does not count.
    const bool repeatedDataOnly = d.format == "Ix" && s.format == "I";
    if (!(s.format == d.format || repeatedDataOnly || (d.format == "xIx" && s.format == "xI"))) return false;
    if (!repeatedDataOnly && s.dummy_code != d.dummy_code) return false;

    const bool halvren = s.name == kHalvrenProtocolName;
    if (s.vocabulary_count != d.vocabulary_count && !halvren) return false;

    if (s.vocabulary_count >= 1 && d.vocabulary_count >= 1) {
        if (halvren) {
            if (d.durations[0] < kHalvrenShortMin || d.durations[0] > kHalvrenShortMax) return false;
            if (d.durations[1] < kHalvrenLongMin || d.durations[1] > kHalvrenLongMax) return false;
        } else {
            const int used = UsedEntries(d.vocabulary_count);
            for (int k = 0; k < used; ++k) {
                if (s.durations[k] < (1 - tol) * d.durations[k] || s.durations[k] > (1 + tol) * d.durations[k])
                    return false;
            }
        }
    }
    return true;
}

}  // namespace

int MatchStandardProtocol(const Tstandard_protocols& table, const Tprotocol_descriptor& descriptor,
                          double matchTolerance) {
    const int count = std::clamp(table.count, 0, kStandardProtocolSlots);
    for (int i = 0; i < count; ++i) {
        const Tprotocol_descriptor& slot = table.protocols[i];
        if (!slot.valid) return -1;
        if (SlotMatches(slot, descriptor, matchTolerance)) return i;
    }
    return -1;
}

int MatchStandardProtocol(const Tstandard_protocols& table, const Tprotocol_descriptor& descriptor,
                          const TWorkingProtocol& working) {
    return MatchStandardProtocol(table, descriptor, working.match_tolerance);
}

void CopyStandardProtocol(const Tstandard_protocols& table, int index, Tprotocol_descriptor& target) {
    if (index < 0 || index >= kStandardProtocolSlots) return;
    CopyDescriptor(table.protocols[index], target);
}

}  // namespace spectrel
