#include <gtest/gtest.h>

#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace {

using spectrel::platform::MessageButton;
using spectrel::platform::MessageKind;
using spectrel::testing::ScriptedMessageBoxes;
using spectrel::testing::SimulatedClock;

TEST(ScriptedMessageBoxes, AnswersFromScriptThenAccepts) {
    ScriptedMessageBoxes boxes;
    boxes.script({MessageButton::Abort});
    EXPECT_EQ(boxes.show(MessageKind::Error, "first", MessageButton::Abort | MessageButton::Retry),
              MessageButton::Abort);
    EXPECT_EQ(boxes.show(MessageKind::Confirmation, "second", MessageButton::Yes | MessageButton::No),
              MessageButton::Yes);
    ASSERT_EQ(boxes.texts(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
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
