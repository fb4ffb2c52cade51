// The bytes a reader board sends once it has acknowledged a capture, through the capture and the analysis on one
// reused context: a capture ends with a frame count or fails (with at most one box, "Data corrupted" or the
// erratic reply), its table stays within the capture's limits, and the analysis of what it kept never fails.
// The input's header is described in fuzz/CaptureStreamRig.h.

#include <cstdint>
#include <memory>

#include "fuzz/CaptureStreamRig.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto rig = std::make_unique<spectrel::fuzz::CaptureStreamRig>();
    const spectrel::fuzz::CaptureStreamOutcome outcome = rig->Run(data, size);
    if (!outcome.failure.empty()) spectrel::fuzz::PropertyFailed("capture stream", outcome.failure);
    return 0;
}
