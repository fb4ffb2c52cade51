// The "Virtual remote" panel: the built-in NEC remote, and a remote loaded from a signal file with a key held.

#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tools/screenshots/Screenshots.h"
#include "virtualboard/qt/VirtualReader.h"
#include "virtualboard/qt/VirtualRemotePanel.h"

namespace {

using spectrel::virtualboard::TVirtualReader;
using spectrel::virtualboard::TVirtualRemotePanel;

class NoPorts : public spectrel::platform::SerialPortProvider {
public:
    spectrel::platform::OpenPortResult open(const std::string&) override { return {nullptr, "no such port"}; }
    std::vector<std::string> portNames() override { return {}; }
};

}  // namespace

SPECTREL_SCREENSHOT("virtual_remote_panel") {
    NoPorts ports;
    spectrel::testing::SimulatedClock clock;
    spectrel::testing::ScriptedMessageBoxes boxes;
    TVirtualReader reader(ports, clock);
    TVirtualRemotePanel panel(reader, boxes);
    return spectrel::screenshots::Grab(panel);
}

SPECTREL_SCREENSHOT("virtual_remote_panel_loaded_key_held") {
    NoPorts ports;
    spectrel::testing::SimulatedClock clock;
    spectrel::testing::ScriptedMessageBoxes boxes;
    TVirtualReader reader(ports, clock);
    TVirtualRemotePanel panel(reader, boxes);
    panel.LoadRemoteFile(SPECTREL_SOURCE_DIR "/tests/data/virtualboard_codes.txt");
    panel.PressKey("Mute");
    return spectrel::screenshots::Grab(panel);
}
