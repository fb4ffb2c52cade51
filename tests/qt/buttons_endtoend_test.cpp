// The whole job through the main window on the virtual reader: learn the protocol from the virtual remote, name
// it, apply a template, "Learn All" pressing each key on the virtual remote panel, fill in the device, save. The
// saved file parses as XML and holds every learned code.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QXmlStreamReader>
#include <functional>
#include <map>
#include <set>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_Main_ButtonsColumn.h"
#include "Code/SPX_SaveDevice.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedFileDialogs.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/settings_temp_folder.h"
#include "virtualboard/qt/VirtualReader.h"
#include "virtualboard/qt/VirtualRemotePanel.h"

namespace spectrel {
namespace {

using testing::SimulatedClock;

constexpr std::int64_t kHoldMs = 300;  // how long the user holds a key of the virtual remote

// The simulated clock as the window's message pump: each pump runs the window's events and the user's actions
// that have fallen due.
class UserPump : public platform::MessagePump {
public:
    explicit UserPump(SimulatedClock& clock) : clock_(clock) {}
    void after(std::int64_t ms, std::function<void()> action) {
        actions_.push_back({clock_.nowMs() + ms, std::move(action)});
    }
    void pumpOnce() override {
        clock_.pumpOnce();
        QCoreApplication::processEvents();
        for (std::size_t i = 0; i < actions_.size(); ++i) {
            if (actions_[i].atMs > clock_.nowMs()) continue;
            auto action = std::move(actions_[i].run);
            actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(i));
            action();
            return;
        }
    }
    bool idle() const { return actions_.empty(); }

private:
    struct Action {
        std::int64_t atMs;
        std::function<void()> run;
    };
    SimulatedClock& clock_;
    std::vector<Action> actions_;
};

// The user at the message boxes: accepts every box and, when one asks for a key, holds that key of the virtual
// remote panel down for a moment.
class UserBoxes : public testing::ScriptedMessageBoxes {
public:
    UserBoxes() : ScriptedMessageBoxes(Unscripted::Accept) {}
    platform::MessageButton show(platform::MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                                 const std::string& caption = {}) override {
        if (keyFor) {
            const std::string key = keyFor(text);
            if (!key.empty()) pressKey(key);
        }
        return ScriptedMessageBoxes::show(kind, text, buttons, caption);
    }
    std::function<std::string(const std::string&)> keyFor;
    std::function<void(const std::string&)> pressKey;
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(ButtonsEndToEnd, LearnNameSaveOnTheVirtualReader) {
    test::TempFolder folder;
    SimulatedClock clock;
    UserPump pump(clock);
    testing::FakeSerialPort realPorts(clock);
    virtualboard::TVirtualReader reader(realPorts, clock);
    UserBoxes boxes;
    testing::ScriptedInputBox inputBox;
    testing::MemoryUserStore store;
    testing::ScriptedFileDialogs files;

    TMainWindowContext context{reader.Ports(), clock, pump, boxes, inputBox, store, folder.Folder(), folder.Folder()};
    context.virtualReader = &reader;
    context.virtualIfNoPort = true;
    context.fileDialogs = &files;
    TfrmMain window(context);
    window.show();
    for (int i = 0; i < 50 && !window.Connected(); ++i) QTest::qWait(10);
    ASSERT_TRUE(window.Connected());
    auto* panel = window.findChild<virtualboard::TVirtualRemotePanel*>();
    ASSERT_NE(panel, nullptr);

    boxes.pressKey = [&](const std::string& key) {
        QPushButton* button = panel->findChild<QPushButton*>(QString::fromStdString("VirtualKey_" + key));
        ASSERT_NE(button, nullptr) << key;
        QTest::mousePress(button, Qt::LeftButton);
        pump.after(kHoldMs, [button] { QTest::mouseRelease(button, Qt::LeftButton); });
    };

    // 1. The protocol: Power twice, then Mute.
    boxes.keyFor = [](const std::string& text) -> std::string {
        if (text == learning_text::kFirstPress || text == learning_text::kSameButton) return "Power";
        if (text == learning_text::kAnotherButton) return "Mute";
        return {};
    };
    Child<QAction>(window, "BtnExploreProto")->trigger();
    TWorkspace& w = window.Workspace();
    ASSERT_TRUE(w.current.valid) << ::testing::PrintToString(boxes.texts());
    inputBox.answer("Virtual NEC");
    Child<QAction>(window, "btnEditProtocol")->trigger();
    EXPECT_EQ(w.current.name, "Virtual NEC");

    // 2. The HomeAuto template from the Templates menu.
    auto* column = window.findChild<TButtonsColumn*>();
    ASSERT_NE(column, nullptr);
    QAction* homeAuto = nullptr;
    for (QAction* action : column->TemplatesMenu()->actions())
        if (action->text() == "HomeAuto") homeAuto = action;
    ASSERT_NE(homeAuto, nullptr);
    homeAuto->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(w.buttons.Count(), 8);
    EXPECT_TRUE(Child<QAction>(window, "BtnLearn")->isEnabled());

    // 3. Learn All: each button by its own key of the virtual remote.
    const std::vector<std::string> keys = {"1", "2", "3", "4", "5", "6", "7", "8"};
    std::map<std::string, std::string> keyOfButton;
    for (int i = 0; i < w.buttons.Count(); ++i) keyOfButton[w.buttons.Items(i).Name()] = keys[static_cast<std::size_t>(i)];
    std::vector<std::string> asked;
    boxes.keyFor = [&](const std::string& text) -> std::string {
        const std::string prefix = learning_text::kPressButtonPrefix;
        if (text.rfind(prefix, 0) != 0 || text.size() < prefix.size() + 1) return {};
        const std::string name = text.substr(prefix.size(), text.size() - prefix.size() - 1);
        asked.push_back(name);
        return keyOfButton.count(name) ? keyOfButton[name] : std::string();
    };
    boxes.clear();
    Child<QAction>(window, "BtnLearn")->trigger();
    EXPECT_EQ(asked.size(), 8u);
    EXPECT_TRUE(w.buttons.AllHaveCodes()) << ::testing::PrintToString(boxes.texts());
    EXPECT_FALSE(Child<QAction>(window, "BtnLearn")->isEnabled());
    std::set<std::string> codes;
    for (int i = 0; i < w.buttons.Count(); ++i) codes.insert(w.buttons.Items(i).Code());
    EXPECT_EQ(codes.size(), 8u);

    // 4. The device and its remote, then Save.
    Child<QComboBox>(window, "ComboxDeviceBrand")->setEditText("Halvren");
    Child<QLineEdit>(window, "EditDeviceModel")->setText("Living Room 1");
    Child<QComboBox>(window, "ComboxRCBrand")->setEditText("Halvren");
    Child<QLineEdit>(window, "EditRCModel")->setText("RC-8");
    Child<QPlainTextEdit>(window, "MemoDeviceNotes")->setPlainText("Learned on the virtual reader\n\nEight keys");
    boxes.keyFor = nullptr;
    boxes.clear();
    files.choose(folder.File("living room"));
    QAction* save = Child<QAction>(window, "btnSave");
    ASSERT_TRUE(save->isEnabled());
    save->trigger();
    EXPECT_TRUE(boxes.shown().empty()) << ::testing::PrintToString(boxes.texts());
    EXPECT_EQ(window.DeviceFileSaver().FileName(), folder.File("living room.xml"));

    QFile file(QString::fromStdString(folder.File("living room.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    std::vector<std::string> written;
    std::vector<std::string> comments;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("IRcode"))
            written.push_back(xml.readElementText().toStdString());
        if (xml.isComment()) comments.push_back(xml.text().toString().trimmed().toStdString());
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    std::vector<std::string> learned;
    for (int i = 0; i < w.buttons.Count(); ++i) {
        learned.push_back(w.buttons.Items(i).Code());
        // NEC's repeat frame is the protocol's second data frame.
        if (w.current.j_letter != '?') learned.push_back(w.buttons.Items(i).SecondCode());
    }
    EXPECT_EQ(written, learned);
    EXPECT_NE(std::find(comments.begin(), comments.end(), "Learned on the virtual reader"), comments.end());
    EXPECT_NE(std::find(comments.begin(), comments.end(), "Eight keys"), comments.end());
}

}  // namespace
}  // namespace spectrel
