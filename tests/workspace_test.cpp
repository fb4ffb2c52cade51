// The working model of the main window: what it reads from "SPX.ini" at start-up and writes back at close.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Code/SPX_IniFile.h"
#include "Code/SPX_Workspace.h"
#include "Code/uKOR_IniObject.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/settings_temp_folder.h"

namespace spectrel {
namespace {

class WorkspaceTest : public ::testing::Test {
protected:
    std::string Folder() const { return folder.Folder(); }
    void Write(const std::string& text) { std::ofstream(Folder() + "SPX.ini", std::ios::binary) << text; }
    TWorkspace& Make() {
        workspace = std::make_unique<TWorkspace>(
            TWorkspaceServices{ports, clock, clock, boxes, store, Folder(), Folder()});
        workspace->CreateOptions();
        return *workspace;
    }

    test::TempFolder folder;
    testing::SimulatedClock clock;
    testing::FakeSerialPort ports{clock};
    testing::ScriptedMessageBoxes boxes;
    testing::MemoryUserStore store;
    std::unique_ptr<TWorkspace> workspace;
};

TEST_F(WorkspaceTest, ReadsTheRememberedPortAndTheDelay) {
    struct Case {
        const char* name;
        const char* file;
        bool remembered;
        const char* port;
        int delay;
    };
    const Case cases[] = {
        {"NoFile", nullptr, false, "COM2", 50},
        {"PortAndDelay", "[Setup]\nSerial=COM7\nDelay=60\n", true, "COM7", 60},
        {"EmptyPort", "[Setup]\nSerial=\nDelay=39\n", false, "", 45},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(Folder() + "SPX.ini");
        if (c.file != nullptr) Write(c.file);
        TWorkspace& w = Make();
        EXPECT_TRUE(w.ReadSettings().ok) << c.name;
        EXPECT_EQ(w.PortRemembered(), c.remembered) << c.name;
        EXPECT_EQ(w.settings.setup.serialPort, c.port) << c.name;
        EXPECT_EQ(w.context.readerDelay, c.delay) << c.name;
        EXPECT_EQ(w.context.dumps, nullptr) << c.name;
    }
}

TEST_F(WorkspaceTest, CloseWritesThePortOnlyWhileConnected) {
    for (bool connected : {false, true}) {
        std::filesystem::remove(Folder() + "SPX.ini");
        TWorkspace& w = Make();
        ASSERT_TRUE(w.ReadSettings().ok);
        w.reader.SetReaderPortName("COM7");
        EXPECT_TRUE(w.WriteSettingsAtClose(connected).ok);
        EXPECT_FALSE(w.HasOptions());
        EXPECT_TRUE(store.contains(SpectrelKeyPath(), "AdvancedOptions", "AttachProtocol"));
        TIniFile file(Folder() + "SPX.ini");
        EXPECT_EQ(file.ReadString("Setup", "Serial", "none"), connected ? "COM7" : "none");
        EXPECT_EQ(file.ReadInteger("Setup", "Delay", 0), 50);
        EXPECT_EQ(file.ReadSection("Button Templates Section").size(), 10u);
    }
}

}  // namespace
}  // namespace spectrel
