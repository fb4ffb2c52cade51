#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace {

using spectrel::platform::MessageButton;
using spectrel::platform::MessageKind;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;

TEST(ScriptedMessageBoxes, AnswersFromScriptThenAcceptsWhenNotStrict) {
    ScriptedMessageBoxes boxes;
    boxes.setStrict(false);
    boxes.script({MessageButton::Abort});
    EXPECT_EQ(boxes.show(MessageKind::Error, "first", MessageButton::Abort | MessageButton::Retry),
              MessageButton::Abort);
    EXPECT_EQ(boxes.show(MessageKind::Confirmation, "second", MessageButton::Yes | MessageButton::No),
              MessageButton::Yes);
    ASSERT_EQ(boxes.texts(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.unscriptedCount(), 1u);
}

// A box that the script cannot answer fails the running test at once, naming the box's text and the buttons
// it offers, and stops the caller (a retry loop would otherwise go on for ever).
TEST(ScriptedMessageBoxes, AnAnswerNotOfferedOrAnEmptyScriptFailsTheTest) {
    using spectrel::platform::MessageButtons;
    using spectrel::testing::ScriptFailure;
    struct Case {
        const char* name;
        std::vector<MessageButton> script;
        MessageButtons buttons;
        const char* failure;
    } cases[] = {
        {"Retry to an OK box", {MessageButton::Retry}, MessageButton::Ok,
         "The message box \"Data corrupted\" offers OK, but the script answers Retry"},
        {"Yes to Abort, Retry, Ignore", {MessageButton::Yes},
         MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore,
         "The message box \"Data corrupted\" offers Abort, Retry, Ignore, but the script answers Yes"},
        {"empty script", {}, MessageButton::Retry | MessageButton::Cancel,
         "The message box \"Data corrupted\" (Cancel, Retry) is shown after the script has run out of answers"},
    };
    for (const Case& c : cases) {
        ScriptedMessageBoxes boxes;
        for (MessageButton b : c.script) boxes.push(b);
        bool stopped = false;
        EXPECT_NONFATAL_FAILURE(
            {
                try {
                    boxes.show(MessageKind::Error, "Data corrupted", c.buttons);
                } catch (const ScriptFailure& failure) {
                    stopped = true;
                    EXPECT_EQ(failure.message, c.failure);
                }
            },
            c.failure);
        EXPECT_TRUE(stopped) << c.name;
        EXPECT_EQ(boxes.failures(), (std::vector<std::string>{c.failure})) << c.name;
        ASSERT_EQ(boxes.texts(), (std::vector<std::string>{"Data corrupted"})) << c.name;
    }
}

// A procedure that asks again on every Retry ends at the first box the script does not answer.
TEST(ScriptedMessageBoxes, ARetryLoopEndsWhenTheScriptRunsOut) {
    ScriptedMessageBoxes boxes;
    boxes.script({MessageButton::Retry, MessageButton::Retry});
    int asked = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            try {
                while (boxes.show(MessageKind::Error, "No signal", MessageButton::Retry | MessageButton::Abort) ==
                       MessageButton::Retry)
                    ++asked;
            } catch (const spectrel::testing::ScriptFailure&) {
            }
        },
        "run out of answers");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST(SimulatedClock, PumpAdvancesOneMillisecond) {
    SimulatedClock clock(100);
    clock.pumpOnce();
    clock.pumpOnce();
    EXPECT_EQ(clock.nowMs(), 102);
}

}  // namespace

#include "Code/SPX_Assert.h"

TEST(Assertion, NamesModuleAndLine) {
    try {
        spectrel::AssertionFailed("Port not open", "Code/SPX_ComPortUnit", 42);
        FAIL();
    } catch (const spectrel::EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "Port not open (Code/SPX_ComPortUnit, line 42)");
        EXPECT_EQ(e.line(), 42);
    }
}
