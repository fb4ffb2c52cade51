// The capture-stream rig of the fuzz target: the virtual board's streams of generated protocols and a recorded
// remote capture their frames through it, board faults fail as a capture should, and every seed kept in
// fuzz/corpus/fuzz_capture_stream holds the rig's properties. The seeds are these streams; run
//   spectrel_core_tests --gtest_also_run_disabled_tests --gtest_filter='CaptureStreamSeeds.DISABLED_Write'
// to write them again.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_CaptureStream.h"
#include "fuzz/CaptureStreamRig.h"
#include "tests/virtualboard_host.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/ProtocolGenerators.h"
#include "virtualboard/SignalFiles.h"

namespace {

namespace fs = std::filesystem;
namespace vb = spectrel::virtualboard;
using spectrel::fuzz::CaptureStreamOptions;
using spectrel::fuzz::CaptureStreamRig;

const fs::path kSeedFolder = fs::path(SPECTREL_SOURCE_DIR) / "fuzz" / "corpus" / "fuzz_capture_stream";

// The bytes the board sends after the acknowledge of a capture in which `press` is played.
std::vector<std::uint8_t> BoardStream(const vb::KeyPress& press, vb::BoardConfig config = {}) {
    vb::test::BoardHost host(config);
    return vb::test::BoardHost::values(host.capture(press));
}

// A recorded remote of the shared signals folder (SPECTREL_SIGNALS_DIR in the environment, else the one
// configured); an empty signal when it is not there.
vb::IrSignal Recorded(const char* file, std::size_t index) {
    const char* folder = std::getenv("SPECTREL_SIGNALS_DIR");
    const std::string path = std::string(folder ? folder : SPECTREL_SIGNALS_DIR) + "/" + file;
    if (!fs::exists(path)) return {};
    const vb::SignalFileResult read = vb::readSignalFile(path);
    if (!read.ok || read.signals.size() <= index) return {};
    return read.signals[index];
}

struct Seed {
    const char* name;
    std::function<std::vector<std::uint8_t>()> stream;
    std::vector<std::uint8_t> header = CaptureStreamOptions::DefaultHeader();
    // -1: the capture fails; otherwise at least this many frames.
    int frames = 1;
    // The board falls silent for 8 s at the record boundary nearest the middle of the stream.
    bool silenceHalfway = false;
};

std::vector<Seed> Seeds() {
    auto with = [](auto change) {
        vb::BoardConfig config;
        change(config.faults);
        return config;
    };
    const vb::KeyPress nec{vb::necSignal(0x00, 0x45)};
    return {
        {"nec", [=] { return BoardStream(nec); }, CaptureStreamOptions::DefaultHeader(), 2},
        {"rc5", [] { return BoardStream({vb::rc5Signal(0, 12, false)}); }},
        {"sirc12", [] { return BoardStream({vb::sirc12Signal(1, 21)}); }},
        {"rc6", [] { return BoardStream({vb::rc6Signal(0, 12, true)}); }},
        {"sharp", [] { return BoardStream({vb::sharpSignal(1, 2)}); }},
        {"recorded_sony",
         [] {
             const vb::IrSignal signal = Recorded("12_sony_rm_sc30.ir", 0);
             return signal.once.empty() ? std::vector<std::uint8_t>{} : BoardStream({signal});
         }},
        {"counter_wrap",
         [=] {
             vb::BoardConfig config;
             config.counterStart = (1u << 24) - 60'000;  // the counter wraps in the first frame
             return BoardStream(nec, config);
         }},
        {"glitches", [=] { return BoardStream(nec, with([](vb::BoardFaults& f) { f.glitchProbability = 0.2; })); }},
        {"missed_carry", [=] { return BoardStream(nec, with([](vb::BoardFaults& f) { f.missedCarryRecord = 9; })); }},
        {"fault_erratic", [=] { return BoardStream(nec, with([](vb::BoardFaults& f) { f.erraticBeforeRecord = 11; })); },
         CaptureStreamOptions::DefaultHeader(), -1},
        // With the whole stream there at once, the byte after the missing one is taken for it.
        {"fault_missing_byte",
         [=] { return BoardStream(nec, with([](vb::BoardFaults& f) { f.missingByteInRecord = 7; })); },
         CaptureStreamOptions::DefaultHeader(), -1},
        // Every byte a millisecond apart, tolerant learning and the 5 ms gap.
        {"paced_tolerant", [=] { return BoardStream(nec); }, {0x80 | 0x20 | 0x08, 0, 0, 0}, 2},
        // Eight seconds of silence after the first frame: the idle rule ends the capture, the frame is not counted.
        {"idle_end", [=] { return BoardStream(nec); }, CaptureStreamOptions::DefaultHeader(), 0, true},
        // The table holds all but 16 records: the capture stops when it is full.
        {"full_table", [=] { return BoardStream(nec); }, {0x49, 0xFF, 0xFF, 0x10}, 0},
    };
}

std::vector<std::uint8_t> SeedBytes(const Seed& seed) {
    std::vector<std::uint8_t> bytes = seed.header;
    const std::vector<std::uint8_t> stream = seed.stream();
    if (seed.silenceHalfway) {
        spectrel::CaptureStreamDecoder decoder;
        decoder.reset();
        spectrel::CaptureRecord record;
        std::size_t at = 0;
        while (at < stream.size() && (!decoder.push(stream[at++], record) || at < stream.size() / 2)) {
        }
        bytes[1] = std::uint8_t(at >> 8);
        bytes[2] = std::uint8_t(at);
        bytes[3] = 200;  // 8 s
    }
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}

CaptureStreamRig& Rig() {
    static CaptureStreamRig rig;
    return rig;
}

TEST(CaptureStreamSeeds, BoardStreamsCaptureTheirFramesOrFailAsDesigned) {
    for (const Seed& seed : Seeds()) {
        const std::vector<std::uint8_t> bytes = SeedBytes(seed);
        if (bytes.size() == seed.header.size()) {
            std::printf("no recorded remotes here: %s left out\n", seed.name);
            continue;
        }
        ASSERT_GT(bytes.size(), 40u) << seed.name;
        const auto outcome = Rig().Run(bytes.data(), bytes.size());
        EXPECT_EQ(outcome.failure, "") << seed.name;
        if (seed.frames < 0) {
            EXPECT_EQ(outcome.frames, -1) << seed.name;
        } else {
            EXPECT_GE(outcome.frames, seed.frames) << seed.name;
        }
        const std::string name = seed.name;
        if (name == "fault_erratic") {
            EXPECT_EQ(outcome.boxes, (std::vector<std::string>{"Erratic reply from PIC (value 33)"}));
        } else if (name.rfind("fault_", 0) != 0) {
            EXPECT_TRUE(outcome.boxes.empty()) << name << ": " << outcome.boxes.front();
        }
    }
}

// The rig itself: one context serves every input, and what one input left does not change the next one.
TEST(CaptureStreamSeeds, AReusedContextGivesTheSameOutcomeAsAFreshOne) {
    const std::vector<Seed> seeds = Seeds();
    const std::vector<std::uint8_t> nec = SeedBytes(seeds[0]);
    CaptureStreamRig fresh;
    const auto first = fresh.Run(nec.data(), nec.size());
    const std::string format = fresh.context().working.format;
    for (const Seed& seed : seeds) {
        const std::vector<std::uint8_t> bytes = SeedBytes(seed);
        (void)Rig().Run(bytes.data(), bytes.size());
    }
    const auto again = Rig().Run(nec.data(), nec.size());
    EXPECT_EQ(again.frames, first.frames);
    EXPECT_EQ(Rig().context().recordCount, fresh.context().recordCount);
    EXPECT_EQ(Rig().context().working.format, format);
    EXPECT_EQ(Rig().context().working.vocabulary_count, fresh.context().working.vocabulary_count);
    EXPECT_EQ(Rig().context().framesBuffer.count, fresh.context().framesBuffer.count);
}

// Streams no board sends: cut records, codes out of place, times that run backwards.
TEST(CaptureStreamSeeds, HostileStreamsKeepTheProperties) {
    const std::vector<std::vector<std::uint8_t>> streams = {
        {},
        {0x00},
        {0x20, 0x00},
        {0x21, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00},
        {0x21, 0x00, 0x10, 0x00, 0x00, 0x05, 0x40, 0x00, 0x00, 0x41, 0x00, 0x01, 0x00},
        {0x20, 0x00, 0x00, 0x00, 0x21, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
        {0x20, 0x00, 0x10, 0x00, 0x7F, 0x30, 0x00, 0x40, 0x10, 0x00, 0x7F, 0x50, 0x00, 0xFF},
        {0x20, 0x80, 0x00, 0x00, 0x21, 0x7F, 0x00, 0x00, 0x00, 0x10, 0x20, 0x00, 0x00, 0x00, 0x00},
    };
    for (std::uint8_t options : {0x09, 0x00, 0x0F, 0x33, 0x49}) {
        for (const auto& stream : streams) {
            std::vector<std::uint8_t> bytes{options, 0, 2, 3};
            bytes.insert(bytes.end(), stream.begin(), stream.end());
            const auto outcome = Rig().Run(bytes.data(), bytes.size());
            EXPECT_EQ(outcome.failure, "") << int(options) << " " << stream.size();
        }
    }
}

TEST(CaptureStreamSeeds, EveryKeptSeedHoldsTheProperties) {
    ASSERT_TRUE(fs::is_directory(kSeedFolder)) << kSeedFolder;
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(kSeedFolder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto outcome = Rig().Run(bytes.data(), bytes.size());
        EXPECT_EQ(outcome.failure, "") << entry.path();
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
}

TEST(CaptureStreamSeeds, DISABLED_Write) {
    fs::create_directories(kSeedFolder);
    for (const Seed& seed : Seeds()) {
        const std::vector<std::uint8_t> bytes = SeedBytes(seed);
        if (bytes.size() == seed.header.size()) continue;
        std::ofstream(kSeedFolder / seed.name, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace
