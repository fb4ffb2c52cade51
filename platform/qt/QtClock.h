#pragma once
// The wall clock and the message-loop pump of the Qt program.

#include <QElapsedTimer>
#include <memory>

#include "platform/Clock.h"

class QTimer;

namespace spectrel::platform::qt {

// Milliseconds of a monotonic clock (only differences matter to the reader link).
class QtClock : public Clock {
public:
    QtClock() { timer_.start(); }
    std::int64_t nowMs() override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

// Lets the event loop handle what is pending: repaints, clicks, the window being closed, data on a serial port.
// When nothing is pending it sleeps until the next event arrives or kIdleWaitMs have passed, so that the reader
// link's polling waits do not keep a core busy.
class QtMessagePump : public MessagePump {
public:
    static constexpr int kIdleWaitMs = 4;

    QtMessagePump();
    ~QtMessagePump() override;
    QtMessagePump(const QtMessagePump&) = delete;
    QtMessagePump& operator=(const QtMessagePump&) = delete;

    void pumpOnce() override;

private:
    std::unique_ptr<QTimer> wake_;
};

}  // namespace spectrel::platform::qt
