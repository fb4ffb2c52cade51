#pragma once
// The wall clock and the message-loop pump of the Qt program.

#include <QElapsedTimer>

#include "platform/Clock.h"

namespace spectrel::platform::qt {

// Milliseconds of a monotonic clock (only differences matter to the reader link).
class QtClock : public Clock {
public:
    QtClock() { timer_.start(); }
    std::int64_t nowMs() override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

// Lets the event loop handle what is pending: repaints, clicks, the window being closed.
class QtMessagePump : public MessagePump {
public:
    void pumpOnce() override;
};

}  // namespace spectrel::platform::qt
