#include "virtualboard/Generators.h"

#include <cstdio>
#include <string>

#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

namespace {

std::string hexName(const char* protocol, unsigned address, unsigned command, int addressDigits = 2) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s a=0x%0*X c=0x%02X", protocol, addressDigits, address, command);
    return buffer;
}

// Appends a mark and a space, merging with the previous interval of the same kind.
void appendInterval(std::vector<double>& part, bool mark, double us) {
    const bool lastIsMark = part.size() % 2 == 1;
    if (part.empty()) {
        if (!mark) return;  // a leading space is not visible
        part.push_back(us);
        return;
    }
    if (lastIsMark == mark) {
        part.back() += us;
    } else {
        part.push_back(us);
    }
}

// Closes a frame that ends with a mark with the gap that fills the frame period.
void closeFrame(std::vector<double>& frame, double period) {
    const double used = totalDurationUs(frame);
    frame.push_back(period - used);
}

std::vector<double> necFrame(const std::uint8_t bytes[4]) {
    std::vector<double> frame{kNecHeaderMark, kNecHeaderSpace};
    for (int i = 0; i < kNecBits; ++i) {
        const bool one = (bytes[i / 8] >> (i % 8)) & 1;
        frame.push_back(kNecBitMark);
        frame.push_back(one ? kNecOneSpace : kNecZeroSpace);
    }
    frame.push_back(kNecBitMark);  // stop bit
    closeFrame(frame, kNecFramePeriod);
    return frame;
}

IrSignal necFromBytes(std::string name, const std::uint8_t bytes[4]) {
    IrSignal signal;
    signal.name = std::move(name);
    signal.carrierHz = kNecCarrierHz;
    signal.once = necFrame(bytes);
    signal.repeat = {kNecHeaderMark, kNecRepeatSpace, kNecBitMark};
    closeFrame(signal.repeat, kNecFramePeriod);
    return signal;
}

}  // namespace

IrSignal necSignal(std::uint8_t address, std::uint8_t command) {
    const std::uint8_t bytes[4] = {address, static_cast<std::uint8_t>(~address), command,
                                   static_cast<std::uint8_t>(~command)};
    return necFromBytes(hexName("NEC", address, command), bytes);
}

IrSignal necExtendedSignal(std::uint16_t address, std::uint8_t command) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(address >> 8),
                                   command, static_cast<std::uint8_t>(~command)};
    return necFromBytes(hexName("NECext", address, command, 4), bytes);
}

IrSignal necBytesSignal(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    const std::uint8_t bytes[4] = {b0, b1, b2, b3};
    return necFromBytes(hexName("NEC32", (b1 << 8) | b0, b2, 4), bytes);
}

IrSignal rc5Signal(std::uint8_t address, std::uint8_t command, bool toggle) {
    // Bits MSB first: S1, S2 (inverted command bit 6), T, A4..A0, C5..C0.
    unsigned bits = 1u << 13;
    if (!(command & 0x40)) bits |= 1u << 12;
    if (toggle) bits |= 1u << 11;
    bits |= (address & 0x1Fu) << 6;
    bits |= command & 0x3Fu;
    std::vector<double> frame;
    for (int i = kRc5Bits - 1; i >= 0; --i) {
        const bool one = (bits >> i) & 1;
        appendInterval(frame, !one, kRc5Unit);
        appendInterval(frame, one, kRc5Unit);
    }
    if (frame.size() % 2 == 0) frame.pop_back();  // a trailing space belongs to the gap
    closeFrame(frame, kRc5FramePeriod);
    IrSignal signal;
    signal.name = hexName("RC5", address & 0x1F, command & 0x7F) + (toggle ? " t=1" : " t=0");
    signal.carrierHz = kRc5CarrierHz;
    signal.once = frame;
    signal.repeat = frame;
    return signal;
}

IrSignal Rc5Remote::press(std::uint8_t address, std::uint8_t command) {
    IrSignal signal = rc5Signal(address, command, toggle_);
    toggle_ = !toggle_;
    return signal;
}

IrSignal sirc12Signal(std::uint8_t address, std::uint8_t command) {
    const unsigned bits = (command & 0x7Fu) | ((address & 0x1Fu) << 7);
    std::vector<double> frame{kSircHeaderMark};
    for (int i = 0; i < 12; ++i) {
        frame.push_back(kSircSpace);
        frame.push_back(((bits >> i) & 1) ? kSircOneMark : kSircZeroMark);
    }
    closeFrame(frame, kSircFramePeriod);
    IrSignal signal;
    signal.name = hexName("SIRC12", address & 0x1F, command & 0x7F);
    signal.carrierHz = kSircCarrierHz;
    for (int i = 0; i < kSircMinimumFrames; ++i) signal.once.insert(signal.once.end(), frame.begin(), frame.end());
    signal.repeat = frame;
    return signal;
}

IrSignal flashSignal(std::uint8_t address, std::uint8_t command) {
    const unsigned bits = address | (static_cast<unsigned>(command) << 8);
    std::vector<double> frame{kFlashMark, kFlashStartSpace};
    for (int i = 0; i < kFlashBits; ++i) {
        frame.push_back(kFlashMark);
        frame.push_back(((bits >> i) & 1) ? kFlashOneSpace : kFlashZeroSpace);
    }
    frame.push_back(kFlashMark);
    closeFrame(frame, kFlashFramePeriod);
    IrSignal signal;
    signal.name = hexName("Flash16", address, command);
    signal.carrierHz = 0;
    signal.once = frame;
    signal.repeat = frame;
    return signal;
}

}  // namespace spectrel::virtualboard
