#pragma once
// Wall clock with millisecond resolution (reader time-outs) and the message-loop pump that keeps the window alive
// while the reader link waits. Tests replace both with a simulated clock that advances as it is pumped.

#include <cstdint>

namespace spectrel::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
};

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Lets the window message queue run once. When nothing is pending the program's pump sleeps until the next
    // event or for a few milliseconds at most, so that a polling wait does not spin; the waits of the reader link
    // measure their time on the clock and never count pumps.
    virtual void pumpOnce() = 0;
};

}  // namespace spectrel::platform
