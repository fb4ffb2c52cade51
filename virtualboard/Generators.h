#pragma once
// Built-in generators of a few well-known remote-control codes, for the virtual board and for tests.
// Every timing is derived from the code's base unit.

#include <cstdint>

#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

// --- NEC: pulse-distance, 38 kHz, 32 bits LSB first (address, ~address, command, ~command).
// While the key is held a short repeat frame (9000 mark, 2250 space, one bit mark) follows every 108 ms.
constexpr int kNecCarrierHz = 38'000;
constexpr double kNecUnit = 562.5;
constexpr double kNecHeaderMark = 16 * kNecUnit;  // 9000
constexpr double kNecHeaderSpace = 8 * kNecUnit;  // 4500
constexpr double kNecRepeatSpace = 4 * kNecUnit;  // 2250
constexpr double kNecBitMark = 1 * kNecUnit;
constexpr double kNecZeroSpace = 1 * kNecUnit;
constexpr double kNecOneSpace = 3 * kNecUnit;       // 1687.5
constexpr double kNecFramePeriod = 192 * kNecUnit;  // 108000, start to start
constexpr int kNecBits = 32;

// Standard NEC: 8-bit address sent with its inverse.
IrSignal necSignal(std::uint8_t address, std::uint8_t command);
// Extended NEC: 16-bit address (low byte first), command with its inverse.
IrSignal necExtendedSignal(std::uint16_t address, std::uint8_t command);
// NEC with all four bytes given (for codes whose command is not sent with its inverse).
IrSignal necBytesSignal(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);

// --- RC5: bi-phase (Manchester), 36 kHz, 14 bits MSB first: two start bits (the second one is the
// inverted command bit 6, so commands 64..127 work as in extended RC5), toggle, 5 address bits, 6 command bits.
// A '1' is a space then a mark, a '0' a mark then a space. The whole frame repeats every 114 ms while held;
// the toggle bit flips from one press to the next, not between the repeats of one press.
constexpr int kRc5CarrierHz = 36'000;
constexpr double kRc5Unit = 889;                    // half a bit: 32 carrier cycles
constexpr double kRc5FramePeriod = 128 * kRc5Unit;  // start to start
constexpr int kRc5Bits = 14;

IrSignal rc5Signal(std::uint8_t address, std::uint8_t command, bool toggle);

// A remote that sends RC5 codes and flips the toggle bit with every press.
class Rc5Remote {
public:
    explicit Rc5Remote(bool firstToggle = false) : toggle_(firstToggle) {}
    IrSignal press(std::uint8_t address, std::uint8_t command);

private:
    bool toggle_;
};

// --- Sony SIRC-12: pulse-width, 40 kHz, 7 command bits then 5 address bits, LSB first. A '1' is a
// 1200 mark, a '0' a 600 mark, each followed by a 600 space; frames start every 45 ms. Sony remotes send
// a frame at least three times, so a press starts with three frames and repeats one frame while held.
constexpr int kSircCarrierHz = 40'000;
constexpr double kSircUnit = 600;
constexpr double kSircHeaderMark = 4 * kSircUnit;
constexpr double kSircSpace = 1 * kSircUnit;
constexpr double kSircOneMark = 2 * kSircUnit;
constexpr double kSircZeroMark = 1 * kSircUnit;
constexpr double kSircFramePeriod = 75 * kSircUnit;  // 45000
constexpr int kSircMinimumFrames = 3;

IrSignal sirc12Signal(std::uint8_t address, std::uint8_t command);

// --- Flash-16: a pulsed code without carrier (carrierHz 0), as sent by flash-type transmitters and
// IR repeater emitters that drive the LED directly. Every mark is a single 150 µs flash; the spaces carry
// the data (pulse distance): a start flash, a 3000 µs space, 16 bits LSB first (8 address bits, 8 command
// bits) with spaces of 600 µs for '0' and 1200 µs for '1', a stop flash; frames start every 60 ms and the
// whole frame repeats while held.
constexpr double kFlashUnit = 150;
constexpr double kFlashMark = 1 * kFlashUnit;
constexpr double kFlashStartSpace = 20 * kFlashUnit;    // 3000
constexpr double kFlashZeroSpace = 4 * kFlashUnit;      // 600
constexpr double kFlashOneSpace = 8 * kFlashUnit;       // 1200
constexpr double kFlashFramePeriod = 400 * kFlashUnit;  // 60000
constexpr int kFlashBits = 16;

IrSignal flashSignal(std::uint8_t address, std::uint8_t command);

}  // namespace spectrel::virtualboard
