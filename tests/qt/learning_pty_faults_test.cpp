// The learning procedures over the real serial port code, with the virtual board on a pseudo-terminal that goes
// away in the middle of a capture, as when the board's cable is pulled: the procedure ends with one clear
// message, the port is closed, the commands are usable again and nothing learned before is lost.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tests/qt/pty_board.h"

namespace spectrel {
namespace {

using platform::MessageButton;
using platform::MessageKind;
using test::PtyBoard;

// Message boxes answered from a script that also tell the test which box is shown.
class WatchedBoxes : public platform::MessageBoxes {
public:
    MessageButton show(MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                       const std::string& caption) override {
        if (onShow) onShow(text);
        return script.show(kind, text, buttons, caption);
    }
    testing::ScriptedMessageBoxes script;
    std::function<void(const std::string&)> onShow;
};

class Window : public TLearningWindow {
public:
    void UpdateCommandStates(bool idle) override { commandStates.push_back(idle); }
    std::vector<bool> commandStates;
};

TEST(LearningOnPseudoTerminal, ABoardThatGoesAwayDuringACaptureEndsTheLearningAndKeepsWhatWasLearned) {
    const QString program = QStringLiteral(SPECTREL_BOARD_PATH);
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << SPECTREL_BOARD_PATH << " is missing";
    // Keys 0x45 twice and 0x46 for the protocol, then 0x47 for the first button and 0x48 for the second.
    PtyBoard board(program, {"--nec", "0,0x45", "--nec", "0,0x45", "--nec", "0,0x46", "--nec", "0,0x47", "--nec",
                             "0,0x48", "--hold", "600"});
    ASSERT_FALSE(board.path().empty()) << board.errors().toStdString();

    platform::qt::QtSerialPortProvider ports;
    platform::qt::QtClock clock;
    platform::qt::QtMessagePump pump;
    WatchedBoxes boxes;
    TReaderLink link(ports, clock, pump, boxes);
    ASSERT_TRUE(link.SetReaderPortName(board.path()).ok);
    TAnalysisContext context(boxes, clock, pump);
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes explore{bus};
    TReplaceRule rules;
    for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
    Window window;
    TTextLines messages;
    TLearningProcedures procedures{{context, link, boxes, current, learned, standards, buttons, explore, rules},
                                   window};

    boxes.script.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Ok});
    procedures.LearnProtocol(nullptr, &messages, nullptr);
    ASSERT_TRUE(current.valid) << ::testing::PrintToString(boxes.script.texts());
    const Tprotocol_descriptor protocol = current;

    buttons.Add("One");
    buttons.Add("Two");
    buttons.Add("Three");
    boxes.script.clear();
    // The board goes away 400 ms into the capture of "Two" (the key is held for 600 ms from 100 ms on).
    boxes.onShow = [&](const std::string& text) {
        if (text == PressButtonText("Two")) QTimer::singleShot(400, [&] { board.kill(); });
    };
    // A user who accepts every box; there should be none to retry.
    boxes.script.setStrict(false);
    procedures.LearnAllButtons();

    const std::vector<std::string> texts = boxes.script.texts();
    ASSERT_EQ(texts.size(), 3u) << ::testing::PrintToString(texts);
    EXPECT_EQ(texts[0], PressButtonText("One"));
    EXPECT_EQ(texts[1], PressButtonText("Two"));
    EXPECT_EQ(texts[2].rfind("Lost the connection to the reader on " + board.path() + ": ", 0), 0u) << texts[2];
    EXPECT_EQ(boxes.script.shown()[2].kind, MessageKind::Error);
    EXPECT_FALSE(board.running());
    EXPECT_FALSE(link.ReaderPortOpen());
    EXPECT_EQ(window.commandStates.back(), true);
    EXPECT_TRUE(buttons.Items(0).HasCode());
    EXPECT_FALSE(buttons.Items(1).HasCode());
    EXPECT_FALSE(buttons.Items(2).HasCode());
    EXPECT_TRUE(current.valid);
    EXPECT_EQ(current.name, protocol.name);
    EXPECT_EQ(current.vocabulary_count, protocol.vocabulary_count);
    EXPECT_EQ(current.format, protocol.format);
}

}  // namespace
}  // namespace spectrel
