// The "Save" command: its checks in order, the partial-save question, the save dialog and its folders, the
// rewrite question with the backups, the header, and failures that lose nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_SaveDevice.h"
#include "testing/ScriptedFileDialogs.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tests/file_faults.h"
#include "tests/files_test_support.h"
#include "tests/settings_temp_folder.h"
#include "tests/xml_wellformed.h"

namespace spectrel {
namespace {

namespace fs = std::filesystem;
using platform::MessageButton;
using platform::MessageKind;

TDeviceDetails CompleteDetails() {
    return {"Prinz", "RC 182", "DVD", "Prinz", "DVD 182", {"Bought 2004", "", "Remote has a worn Play key"}};
}

struct CheckCase {
    const char* name;
    std::function<void(TDeviceDetails&, std::string&, TbuttonCodes&)> change;
    std::optional<std::string> message;
};

TEST(SaveChecksTest, FirstFailingCheckGivesItsMessage) {
    const std::string details =
        "You must enter values for all device parameters:\r\n- Remote Brand\r\n- Remote Model\r\n- Device Type\r\n"
        "- Device Brand\r\n- Device Model";
    const CheckCase cases[] = {
        {"all complete", [](auto&, auto&, auto&) {}, std::nullopt},
        {"remote brand empty", [](auto& d, auto&, auto&) { d.remoteBrand.clear(); }, details},
        {"remote model empty", [](auto& d, auto&, auto&) { d.remoteModel.clear(); }, details},
        {"device type empty", [](auto& d, auto&, auto&) { d.deviceType.clear(); }, details},
        {"device brand empty", [](auto& d, auto&, auto&) { d.deviceBrand.clear(); }, details},
        {"device model empty", [](auto& d, auto&, auto&) { d.deviceModel.clear(); }, details},
        {"device model of blanks passes", [](auto& d, auto&, auto&) { d.deviceModel = "   "; }, std::nullopt},
        {"details come before the protocol",
         [](auto& d, auto& p, auto&) {
             d.deviceModel.clear();
             p.clear();
         },
         details},
        {"protocol name empty", [](auto&, auto& p, auto&) { p.clear(); }, "You must enter a name for the Protocol."},
        {"protocol named NO NAME", [](auto&, auto& p, auto&) { p = "NO NAME"; },
         "The protocol name cannot be \"NO NAME\", please change to something elese."},
        {"protocol named no name with blanks", [](auto&, auto& p, auto&) { p = "  no Name "; },
         "The protocol name cannot be \"NO NAME\", please change to something elese."},
        {"protocol named ~NO NAME passes", [](auto&, auto& p, auto&) { p = "~NO NAME"; }, std::nullopt},
        {"no buttons", [](auto&, auto&, auto& b) { b.Clear(); }, "You must have at least one button."},
        {"a button without name", [](auto&, auto&, auto& b) { b.Add("  "); },
         "All buttons must have a name assigned."},
        {"Power and POWER", [](auto&, auto&, auto& b) { b.Add("POWER"); },
         "All buttons must have a unique names. The button name \"POWER\" is repeated."},
        {"the first pair in sorted order is named",
         [](auto&, auto&, auto& b) {
             b.Add("mute");
             b.Add("Mute");
         },
         "All buttons must have a unique names. The button name \"MUTE\" is repeated."},
        {"unnamed comes before repeated",
         [](auto&, auto&, auto& b) {
             b.Add("POWER");
             b.Add("");
         },
         "All buttons must have a name assigned."},
        {"no button has a code", [](auto&, auto&, auto& b) { b.ClearAllCodes(); },
         "You must record the IR code for at least one button."},
        {"99 note lines pass",
         [](auto& d, auto&, auto&) { d.notes = std::vector<std::string>(99, "note"); }, std::nullopt},
        {"empty note lines do not count",
         [](auto& d, auto&, auto&) {
             d.notes = std::vector<std::string>(99, "note");
             d.notes.insert(d.notes.begin() + 50, 30, "");
         },
         std::nullopt},
        // The device file drops 100 or 101 note lines as a whole, so the save may not hand them over.
        {"100 note lines are refused naming the limit",
         [](auto& d, auto&, auto&) { d.notes = std::vector<std::string>(100, "note"); },
         "The notes hold 100 lines that are not empty; a device file holds at most 99 note lines.\r\n"
         "Please shorten the notes and save again."},
        {"1000 buttons are refused naming the limit",
         [](auto&, auto&, auto& b) {
             for (int i = 2; i < 1000; ++i) b.AddWithCodes("K" + std::to_string(i), "AaAb", "");
         },
         "The list holds 1000 buttons; a device file holds at most 999 buttons.\r\n"
         "Please delete some buttons and save again."},
    };
    for (const CheckCase& c : cases) {
        TDeviceDetails d = CompleteDetails();
        std::string protocol = "Prinz";
        TbuttonCodes buttons;
        buttons.AddWithCodes("Power", "AaAb", "");
        buttons.Add("Play");
        c.change(d, protocol, buttons);
        EXPECT_EQ(SaveCheckMessage(d, protocol, buttons), c.message) << c.name;
    }
}

TEST(SaveHeaderTest, FilledInOrderWithTheNonEmptyNoteLines) {
    const TIRheader header = DeviceHeader(CompleteDetails(), "Prinz");
    EXPECT_EQ(header.protocol_name, "Prinz");
    EXPECT_EQ(header.remote_brand, "Prinz");
    EXPECT_EQ(header.remote_model, "RC 182");
    EXPECT_EQ(header.device_type, "DVD");
    EXPECT_EQ(header.device_brand, "Prinz");
    EXPECT_EQ(header.device_model, "DVD 182");
    ASSERT_EQ(header.note_count, 2);
    EXPECT_EQ(header.notes[0], "Bought 2004");
    EXPECT_EQ(header.notes[1], "Remote has a worn Play key");

    TDeviceDetails noNotes = CompleteDetails();
    noNotes.notes = {"", ""};
    EXPECT_EQ(DeviceHeader(noNotes, "Prinz").note_count, 0);
}

TEST(SaveFileNameTest, XmlAppendedOnlyWithoutExtension) {
    struct Case {
        const char* typed;
        const char* written;
    };
    const Case cases[] = {
        {"/data/device", "/data/device.xml"},
        {"/data/device.txt", "/data/device.txt"},
        {"/data/device.xml", "/data/device.xml"},
        {"/data/dvd.d/device", "/data/dvd.d/device.xml"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithDeviceFileExtension(c.typed), c.written) << c.typed;
}

TEST(SaveFileNameTest, DefaultImportFolder) {
    EXPECT_EQ(DefaultImportFolder("/home/ana", false), "/home/ana/Halvren/Vanta/ImportDataIn");
    EXPECT_EQ(DefaultImportFolder("/home/ana/", false), "/home/ana/Halvren/Vanta/ImportDataIn");
    EXPECT_EQ(DefaultImportFolder("C:\\Users\\ana", true), "C:\\Halvren\\Vanta\\ImportDataIn");
}

class SaveCommandTest : public ::testing::Test {
protected:
    SaveCommandTest() {
        protocol = files_test::LearnedProtocol();
        buttons.AddWithCodes("Power", "AaAbAaAb", "AaAa");
        buttons.AddWithCodes("Play", "AbAbAaAb", "AaAa");
    }

    TSaveOutcome Save() {
        states.clear();
        return saver.BtnSaveIRFileClick(details, protocol, buttons, true, [this](bool idle) { states.push_back(idle); });
    }
    std::string Read(const std::string& name) const { return folder.Read(name); }

    test::TempFolder folder;
    testing::ScriptedMessageBoxes boxes;
    testing::ScriptedFileDialogs dialogs;
    TDeviceDetails details = CompleteDetails();
    Tprotocol_descriptor protocol;
    TbuttonCodes buttons;
    std::vector<bool> states;
    TDeviceFileSaver saver{{boxes, dialogs, folder.File("ImportDataIn"), [] { return "fixed time"; }}};
};

TEST_F(SaveCommandTest, AFailedCheckShowsItsErrorAndNothingElse) {
    details.deviceBrand.clear();
    EXPECT_EQ(Save(), TSaveOutcome::CheckFailed);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MessageButtons(MessageButton::Ok));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(saver.InitialFolder(), ".");
}

TEST_F(SaveCommandTest, WritesTheFileWithXmlAppendedAndTheHeader) {
    dialogs.choose(folder.File("device"));
    EXPECT_EQ(Save(), TSaveOutcome::Written);
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const platform::FileDialogRequest& request = dialogs.shown()[0].request;
    EXPECT_TRUE(dialogs.shown()[0].save);
    EXPECT_EQ(request.title, "Save IR Code");
    EXPECT_EQ(request.filter, "XML|*.xml|All|*.*");
    EXPECT_EQ(request.initialFolder, folder.File("ImportDataIn"));
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(saver.FileName(), folder.File("device.xml"));
    EXPECT_EQ(states, (std::vector<bool>{true}));

    const std::string text = Read("device.xml");
    EXPECT_EQ(testing::XmlWellFormedCheck::Check(text), "");
    EXPECT_NE(text.find("  <!-- Bought 2004 -->\r\n  <!-- Remote has a worn Play key -->\r\n  <Name>DVD</Name>"),
              std::string::npos);
    EXPECT_NE(text.find("<RemoteModel>RC 182</RemoteModel>"), std::string::npos);
    EXPECT_NE(text.find("<IRcode>AbAbAaAb</IRcode>"), std::string::npos);
    EXPECT_EQ(text.find("<!--  -->"), std::string::npos);
}

TEST_F(SaveCommandTest, ANameWithAnotherExtensionKeepsIt) {
    dialogs.choose(folder.File("device.txt"));
    EXPECT_EQ(Save(), TSaveOutcome::Written);
    EXPECT_TRUE(folder.Exists("device.txt"));
    EXPECT_FALSE(folder.Exists("device.txt.xml"));
}

TEST_F(SaveCommandTest, PartialSaveIsAskedAndNoEndsTheCommand) {
    buttons.Add("Mute");
    boxes.script({MessageButton::No});
    EXPECT_EQ(Save(), TSaveOutcome::NotConfirmed);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(boxes.shown()[0].text,
              "Not all buttons have an IR code recorded. Buttons without an \r\nIR code will not be saved.\r\n\r\n"
              "Do you want to continue to save?");
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(states.empty());

    boxes.clear();
    boxes.script({MessageButton::Yes});
    dialogs.choose(folder.File("partial.xml"));
    EXPECT_EQ(Save(), TSaveOutcome::Written);
    const std::string text = Read("partial.xml");
    EXPECT_EQ(text.find("Mute"), std::string::npos);
    EXPECT_NE(text.find("Play"), std::string::npos);
}

TEST_F(SaveCommandTest, NoCodeAtAllFailsTheCheckBeforeAnyQuestion) {
    buttons.ClearAllCodes();
    EXPECT_EQ(Save(), TSaveOutcome::CheckFailed);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"You must record the IR code for at least one button."}));
}

TEST_F(SaveCommandTest, CancelledDialogWritesNothingAndUpdatesTheCommands) {
    dialogs.cancel();
    EXPECT_EQ(Save(), TSaveOutcome::Cancelled);
    EXPECT_EQ(states, (std::vector<bool>{true}));
    EXPECT_TRUE(fs::is_empty(folder.Folder()));
}

TEST_F(SaveCommandTest, SavingTwiceKeepsTwoBackups) {
    dialogs.choose(folder.File("dvd.xml"));
    ASSERT_EQ(Save(), TSaveOutcome::Written);
    const std::string first = Read("dvd.xml");

    buttons.Items(0).SetCode("AaAaAaAa");
    dialogs.choose(folder.File("dvd.xml"));
    boxes.script({MessageButton::Yes});
    ASSERT_EQ(Save(), TSaveOutcome::Written);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[0].text, "File name \"" + folder.File("dvd.xml") + "\" already exists. Rewrite?");
    EXPECT_EQ(boxes.shown()[0].buttons, MessageButton::Yes | MessageButton::No);
    const std::string second = Read("dvd.xml");

    buttons.Items(0).SetCode("AbAbAbAb");
    dialogs.choose(folder.File("dvd.xml"));
    boxes.script({MessageButton::Yes});
    ASSERT_EQ(Save(), TSaveOutcome::Written);
    EXPECT_EQ(Read("dvd.~~xml"), first);
    EXPECT_EQ(Read("dvd.~xml"), second);
    EXPECT_NE(Read("dvd.xml").find("AbAbAbAb"), std::string::npos);
    // The writer did not ask a second time.
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(SaveCommandTest, NoToRewriteShowsTheDialogAgainAndCancelLeavesEverything) {
    folder.Write("dvd.xml", "current");
    folder.Write("dvd.~xml", "previous");
    folder.Write("dvd.~~xml", "older");
    dialogs.choose(folder.File("dvd"));
    dialogs.cancel();
    boxes.script({MessageButton::No});
    EXPECT_EQ(Save(), TSaveOutcome::Cancelled);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    // The second dialog offers the name chosen, with its extension.
    EXPECT_EQ(dialogs.shown()[1].request.fileName, folder.File("dvd.xml"));
    EXPECT_EQ(Read("dvd.xml"), "current");
    EXPECT_EQ(Read("dvd.~xml"), "previous");
    EXPECT_EQ(Read("dvd.~~xml"), "older");
    EXPECT_EQ(states, (std::vector<bool>{true}));
}

TEST_F(SaveCommandTest, NoToRewriteThenANewNameWritesTheNewOne) {
    folder.Write("dvd.xml", "current");
    dialogs.choose(folder.File("dvd.xml"));
    dialogs.choose(folder.File("dvd2.xml"));
    boxes.script({MessageButton::No});
    EXPECT_EQ(Save(), TSaveOutcome::Written);
    EXPECT_EQ(Read("dvd.xml"), "current");
    EXPECT_FALSE(folder.Exists("dvd.~xml"));
    EXPECT_TRUE(folder.Exists("dvd2.xml"));
}

TEST_F(SaveCommandTest, FirstDialogOpensInTheImportFolderTheNextWithTheLastFile) {
    fs::create_directories(folder.File("elsewhere"));
    dialogs.choose(folder.File("elsewhere/tv"));
    ASSERT_EQ(Save(), TSaveOutcome::Written);
    dialogs.cancel();
    Save();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].request.initialFolder, folder.File("ImportDataIn"));
    EXPECT_EQ(dialogs.shown()[1].request.fileName, folder.File("elsewhere/tv.xml"));
    EXPECT_EQ(saver.InitialFolder(), folder.File("ImportDataIn"));
}

TEST_F(SaveCommandTest, AReadOnlyFolderIsReportedAndNothingIsLost) {
    const std::string locked = folder.File("locked");
    fs::create_directories(locked);
    {
        std::ofstream(locked + "/dvd.xml") << "current";
        std::ofstream(locked + "/dvd.~xml") << "previous";
    }
    {
        test::ReadOnlyFolder readOnly(locked);
        if (readOnly.Writable()) GTEST_SKIP() << "the folder cannot be made read-only here";
        dialogs.choose(locked + "/dvd.xml");
        boxes.script({MessageButton::Yes});
        EXPECT_EQ(Save(), TSaveOutcome::WriteFailed);
        ASSERT_EQ(boxes.shown().size(), 2u);
        EXPECT_EQ(boxes.shown()[1].kind, MessageKind::Error);
        EXPECT_NE(boxes.shown()[1].text.find("dvd.xml"), std::string::npos);
        EXPECT_EQ(states, (std::vector<bool>{true}));
    }
    EXPECT_EQ(Read("locked/dvd.xml"), "current");
    EXPECT_EQ(Read("locked/dvd.~xml"), "previous");
    EXPECT_FALSE(folder.Exists("locked/dvd.~~xml"));
    EXPECT_EQ(buttons.Count(), 2);
    EXPECT_TRUE(buttons.Items(0).HasCode());
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace spectrel
