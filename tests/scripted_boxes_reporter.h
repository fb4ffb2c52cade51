#pragma once
// Makes a scripted message box that cannot be answered (an answer the box does not offer, or a box shown after
// the script ran out) a failure of the running test. One file of each test program installs it.

#include <gtest/gtest.h>

#include <string>

#include "testing/ScriptedMessageBoxes.h"

namespace spectrel::test {

inline void ReportScriptFailure(const std::string& message) { ADD_FAILURE() << message; }

inline bool InstallScriptFailureReporter() {
    testing::ScriptedMessageBoxes::setFailureReporter(&ReportScriptFailure);
    return true;
}

}  // namespace spectrel::test
