// The virtual reader of the program: the port list with "VIRTUAL" after the real ports, the board behind it,
// and the "Virtual remote" panel whose held keys a capture hears with their repeat frames.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Code/ComPortUtils.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_processing.h"
#include "platform/qt/QtClock.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/qt/VirtualReader.h"
#include "virtualboard/qt/VirtualRemotePanel.h"

namespace {

using spectrel::TReaderLink;
using spectrel::testing::FakeSerialPort;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;
using spectrel::virtualboard::TVirtualReader;
using spectrel::virtualboard::TVirtualRemotePanel;

const std::string kDataDir = SPECTREL_SOURCE_DIR "/tests/data/";

// Real ports that cannot be listed at all.
class FailingPortList : public spectrel::platform::SerialPortProvider {
public:
    spectrel::platform::OpenPortResult open(const std::string&) override { return {nullptr, "no ports"}; }
    std::vector<std::string> portNames() override { throw std::runtime_error("the system lists no ports"); }
};

class RecordingPortView : public spectrel::TReaderPortView {
public:
    explicit RecordingPortView(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    std::vector<std::string> portEntries() const override { return entries_; }
    void selectPortEntry(int index) override { selected = index; }
    void showReaderStatus(const std::string& text) override { status = text; }
    void enableLearningCommands(bool enabled) override { learning = enabled; }

    int selected = -2;
    std::string status;
    bool learning = false;

private:
    std::vector<std::string> entries_;
};

struct PortListCase {
    const char* name;
    std::vector<std::string> realPorts;
    std::vector<std::string> listed;
};

TEST(VirtualReaderPorts, ListVirtualLastAfterTheRealPorts) {
    const PortListCase cases[] = {
        {"two real ports", {"ttyS0", "ttyUSB0"}, {"ttyS0", "ttyUSB0", "VIRTUAL"}},
        {"the system's order is kept", {"ttyUSB1", "ttyS0", "ttyUSB0"}, {"ttyUSB1", "ttyS0", "ttyUSB0", "VIRTUAL"}},
        {"no real port", {}, {"VIRTUAL"}},
        {"a real port of that name means the board", {"ttyS0", "virtual"}, {"ttyS0", "VIRTUAL"}},
    };
    for (const PortListCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedClock clock;
        FakeSerialPort real(clock);
        real.setPortNames(c.realPorts);
        TVirtualReader reader(real, clock);
        EXPECT_EQ(reader.Ports().portNames(), c.listed);
        std::vector<std::string> list = {"stale entry"};
        spectrel::EnumerateComPorts(reader.Ports(), list);
        EXPECT_EQ(list, c.listed);
    }
}

TEST(VirtualReaderPorts, VirtualIsListedWhenTheRealPortsCannotBe) {
    SimulatedClock clock;
    FailingPortList real;
    TVirtualReader reader(real, clock);
    std::vector<std::string> list;
    spectrel::EnumerateComPorts(reader.Ports(), list);
    EXPECT_EQ(list, std::vector<std::string>{"VIRTUAL"});
}

TEST(VirtualReaderPorts, OpenRoutesVirtualToTheBoardAndOtherNamesToTheRealPorts) {
    SimulatedClock clock;
    FakeSerialPort real(clock);
    real.setPortNames({"ttyS0"});
    TVirtualReader reader(real, clock);
    for (const char* name : {"VIRTUAL", "virtual", "Virtual"}) {
        SCOPED_TRACE(name);
        auto opened = reader.Ports().open(name);
        ASSERT_NE(opened.port, nullptr) << opened.error;
        opened.port->close();
    }
    EXPECT_TRUE(real.openedNames().empty());
    auto opened = reader.Ports().open("ttyS0");
    EXPECT_NE(opened.port, nullptr);
    EXPECT_EQ(real.openedNames(), std::vector<std::string>{"ttyS0"});
}

// Selecting "VIRTUAL" through the program's own clock and pump reaches the board.
TEST(VirtualReaderPorts, SelectingVirtualDetectsTheBoard) {
    SimulatedClock unused;
    FakeSerialPort real(unused);
    real.setPortNames({"ttyS0"});
    spectrel::platform::qt::QtClock clock;
    spectrel::platform::qt::QtMessagePump pump;
    ScriptedMessageBoxes boxes;
    TVirtualReader reader(real, clock);
    TReaderLink link(reader.Ports(), clock, pump, boxes);
    std::vector<std::string> entries;
    spectrel::EnumerateComPorts(reader.Ports(), entries);
    for (const char* name : {"VIRTUAL", "virtual"}) {
        SCOPED_TRACE(name);
        RecordingPortView view(entries);
        EXPECT_TRUE(link.SelectReaderPort(name, view));
        EXPECT_EQ(view.status, "Reader 1.3");
        EXPECT_EQ(view.selected, 1);
        EXPECT_TRUE(view.learning);
    }
    EXPECT_TRUE(real.openedNames().empty());
    EXPECT_TRUE(boxes.shown().empty());
}

// The simulated clock as the message pump, running the window's events and a script of user actions at their
// times (milliseconds from the start of the script).
class ScriptedPump : public spectrel::platform::MessagePump {
public:
    explicit ScriptedPump(SimulatedClock& clock) : clock_(clock) {}
    void start() { startMs_ = clock_.nowMs(); }
    void at(std::int64_t ms, std::function<void()> action) { actions_.push_back({ms, std::move(action), false}); }
    // Advances to `ms` from the start, running what falls due.
    void runUntil(std::int64_t ms) {
        while (clock_.nowMs() - startMs_ < ms) pumpOnce();
    }
    void pumpOnce() override {
        clock_.pumpOnce();
        QCoreApplication::processEvents();
        for (Action& a : actions_) {
            if (a.done || clock_.nowMs() - startMs_ < a.ms) continue;
            a.done = true;
            a.run();
        }
    }
    bool allDone() const {
        for (const Action& a : actions_)
            if (!a.done) return false;
        return true;
    }

private:
    struct Action {
        std::int64_t ms;
        std::function<void()> run;
        bool done;
    };
    SimulatedClock& clock_;
    std::int64_t startMs_ = 0;
    std::vector<Action> actions_;
};

// Pulses per frame of the capture table (the gap records of the frames are not counted).
std::vector<int> PulsesPerFrame(const spectrel::TAnalysisContext& context) {
    std::vector<int> pulses;
    for (int i = 0; i < context.recordCount; ++i) {
        const spectrel::TIntervalRecord& r = context.captureTable()[i];
        if (!r.isPulse || r.frameNumber < 0) continue;
        if (pulses.size() <= static_cast<std::size_t>(r.frameNumber)) pulses.resize(r.frameNumber + 1, 0);
        ++pulses[r.frameNumber];
    }
    return pulses;
}

struct HoldCase {
    const char* name;
    std::int64_t pressMs;    // from the call of the capture; before it when negative
    std::int64_t releaseMs;  // likewise
    int frames;              // the capture's result
};

// NEC sends its frame once, then a repeat frame every 108 ms while the key is held; the board hears the key
// 100 ms after the capture starts at the earliest.
TEST(VirtualRemotePanel, AHeldKeyIsCapturedWithItsRepeatFrames) {
    const HoldCase cases[] = {
        {"held 500 ms while the capture waits: the frame and 4 repeats", 200, 700, 5},
        {"a short click: the frame alone", 200, 250, 1},
        {"held before the capture starts: heard from its start", -100, 600, 5},
        {"held 3 s: the capture stops at 20 frames", 200, 3200, 20},
        {"pressed and released before the capture: nothing heard", -300, -200, 0},
    };
    for (const HoldCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedClock clock;
        FakeSerialPort real(clock);
        ScriptedPump pump(clock);
        ScriptedMessageBoxes boxes;
        TVirtualReader reader(real, clock);
        TVirtualRemotePanel panel(reader, boxes);
        panel.show();
        auto* power = panel.findChild<QPushButton*>("VirtualKey_Power");
        ASSERT_NE(power, nullptr);

        spectrel::TAnalysisContext context(boxes, clock, pump);
        TReaderLink link(reader.Ports(), clock, pump, boxes);
        link.SetReaderPortName("VIRTUAL");
        ASSERT_TRUE(link.OpenReaderPort().ok);

        const std::int64_t before = std::min<std::int64_t>({c.pressMs, c.releaseMs, 0});
        pump.start();
        pump.at(c.pressMs - before, [&] { QTest::mousePress(power, Qt::LeftButton); });
        pump.at(c.releaseMs - before, [&] { QTest::mouseRelease(power, Qt::LeftButton); });
        pump.runUntil(-before);

        const int frames = spectrel::Capture(context, link, 0, 0, nullptr, nullptr);
        pump.runUntil(c.releaseMs - before);
        link.CloseReaderPort();

        EXPECT_TRUE(pump.allDone());
        EXPECT_EQ(frames, c.frames);
        const std::vector<int> pulses = PulsesPerFrame(context);
        if (c.frames > 0) {
            ASSERT_GE(pulses.size(), 1u);
            EXPECT_EQ(pulses[0], 34);  // header, 32 bits, stop bit
            for (std::size_t f = 1; f < pulses.size(); ++f) EXPECT_EQ(pulses[f], 2) << "repeat frame " << f;
        } else {
            EXPECT_TRUE(pulses.empty());
        }
        EXPECT_FALSE(reader.Remote().held());
        EXPECT_TRUE(boxes.shown().empty());
    }
}

// A key held across two captures is heard by the first only, as a press of a real remote is.
TEST(VirtualRemotePanel, OnePressIsHeardByOneCapture) {
    SimulatedClock clock;
    FakeSerialPort real(clock);
    ScriptedPump pump(clock);
    ScriptedMessageBoxes boxes;
    TVirtualReader reader(real, clock);
    TVirtualRemotePanel panel(reader, boxes);
    spectrel::TAnalysisContext context(boxes, clock, pump);
    TReaderLink link(reader.Ports(), clock, pump, boxes);
    link.SetReaderPortName("VIRTUAL");
    ASSERT_TRUE(link.OpenReaderPort().ok);

    ASSERT_TRUE(panel.PressKey("OK"));
    EXPECT_EQ(reader.Remote().heldKey(), "OK");
    EXPECT_EQ(spectrel::Capture(context, link, 0, 0, nullptr, nullptr), 20);
    context.recordCount = 0;
    EXPECT_EQ(spectrel::Capture(context, link, 1, 0, nullptr, nullptr), 0);
    panel.ReleaseKey();
    EXPECT_FALSE(reader.Remote().held());
    EXPECT_FALSE(panel.PressKey("No such key"));
}

TEST(VirtualRemotePanel, ShowsTheBuiltInNecRemote) {
    SimulatedClock clock;
    FakeSerialPort real(clock);
    ScriptedMessageBoxes boxes;
    TVirtualReader reader(real, clock);
    TVirtualRemotePanel panel(reader, boxes);
    EXPECT_EQ(panel.objectName(), "VirtualRemotePanel");
    EXPECT_EQ(panel.windowTitle(), "Virtual remote");
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(panel.isModal());
    std::vector<std::string> names;
    for (QPushButton* key : panel.KeyButtons()) names.push_back(key->objectName().toStdString());
    const std::vector<std::string> expected = {
        "VirtualKey_Power", "VirtualKey_Mute", "VirtualKey_Menu", "VirtualKey_1",    "VirtualKey_2",
        "VirtualKey_3",     "VirtualKey_4",    "VirtualKey_5",    "VirtualKey_6",    "VirtualKey_7",
        "VirtualKey_8",     "VirtualKey_9",    "VirtualKey_Info", "VirtualKey_0",    "VirtualKey_Back",
        "VirtualKey_Vol+",  "VirtualKey_Up",   "VirtualKey_Ch+",  "VirtualKey_Left", "VirtualKey_OK",
        "VirtualKey_Right", "VirtualKey_Vol-", "VirtualKey_Down", "VirtualKey_Ch-"};
    EXPECT_EQ(names, expected);
    auto* title = panel.findChild<QLabel*>("VirtualRemoteTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Built-in NEC remote");
}

struct BadFileCase {
    const char* name;
    std::string file;
    std::string message;  // after the file's path
};

TEST(VirtualRemotePanel, ABadSignalFileKeepsThePreviousRemote) {
    const BadFileCase cases[] = {
        {"a malformed value", "virtualboard_bad_value.ir",
         ":9: data value 3 \"56x\" is not a duration in whole microseconds"},
        {"a file without codes", "virtualboard_empty.txt", ":2: no codes in the file"},
        {"a missing file", "no_such_remote.ir", ": cannot open the file"},
    };
    for (const BadFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedClock clock;
        FakeSerialPort real(clock);
        ScriptedMessageBoxes boxes;
        TVirtualReader reader(real, clock);
        TVirtualRemotePanel panel(reader, boxes);
        QString chosen;
        panel.SetFileChooser([&](QWidget*) { return chosen; });
        auto* load = panel.findChild<QPushButton*>("btnLoadRemote");
        ASSERT_NE(load, nullptr);

        // First a good file, which becomes the previous remote; the entry it skips is told.
        chosen = QString::fromStdString(kDataDir + "virtualboard_codes.txt");
        QTest::mouseClick(load, Qt::LeftButton);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].kind, spectrel::platform::MessageKind::Information);
        EXPECT_EQ(boxes.shown()[0].text, "Some entries of the file were skipped:\r" + kDataDir +
                                             "virtualboard_codes.txt:6: \"RC5 preset\" skipped: Pronto format 5000 "
                                             "is not a learned code (0000 or 0100)");
        boxes.clear();
        ASSERT_NE(panel.findChild<QPushButton*>("VirtualKey_Mute"), nullptr);
        const std::size_t keys = panel.KeyButtons().size();
        EXPECT_EQ(keys, 4u);

        chosen = QString::fromStdString(kDataDir + c.file);
        QTest::mouseClick(load, Qt::LeftButton);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].kind, spectrel::platform::MessageKind::Error);
        EXPECT_EQ(boxes.shown()[0].text, kDataDir + c.file + c.message);
        EXPECT_EQ(boxes.shown()[0].buttons, spectrel::platform::MessageButton::Ok);
        EXPECT_EQ(panel.KeyButtons().size(), keys);
        EXPECT_NE(panel.findChild<QPushButton*>("VirtualKey_Mute"), nullptr);
        EXPECT_EQ(panel.findChild<QLabel*>("VirtualRemoteTitle")->text(), "virtualboard_codes.txt");
        EXPECT_EQ(reader.Remote().keys().size(), keys);
    }
}

TEST(VirtualRemotePanel, TheBuiltInRemoteComesBack) {
    SimulatedClock clock;
    FakeSerialPort real(clock);
    ScriptedMessageBoxes boxes;
    TVirtualReader reader(real, clock);
    TVirtualRemotePanel panel(reader, boxes);
    ASSERT_TRUE(panel.LoadRemoteFile(QString::fromStdString(kDataDir + "virtualboard_codes.txt")));
    EXPECT_EQ(panel.findChild<QPushButton*>("VirtualKey_Ch+"), nullptr);
    QTest::mouseClick(panel.findChild<QPushButton*>("btnBuiltInRemote"), Qt::LeftButton);
    EXPECT_NE(panel.findChild<QPushButton*>("VirtualKey_Ch+"), nullptr);
    EXPECT_EQ(panel.KeyButtons().size(), 24u);
}

}  // namespace
