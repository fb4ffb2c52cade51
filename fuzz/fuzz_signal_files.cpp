// Signal files shared by other tools (Flipper ".ir" files, Pronto and text lists): whatever is read is written
// in the canonical text form, which reads back and writes the same text again.

#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "virtualboard/IrSignal.h"
#include "virtualboard/SignalFiles.h"

using namespace spectrel::virtualboard;

namespace {

void CheckRoundTrip(const IrSignal& signal) {
    for (const std::vector<double>* part : {&signal.once, &signal.repeat}) {
        for (double us : *part) {
            spectrel::fuzz::Check(us > 0 && us <= kMaxSignalDurationUs, "a duration read lies within the limit",
                                  std::to_string(us));
        }
    }
    const std::string text = formatSignal(signal);
    const ParseSignalResult back = parseSignal(text);
    spectrel::fuzz::Check(back.ok, "a written signal reads back", text + "\n" + back.message);
    spectrel::fuzz::Check(formatSignal(back.signal) == text, "a written signal reads back the same", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const SignalFileResult& r : {parseFlipperIr(text, "fuzz.ir"), parseSignalList(text, "fuzz.txt")}) {
        if (!r.ok) {
            spectrel::fuzz::Check(!r.message.empty(), "a refused file says why");
            continue;
        }
        for (const IrSignal& signal : r.signals) CheckRoundTrip(signal);
    }
    const ParseSignalResult single = parseSignal(text);
    if (single.ok) CheckRoundTrip(single.signal);
    const ParseSignalResult pronto = parseProntoCode(text);
    if (pronto.ok) CheckRoundTrip(pronto.signal);
    return 0;
}
