// The built-in code generators (decoded back bit by bit) and the canonical text form of a signal.

#include <gtest/gtest.h>

#include "virtualboard/Generators.h"
#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {
namespace {

// Bits of a pulse-distance frame after `skip` intervals: a space longer than `threshold` is a one.
std::vector<int> distanceBits(const std::vector<double>& frame, std::size_t skip, int count, double threshold) {
    std::vector<int> bits;
    for (int i = 0; i < count; ++i) bits.push_back(frame.at(skip + 2 * static_cast<std::size_t>(i) + 1) > threshold);
    return bits;
}

unsigned lsbFirst(const std::vector<int>& bits, int from, int count) {
    unsigned v = 0;
    for (int i = 0; i < count; ++i) v |= static_cast<unsigned>(bits.at(static_cast<std::size_t>(from + i))) << i;
    return v;
}

struct Code {
    unsigned address;
    unsigned command;
};

const Code kCodes[] = {{0x00, 0x45}, {0xFF, 0x00}, {0x5A, 0xC3}, {0x01, 0x80}};

TEST(VirtualBoardGenerators, NecFrameCarriesAddressCommandAndInverses) {
    for (const Code& c : kCodes) {
        const IrSignal s = necSignal(static_cast<std::uint8_t>(c.address), static_cast<std::uint8_t>(c.command));
        EXPECT_EQ(s.carrierHz, 38'000);
        ASSERT_EQ(s.once.size(), 2u + 2 * 32 + 2);
        EXPECT_EQ(s.once[0], 9000);
        EXPECT_EQ(s.once[1], 4500);
        const auto bits = distanceBits(s.once, 2, 32, kNecZeroSpace * 2);
        EXPECT_EQ(lsbFirst(bits, 0, 8), c.address);
        EXPECT_EQ(lsbFirst(bits, 8, 8), (~c.address) & 0xFF);
        EXPECT_EQ(lsbFirst(bits, 16, 8), c.command);
        EXPECT_EQ(lsbFirst(bits, 24, 8), (~c.command) & 0xFF);
        EXPECT_DOUBLE_EQ(totalDurationUs(s.once), 108'000);
        EXPECT_EQ(s.repeat, (std::vector<double>{9000, 2250, 562.5, 108'000 - 11'812.5}));
    }
    const auto ext = distanceBits(necExtendedSignal(0x1234, 0x56).once, 2, 32, kNecZeroSpace * 2);
    EXPECT_EQ(lsbFirst(ext, 0, 16), 0x1234u);
    EXPECT_EQ(lsbFirst(ext, 16, 8), 0x56u);
    EXPECT_EQ(lsbFirst(ext, 24, 8), 0xA9u);
}

// Decodes a bi-phase frame given without its gap: half-bit levels (1 = mark), a '1' is space then mark.
std::vector<int> rc5Bits(const std::vector<double>& frame) {
    std::vector<int> levels{0};  // the first half of the first start bit is a space the receiver cannot see
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const int halves = static_cast<int>(frame[i] / kRc5Unit + 0.5);
        for (int h = 0; h < halves; ++h) levels.push_back(i % 2 == 0 ? 1 : 0);
    }
    if (levels.size() % 2 == 1) levels.push_back(0);  // a last '0' ends with a space inside the gap
    std::vector<int> bits;
    for (std::size_t i = 0; i + 1 < levels.size(); i += 2) bits.push_back(levels[i] == 0 && levels[i + 1] == 1);
    return bits;
}

TEST(VirtualBoardGenerators, Rc5FrameIsBiPhaseWithToggleAndFieldBit) {
    struct Case {
        unsigned address, command;
        bool toggle;
    };
    for (const Case c : {Case{25, 12, false}, Case{0, 0, true}, Case{31, 63, true}, Case{5, 70, false}}) {
        const IrSignal s =
            rc5Signal(static_cast<std::uint8_t>(c.address), static_cast<std::uint8_t>(c.command), c.toggle);
        EXPECT_EQ(s.carrierHz, 36'000);
        EXPECT_EQ(s.repeat, s.once) << "the whole frame repeats while held";
        EXPECT_DOUBLE_EQ(totalDurationUs(s.once), 128 * kRc5Unit);
        const auto bits = rc5Bits(std::vector<double>(s.once.begin(), s.once.end() - 1));
        ASSERT_EQ(bits.size(), 14u) << formatSignal(s);
        EXPECT_EQ(bits[0], 1);
        EXPECT_EQ(bits[1], c.command < 64 ? 1 : 0);
        EXPECT_EQ(bits[2], c.toggle ? 1 : 0);
        unsigned address = 0;
        for (int i = 3; i < 8; ++i) address = (address << 1) | static_cast<unsigned>(bits[static_cast<std::size_t>(i)]);
        unsigned command = 0;
        for (int i = 8; i < 14; ++i)
            command = (command << 1) | static_cast<unsigned>(bits[static_cast<std::size_t>(i)]);
        EXPECT_EQ(address, c.address);
        EXPECT_EQ(command, c.command & 0x3F);
    }
}

TEST(VirtualBoardGenerators, Rc5RemoteFlipsTogglePerPress) {
    Rc5Remote remote;
    const IrSignal first = remote.press(1, 2);
    const IrSignal second = remote.press(1, 2);
    const IrSignal third = remote.press(1, 2);
    EXPECT_EQ(first, rc5Signal(1, 2, false));
    EXPECT_EQ(second, rc5Signal(1, 2, true));
    EXPECT_EQ(third, first);
}

TEST(VirtualBoardGenerators, Sirc12IsPulseWidthSentThreeTimes) {
    for (const Code& c : {Code{1, 21}, Code{31, 127}, Code{0, 0}}) {
        const IrSignal s = sirc12Signal(static_cast<std::uint8_t>(c.address), static_cast<std::uint8_t>(c.command));
        EXPECT_EQ(s.carrierHz, 40'000);
        ASSERT_EQ(s.once.size(), 3 * s.repeat.size());
        EXPECT_DOUBLE_EQ(totalDurationUs(s.repeat), 45'000);
        const std::vector<double>& f = s.repeat;
        ASSERT_EQ(f.size(), 1u + 2 * 12 + 1);
        EXPECT_EQ(f[0], 2400);
        unsigned bits = 0;
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(f[1 + 2 * static_cast<std::size_t>(i)], 600);
            if (f[2 + 2 * static_cast<std::size_t>(i)] > 900) bits |= 1u << i;
        }
        EXPECT_EQ(bits & 0x7F, c.command);
        EXPECT_EQ(bits >> 7, c.address);
    }
}

TEST(VirtualBoardGenerators, FlashCodeHasNoCarrierAndShortFlashes) {
    const IrSignal s = flashSignal(0xA5, 0x3C);
    EXPECT_EQ(s.carrierHz, 0);
    EXPECT_DOUBLE_EQ(totalDurationUs(s.once), 60'000);
    ASSERT_EQ(s.once.size(), 2u + 2 * 16 + 2);
    for (std::size_t i = 0; i + 1 < s.once.size(); i += 2) EXPECT_EQ(s.once[i], 150);
    EXPECT_EQ(s.once[1], 3000);
    const auto bits = distanceBits(s.once, 2, 16, 900);
    EXPECT_EQ(lsbFirst(bits, 0, 8), 0xA5u);
    EXPECT_EQ(lsbFirst(bits, 8, 8), 0x3Cu);
}

TEST(VirtualBoardSignalText, CanonicalForm) {
    const std::string text = formatSignal(necSignal(0x00, 0x45));
    EXPECT_EQ(text.rfind("f38000 +9000 -4500 +562.5 -562.5 +562.5 ", 0), 0u) << text;
    const std::string tail = " [+9000 -2250 +562.5 -96187.5]";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    IrSignal plain;
    plain.carrierHz = 0;
    plain.once = {150, 3000.25, 150};
    EXPECT_EQ(formatSignal(plain), "f0 +150 -3000.3 +150");
}

TEST(VirtualBoardSignalText, ParsesWhatItFormats) {
    for (const IrSignal& s : {necSignal(1, 2), rc5Signal(3, 4, true), sirc12Signal(5, 6), flashSignal(7, 8)}) {
        const ParseSignalResult parsed = parseSignal(formatSignal(s));
        ASSERT_TRUE(parsed.ok) << parsed.message;
        IrSignal expected = s;
        expected.name.clear();
        EXPECT_EQ(parsed.signal, expected);
    }
    const ParseSignalResult spaced = parseSignal("  f36000  +889 -889\t+1778 [ +889 -100000 ]  ");
    ASSERT_TRUE(spaced.ok) << spaced.message;
    EXPECT_EQ(spaced.signal.once, (std::vector<double>{889, 889, 1778}));
    EXPECT_EQ(spaced.signal.repeat, (std::vector<double>{889, 100000}));
}

TEST(VirtualBoardSignalText, RejectsMalformedText) {
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case c :
         {Case{"", "empty"}, Case{"38000 +560", "carrier"}, Case{"f-1 +560", "carrier"},
          Case{"f38000 -560", "alternate"}, Case{"f38000 +560 +560", "alternate"}, Case{"f38000 +0", "positive"},
          Case{"f38000 +1e300", "100 seconds"}, Case{"f38000 +12x", "positive"}, Case{"f38000 560", "sign"},
          Case{"f38000 +560 [-560]", "alternate"}, Case{"f38000 [+560", "not closed"}, Case{"f38000 +560]", "without"},
          Case{"f38000 [+1] +2", "follow"}, Case{"f38000 [+1 [+2]", "second"}}) {
        const ParseSignalResult parsed = parseSignal(c.text);
        EXPECT_FALSE(parsed.ok) << c.text;
        EXPECT_NE(parsed.message.find(c.message), std::string::npos) << c.text << " -> " << parsed.message;
    }
}

}  // namespace
}  // namespace spectrel::virtualboard
