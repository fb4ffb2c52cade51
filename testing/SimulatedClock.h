#pragma once
// A simulated wall clock that advances only when told to or when the message loop is pumped,
// so that waits of the reader link take no real time in tests.

#include <cstdint>
#include <functional>

#include "platform/Clock.h"

namespace spectrel::testing {

class SimulatedClock : public platform::Clock, public platform::MessagePump {
public:
    explicit SimulatedClock(std::int64_t startMs = 1'000'000, std::int64_t msPerPump = 1)
        : nowUs_(startMs * 1000), usPerPump_(msPerPump * 1000) {}

    std::int64_t nowMs() override { return nowUs_ / 1000; }
    std::int64_t nowUs() const { return nowUs_; }
    void advanceMs(std::int64_t ms) { advanceUs(ms * 1000); }
    void advanceUs(std::int64_t us);

    // Each pump advances the clock by a fixed step (1 ms unless set otherwise).
    void pumpOnce() override;
    void setPumpStepUs(std::int64_t us) { usPerPump_ = us; }
    std::int64_t pumpCount() const { return pumps_; }

    // Called after every advance with the new time (the in-process board uses it to make bytes due).
    void setOnAdvance(std::function<void(std::int64_t nowUs)> f) { onAdvance_ = std::move(f); }

private:
    std::int64_t nowUs_;
    std::int64_t usPerPump_;
    std::int64_t pumps_ = 0;
    std::function<void(std::int64_t)> onAdvance_;
};

}  // namespace spectrel::testing
