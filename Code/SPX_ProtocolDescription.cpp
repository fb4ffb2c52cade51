// The protocol description lines.

#include "Code/SPX_ProtocolDescription.h"

#include <algorithm>

namespace spectrel {

void TTextLines::Delete(int index) { lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index)); }

namespace {

// Frame structure colour: any length black, "longer than" teal, an exact length blue.
char LengthRuleColour(int lengthRule) {
    if (lengthRule == 0) return colour_code::kBlack;
    return lengthRule < 0 ? colour_code::kTeal : colour_code::kBlue;
}

std::string UsageText(bool pulse, bool pause) {
    std::string text;
    if (pulse) text += "pulse";
    if (pulse && pause) text += "/";
    if (pause) text += "pause";
    return text;
}

// A number with decimals, with the separator asked for.
std::string WithSeparator(std::string number, char separator) {
    std::replace(number.begin(), number.end(), '.', separator);
    return number;
}

}  // namespace

std::vector<std::string> ProtocolDescriptionLines(const Tprotocol_descriptor& d, char decimalSeparator) {
    using namespace colour_code;
    if (!d.valid) return {kNoProtocolLine};
    std::vector<std::string> lines;
    if (d.carrier_period > 0) {
        lines.push_back(std::string("Carrier frequency: ") + kBlue +
                        WithSeparator(FormatFixedNumber(1000 / d.carrier_period, 1), decimalSeparator) +
                        kBlack + " kHz");
    } else if (d.carrier_period == 0) {
        lines.push_back("No carrier, pulsed code");
    }
    if (d.frame_rate > 0) {
        lines.push_back(std::string("Frames rate: ") + kBlue + FormatFixedNumber(d.frame_rate, 0) + kBlack + " ms");
    }
    lines.push_back(std::string("Frames structure: ") + LengthRuleColour(d.i_length) + d.format);
    if (d.x_letter != '?') lines.push_back(std::string("Dummy frame: ") + kBlue + d.dummy_code);
    const int count = std::min(d.vocabulary_count, kDescriptorVocabularySize);
    for (int k = 0; k < count; ++k) {
        lines.push_back(std::string("  ") + static_cast<char>('A' + k) + ":  " + kBlue +
                        FormatFixedNumber(d.durations[k], 0) + kBlack + " us " +
                        UsageText(d.is_pulse[k], d.is_pause[k]) + "   ");
    }
    return lines;
}

char ProtocolDescriptionColour(const Tprotocol_descriptor& d) {
    return d.standard ? colour_code::kTeal : colour_code::kBlack;
}

void WriteProtocolDescription(TColouredList& list, const Tprotocol_descriptor& descriptor, bool clear) {
    if (clear) list.Clear();
    if (descriptor.valid) list.SetTextColour(ProtocolDescriptionColour(descriptor));
    for (const std::string& line : ProtocolDescriptionLines(descriptor, list.DecimalSeparator())) list.Add(line);
}

std::string StripColourCodes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c >= '\001' && c <= '\010') continue;
        out += c;
    }
    return out;
}

}  // namespace spectrel
