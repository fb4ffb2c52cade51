#include "testing/SimulatedClock.h"

namespace spectrel::testing {

void SimulatedClock::advanceUs(std::int64_t us) {
    nowUs_ += us;
    if (onAdvance_) onAdvance_(nowUs_);
}

void SimulatedClock::pumpOnce() {
    ++pumps_;
    advanceUs(usPerPump_);
}

}  // namespace spectrel::testing
