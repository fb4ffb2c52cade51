// The soak run (tools/soak.sh; not part of the suite): many protocol and button learnings on the virtual board in
// one process and on one analysis context, as a long session of the program makes them. It prints the resident
// and peak memory after 10, 100, 1000 ... learnings; under AddressSanitizer with leak checking a leak fails the
// run at its end. SPECTREL_SOAK_LEARNINGS sets how many learnings (1000 by default).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/learning_test_support.h"

namespace spectrel::test {
namespace {

// "VmRSS" or "VmHWM" of /proc/self/status in kB; -1 where there is none.
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}

class Soak : public LearningRig {};

TEST_F(Soak, DISABLED_ManyProtocolAndButtonLearnings) {
    int learnings = 1000;
    if (const char* n = std::getenv("SPECTREL_SOAK_LEARNINGS")) learnings = std::max(1, std::atoi(n));
    boxes.setStrict(false);  // a user who accepts every box
    buttons.Add("Power");
    buttons.Add("Play");
    buttons.Add("Stop");
    long rssAt100 = -1;
    for (int i = 1; i <= learnings; ++i) {
        // Keys and an address that change from learning to learning, so that every run captures anew.
        const auto address = static_cast<std::uint8_t>(i % 7);
        const auto key = static_cast<std::uint8_t>(i % 200);
        board.queuePress({vb::necSignal(address, key)});
        board.queuePress({vb::necSignal(address, key)});
        board.queuePress({vb::necSignal(address, static_cast<std::uint8_t>(key + 1))});
        procedures.LearnProtocol(nullptr, &messages, &description);
        ASSERT_TRUE(current.valid) << "learning " << i << ": " << ::testing::PrintToString(boxes.texts());
        for (int b = 0; b < 3; ++b) board.queuePress({vb::necSignal(address, static_cast<std::uint8_t>(key + 2 + b))});
        procedures.LearnAllButtons();
        for (int b = 0; b < 3; ++b) ASSERT_TRUE(buttons.Items(b).HasCode()) << "learning " << i << ", button " << b;
        // What the test itself keeps must not grow: the boxes' record and the window's.
        boxes.clear();
        window = RecordingWindow{};
        description.Clear();
        ASSERT_EQ(board.queuedPresses(), 0u);

        if (i == 10 || i == 100 || i == 500 || i == 1000 || i == 2000 || i == 10000 || i == learnings) {
            const long rss = StatusKb("VmRSS");
            const long peak = StatusKb("VmHWM");
            if (i == 100) rssAt100 = rss;
            std::printf("soak: %5d learnings  VmRSS %7ld kB  VmHWM %7ld kB\n", i, rss, peak);
            std::fflush(stdout);
            RecordProperty("VmRSS_kB_after_" + std::to_string(i), std::to_string(rss));
            RecordProperty("VmHWM_kB_after_" + std::to_string(i), std::to_string(peak));
        }
    }
    if (rssAt100 > 0 && learnings >= 1000) {
        const long grown = StatusKb("VmRSS") - rssAt100;
        std::printf("soak: resident memory grew by %ld kB from 100 to %d learnings\n", grown, learnings);
    }
}

}  // namespace
}  // namespace spectrel::test
