#include "virtualboard/IrSignal.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <sstream>

namespace spectrel::virtualboard {

namespace {

// A duration with at most one decimal, and none when it is whole.
std::string formatDuration(double us) {
    const double tenths = std::round(us * 10.0);
    char buffer[48];
    if (std::fmod(tenths, 10.0) == 0.0) {
        std::snprintf(buffer, sizeof buffer, "%.0f", tenths / 10.0);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.1f", tenths / 10.0);
    }
    return buffer;
}

void appendPart(std::string& out, const std::vector<double>& part) {
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (!out.empty() && out.back() != '[') out += ' ';
        out += (i % 2 == 0) ? '+' : '-';
        out += formatDuration(part[i]);
    }
}

}  // namespace

std::string formatSignal(const IrSignal& signal) {
    std::string out = "f";
    out += std::to_string(signal.carrierHz);
    appendPart(out, signal.once);
    if (!signal.repeat.empty()) {
        out += " [";
        appendPart(out, signal.repeat);
        out += ']';
    }
    return out;
}

ParseSignalResult parseSignal(const std::string& text) {
    ParseSignalResult result;
    std::istringstream in(text);
    std::string token;
    bool haveCarrier = false;
    bool inRepeat = false;
    bool repeatClosed = false;
    int index = 0;
    auto fail = [&](const std::string& message) {
        result.ok = false;
        result.message = message;
        return result;
    };
    while (in >> token) {
        ++index;
        const std::string where = "token " + std::to_string(index) + " \"" + token + "\"";
        if (!haveCarrier) {
            int hz = 0;
            const char* first = token.data() + 1;
            const char* last = token.data() + token.size();
            auto [ptr, ec] = std::from_chars(first, last, hz);
            if (token.size() < 2 || token[0] != 'f' || ec != std::errc() || ptr != last || hz < 0) {
                return fail(where + ": expected the carrier as f<Hz>, for example f38000");
            }
            result.signal.carrierHz = hz;
            haveCarrier = true;
            continue;
        }
        if (repeatClosed) return fail(where + ": nothing may follow the repeat part");
        if (token.front() == '[') {
            if (inRepeat) return fail(where + ": a second '[' inside the repeat part");
            inRepeat = true;
            token.erase(0, 1);
            if (token.empty()) continue;
        }
        bool closes = false;
        if (!token.empty() && token.back() == ']') {
            if (!inRepeat) return fail(where + ": ']' without '['");
            closes = true;
            token.pop_back();
        }
        if (!token.empty()) {
            std::vector<double>& part = inRepeat ? result.signal.repeat : result.signal.once;
            const char expected = (part.size() % 2 == 0) ? '+' : '-';
            if (token[0] != '+' && token[0] != '-') {
                return fail(where + ": a duration needs its sign (+ for a mark, - for a space)");
            }
            if (token[0] != expected) {
                return fail(where + ": marks and spaces must alternate, starting with a mark");
            }
            double value = 0;
            const char* first = token.data() + 1;
            const char* last = token.data() + token.size();
            auto [ptr, ec] = std::from_chars(first, last, value);
            if (ec != std::errc() || ptr != last || !(value > 0) || !std::isfinite(value)) {
                return fail(where + ": not a positive duration in microseconds");
            }
            // Below 0.05 us a value would be written as 0, which no longer reads.
            if (std::round(value * 10.0) < 1.0) return fail(where + ": not a positive duration in microseconds");
            if (value > kMaxSignalDurationUs) return fail(where + ": longer than 100 seconds");
            part.push_back(value);
        }
        if (closes) {
            inRepeat = false;
            repeatClosed = true;
        }
    }
    if (!haveCarrier) return fail("empty signal: expected the carrier as f<Hz>");
    if (inRepeat) return fail("the repeat part is not closed with ']'");
    result.ok = true;
    return result;
}

double totalDurationUs(const std::vector<double>& part) { return std::accumulate(part.begin(), part.end(), 0.0); }

}  // namespace spectrel::virtualboard
