#include "virtualboard/SignalFiles.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "virtualboard/Generators.h"

namespace spectrel::virtualboard {

namespace {

constexpr double kProntoClockUs = 0.241246;        // the Pronto's time base, µs per frequency-word unit
constexpr std::size_t kMaxFileBytes = 16u << 20;   // larger files are not signal files
constexpr long long kMaxDurationUs = static_cast<long long>(kMaxSignalDurationUs);
constexpr int kMaxFrequencyHz = 1'000'000;

std::string trim(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

template <typename T>
bool parseNumber(const std::string& s, T& value, int base = 10) {
    const char* first = s.data();
    const char* last = s.data() + s.size();
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>) {
        (void)base;
        r = std::from_chars(first, last, value);
    } else {
        r = std::from_chars(first, last, value, base);
    }
    return !s.empty() && r.ec == std::errc() && r.ptr == last;
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

class Failure {
public:
    Failure(SignalFileResult& result, const std::string& source) : result_(result), source_(source) {}
    SignalFileResult& fail(int line, const std::string& what) {
        result_.ok = false;
        result_.signals.clear();
        result_.message = source_ + ":" + std::to_string(line) + ": " + what;
        return result_;
    }
    void note(int line, const std::string& what) {
        result_.notes.push_back(source_ + ":" + std::to_string(line) + ": " + what);
    }

private:
    SignalFileResult& result_;
    const std::string& source_;
};

// One button of a Flipper file while it is being read.
struct FlipperEntry {
    int line = 0;
    std::string name;
    std::string type;
    int typeLine = 0;
    std::optional<int> frequency;
    std::vector<double> data;
    int dataLine = 0;
    std::string protocol;
    std::vector<std::uint8_t> address;
    std::vector<std::uint8_t> command;
    int protocolLine = 0;
    bool seenDuty = false;
};

// "07 00 00 00" -> bytes.
bool parseHexBytes(const std::string& value, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    for (const std::string& w : words(value)) {
        unsigned v = 0;
        if (w.size() > 2 || !parseNumber(w, v, 16)) return false;
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    return !bytes.empty();
}

// A parsed Flipper entry turned into a signal, or a reason why it is skipped.
std::optional<IrSignal> generateParsed(const FlipperEntry& e, std::string& why) {
    auto byte = [](const std::vector<std::uint8_t>& v, std::size_t i) -> std::uint8_t {
        return i < v.size() ? v[i] : 0;
    };
    const std::string p = e.protocol;
    std::optional<IrSignal> s;
    if (p == "NEC") {
        s = necSignal(byte(e.address, 0), byte(e.command, 0));
    } else if (p == "NECext") {
        s = necBytesSignal(byte(e.address, 0), byte(e.address, 1), byte(e.command, 0), byte(e.command, 1));
    } else if (p == "RC5") {
        s = rc5Signal(byte(e.address, 0), byte(e.command, 0) & 0x3F, false);
    } else if (p == "RC5X") {
        s = rc5Signal(byte(e.address, 0), static_cast<std::uint8_t>((byte(e.command, 0) & 0x3F) | 0x40), false);
    } else if (p == "SIRC") {
        s = sirc12Signal(byte(e.address, 0), byte(e.command, 0));
    } else {
        why = "button " + inQuotes(e.name) + " skipped: protocol " + inQuotes(p) + " is not generated";
        return std::nullopt;
    }
    s->name = e.name;
    return s;
}

}  // namespace

SignalFileResult parseFlipperIr(const std::string& text, const std::string& sourceName) {
    SignalFileResult result;
    Failure failure(result, sourceName);
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    bool haveFiletype = false;
    bool haveVersion = false;
    std::optional<FlipperEntry> entry;

    auto finish = [&](FlipperEntry& e) -> bool {
        if (e.type.empty()) {
            failure.fail(e.line, "button " + inQuotes(e.name) + " has no \"type:\" line");
            return false;
        }
        if (e.type == "raw") {
            if (!e.frequency) {
                failure.fail(e.line, "button " + inQuotes(e.name) + " has no \"frequency:\" line");
                return false;
            }
            if (e.data.empty()) {
                failure.fail(e.line, "button " + inQuotes(e.name) + " has no \"data:\" line");
                return false;
            }
            IrSignal s;
            s.name = e.name;
            s.carrierHz = *e.frequency;
            s.once = std::move(e.data);
            result.signals.push_back(std::move(s));
            return true;
        }
        if (e.protocol.empty() || e.address.empty() || e.command.empty()) {
            failure.fail(e.line,
                         "parsed button " + inQuotes(e.name) + " needs \"protocol:\", \"address:\" and \"command:\"");
            return false;
        }
        std::string why;
        if (auto s = generateParsed(e, why)) {
            result.signals.push_back(std::move(*s));
        } else {
            failure.note(e.protocolLine, why);
        }
        return true;
    };

    while (std::getline(in, raw)) {
        ++lineNo;
        const std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) return failure.fail(lineNo, "expected \"key: value\", found " + inQuotes(line));
        const std::string key = trim(line.substr(0, colon));
        const std::string value = trim(line.substr(colon + 1));
        if (!haveFiletype) {
            if (key != "Filetype" || (value != "IR signals file" && value != "IR library file")) {
                return failure.fail(lineNo, "not an IR signals file (expected \"Filetype: IR signals file\")");
            }
            haveFiletype = true;
            continue;
        }
        if (!haveVersion) {
            int version = 0;
            if (key != "Version" || !parseNumber(value, version)) {
                return failure.fail(lineNo, "expected \"Version: 1\" after the file type");
            }
            if (version != 1) return failure.fail(lineNo, "version " + value + " is not supported (only 1)");
            haveVersion = true;
            continue;
        }
        if (key == "name") {
            if (entry && !finish(*entry)) return result;
            if (value.empty()) return failure.fail(lineNo, "empty button name");
            entry = FlipperEntry{};
            entry->line = lineNo;
            entry->name = value;
            continue;
        }
        if (!entry) return failure.fail(lineNo, inQuotes(key) + " before the first \"name:\" line");
        FlipperEntry& e = *entry;
        if (key == "type") {
            if (!e.type.empty()) return failure.fail(lineNo, "a second \"type:\" for button " + inQuotes(e.name));
            if (value != "raw" && value != "parsed") {
                return failure.fail(lineNo, "unknown type " + inQuotes(value) + " (expected raw or parsed)");
            }
            e.type = value;
            e.typeLine = lineNo;
        } else if (e.type.empty()) {
            return failure.fail(lineNo, inQuotes(key) + " before the \"type:\" of button " + inQuotes(e.name));
        } else if (e.type == "raw" && key == "frequency") {
            int hz = 0;
            if (e.frequency) return failure.fail(lineNo, "a second \"frequency:\" for button " + inQuotes(e.name));
            if (!parseNumber(value, hz) || hz < 0 || hz > kMaxFrequencyHz) {
                return failure.fail(lineNo, "frequency " + inQuotes(value) + " is not a carrier in Hz");
            }
            e.frequency = hz;
        } else if (e.type == "raw" && key == "duty_cycle") {
            double duty = 0;
            if (e.seenDuty) return failure.fail(lineNo, "a second \"duty_cycle:\" for button " + inQuotes(e.name));
            if (!parseNumber(value, duty) || !(duty > 0 && duty <= 1)) {
                return failure.fail(lineNo, "duty cycle " + inQuotes(value) + " is not a fraction between 0 and 1");
            }
            e.seenDuty = true;
        } else if (e.type == "raw" && key == "data") {
            const std::vector<std::string> values = words(value);
            if (values.empty()) return failure.fail(lineNo, "empty \"data:\" line");
            for (std::size_t i = 0; i < values.size(); ++i) {
                long long us = 0;
                if (!parseNumber(values[i], us) || us <= 0 || us > kMaxDurationUs) {
                    return failure.fail(lineNo, "data value " + std::to_string(i + 1) + " " + inQuotes(values[i]) +
                                                    " is not a duration in whole microseconds");
                }
                e.data.push_back(static_cast<double>(us));
            }
            e.dataLine = lineNo;
        } else if (e.type == "parsed" && key == "protocol") {
            if (value.empty()) return failure.fail(lineNo, "empty protocol name");
            e.protocol = value;
            e.protocolLine = lineNo;
        } else if (e.type == "parsed" && (key == "address" || key == "command")) {
            std::vector<std::uint8_t>& bytes = key == "address" ? e.address : e.command;
            if (!parseHexBytes(value, bytes)) {
                return failure.fail(lineNo, key + " " + inQuotes(value) + " is not a list of hexadecimal bytes");
            }
        } else {
            return failure.fail(lineNo, "unknown key " + inQuotes(key) + " in a " + e.type + " button");
        }
    }
    if (!haveFiletype) return failure.fail(lineNo, "empty file (expected \"Filetype: IR signals file\")");
    if (!haveVersion) return failure.fail(lineNo, "expected \"Version: 1\" after the file type");
    if (entry && !finish(*entry)) return result;
    result.ok = true;
    return result;
}

ParseSignalResult parseProntoCode(const std::string& code) {
    ParseSignalResult result;
    auto fail = [&result](const std::string& what) {
        result.ok = false;
        result.message = what;
        return result;
    };
    const std::vector<std::string> w = words(code);
    std::vector<unsigned> v;
    for (std::size_t i = 0; i < w.size(); ++i) {
        unsigned x = 0;
        if (w[i].size() != 4 || !parseNumber(w[i], x, 16)) {
            return fail("Pronto word " + std::to_string(i + 1) + " " + inQuotes(w[i]) +
                        " is not a 4-digit hexadecimal number");
        }
        v.push_back(x);
    }
    if (v.size() < 4) return fail("a Pronto code needs at least 4 words, found " + std::to_string(v.size()));
    if (v[0] != 0x0000 && v[0] != 0x0100) {
        return fail("Pronto format " + w[0] + " is not a learned code (0000 or 0100)");
    }
    if (v[1] == 0) return fail("Pronto frequency word is 0000");
    const std::size_t once = v[2];
    const std::size_t repeat = v[3];
    if (once + repeat == 0) return fail("the Pronto code has no burst pairs");
    const std::size_t expected = 4 + 2 * (once + repeat);
    if (v.size() != expected) {
        return fail("the Pronto code announces " + std::to_string(once) + " + " + std::to_string(repeat) +
                    " burst pairs, so " + std::to_string(expected) + " words, but has " + std::to_string(v.size()));
    }
    const double unitUs = v[1] * kProntoClockUs;
    for (std::size_t i = 4; i < v.size(); ++i) {
        if (v[i] == 0) return fail("Pronto duration " + std::to_string(i + 1) + " is 0000");
        if (v[i] * unitUs > kMaxSignalDurationUs)
            return fail("Pronto duration " + std::to_string(i + 1) + " " + w[i] + " is longer than 100 seconds");
    }
    result.signal.carrierHz = v[0] == 0x0100 ? 0 : static_cast<int>(std::lround(1e6 / unitUs));
    for (std::size_t i = 0; i < 2 * once; ++i) result.signal.once.push_back(v[4 + i] * unitUs);
    for (std::size_t i = 0; i < 2 * repeat; ++i) result.signal.repeat.push_back(v[4 + 2 * once + i] * unitUs);
    result.ok = true;
    return result;
}

SignalFileResult parseSignalList(const std::string& text, const std::string& sourceName) {
    SignalFileResult result;
    Failure failure(result, sourceName);
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    int codes = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::string name;
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos) {
            name = trim(line.substr(0, colon));
            line = trim(line.substr(colon + 1));
            if (name.empty()) return failure.fail(lineNo, "empty name before ':'");
            if (line.empty()) return failure.fail(lineNo, "no code after " + inQuotes(name + ":"));
        }
        ParseSignalResult parsed;
        if (line[0] == 'f' || line[0] == 'F') {
            parsed = parseSignal(lower(line.substr(0, 1)) + line.substr(1));
        } else {
            parsed = parseProntoCode(line);
            unsigned format = 0;
            const std::string first = line.substr(0, line.find_first_of(" \t"));
            if (!parsed.ok && first.size() == 4 && parseNumber(first, format, 16) && format != 0x0000 &&
                format != 0x0100) {
                failure.note(lineNo,
                             (name.empty() ? std::string("code") : inQuotes(name)) + " skipped: " + parsed.message);
                continue;
            }
        }
        if (!parsed.ok) return failure.fail(lineNo, parsed.message);
        ++codes;
        parsed.signal.name = name.empty() ? "Code " + std::to_string(codes) : name;
        result.signals.push_back(std::move(parsed.signal));
    }
    if (result.signals.empty() && result.notes.empty()) return failure.fail(lineNo, "no codes in the file");
    result.ok = true;
    return result;
}

SignalFileResult readSignalFile(const std::string& path) {
    SignalFileResult result;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        result.message = path + ": is a folder, not a signal file";
        return result;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        result.message = path + ": cannot open the file";
        return result;
    }
    std::string text;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMaxFileBytes) {
            result.message = path + ": the file is too large for a signal file";
            return result;
        }
    }
    if (text.find('\0') != std::string::npos) {
        result.message = path + ": not a text file";
        return result;
    }
    const bool flipper =
        (path.size() >= 3 && lower(path.substr(path.size() - 3)) == ".ir") || trim(text).rfind("Filetype:", 0) == 0;
    return flipper ? parseFlipperIr(text, path) : parseSignalList(text, path);
}

}  // namespace spectrel::virtualboard
