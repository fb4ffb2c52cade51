// Scripted message boxes fail the running core test when they cannot be answered.
#include "tests/scripted_boxes_reporter.h"

namespace {
[[maybe_unused]] const bool kReporterInstalled = spectrel::test::InstallScriptFailureReporter();
}  // namespace
