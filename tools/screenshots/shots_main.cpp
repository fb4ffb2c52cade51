// The main window in its two states: without a reader, and connected to the virtual reader with a learned
// protocol and its coloured description.

#include <QAction>
#include <QComboBox>
#include <QTemporaryDir>
#include <memory>

#include "Code/SPX_Main.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tools/screenshots/Screenshots.h"
#include "virtualboard/Generators.h"
#include "virtualboard/qt/VirtualReader.h"

namespace {

namespace vb = spectrel::virtualboard;

class NoPorts : public spectrel::platform::SerialPortProvider {
public:
    spectrel::platform::OpenPortResult open(const std::string&) override { return {nullptr, "no such port"}; }
    std::vector<std::string> portNames() override { return {"COM1", "COM3"}; }
};

// A Linux machine whose USB serial adapter belongs to the group "dialout", which the user is not in.
class RefusedPort : public NoPorts {
public:
    spectrel::platform::OpenPortResult open(const std::string& name) override {
        if (name != "ttyUSB0") return NoPorts::open(name);
        return {nullptr, "Permission denied", true, Advice()};
    }
    std::vector<std::string> portNames() override { return {"ttyS0", "ttyUSB0"}; }
    spectrel::platform::PortPermission permission(const std::string& name) override {
        if (name != "ttyUSB0") return {};
        return {true, Advice()};
    }
    static std::string Advice() {
        return "You may not open /dev/ttyUSB0. Add yourself to the group 'dialout' and log in again (for example: "
               "sudo usermod -a -G dialout alice).";
    }
};

// A first start in an empty application folder, every box answered as a user who accepts would.
struct MainWindowRig {
    explicit MainWindowRig(spectrel::platform::SerialPortProvider* realPorts = nullptr)
        : reader(realPorts != nullptr ? *realPorts : ports, clock) {
        spectrel::TMainWindowContext context{reader.Ports(), clock, clock, boxes, input, store, Folder(), Folder()};
        context.virtualReader = nullptr;  // the panel is pictured on its own
        context.screenGeometry = [] { return QRect(0, 0, 1000, 700); };
        window = std::make_unique<spectrel::TfrmMain>(context);
        window->resize(1000, 640);
    }
    std::string Folder() const { return folder.path().toStdString() + "/"; }

    QTemporaryDir folder;
    NoPorts ports;
    spectrel::testing::SimulatedClock clock;
    vb::TVirtualReader reader;
    spectrel::testing::ScriptedMessageBoxes boxes{spectrel::testing::ScriptedMessageBoxes::Unscripted::Accept};
    spectrel::testing::ScriptedInputBox input;
    spectrel::testing::MemoryUserStore store;
    std::unique_ptr<spectrel::TfrmMain> window;
};

}  // namespace

SPECTREL_SCREENSHOT("main_window_no_reader") {
    MainWindowRig rig;
    rig.window->show();
    rig.window->FormActivate();
    return spectrel::screenshots::Grab(*rig.window);
}

SPECTREL_SCREENSHOT("main_window_learned_protocol") {
    MainWindowRig rig;
    rig.window->show();
    rig.window->FormActivate();
    auto* ports = rig.window->findChild<QComboBox*>(QStringLiteral("ComboxComPort"));
    const int last = ports->count() - 1;  // "VIRTUAL"
    ports->setCurrentIndex(last);
    emit ports->activated(last);
    for (std::uint8_t key : {0x45, 0x45, 0x46}) rig.reader.Board().queuePress({vb::necSignal(0, key), 250'000});
    rig.window->findChild<QAction*>(QStringLiteral("BtnExploreProto"))->trigger();
    return spectrel::screenshots::Grab(*rig.window);
}

SPECTREL_SCREENSHOT("main_window_port_no_permission") {
    RefusedPort refused;
    MainWindowRig rig(&refused);
    rig.window->show();
    rig.window->FormActivate();
    auto* ports = rig.window->findChild<QComboBox*>(QStringLiteral("ComboxComPort"));
    ports->setCurrentIndex(1);  // "ttyUSB0 (no permission)"
    emit ports->activated(1);
    return spectrel::screenshots::Grab(*rig.window);
}
