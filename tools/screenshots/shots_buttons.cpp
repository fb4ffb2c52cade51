// The work area with a learned protocol and a full button grid with pictures, and the dialogs of the button list:
// Add Buttons, Edit Button, Explorer Buttons and the restricted text dialog.

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <functional>
#include <map>

#include "Code/KOR_frmAddButtons.h"
#include "Code/KOR_frmButtonCodeEdit.h"
#include "Code/KOR_frmExploreButtons.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_Main_ButtonsColumn.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/fRestrictedEdit.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedFileDialogs.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tools/screenshots/Screenshots.h"
#include "virtualboard/qt/VirtualReader.h"
#include "virtualboard/qt/VirtualRemotePanel.h"

namespace {

using namespace spectrel;

// The simulated clock as the window's pump, running the user's actions that fall due.
class UserPump : public platform::MessagePump {
public:
    explicit UserPump(testing::SimulatedClock& clock) : clock_(clock) {}
    void after(std::int64_t ms, std::function<void()> action) { actions_.push_back({clock_.nowMs() + ms, action}); }
    void pumpOnce() override {
        clock_.pumpOnce();
        QCoreApplication::processEvents();
        for (std::size_t i = 0; i < actions_.size(); ++i) {
            if (actions_[i].first > clock_.nowMs()) continue;
            auto action = actions_[i].second;
            actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(i));
            action();
            return;
        }
    }

private:
    testing::SimulatedClock& clock_;
    std::vector<std::pair<std::int64_t, std::function<void()>>> actions_;
};

// Accepts every box; a box that asks for a key holds that key of the virtual remote for a moment.
class UserBoxes : public testing::ScriptedMessageBoxes {
public:
    UserBoxes() : ScriptedMessageBoxes(Unscripted::Accept) {}
    platform::MessageButton show(platform::MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                                 const std::string& caption = {}) override {
        if (keyFor) {
            const std::string key = keyFor(text);
            if (!key.empty() && press) press(key);
        }
        return ScriptedMessageBoxes::show(kind, text, buttons, caption);
    }
    std::function<std::string(const std::string&)> keyFor;
    std::function<void(const std::string&)> press;
};

// A 16 x 16 picture: a coloured disc with a letter, on a magenta background (its transparent colour).
void WritePicture(const QString& folder, const QString& name, const QColor& colour) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawEllipse(1, 1, 14, 14);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, name.left(1));
    painter.end();
    image.save(folder + "/" + name + ".bmp", "BMP");
}

// Everything the learned work area needs, alive while its picture is taken.
struct LearnedWorkArea {
    QTemporaryDir folder;
    testing::SimulatedClock clock;
    UserPump pump{clock};
    testing::FakeSerialPort realPorts{clock};
    virtualboard::TVirtualReader reader{realPorts, clock};
    UserBoxes boxes;
    testing::ScriptedInputBox inputBox;
    testing::MemoryUserStore store;
    testing::ScriptedFileDialogs files;
    std::unique_ptr<TfrmMain> window;

    LearnedWorkArea() {
        const QString images = folder.path() + "/ButtonImages";
        QDir().mkpath(images);
        const std::pair<const char*, QColor> pictures[] = {
            {"VANTA", QColor(0, 0, 79)}, {"HEAT", QColor(200, 40, 20)},   {"COOL", QColor(30, 110, 200)},
            {"ARM", QColor(90, 90, 90)},  {"DIM", QColor(200, 160, 0)},  {"LIGHTS", QColor(230, 180, 0)},
            {"WATER", QColor(0, 140, 160)}, {"OPEN", QColor(120, 60, 160)}, {"OUTSIDE", QColor(40, 140, 60)}};
        for (const auto& [name, colour] : pictures) WritePicture(images, name, colour);

        TMainWindowContext context{reader.Ports(), clock, pump, boxes, inputBox, store,
                                   folder.path().toStdString() + "/", folder.path().toStdString() + "/"};
        context.virtualReader = &reader;
        context.virtualIfNoPort = true;
        context.fileDialogs = &files;
        window = std::make_unique<TfrmMain>(context);
        window->resize(1000, 560);
        window->show();
        for (int i = 0; i < 50 && !window->Connected(); ++i) screenshots::Settle(10);
        auto* panel = window->findChild<virtualboard::TVirtualRemotePanel*>();
        if (panel == nullptr) return;
        boxes.press = [this, panel](const std::string& key) {
            if (panel->PressKey(QString::fromStdString(key))) pump.after(300, [panel] { panel->ReleaseKey(); });
        };
        boxes.keyFor = [](const std::string& text) -> std::string {
            if (text == learning_text::kFirstPress || text == learning_text::kSameButton) return "Power";
            if (text == learning_text::kAnotherButton) return "Mute";
            return {};
        };
        window->findChild<QAction*>("BtnExploreProto")->trigger();
        inputBox.answer("Virtual NEC");
        window->findChild<QAction*>("btnEditProtocol")->trigger();

        auto* column = window->findChild<TButtonsColumn*>();
        for (QAction* action : column->TemplatesMenu()->actions())
            if (action->text() == "HomeAuto") action->trigger();
        QCoreApplication::processEvents();
        TWorkspace& w = window->Workspace();
        std::map<std::string, std::string> keys;
        for (int i = 0; i < w.buttons.Count(); ++i) keys[w.buttons.Items(i).Name()] = std::to_string(i + 1);
        boxes.keyFor = [keys](const std::string& text) -> std::string {
            const std::string prefix = learning_text::kPressButtonPrefix;
            if (text.rfind(prefix, 0) != 0 || text.size() <= prefix.size()) return {};
            const auto found = keys.find(text.substr(prefix.size(), text.size() - prefix.size() - 1));
            return found == keys.end() ? std::string() : found->second;
        };
        window->findChild<QAction*>("BtnLearn")->trigger();
        // One button left without a code shows "<not recorded>".
        w.buttons.Items(w.buttons.Count() - 1).ClearCodes();
        w.buttons.Add("Spare");
        column->RefreshButtonGrid();
        window->UpdateCommandStates(true);  // as the grid's own commands do after a change
        column->Grid()->selectRow(2);
        window->findChild<QComboBox*>("ComboxDeviceBrand")->setEditText("Halvren");
        window->findChild<QLineEdit*>("EditDeviceModel")->setText("Living Room 1");
        window->findChild<QComboBox*>("ComboxRCBrand")->setEditText("Halvren");
        window->findChild<QLineEdit*>("EditRCModel")->setText("RC-8");
        window->findChild<QPlainTextEdit*>("MemoDeviceNotes")->setPlainText("Learned on the virtual reader");
        if (QWidget* remote = panel) remote->hide();
    }
};

}  // namespace

SPECTREL_SCREENSHOT("buttons_work_area_learned") {
    LearnedWorkArea area;
    return screenshots::Grab(*area.window);
}

SPECTREL_SCREENSHOT("buttons_dialog_add_buttons") {
    TfrmAddButtons dialog;
    dialog.SetLines({"Power", "Mute", "Volume+", "Volume-"});
    return screenshots::Grab(dialog);
}

SPECTREL_SCREENSHOT("buttons_dialog_edit_button") {
    LearnedWorkArea area;
    TWorkspace& w = area.window->Workspace();
    TLearningProcedures procedures({w.context, w.reader, area.boxes, w.current, w.learnedCopy, w.standards, w.buttons,
                                    w.exploreList, w.rules},
                                   *area.window);
    const TButtonEditEnvironment environment{procedures, area.boxes, w.current, [&w](const TButtonCode& b) {
                                                 return ButtonCodeDisplayText(b, w.rules, w.current, {true, false});
                                             }};
    TfrmButtonCodeEdit dialog(w.buttons.Items(0), environment);
    return screenshots::Grab(dialog);
}

SPECTREL_SCREENSHOT("buttons_dialog_explorer_buttons") {
    LearnedWorkArea area;
    TWorkspace& w = area.window->Workspace();
    TLearningProcedures procedures({w.context, w.reader, area.boxes, w.current, w.learnedCopy, w.standards, w.buttons,
                                    w.exploreList, w.rules},
                                   *area.window);
    TfrmExplorerButtons dialog(procedures, w.exploreList, area.boxes, w.settings.palette);
    dialog.show();
    // Three keys explored: the list shows their codes, the last one marked.
    int pressed = 0;
    area.boxes.keyFor = [&](const std::string& text) -> std::string {
        if (text != learning_text::kPressAnyButton) return {};
        ++pressed;
        if (pressed > 3) {
            area.boxes.push(platform::MessageButton::Abort);
            return {};
        }
        return pressed == 1 ? "Vol+" : pressed == 2 ? "Vol-" : "OK";
    };
    dialog.findChild<QPushButton*>("btnExplore")->click();
    return screenshots::Grab(dialog);
}

SPECTREL_SCREENSHOT("buttons_dialog_restricted_edit") {
    TfrmRestictedEdit dialog;
    dialog.Prepare("My TV-2", "Save Template", " -+", 2);
    return screenshots::Grab(dialog);
}
