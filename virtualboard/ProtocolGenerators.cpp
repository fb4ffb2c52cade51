#include "virtualboard/ProtocolGenerators.h"

#include <cstdio>
#include <string>
#include <vector>

#include "virtualboard/Generators.h"

namespace spectrel::virtualboard {

namespace {

std::string hexName(const char* protocol, unsigned address, unsigned command, int addressDigits = 2) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s a=0x%0*X c=0x%02X", protocol, addressDigits, address, command);
    return buffer;
}

// Pulse-distance bits: a mark, then the space of a '0' or a '1'.
struct PulseDistance {
    double mark;
    double zero;
    double one;
};

void appendBits(std::vector<double>& frame, std::uint64_t value, int bits, bool msbFirst, const PulseDistance& code) {
    for (int i = 0; i < bits; ++i) {
        const int bit = msbFirst ? bits - 1 - i : i;
        frame.push_back(code.mark);
        frame.push_back(((value >> bit) & 1u) ? code.one : code.zero);
    }
}

// Closes a frame that ends with a mark with the gap that fills the frame period.
void closeToPeriod(std::vector<double>& frame, double period) { frame.push_back(period - totalDurationUs(frame)); }

// Appends a mark or a space, merging with the previous interval of the same kind (bi-phase codes).
void appendHalf(std::vector<double>& part, bool mark, double us) {
    if (part.empty()) {
        if (mark) part.push_back(us);  // a leading space is not visible
        return;
    }
    const bool lastIsMark = part.size() % 2 == 1;
    if (lastIsMark == mark) {
        part.back() += us;
    } else {
        part.push_back(us);
    }
}

IrSignal repeating(std::string name, int carrierHz, std::vector<double> frame) {
    IrSignal signal;
    signal.name = std::move(name);
    signal.carrierHz = carrierHz;
    signal.once = frame;
    signal.repeat = std::move(frame);
    return signal;
}

std::uint8_t inverted(std::uint8_t byte) { return static_cast<std::uint8_t>(~byte); }

// RC6: leader, start bit, mode, the double-width trailer bit, then `bits` payload bits, MSB first.
IrSignal rc6Frame(std::string name, unsigned mode, bool trailer, std::uint32_t payload, int bits) {
    std::vector<double> frame{kRc6LeaderMark, kRc6LeaderSpace};
    const auto bit = [&frame](bool one, double half) {
        appendHalf(frame, one, half);
        appendHalf(frame, !one, half);
    };
    bit(true, kRc6Unit);  // start bit
    for (int i = 2; i >= 0; --i) bit((mode >> i) & 1u, kRc6Unit);
    bit(trailer, 2 * kRc6Unit);
    for (int i = bits - 1; i >= 0; --i) bit((payload >> i) & 1u, kRc6Unit);
    if (frame.size() % 2 == 0) frame.pop_back();  // a trailing space belongs to the gap
    closeToPeriod(frame, kRc6FramePeriod);
    return repeating(std::move(name), kRc6CarrierHz, std::move(frame));
}

// Sony SIRC with any bit count: header, then each bit as a space and a mark whose length carries the bit.
IrSignal sircFrames(std::string name, std::uint32_t bits, int count) {
    std::vector<double> frame{kSircHeaderMark};
    for (int i = 0; i < count; ++i) {
        frame.push_back(kSircSpace);
        frame.push_back(((bits >> i) & 1u) ? kSircOneMark : kSircZeroMark);
    }
    closeToPeriod(frame, kSircFramePeriod);
    IrSignal signal;
    signal.name = std::move(name);
    signal.carrierHz = kSircCarrierHz;
    for (int i = 0; i < kSircMinimumFrames; ++i) signal.once.insert(signal.once.end(), frame.begin(), frame.end());
    signal.repeat = frame;
    return signal;
}

constexpr PulseDistance kSharpBits{kSharpBitMark, kSharpZeroSpace, kSharpOneSpace};
constexpr PulseDistance kDenonBits{kDenonBitMark, kDenonZeroSpace, kDenonOneSpace};

// Sharp and Denon: the frame, then the frame with the command and the two last bits inverted.
IrSignal sharpPair(std::string name, const PulseDistance& bits, std::uint8_t address, std::uint8_t command,
                   unsigned lastBits) {
    std::vector<double> frames;
    const auto frame = [&frames, &bits](std::uint8_t a, std::uint8_t c, unsigned last) {
        appendBits(frames, a & 0x1Fu, 5, false, bits);
        appendBits(frames, c, 8, false, bits);
        appendBits(frames, last & 3u, 2, false, bits);
        frames.push_back(bits.mark);
        frames.push_back(kSharpTrailGap);
    };
    frame(address, command, lastBits);
    frame(address, inverted(command), ~lastBits & 3u);
    return repeating(std::move(name), kSharpCarrierHz, std::move(frames));
}

}  // namespace

IrSignal samsung32Signal(std::uint8_t address, std::uint8_t command) {
    std::vector<double> frame{kSamsungHeaderMark, kSamsungHeaderSpace};
    const std::uint32_t value = std::uint32_t{address} | (std::uint32_t{address} << 8) | (std::uint32_t{command} << 16) |
                                 (std::uint32_t{inverted(command)} << 24);
    appendBits(frame, value, 32, false, {kSamsungBitMark, kSamsungZeroSpace, kSamsungOneSpace});
    frame.push_back(kSamsungBitMark);
    closeToPeriod(frame, kSamsungFramePeriod);
    return repeating(hexName("Samsung32", address, command), kSamsungCarrierHz, std::move(frame));
}

IrSignal jvcSignal(std::uint8_t address, std::uint8_t command) {
    std::vector<double> body;
    appendBits(body, address | (command << 8), 16, false, {kJvcBitMark, kJvcZeroSpace, kJvcOneSpace});
    body.push_back(kJvcBitMark);
    body.push_back(kJvcTrailGap);
    IrSignal signal;
    signal.name = hexName("JVC", address, command);
    signal.carrierHz = kJvcCarrierHz;
    signal.once = {kJvcHeaderMark, kJvcHeaderSpace};
    signal.once.insert(signal.once.end(), body.begin(), body.end());
    signal.repeat = std::move(body);
    return signal;
}

IrSignal rc6Signal(std::uint8_t address, std::uint8_t command, bool toggle) {
    return rc6Frame(hexName("RC6", address, command) + (toggle ? " t=1" : " t=0"), 0, toggle,
                    (static_cast<std::uint32_t>(address) << 8) | command, 16);
}

IrSignal rc6Mode6Signal(std::uint8_t device, std::uint8_t command, bool toggle) {
    constexpr std::uint32_t kCustomer = 0x800F;
    constexpr std::uint32_t kToggleBit = 1u << 15;
    const std::uint32_t payload =
        (kCustomer << 16) | (toggle ? kToggleBit : 0u) | ((device & 0x7Fu) << 8) | command;
    return rc6Frame(hexName("RC6-6-32", device & 0x7F, command) + (toggle ? " t=1" : " t=0"), 6, false, payload, 32);
}

IrSignal Rc6Remote::press(std::uint8_t address, std::uint8_t command) {
    IrSignal signal = mode6_ ? rc6Mode6Signal(address, command, toggle_) : rc6Signal(address, command, toggle_);
    toggle_ = !toggle_;
    return signal;
}

IrSignal sirc15Signal(std::uint8_t address, std::uint8_t command) {
    return sircFrames(hexName("SIRC15", address, command & 0x7F), (command & 0x7Fu) | (address << 7), 15);
}

IrSignal sirc20Signal(std::uint8_t address, std::uint8_t command, std::uint8_t extended) {
    const std::uint32_t bits = (command & 0x7Fu) | ((address & 0x1Fu) << 7) | (static_cast<std::uint32_t>(extended) << 12);
    return sircFrames(hexName("SIRC20", ((address & 0x1Fu) << 8) | extended, command & 0x7F, 4), bits, 20);
}

IrSignal kaseikyoSignal(std::uint16_t vendor, std::uint8_t device, std::uint8_t subdevice, std::uint8_t command) {
    const std::uint8_t v0 = vendor & 0xFF;
    const std::uint8_t v1 = vendor >> 8;
    const unsigned parity = (v0 ^ v1 ^ (v0 >> 4) ^ (v1 >> 4)) & 0xFu;
    const std::uint8_t bytes[6] = {v0,
                                   v1,
                                   static_cast<std::uint8_t>(parity | ((device & 0xFu) << 4)),
                                   static_cast<std::uint8_t>((device >> 4) | ((subdevice & 0xFu) << 4)),
                                   command,
                                   0};
    std::uint64_t value = 0;
    for (int i = 0; i < 5; ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    value |= static_cast<std::uint64_t>(bytes[2] ^ bytes[3] ^ bytes[4]) << 40;
    std::vector<double> frame{kKaseikyoHeaderMark, kKaseikyoHeaderSpace};
    appendBits(frame, value, 48, false, {kKaseikyoBitMark, kKaseikyoZeroSpace, kKaseikyoOneSpace});
    frame.push_back(kKaseikyoBitMark);
    frame.push_back(kKaseikyoTrailGap);
    return repeating(hexName("Kaseikyo", vendor, command, 4), kKaseikyoCarrierHz, std::move(frame));
}

IrSignal sharpSignal(std::uint8_t address, std::uint8_t command) {
    constexpr unsigned kExpansionAndCheck = 0b01;  // sent LSB first: expansion 1, check 0
    return sharpPair(hexName("Sharp", address & 0x1F, command), kSharpBits, address, command, kExpansionAndCheck);
}

IrSignal denonSignal(std::uint8_t address, std::uint8_t command) {
    return sharpPair(hexName("Denon", address & 0x1F, command), kDenonBits, address, command, 0b00);
}

IrSignal rcaSignal(std::uint8_t address, std::uint8_t command) {
    const std::uint32_t data = ((address & 0xFu) << 8) | command;
    std::vector<double> frame{kRcaHeaderMark, kRcaHeaderSpace};
    const PulseDistance bits{kRcaBitMark, kRcaZeroSpace, kRcaOneSpace};
    appendBits(frame, data, 12, true, bits);
    appendBits(frame, ~data & 0xFFFu, 12, true, bits);
    frame.push_back(kRcaBitMark);
    frame.push_back(kRcaTrailGap);
    return repeating(hexName("RCA", address & 0xF, command), kRcaCarrierHz, std::move(frame));
}

IrSignal pioneerSignal(std::uint8_t address, std::uint8_t command) {
    std::vector<double> frame{kPioneerHeaderMark, kPioneerHeaderSpace};
    const std::uint32_t value = std::uint32_t{address} | (std::uint32_t{inverted(address)} << 8) |
                                 (std::uint32_t{command} << 16) | (std::uint32_t{inverted(command)} << 24);
    appendBits(frame, value, 32, false, {kPioneerBitMark, kPioneerZeroSpace, kPioneerOneSpace});
    frame.push_back(kPioneerBitMark);
    closeToPeriod(frame, kPioneerFramePeriod);
    return repeating(hexName("Pioneer", address, command), kPioneerCarrierHz, std::move(frame));
}

IrSignal mitsubishiSignal(std::uint8_t address, std::uint8_t command) {
    std::vector<double> frame;
    appendBits(frame, address | (command << 8), 16, false,
               {kMitsubishiBitMark, kMitsubishiZeroSpace, kMitsubishiOneSpace});
    frame.push_back(kMitsubishiBitMark);
    frame.push_back(kMitsubishiTrailGap);
    return repeating(hexName("Mitsubishi", address, command), kMitsubishiCarrierHz, std::move(frame));
}

IrSignal boseSignal(std::uint8_t command) {
    std::vector<double> frame{kBoseHeaderMark, kBoseHeaderSpace};
    appendBits(frame, command | (inverted(command) << 8), 16, false, {kBoseBitMark, kBoseZeroSpace, kBoseOneSpace});
    frame.push_back(kBoseBitMark);
    closeToPeriod(frame, kBoseFramePeriod);
    return repeating(hexName("Bose", 0, command), kBoseCarrierHz, std::move(frame));
}

}  // namespace spectrel::virtualboard
