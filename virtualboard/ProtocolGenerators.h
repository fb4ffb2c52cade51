#pragma once
// Generators of the common consumer remote-control codes that Generators.h does not cover, for the virtual
// board, for the shipped standard protocol table and for tests. Every timing is derived from the code's base
// unit; bits are sent LSB first unless a code says otherwise.

#include <cstdint>

#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

// --- Samsung32: NEC timing with a 4500/4500 header; 8-bit address sent twice, command with its inverse. The
// whole frame repeats every 108 ms while the key is held.
constexpr int kSamsungCarrierHz = 38'000;
constexpr double kSamsungUnit = 560;
constexpr double kSamsungHeaderMark = 8 * kSamsungUnit;   // 4480
constexpr double kSamsungHeaderSpace = 8 * kSamsungUnit;  // 4480
constexpr double kSamsungBitMark = 1 * kSamsungUnit;
constexpr double kSamsungZeroSpace = 1 * kSamsungUnit;
constexpr double kSamsungOneSpace = 3 * kSamsungUnit;       // 1680
constexpr double kSamsungFramePeriod = 193 * kSamsungUnit;  // 108080, start to start

IrSignal samsung32Signal(std::uint8_t address, std::uint8_t command);

// --- JVC: pulse distance, 16 bits (8 address, 8 command). The 8400/4200 header is sent once; while the key is
// held the frame follows again without header, each frame closed by a 45-unit gap.
constexpr int kJvcCarrierHz = 38'000;
constexpr double kJvcUnit = 525;
constexpr double kJvcHeaderMark = 16 * kJvcUnit;  // 8400
constexpr double kJvcHeaderSpace = 8 * kJvcUnit;  // 4200
constexpr double kJvcBitMark = 1 * kJvcUnit;
constexpr double kJvcZeroSpace = 1 * kJvcUnit;
constexpr double kJvcOneSpace = 3 * kJvcUnit;   // 1575
constexpr double kJvcTrailGap = 45 * kJvcUnit;  // 23625 after the stop mark

IrSignal jvcSignal(std::uint8_t address, std::uint8_t command);

// --- RC6: bi-phase at 36 kHz with a unit of 16 carrier cycles, MSB first. A leader of 6 units mark and 2 units
// space, a start bit '1', three mode bits, the trailer (toggle) bit at double width, then the payload. A '1' is
// a mark then a space, a '0' a space then a mark (the other way round from RC5). Frames start every 107 ms and
// the whole frame repeats while held; the toggle flips from one press to the next.
constexpr int kRc6CarrierHz = 36'000;
constexpr double kRc6Unit = 16 * 1e6 / kRc6CarrierHz;  // 444.4
constexpr double kRc6LeaderMark = 6 * kRc6Unit;
constexpr double kRc6LeaderSpace = 2 * kRc6Unit;
constexpr double kRc6FramePeriod = 107'000;

// Mode 0: 8 address bits and 8 command bits.
IrSignal rc6Signal(std::uint8_t address, std::uint8_t command, bool toggle);
// Mode 6 with a 32-bit payload, as media-centre remotes send it: customer code 0x800F, the toggle in bit 15
// of the payload, then 7 bits of device and 8 bits of command; the trailer bit stays 0.
IrSignal rc6Mode6Signal(std::uint8_t device, std::uint8_t command, bool toggle);

// A remote that sends RC6 codes (mode 0, or mode 6 with 32 bits) and flips the toggle with every press.
class Rc6Remote {
public:
    explicit Rc6Remote(bool mode6 = false) : mode6_(mode6) {}
    IrSignal press(std::uint8_t address, std::uint8_t command);

private:
    bool mode6_;
    bool toggle_ = false;
};

// --- Sony SIRC with 15 bits (7 command, 8 address) and 20 bits (7 command, 5 address, 8 extended bits); the
// timing of SIRC-12 (Generators.h): a press sends three frames, then one frame every 45 ms while held.
IrSignal sirc15Signal(std::uint8_t address, std::uint8_t command);
IrSignal sirc20Signal(std::uint8_t address, std::uint8_t command, std::uint8_t extended);

// --- Kaseikyo 48 (Panasonic and others): pulse distance at 37 kHz, 48 bits: a 16-bit vendor code, a vendor
// parity nibble, the device and sub-device, the command and a check byte (XOR of bytes 2 to 4). Each frame is
// closed by a 173-unit gap and repeats while held.
constexpr int kKaseikyoCarrierHz = 37'000;
constexpr double kKaseikyoUnit = 432;
constexpr double kKaseikyoHeaderMark = 8 * kKaseikyoUnit;   // 3456
constexpr double kKaseikyoHeaderSpace = 4 * kKaseikyoUnit;  // 1728
constexpr double kKaseikyoBitMark = 1 * kKaseikyoUnit;
constexpr double kKaseikyoZeroSpace = 1 * kKaseikyoUnit;
constexpr double kKaseikyoOneSpace = 3 * kKaseikyoUnit;   // 1296
constexpr double kKaseikyoTrailGap = 173 * kKaseikyoUnit;  // 74736
constexpr std::uint16_t kPanasonicVendor = 0x2002;

IrSignal kaseikyoSignal(std::uint16_t vendor, std::uint8_t device, std::uint8_t subdevice, std::uint8_t command);

// --- Sharp and Denon: pulse distance at 38 kHz without header, 15 bits (5 address, 8 command, 2 more), every
// frame followed by a second one with the command and the last two bits inverted; both close with a
// 165-unit gap. Sharp's last two bits are 1,0 (expansion, check), Denon's 0,0. A '0' lasts 4 units and a '1'
// 8 units from mark to mark in both codes; they differ in the mark: a Sharp remote sends its mark of 320 µs as
// 12 carrier cycles, a Denon remote sends one unit, 10 cycles. A mark is given just under its whole cycles,
// so that the board counts exactly those cycles (a mark one sliver longer would gain a cycle).
constexpr int kSharpCarrierHz = 38'000;
constexpr double kSharpUnit = 264;
constexpr double kSharpZeroPeriod = 4 * kSharpUnit;  // 1056, mark to mark
constexpr double kSharpOnePeriod = 8 * kSharpUnit;   // 2112
constexpr double kSharpTrailGap = 165 * kSharpUnit;  // 43560
constexpr double kSharpBitMark = 315;                // 12 cycles (315.8 µs)
constexpr double kSharpZeroSpace = kSharpZeroPeriod - kSharpBitMark;
constexpr double kSharpOneSpace = kSharpOnePeriod - kSharpBitMark;
constexpr double kDenonBitMark = 263;  // 10 cycles (263.2 µs)
constexpr double kDenonZeroSpace = kSharpZeroPeriod - kDenonBitMark;
constexpr double kDenonOneSpace = kSharpOnePeriod - kDenonBitMark;

IrSignal sharpSignal(std::uint8_t address, std::uint8_t command);
IrSignal denonSignal(std::uint8_t address, std::uint8_t command);

// --- RCA: pulse distance at 58 kHz, MSB first: 4 address and 8 command bits, then both inverted, a stop mark
// and a 16-unit gap. Since every bit is followed by its inverse, every frame has the same length.
constexpr int kRcaCarrierHz = 58'000;
constexpr double kRcaUnit = 460;
constexpr double kRcaHeaderMark = 8 * kRcaUnit;   // 3680
constexpr double kRcaHeaderSpace = 8 * kRcaUnit;  // 3680
constexpr double kRcaBitMark = 1 * kRcaUnit;
constexpr double kRcaZeroSpace = 2 * kRcaUnit;  // 920
constexpr double kRcaOneSpace = 4 * kRcaUnit;   // 1840
constexpr double kRcaTrailGap = 16 * kRcaUnit;  // 7360

IrSignal rcaSignal(std::uint8_t address, std::uint8_t command);

// --- Pioneer: NEC's frame at 40 kHz (8-bit address with its inverse, command with its inverse); the whole
// frame repeats every 108 ms while held (no short repeat frames).
constexpr int kPioneerCarrierHz = 40'000;
constexpr double kPioneerUnit = 564;
constexpr double kPioneerHeaderMark = 16 * kPioneerUnit;  // 9024
constexpr double kPioneerHeaderSpace = 8 * kPioneerUnit;  // 4512
constexpr double kPioneerBitMark = 1 * kPioneerUnit;
constexpr double kPioneerZeroSpace = 1 * kPioneerUnit;
constexpr double kPioneerOneSpace = 3 * kPioneerUnit;  // 1692
constexpr double kPioneerFramePeriod = 108'000;

IrSignal pioneerSignal(std::uint8_t address, std::uint8_t command);

// --- Mitsubishi: pulse distance at 32.6 kHz without header, 8 address and 8 command bits, a stop mark and an
// 80-unit gap; repeats while held.
constexpr int kMitsubishiCarrierHz = 32'600;
constexpr double kMitsubishiUnit = 300;
constexpr double kMitsubishiBitMark = 1 * kMitsubishiUnit;
constexpr double kMitsubishiZeroSpace = 3 * kMitsubishiUnit;  // 900
constexpr double kMitsubishiOneSpace = 7 * kMitsubishiUnit;   // 2100
constexpr double kMitsubishiTrailGap = 80 * kMitsubishiUnit;  // 24000

IrSignal mitsubishiSignal(std::uint8_t address, std::uint8_t command);

// --- Bose: pulse distance at 38 kHz, a 2-unit mark and 3-unit space header, 8 command bits and their inverse,
// a stop mark; frames start every 100 ms and repeat while held.
constexpr int kBoseCarrierHz = 38'000;
constexpr double kBoseUnit = 500;
constexpr double kBoseHeaderMark = 2 * kBoseUnit;   // 1000
constexpr double kBoseHeaderSpace = 3 * kBoseUnit;  // 1500
constexpr double kBoseBitMark = 1 * kBoseUnit;
constexpr double kBoseZeroSpace = 1 * kBoseUnit;
constexpr double kBoseOneSpace = 3 * kBoseUnit;  // 1500
constexpr double kBoseFramePeriod = 200 * kBoseUnit;  // 100000

IrSignal boseSignal(std::uint8_t command);

}  // namespace spectrel::virtualboard
