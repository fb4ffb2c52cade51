// A serial port that is there but that this user may not open: the reader link keeps the system's advice, the
// port list and the status name the cause, the advice is told once per port, and the virtual board's port is
// never refused.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_PortPermission.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/VirtualPortList.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel {
namespace {

constexpr const char* kAdvice =
    "You may not open /dev/ttyUSB0. Add yourself to the group 'dialout' and log in again (for example: sudo "
    "usermod -a -G dialout alice).";

class PortPermissionTest : public ::testing::Test {
protected:
    PortPermissionTest() { serial.setPortNames({"ttyS0", "ttyUSB0"}); }

    testing::SimulatedClock clock;
    testing::FakeSerialPort serial{clock};
    testing::ScriptedMessageBoxes boxes;
    TReaderLink link{serial, clock, clock, boxes};
};

TEST_F(PortPermissionTest, RefusedOpenCarriesTheAdviceUntilAnOpenSucceeds) {
    serial.setPermissionDenied("ttyUSB0", kAdvice);
    link.SetReaderPortName("ttyUSB0");
    const TReaderPortOpenResult refused = link.OpenReaderPort();
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.permissionDenied);
    EXPECT_EQ(refused.message, "Permission denied");
    EXPECT_EQ(refused.advice, kAdvice);
    EXPECT_TRUE(link.LastOpenDenied());
    EXPECT_EQ(link.LastOpenAdvice(), kAdvice);
    EXPECT_FALSE(link.ReaderPortOpen());
    link.CloseReaderPort();

    // Another port that fails for another reason is no permission problem.
    serial.setOpenFails(true, "Device or resource busy");
    link.SetReaderPortName("ttyS0");
    const TReaderPortOpenResult busy = link.OpenReaderPort();
    EXPECT_FALSE(busy.permissionDenied);
    EXPECT_EQ(busy.advice, "");
    EXPECT_FALSE(link.LastOpenDenied());
    link.CloseReaderPort();

    serial.setOpenFails(false);
    link.SetReaderPortName("ttyUSB0");
    ASSERT_FALSE(link.OpenReaderPort().ok);
    link.CloseReaderPort();
    // The user was added to the group: the port opens and the refusal is forgotten.
    serial.setPermissionDenied("ttyUSB0", "");
    EXPECT_TRUE(link.OpenReaderPort().ok);
    EXPECT_FALSE(link.LastOpenDenied());
    EXPECT_EQ(link.LastOpenAdvice(), "");
    link.CloseReaderPort();
}

// The port list as the reader link's selection sees it; the status the link shows.
class RecordingPortView : public TReaderPortView {
public:
    explicit RecordingPortView(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    std::vector<std::string> portEntries() const override { return entries_; }
    void selectPortEntry(int) override {}
    void showReaderStatus(const std::string& text) override { status = text; }
    void enableLearningCommands(bool) override {}
    std::string status;

private:
    std::vector<std::string> entries_;
};

TEST_F(PortPermissionTest, SelectingARefusedPortFindsNoReaderAndKeepsTheCause) {
    serial.setPermissionDenied("ttyUSB0", kAdvice);
    RecordingPortView view({"ttyS0", "ttyUSB0"});
    EXPECT_FALSE(link.SelectReaderPort("ttyUSB0", view));
    EXPECT_EQ(view.status, "No Reader");
    EXPECT_TRUE(link.LastOpenDenied());
    EXPECT_EQ(ReaderStatusWithCause(view.status, link.ReaderPortName(), link.LastOpenDenied()),
              "No Reader (no permission for ttyUSB0)");
    EXPECT_FALSE(serial.isPortOpen());
}

TEST(PortPermissionTexts, ListStatusAndStandardError) {
    EXPECT_EQ(PortEntryLabel("ttyUSB0", true), "ttyUSB0 (no permission)");
    EXPECT_EQ(PortEntryLabel("ttyUSB0", false), "ttyUSB0");
    EXPECT_EQ(ReaderStatusWithCause("Cannot Find Reader", "ttyUSB0", true),
              "Cannot Find Reader (no permission for ttyUSB0)");
    EXPECT_EQ(ReaderStatusWithCause("No Reader", "ttyUSB0", false), "No Reader");

    const TReaderPortOpenResult refused{false, "Permission denied", true, kAdvice};
    EXPECT_EQ(PortOpenFailureText("ttyUSB0", refused),
              std::string("cannot open ttyUSB0: Permission denied\n") + kAdvice);
    const TReaderPortOpenResult missing{false, "No such file or directory", false, ""};
    EXPECT_EQ(PortOpenFailureText("ttyUSB9", missing), "cannot open ttyUSB9: No such file or directory");
    EXPECT_EQ(PortOpenFailureText("ttyUSB0", {true, "", false, ""}), "");
}

TEST(PortPermissionNotice, AdviceIsToldOncePerPortAndRun) {
    TPortPermissionNotice notice;
    EXPECT_TRUE(notice.NoteOpen("ttyUSB0", true)) << "first refusal";
    EXPECT_TRUE(notice.Refused("ttyUSB0"));
    EXPECT_FALSE(notice.NoteOpen("ttyUSB0", true)) << "told already";
    EXPECT_TRUE(notice.NoteOpen("ttyUSB1", true)) << "another port";
    EXPECT_FALSE(notice.NoteOpen("ttyUSB0", false));
    EXPECT_FALSE(notice.Refused("ttyUSB0")) << "it opened";
    EXPECT_FALSE(notice.NoteOpen("ttyUSB0", true)) << "still told once in this run";
    EXPECT_TRUE(notice.Refused("ttyUSB0"));
}

TEST(PortPermissionVirtualList, RealPortsAreCheckedTheVirtualOneNever) {
    testing::SimulatedClock clock;
    testing::FakeSerialPort real(clock);
    real.setPortNames({"ttyUSB0", "VIRTUAL"});
    real.setPermissionDenied("ttyUSB0", kAdvice);
    real.setPermissionDenied("VIRTUAL", kAdvice);
    virtualboard::BoardEngine board;
    virtualboard::VirtualSerialPortProvider virtualPorts(board, [&clock] { return double(clock.nowUs()); });
    virtualboard::VirtualPortList ports(real, virtualPorts);

    EXPECT_TRUE(ports.permission("ttyUSB0").denied);
    EXPECT_EQ(ports.permission("ttyUSB0").advice, kAdvice);
    EXPECT_FALSE(ports.permission("ttyS0").denied);
    EXPECT_FALSE(ports.permission("virtual").denied) << "the name means the board in any letter case";
    const platform::OpenPortResult opened = ports.open("ttyUSB0");
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_TRUE(opened.permissionDenied);
    EXPECT_EQ(opened.advice, kAdvice);
}

}  // namespace
}  // namespace spectrel
