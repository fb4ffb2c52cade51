// The capture view after a protocol learning (three records stacked, the frame roles in colour) and after a
// refused button press (the interval outside the vocabulary in red, the reason above the picture).

#include <QAction>
#include <QComboBox>
#include <QTemporaryDir>
#include <memory>

#include "Code/SPX_CaptureView.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_processing_learning.h"
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
    std::vector<std::string> portNames() override { return {}; }
};

// The main window on the virtual reader with a NEC protocol learned and the capture view open.
struct CaptureViewRig {
    CaptureViewRig() {
        spectrel::TMainWindowContext context{reader.Ports(), clock, clock, boxes, input, store, Folder(), Folder()};
        context.screenGeometry = [] { return QRect(0, 0, 1000, 700); };
        window = std::make_unique<spectrel::TfrmMain>(context);
        window->show();
        window->FormActivate();
        auto* ports = window->findChild<QComboBox*>(QStringLiteral("ComboxComPort"));
        const int last = ports->count() - 1;  // "VIRTUAL"
        ports->setCurrentIndex(last);
        emit ports->activated(last);
        for (std::uint8_t key : {0x45, 0x45, 0x46}) reader.Board().queuePress({vb::necSignal(0, key), 250'000});
        window->findChild<QAction*>(QStringLiteral("BtnExploreProto"))->trigger();
        window->CaptureViewClick();
        window->CaptureView()->resize(1000, 560);
    }
    std::string Folder() const { return folder.path().toStdString() + "/"; }

    QTemporaryDir folder;
    NoPorts ports;
    spectrel::testing::SimulatedClock clock;
    vb::TVirtualReader reader{ports, clock};
    spectrel::testing::ScriptedMessageBoxes boxes{spectrel::testing::ScriptedMessageBoxes::Unscripted::Accept};
    spectrel::testing::ScriptedInputBox input;
    spectrel::testing::MemoryUserStore store;
    std::unique_ptr<spectrel::TfrmMain> window;
};

}  // namespace

SPECTREL_SCREENSHOT("capture_view_protocol_learned") {
    CaptureViewRig rig;
    spectrel::screenshots::Settle();
    return spectrel::screenshots::Grab(*rig.window->CaptureView());
}

SPECTREL_SCREENSHOT("capture_view_refused_press") {
    CaptureViewRig rig;
    // A key whose header space (2750 us) the protocol does not know: "captured data do not match vocabulary",
    // answered Abort.
    vb::IrSignal odd = vb::necSignal(0, 0x47);
    odd.once[1] = 2750;
    odd.once.back() += vb::kNecHeaderSpace - 2750;
    rig.reader.Board().queuePress({odd, 250'000});
    rig.boxes.script({spectrel::platform::MessageButton::Abort});
    spectrel::TWorkspace& w = rig.window->Workspace();
    spectrel::TLearningProcedures procedures({w.context, w.reader, rig.boxes, w.current, w.learnedCopy, w.standards,
                                              w.buttons, w.exploreList, w.rules},
                                             *rig.window);
    bool stop = false;
    std::string data, data2;
    procedures.LearnButton("Power", stop, nullptr, data, data2);
    spectrel::screenshots::Settle();
    return spectrel::screenshots::Grab(*rig.window->CaptureView());
}

SPECTREL_SCREENSHOT("capture_view_refused_press_zoomed") {
    CaptureViewRig rig;
    vb::IrSignal odd = vb::necSignal(0, 0x47);
    odd.once[1] = 2750;
    odd.once.back() += vb::kNecHeaderSpace - 2750;
    rig.reader.Board().queuePress({odd, 250'000});
    rig.boxes.script({spectrel::platform::MessageButton::Abort});
    spectrel::TWorkspace& w = rig.window->Workspace();
    spectrel::TLearningProcedures procedures({w.context, w.reader, rig.boxes, w.current, w.learnedCopy, w.standards,
                                              w.buttons, w.exploreList, w.rules},
                                             *rig.window);
    bool stop = false;
    std::string data, data2;
    procedures.LearnButton("Power", stop, nullptr, data, data2);
    spectrel::screenshots::Settle();
    spectrel::TCapturePictureWidget& picture = rig.window->CaptureView()->PictureWidget();
    // The start of the data frame across the width (about 20 ms), its letters readable.
    for (int i = 0; i < 5; ++i) picture.ZoomAt(spectrel::TPictureLayout::kLeftMargin, 1.25);
    return spectrel::screenshots::Grab(*rig.window->CaptureView());
}
