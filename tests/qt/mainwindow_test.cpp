// The main window headless: its two states, the port selection, the protocol column's commands through the
// window, the close question with the writes after Yes, and a whole protocol learning on the virtual board.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_Main_ColouredList.h"
#include "Code/SPX_Settings.h"
#include "Code/uKOR_IniObject.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualPortList.h"
#include "virtualboard/VirtualSerialPort.h"
#include "virtualboard/qt/VirtualReader.h"

namespace spectrel {
namespace {

namespace vb = virtualboard;
using platform::MessageButton;
using platform::MessageKind;

// Scripted boxes that also run a check each time a box is shown.
class WatchedBoxes : public testing::ScriptedMessageBoxes {
public:
    MessageButton show(MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                       const std::string& caption = {}) override {
        if (onShow) onShow();
        return ScriptedMessageBoxes::show(kind, text, buttons, caption);
    }
    std::function<void()> onShow;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { realPorts.setPortNames({"COM7"}); }
    ~MainWindowTest() override {
        if (window) window->setAttribute(Qt::WA_DeleteOnClose, false);
        window.reset();
    }

    std::string Folder() const { return folder.path().toStdString() + "/"; }
    std::string SettingsPath() const { return Folder() + "SPX.ini"; }
    void WriteSettings(const std::string& text) {
        QFile file(QString::fromStdString(SettingsPath()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.c_str());
    }
    std::string SettingsText() const {
        QFile file(QString::fromStdString(SettingsPath()));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll().toStdString();
    }

    // The window made and shown, its first activation run.
    void Open(bool virtualIfNoPort = false) {
        TMainWindowContext context{ports, clock, clock, boxes, input, store, Folder(), Folder()};
        context.virtualIfNoPort = virtualIfNoPort;
        context.screenGeometry = [] { return QRect(0, 0, 1280, 1024); };
        window = std::make_unique<TfrmMain>(context);
        window->show();
        window->FormActivate();
    }

    template <typename T>
    T* Find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    QString Status() const { return window->StatusPanelText(0); }
    bool WorkAreaShown() const { return Find<QWidget>("MasterPanel")->isVisible(); }
    QComboBox* Ports() const { return Find<QComboBox>("ComboxComPort"); }
    QStringList PortEntries() const {
        QStringList entries;
        for (int i = 0; i < Ports()->count(); ++i) entries << Ports()->itemText(i);
        return entries;
    }
    // Picks the first (COM7) or last (VIRTUAL) entry with the keyboard, as a user would.
    void PickFirstPort() { QTest::keyClick(Ports(), Qt::Key_Home); }
    void PickVirtual() { QTest::keyClick(Ports(), Qt::Key_End); }
    TColouredListWidget& ProtocolList() const { return *Find<TColouredListWidget>("lbxProtocols"); }
    std::vector<std::string> ProtocolLines() const {
        std::vector<std::string> lines;
        for (const QString& line : ProtocolList().Lines()) lines.push_back(line.toStdString());
        return lines;
    }
    void Click(const char* toolButton) {
        auto* button = Find<QToolButton>(toolButton);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << toolButton;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void PressNec(std::uint8_t key) { board.queuePress({vb::necSignal(0, key), 250'000}); }
    // The protocol learned with the Learn command from one key pressed twice and another once.
    void LearnNec() {
        PressNec(0x45);
        PressNec(0x45);
        PressNec(0x46);
        // Without a script, the four boxes of a learning that goes well (lose everything, first press, same
        // key, another key) are answered OK.
        if (boxes.pendingAnswers() == 0)
            boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Ok});
        Click("BtnExploreProto");
    }

    QTemporaryDir folder;
    testing::SimulatedClock clock;
    testing::FakeSerialPort realPorts{clock};
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider virtualPorts{board, [this] { return static_cast<double>(clock.nowUs()); }};
    vb::VirtualPortList ports{realPorts, virtualPorts};
    WatchedBoxes boxes;
    testing::ScriptedInputBox input;
    testing::MemoryUserStore store;
    std::unique_ptr<TfrmMain> window;
};

// --- the two states and the port

TEST_F(MainWindowTest, StartsWithoutAReader) {
    Open();  // "COM2" is remembered by default and not present
    EXPECT_EQ(window->windowTitle(), "Spectrel");
    EXPECT_EQ(Status(), "Cannot Find Reader");
    EXPECT_FALSE(window->Connected());
    EXPECT_FALSE(WorkAreaShown());
    auto* message = Find<QLabel>("DisconnectedLabel");
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), "Unable to connect to Spectrel hardware. Please ensure Spectrel is connected, and "
                               "select the correct Comm Port above.");
    for (const char* disabled : {"btnWizard", "btnExplore", "btnSave", "mnuIRWizard", "mnuLoadButtonNames",
                                 "mnuSaveButtonNames", "EditIRprotocol1"}) {
        EXPECT_FALSE(Action(disabled)->isEnabled()) << disabled;
    }
    EXPECT_TRUE(Action("btnPreviewImages")->isEnabled());
    EXPECT_TRUE(Ports()->isEnabled());
    EXPECT_EQ(PortEntries(), (QStringList{"COM7", "VIRTUAL"}));
    EXPECT_EQ(Ports()->currentIndex(), -1);
    EXPECT_TRUE(realPorts.openedNames().empty());
}

TEST_F(MainWindowTest, ARememberedPortWithoutAReaderCannotFindIt) {
    WriteSettings("[Setup]\nSerial=com7\n");
    Open();
    EXPECT_EQ(Status(), "Cannot Find Reader");
    EXPECT_EQ(Ports()->currentText(), "COM7");
    EXPECT_EQ(realPorts.openedNames(), std::vector<std::string>{"COM7"});
    EXPECT_FALSE(realPorts.isPortOpen());
    EXPECT_FALSE(WorkAreaShown());
}

// A port the user may not open: the double refuses it as the system refuses a user outside the device's group.
constexpr const char* kDialoutAdvice =
    "You may not open /dev/ttyUSB0. Add yourself to the group 'dialout' and log in again (for example: sudo "
    "usermod -a -G dialout alice).";

TEST_F(MainWindowTest, ARefusedPortIsMarkedInTheListAndTheStatusAndExplainedOnce) {
    realPorts.setPortNames({"ttyS0", "ttyUSB0"});
    realPorts.setPermissionDenied("ttyUSB0", kDialoutAdvice);
    Open();
    EXPECT_EQ(PortEntries(), (QStringList{"ttyS0", "ttyUSB0 (no permission)", "VIRTUAL"}));
    EXPECT_TRUE(boxes.shown().empty()) << "nothing is told before the port is tried";

    boxes.script({MessageButton::Ok});
    Ports()->setCurrentIndex(0);
    QTest::keyClick(Ports(), Qt::Key_Down);
    EXPECT_EQ(realPorts.openedNames(), std::vector<std::string>{"ttyUSB0"}) << "the name, not the label, is opened";
    EXPECT_EQ(Status(), "No Reader (no permission for ttyUSB0)");
    EXPECT_FALSE(WorkAreaShown());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[0].text, kDialoutAdvice);

    // Picked again (from another entry), the port stays marked, and the advice is not repeated.
    QTest::keyClick(Ports(), Qt::Key_Up);
    QTest::keyClick(Ports(), Qt::Key_Down);
    EXPECT_EQ(Status(), "No Reader (no permission for ttyUSB0)");
    EXPECT_EQ(boxes.shown().size(), 1u);
    Ports()->showPopup();
    Ports()->hidePopup();
    EXPECT_EQ(PortEntries(), (QStringList{"ttyS0", "ttyUSB0 (no permission)", "VIRTUAL"}));
    EXPECT_EQ(Ports()->currentText(), "ttyUSB0 (no permission)") << "the shown port stays selected";

    // The virtual board still connects, and the status is its own again.
    PickVirtual();
    EXPECT_TRUE(window->Connected());
    EXPECT_EQ(Status(), "Reader 1.3");
}

TEST_F(MainWindowTest, ARememberedRefusedPortCannotBeFoundForLackOfPermission) {
    realPorts.setPortNames({"ttyUSB0"});
    realPorts.setPermissionDenied("ttyUSB0", kDialoutAdvice);
    WriteSettings("[Setup]\nSerial=ttyUSB0\n");
    boxes.script({MessageButton::Ok});
    Open();
    EXPECT_EQ(Status(), "Cannot Find Reader (no permission for ttyUSB0)");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kDialoutAdvice});
    // The port the system allows again (the user logged in anew): it opens, and the mark goes.
    realPorts.setPermissionDenied("ttyUSB0", "");
    QTest::keyClick(Ports(), Qt::Key_End);
    QTest::keyClick(Ports(), Qt::Key_Home);
    EXPECT_EQ(Status(), "No Reader");
    EXPECT_EQ(PortEntries().front(), "ttyUSB0");
}

TEST_F(MainWindowTest, PickingVirtualConnects) {
    Open();
    PickVirtual();
    EXPECT_EQ(Status(), "Reader 1.3");
    EXPECT_TRUE(window->Connected());
    EXPECT_TRUE(WorkAreaShown());
    EXPECT_FALSE(Find<QLabel>("DisconnectedLabel")->isVisible());
    for (const char* enabled : {"btnWizard", "mnuIRWizard", "BtnExploreProto", "btnSelectProtocol",
                                "btnAddButton", "mnuLoadButtonNames", "mnuSaveButtonNames"}) {
        EXPECT_TRUE(Action(enabled)->isEnabled()) << enabled;
    }
    // No protocol yet, no buttons.
    for (const char* disabled : {"btnExplore", "btnSave", "btnEditProtocol", "EditIRprotocol1", "BtnLearn"}) {
        EXPECT_FALSE(Action(disabled)->isEnabled()) << disabled;
    }
    EXPECT_EQ(ProtocolLines(), std::vector<std::string>{"No Protocol"});
    EXPECT_FALSE(virtualPorts.portIsOpen());
}

TEST_F(MainWindowTest, APortWithoutAReaderKeepsTheModelForWhenTheReaderComesBack) {
    Open();
    PickVirtual();
    boxes.clear();
    LearnNec();
    ASSERT_TRUE(window->Workspace().current.valid);
    window->Workspace().buttons.Add("Power").SetCode("AbAb");
    const std::vector<std::string> learned = ProtocolLines();

    PickFirstPort();
    EXPECT_EQ(Status(), "No Reader");
    EXPECT_FALSE(window->Connected());
    EXPECT_FALSE(WorkAreaShown());
    EXPECT_TRUE(Find<QLabel>("DisconnectedLabel")->isVisible());
    EXPECT_FALSE(Action("btnSave")->isEnabled());

    PickVirtual();
    EXPECT_EQ(Status(), "Reader 1.3");
    EXPECT_TRUE(WorkAreaShown());
    EXPECT_TRUE(window->Workspace().current.valid);
    EXPECT_EQ(window->Workspace().buttons.Items(0).Code(), "AbAb");
    EXPECT_EQ(ProtocolLines(), learned);
    EXPECT_TRUE(Action("btnSave")->isEnabled());
}

TEST_F(MainWindowTest, TheDropDownRefreshesTheListAndNeverConnects) {
    Open();
    PickVirtual();
    realPorts.setPortNames({"COM9"});
    Ports()->showPopup();
    Ports()->hidePopup();
    EXPECT_EQ(PortEntries(), (QStringList{"COM9", "VIRTUAL"}));
    EXPECT_EQ(Ports()->currentText(), "VIRTUAL");
    EXPECT_TRUE(realPorts.openedNames().empty());
    EXPECT_EQ(Status(), "Reader 1.3");

    // The shown port is gone: the first entry is selected, still without connecting.
    window->Workspace();  // no change of state expected below
    Ports()->setCurrentIndex(0);
    realPorts.setPortNames({"COM3"});
    Ports()->showPopup();
    Ports()->hidePopup();
    EXPECT_EQ(PortEntries(), (QStringList{"COM3", "VIRTUAL"}));
    EXPECT_EQ(Ports()->currentText(), "COM3");
    EXPECT_TRUE(realPorts.openedNames().empty());
    EXPECT_TRUE(window->Connected());
}

TEST_F(MainWindowTest, TheStartOptionUsesVirtualWhenNoPortIsRemembered) {
    Open(true);
    EXPECT_EQ(Status(), "Reader 1.3");
    EXPECT_EQ(Ports()->currentText(), "VIRTUAL");
    EXPECT_TRUE(WorkAreaShown());
}

TEST_F(MainWindowTest, TheStartOptionKeepsARememberedPort) {
    WriteSettings("[Setup]\nSerial=COM7\n");
    Open(true);
    EXPECT_EQ(Status(), "Cannot Find Reader");
    EXPECT_EQ(Ports()->currentText(), "COM7");
}

// "Explore" and "Save" open their windows: the Explorer Buttons dialog, and the save command's checks.
TEST_F(MainWindowTest, ExploreOpensTheExplorerAndSaveChecksTheDetails) {
    Open();
    PickVirtual();
    LearnNec();
    boxes.clear();
    bool explorerShown = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        explorerShown = dialog != nullptr && dialog->windowTitle() == "Explorer Buttons";
        if (dialog) dialog->findChild<QPushButton*>("btnClose")->click();
    });
    Action("btnExplore")->trigger();
    EXPECT_TRUE(explorerShown);
    EXPECT_TRUE(boxes.shown().empty());

    Action("btnSave")->trigger();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].text,
              "You must enter values for all device parameters:\r\n- Remote Brand\r\n- Remote Model\r\n"
              "- Device Type\r\n- Device Brand\r\n- Device Model");
}

// --- the Options menu

TEST_F(MainWindowTest, TheOptionsMenuFollowsTheAdvancedOptions) {
    struct Case {
        const char* allowProtocolEdit;
        const char* allowDecodingEdit;
        bool advanced;
        bool decoding;
    };
    const Case cases[] = {{"0", "0", false, false}, {"1", "0", true, false}, {"0", "1", false, true}};
    for (const Case& c : cases) {
        store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "AllowProtocolEdit", c.allowProtocolEdit);
        store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "AllowDecodingParmeterEdit", c.allowDecodingEdit);
        Open();
        EXPECT_EQ(Action("EditIRprotocol1")->isVisible(), c.advanced);
        EXPECT_EQ(Action("EditIRdecodesettings1")->isVisible(), c.decoding);
        EXPECT_EQ(Find<QMenu>("mnuOptions")->menuAction()->isVisible(), c.advanced || c.decoding);
        // Always enabled when visible, also without a reader.
        if (c.decoding) {
            EXPECT_TRUE(Action("EditIRdecodesettings1")->isEnabled());
        }
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window.reset();
    }
}

// --- the protocol column through the window

TEST_F(MainWindowTest, AWholeProtocolLearningOnTheVirtualBoard) {
    Open();
    PickVirtual();
    boxes.clear();
    int furthest = 0;
    QObject::connect(Find<QProgressBar>("ReceiveProgressBar"), &QProgressBar::valueChanged,
                     [&](int value) { furthest = std::max(furthest, value); });
    LearnNec();
    const Tprotocol_descriptor& current = window->Workspace().current;
    ASSERT_TRUE(current.valid);
    EXPECT_EQ(Find<QLineEdit>("eProtocolName")->text(), "NO NAME");
    const std::vector<std::string> texts = boxes.texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0], "All learned information will be lost. Continue?");
    EXPECT_EQ(texts[1], " Click OK, point remote control to receiver and then\rpress any button on remote control "
                        "at least for 2 sec");
    EXPECT_EQ(texts[2], "Click \"OK\" and then press THE SAME button again");
    EXPECT_EQ(texts[3], "Click \"OK\" and then press ANOTHER button");
    const std::vector<std::string> lines = ProtocolLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("Carrier frequency: \003", 0), 0u) << lines[0];
    EXPECT_EQ(lines, ProtocolDescriptionLines(current, ProtocolList().DecimalSeparator()));
    EXPECT_EQ(ProtocolList().TextColourCode(), 1);
    EXPECT_TRUE(Action("btnEditProtocol")->isEnabled());
    EXPECT_TRUE(Action("btnExplore")->isEnabled());
    EXPECT_TRUE(Action("BtnExploreProto")->isEnabled());
    EXPECT_GT(furthest, 0);  // the captures drove the receive progress bar
}

TEST_F(MainWindowTest, ThePortCannotBePickedWhileAProcedureRuns) {
    Open();
    PickVirtual();
    std::vector<bool> portsUsable;
    boxes.onShow = [&] { portsUsable.push_back(Ports()->isEnabled()); };
    LearnNec();
    boxes.onShow = nullptr;
    ASSERT_FALSE(portsUsable.empty());
    EXPECT_EQ(portsUsable, std::vector<bool>(portsUsable.size(), false));
    EXPECT_TRUE(Ports()->isEnabled());
}

TEST_F(MainWindowTest, TheDescriptionUsesTheUsersDecimalSeparator) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Open();
    PickVirtual();
    LearnNec();
    QLocale::setDefault(previous);
    ASSERT_TRUE(window->Workspace().current.valid);
    const std::string carrier = ProtocolLines().at(0);
    EXPECT_NE(carrier.find(','), std::string::npos) << carrier;
    EXPECT_EQ(carrier.find('.'), std::string::npos) << carrier;
}

TEST_F(MainWindowTest, RenamingThroughTheWindow) {
    Open();
    PickVirtual();
    LearnNec();
    input.answer("Living room");
    Click("btnEditProtocol");
    ASSERT_EQ(input.asked().size(), 1u);
    EXPECT_EQ(input.asked()[0].title, "Edit Protocol");
    EXPECT_EQ(input.asked()[0].initial, "NO NAME");
    EXPECT_EQ(Find<QLineEdit>("eProtocolName")->text(), "Living room");
}

TEST_F(MainWindowTest, AdvancedEditWaitsForTheDialogAndClearsEveryCode) {
    store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "AllowProtocolEdit", "1");
    Open();
    PickVirtual();
    LearnNec();
    TbuttonCodes& buttons = window->Workspace().buttons;
    buttons.Add("Power").SetCode("AbAb");
    buttons.Add("Mute").SetSecondCode("Ab");
    ASSERT_TRUE(Action("EditIRprotocol1")->isEnabled());
    bool shownWhileWaiting = false;
    bool workAreaDisabled = false;
    QTimer::singleShot(20, window.get(), [&] {
        shownWhileWaiting = window->DecodingParametersDialog()->isVisible();
        workAreaDisabled = !Find<QWidget>("MasterPanel")->isEnabled();
        window->DecodingParametersDialog()->close();  // closing only hides it
    });
    Action("EditIRprotocol1")->trigger();
    EXPECT_TRUE(shownWhileWaiting);
    EXPECT_TRUE(workAreaDisabled);
    EXPECT_TRUE(Find<QWidget>("MasterPanel")->isEnabled());
    EXPECT_FALSE(buttons.AnyHasCode());
    EXPECT_EQ(buttons.Count(), 2);
    EXPECT_TRUE(window->Workspace().current.valid);
    EXPECT_EQ(Find<QLineEdit>("eProtocolName")->text(), "NO NAME");
}

// --- closing

TEST_F(MainWindowTest, ClosingAsksAndNoKeepsEverything) {
    Open();
    boxes.script({MessageButton::No});
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Are you sure you want to close without saving?");
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_FALSE(store.contains(SpectrelKeyPath(), "AdvancedOptions", "MatchToStandardProtocol"));
    TIniFile settings(SettingsPath());
    EXPECT_FALSE(settings.ValueExists("Setup", "Delay"));
}

TEST_F(MainWindowTest, YesWritesTheOptionsTemplatesAndDelayButNoPortWithoutAReader) {
    WriteSettings("[Setup]\nSerial=COM7\nDelay=60\n");
    Open();
    boxes.script({MessageButton::Yes});
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(store.contains(SpectrelKeyPath(), "AdvancedOptions", "MatchToStandardProtocol"));
    EXPECT_TRUE(store.contains(SpectrelKeyPath(), "AdvancedOptions", "UserProtocolExplore"));
    TIniFile settings(SettingsPath());
    EXPECT_EQ(settings.ReadString("Setup", "Serial", ""), "COM7");  // as it was
    EXPECT_EQ(settings.ReadInteger("Setup", "Delay", 0), 60);
    EXPECT_EQ(settings.ReadSection("Button Templates Section").size(), 10u);
}

TEST_F(MainWindowTest, YesWritesThePortInUseWhileConnected) {
    WriteSettings("[Setup]\nSerial=COM7\n");
    Open();
    PickVirtual();
    boxes.clear();
    boxes.script({MessageButton::Yes});
    EXPECT_TRUE(window->close());
    TIniFile settings(SettingsPath());
    EXPECT_EQ(settings.ReadString("Setup", "Serial", ""), "VIRTUAL");
    EXPECT_EQ(settings.ReadInteger("Setup", "Delay", 0), 50);
    ASSERT_EQ(boxes.shown().size(), 1u);
}

// --- the coloured list

TEST_F(MainWindowTest, TheDescriptionListDrawsItsColoursAndNoSelection) {
    Open();
    PickVirtual();
    LearnNec();
    TColouredListWidget& list = ProtocolList();
    list.resize(400, 200);
    list.setCurrentRow(0);
    const QImage picture = list.viewport()->grab().toImage();
    int blue = 0;
    int highlight = 0;
    const QColor selection = list.palette().color(QPalette::Highlight);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.blue() > 180 && c.red() < 90 && c.green() < 90) ++blue;
            if (c == selection) ++highlight;
        }
    }
    EXPECT_GT(blue, 0);       // the carrier value after code 3
    EXPECT_EQ(highlight, 0);  // the selected first line shows no highlight
}

}  // namespace
}  // namespace spectrel

namespace spectrel {
namespace {

// The "Virtual remote" panel shows while "VIRTUAL" is the port in use.
TEST(MainWindowVirtualRemote, ShowsWhileVirtualIsInUse) {
    QTemporaryDir folder;
    testing::SimulatedClock clock;
    testing::FakeSerialPort realPorts{clock};
    realPorts.setPortNames({"COM7"});
    vb::TVirtualReader reader(realPorts, clock);
    testing::ScriptedMessageBoxes boxes;
    testing::ScriptedInputBox input;
    testing::MemoryUserStore store;
    const std::string path = folder.path().toStdString() + "/";
    TMainWindowContext context{reader.Ports(), clock, clock, boxes, input, store, path, path};
    context.virtualReader = &reader;
    context.virtualIfNoPort = true;
    context.screenGeometry = [] { return QRect(0, 0, 1280, 1024); };
    TfrmMain window(context);
    window.show();
    window.FormActivate();
    auto* panel = window.findChild<QWidget*>(QStringLiteral("VirtualRemotePanel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->isWindow());
    auto* ports = window.findChild<QComboBox*>(QStringLiteral("ComboxComPort"));
    QTest::keyClick(ports, Qt::Key_Home);  // COM7, no reader
    EXPECT_EQ(window.StatusPanelText(0), "No Reader");
    EXPECT_FALSE(panel->isVisible());
    QTest::keyClick(ports, Qt::Key_End);
    EXPECT_TRUE(panel->isVisible());
}

}  // namespace
}  // namespace spectrel
