// The program's message pump sleeps when nothing is pending, yet the reader link's waits, timed on the real
// clock, last as long as before, and the events that arrive meanwhile are still handled.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_processing.h"
#include "platform/qt/QtClock.h"
#include "testing/ScriptedMessageBoxes.h"
#include "virtualboard/qt/VirtualReader.h"

namespace {

using spectrel::TReaderLink;

// No real ports: the virtual board is the only one, and it hears no key.
class NoPorts : public spectrel::platform::SerialPortProvider {
public:
    spectrel::platform::OpenPortResult open(const std::string&) override { return {nullptr, "no such port"}; }
    std::vector<std::string> portNames() override { return {}; }
};

struct WaitCase {
    const char* name;
    std::int64_t atLeastMs;
    std::function<void(TReaderLink&, spectrel::TAnalysisContext&)> wait;
};

TEST(QtMessagePump, WaitsOnTheRealClockLastTheirTime) {
    const WaitCase cases[] = {
        {"the brief wait between commands", 50,
         [](TReaderLink& link, spectrel::TAnalysisContext&) { link.WaitBriefly(); }},
        {"a reply byte that never comes", 170,
         [](TReaderLink& link, spectrel::TAnalysisContext&) {
             std::uint8_t byte = 0;
             EXPECT_FALSE(link.ReadReaderByte(byte));
         }},
        {"a capture of a silent board", 7500,
         [](TReaderLink& link, spectrel::TAnalysisContext& context) {
             EXPECT_EQ(spectrel::Capture(context, link, 0, 0, nullptr, nullptr), 0);
         }},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.name);
        NoPorts real;
        spectrel::platform::qt::QtClock clock;
        spectrel::platform::qt::QtMessagePump pump;
        spectrel::testing::ScriptedMessageBoxes boxes;
        spectrel::virtualboard::TVirtualReader reader(real, clock);
        spectrel::TAnalysisContext context(boxes, clock, pump);
        TReaderLink link(reader.Ports(), clock, pump, boxes);
        link.SetReaderPortName("VIRTUAL");
        ASSERT_TRUE(link.OpenReaderPort().ok);

        // Work that arrives during the wait is done during the wait.
        bool timerFired = false;
        QTimer::singleShot(20, [&] { timerFired = true; });
        QElapsedTimer elapsed;
        elapsed.start();
        c.wait(link, context);
        const std::int64_t tookMs = elapsed.elapsed();
        link.CloseReaderPort();

        // The program's clock counts whole milliseconds, so its N ms may be up to 1 ms shorter in fact.
        EXPECT_GE(tookMs, c.atLeastMs - 1);
        EXPECT_TRUE(timerFired);
        EXPECT_TRUE(boxes.shown().empty());
    }
}

TEST(QtMessagePump, HandlesWhatIsPending) {
    spectrel::platform::qt::QtMessagePump pump;
    QObject receiver;
    int calls = 0;
    QMetaObject::invokeMethod(
        &receiver, [&] { ++calls; }, Qt::QueuedConnection);
    pump.pumpOnce();
    EXPECT_EQ(calls, 1);
}

}  // namespace
