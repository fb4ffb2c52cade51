// Signal -> virtual board -> the host's capture stream decoder: the decoded burst starts and ends give back
// the signal's marks and spaces, each burst end reported 50 µs late, also across a wrap of the counter.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/virtualboard_host.h"
#include "virtualboard/Generators.h"

namespace spectrel::virtualboard {
namespace {

using test::BoardHost;
using test::decodeStream;

constexpr double kCountUs = 0.5;  // one counter step

struct RoundTripCase {
    const char* name;
    IrSignal signal;
    double holdUs;
    int repeats;  // how many times the repeat part follows the first part for that hold time
};

// The marks and spaces a press sends, without the silence after its last mark.
std::vector<double> sentTrain(const RoundTripCase& c) {
    std::vector<double> train = c.signal.once;
    for (int i = 0; i < c.repeats; ++i) train.insert(train.end(), c.signal.repeat.begin(), c.signal.repeat.end());
    if (train.size() % 2 == 0) train.pop_back();
    return train;
}

class VirtualBoardRoundTrip : public ::testing::TestWithParam<std::tuple<RoundTripCase, bool>> {};

TEST_P(VirtualBoardRoundTrip, DecodedBurstsGiveBackTheSignal) {
    const auto& [c, acrossWrap] = GetParam();
    BoardConfig config;
    BoardHost host(config);
    // The press starts about 100 ms after the capture command; with a wrap the counter passes 0 after
    // another 20 ms, in the middle of the first frame.
    if (acrossWrap) {
        const double wrapAtUs = static_cast<double>(host.clock.nowUs()) + config.pressDelayUs + 20'000;
        const auto countsToWrap = static_cast<std::uint32_t>(std::llround(2 * wrapAtUs) % BoardEngine::kCounterModulus);
        host.board.config().counterStart = (BoardEngine::kCounterModulus - countsToWrap) % BoardEngine::kCounterModulus;
    }
    const auto stream = BoardHost::values(host.capture({c.signal, c.holdUs}));
    const auto decoded = decodeStream(stream);

    EXPECT_FALSE(decoded.incomplete);
    EXPECT_TRUE(decoded.endOfData);
    EXPECT_EQ(decoded.wrapped, acrossWrap);
    const std::vector<double> sent = sentTrain(c);
    ASSERT_EQ(decoded.durationsUs.size(), sent.size());
    // A burst end comes 50 µs after the mark's last counted carrier cycle.
    const std::vector<double> expected = test::reportedTrain(sent, c.signal, 50);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        // Each timestamp is rounded to the counter on its own, so a duration may be one count off.
        EXPECT_NEAR(decoded.durationsUs[i], expected[i], kCountUs + 1e-9) << "interval " << i;
    }
    ASSERT_EQ(decoded.cycles.size(), (sent.size() + 1) / 2);
}

TEST_P(VirtualBoardRoundTrip, ShortFormsWheneverTheHighByteDidNotChange) {
    const auto& [c, acrossWrap] = GetParam();
    BoardHost host;
    if (acrossWrap) host.board.config().counterStart = BoardEngine::kCounterModulus - 1;
    const auto decoded = decodeStream(BoardHost::values(host.capture({c.signal, c.holdUs})));
    std::uint8_t lastStartHigh = 0;
    std::uint8_t lastEndHigh = 0;
    std::uint16_t lastCycles = 0;
    int longForms = 0;
    for (std::size_t i = 0; i < decoded.records.size(); ++i) {
        const CaptureRecord& r = decoded.records[i];
        const auto high = static_cast<std::uint8_t>(r.timestamp >> 16);
        if (r.kind == CaptureRecordKind::BurstStart) {
            EXPECT_EQ(r.code == 0x20, high != lastStartHigh) << "record " << i;
            lastStartHigh = high;
        } else if (r.kind == CaptureRecordKind::BurstEnd) {
            const bool shortPossible = high == lastEndHigh && (r.carrierCycles == lastCycles || r.carrierCycles <= 31);
            EXPECT_EQ(r.code == 0x21, !shortPossible) << "record " << i;
            lastEndHigh = high;
            lastCycles = r.carrierCycles;
        }
        longForms += r.code == 0x20 || r.code == 0x21;
    }
    EXPECT_GT(longForms, 0);
}

const RoundTripCase kRoundTripCases[] = {
    {"NecOnce", necSignal(0x00, 0x45), 0, 0},
    {"NecHeld300ms", necSignal(0x04, 0x08), 300'000, 2},  // repeat frames start at 108 and 216 ms
    {"NecExtended", necExtendedSignal(0x7F86, 0x12), 0, 0},
    {"Rc5Toggle0", rc5Signal(25, 12, false), 0, 0},
    {"Rc5Toggle1Held", rc5Signal(5, 70, true), 200'000, 1},  // frames every 113.8 ms
    {"Sirc12", sirc12Signal(1, 21), 0, 0},                   // three frames at least
    {"Sirc12Held", sirc12Signal(26, 127), 150'000, 1},       // 135 ms of frames, then one more
    {"FlashNoCarrier", flashSignal(0xA5, 0x3C), 0, 0},
    {"FlashHeld", flashSignal(0x01, 0xFE), 100'000, 1},
};

INSTANTIATE_TEST_SUITE_P(Generators, VirtualBoardRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kRoundTripCases), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "AcrossWrap" : "");
                         });

// Marks of 177 µs at 38 kHz.
IrSignal Short177() {
    IrSignal signal;
    signal.carrierHz = 38'000;
    signal.once = {177, 1000, 177, 2000, 177};
    return signal;
}

struct CyclesCase {
    const char* name;
    IrSignal signal;
    std::size_t burst;
    std::uint16_t cycles;
};

class VirtualBoardCarrierCycles : public ::testing::TestWithParam<CyclesCase> {};

TEST_P(VirtualBoardCarrierCycles, CountsTheCarrierOfEachBurst) {
    BoardHost host;
    const auto decoded = decodeStream(BoardHost::values(host.capture({GetParam().signal, 0})));
    ASSERT_GT(decoded.cycles.size(), GetParam().burst);
    EXPECT_EQ(decoded.cycles[GetParam().burst], GetParam().cycles);
}

INSTANTIATE_TEST_SUITE_P(Bursts, VirtualBoardCarrierCycles,
                         // One cycle at the start of the mark and one every carrier period while it lasts.
                         ::testing::Values(CyclesCase{"NecHeader", necSignal(0, 0), 0, 343},  // 9000 µs at 38 kHz
                                           CyclesCase{"NecBit", necSignal(0, 0), 1, 22},      // 562.5 µs
                                           CyclesCase{"Rc5HalfBit", rc5Signal(0, 0, false), 0, 33},  // 889 µs at 36 kHz
                                           CyclesCase{"SircHeader", sirc12Signal(0, 0), 0, 97},  // 2400 µs at 40 kHz
                                           CyclesCase{"SircOne", sirc12Signal(0, 1), 1, 49},
                                           CyclesCase{"Short177", Short177(), 0, 7},  // 177 µs at 38 kHz: 6.7 periods
                                           CyclesCase{"FlashNoCarrier", flashSignal(0, 0), 3, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace spectrel::virtualboard
