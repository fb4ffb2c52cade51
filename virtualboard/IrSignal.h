#pragma once
// An infrared signal as a remote sends it: a carrier frequency and the durations of its marks (carrier on)
// and spaces (carrier off), in microseconds, alternating and starting with a mark.
//
// A press of a key sends `once` one time and then `repeat` again and again for as long as the key is held
// (NEC repeat frames, or the whole frame for RC5 and Sony). A part that ends with a space carries the gap to
// whatever follows; a part that ends with a mark is followed by `kImpliedGapUs` of silence when more follows.
//
// Canonical text form, used by tests and on the command line:
//     f38000 +9000 -4500 +562.5 -562.5 ... -40000 [+9000 -2250 +562.5 -96187.5]
// "f" and the carrier in Hz (f0: no carrier), then the once part as +mark and -space values, then the repeat
// part in square brackets (left out when empty). Values are microseconds; fractions to 0.1 µs are kept.

#include <optional>
#include <string>
#include <vector>

namespace spectrel::virtualboard {

struct IrSignal {
    std::string name;
    int carrierHz = 0;           // 0: pulses without carrier
    std::vector<double> once;    // sent once per press
    std::vector<double> repeat;  // sent again and again while the key is held

    bool operator==(const IrSignal&) const = default;
};

// The longest mark or space any reader of signals accepts (100 s); longer ones are refused.
constexpr double kMaxSignalDurationUs = 100e6;

// Silence put between two parts when the earlier one ends with a mark.
constexpr double kImpliedGapUs = 100'000.0;

// The canonical text form described above (the name is not part of it).
std::string formatSignal(const IrSignal& signal);

struct ParseSignalResult {
    bool ok = false;
    std::string message;  // what is wrong, when !ok
    IrSignal signal;
};

// Reads the canonical text form. Signs must alternate starting with '+', values must be positive (at least
// 0.05 us, so that they keep a value in the form's tenths) and at most kMaxSignalDurationUs.
ParseSignalResult parseSignal(const std::string& text);

// Sum of all durations of a part.
double totalDurationUs(const std::vector<double>& part);

}  // namespace spectrel::virtualboard
