#include "virtualboard/FlipperIrWriter.h"

#include <algorithm>
#include <cmath>

namespace spectrel::virtualboard {

namespace {

// Values per "data:" line; long recordings go on over further lines.
constexpr std::size_t kValuesPerLine = 512;

// A name is one line: line breaks become blanks.
std::string OneLine(const std::string& name) {
    std::string line = name;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    return line.empty() ? "Signal" : line;
}

}  // namespace

std::string formatFlipperIr(const std::vector<IrSignal>& entries) {
    std::string text = "Filetype: IR signals file\nVersion: 1\n";
    for (const IrSignal& signal : entries) {
        std::vector<double> data = signal.once;
        data.insert(data.end(), signal.repeat.begin(), signal.repeat.end());
        text += "#\nname: " + OneLine(signal.name) + "\ntype: raw\nfrequency: " +
                std::to_string(std::max(signal.carrierHz, 0)) + "\nduty_cycle: 0.330000\n";
        for (std::size_t i = 0; i < data.size(); i += kValuesPerLine) {
            text += "data:";
            for (std::size_t k = i; k < std::min(data.size(), i + kValuesPerLine); ++k) {
                text += ' ' + std::to_string(std::max(1L, std::lround(data[k])));
            }
            text += '\n';
        }
    }
    return text;
}

}  // namespace spectrel::virtualboard
