// The main window's choice of the serial port: the first activation's port and the list after a drop-down.

#include <gtest/gtest.h>

#include "Code/SPX_PortChoice.h"

namespace spectrel {
namespace {

TEST(FirstActivationPort, RememberedOrVirtual) {
    struct Case {
        const char* remembered;
        bool portRemembered;
        bool virtualIfNoPort;
        const char* port;
    };
    const Case cases[] = {
        {"COM2", false, false, "COM2"},  // the default when the file names none
        {"COM2", false, true, "VIRTUAL"},
        {"COM7", true, true, "COM7"},
        {"COM7", true, false, "COM7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstActivationPort(c.remembered, c.portRemembered, c.virtualIfNoPort), c.port)
            << c.remembered << c.portRemembered << c.virtualIfNoPort;
    }
}

TEST(RefreshPortList, SelectsTheShownPortAgainOrTheFirst) {
    struct Case {
        const char* name;
        std::string shown;
        std::vector<std::string> present;
        TPortListRefresh expected;
    };
    const Case cases[] = {
        {"StillThere", "COM3", {"COM1", "COM3", "VIRTUAL"}, {{"COM1", "COM3", "VIRTUAL"}, 1}},
        {"Gone", "COM3", {"COM1", "VIRTUAL"}, {{"COM1", "VIRTUAL"}, 0}},
        {"NothingShown", "", {"COM4", "VIRTUAL"}, {{"COM4", "VIRTUAL"}, 0}},
        {"LetterCaseCounts", "com1", {"COM1", "VIRTUAL"}, {{"COM1", "VIRTUAL"}, 0}},
        {"NoPorts", "COM1", {}, {{}, -1}},
    };
    for (const Case& c : cases) EXPECT_EQ(RefreshPortList(c.shown, c.present), c.expected) << c.name;
}

}  // namespace
}  // namespace spectrel
