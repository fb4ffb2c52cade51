#pragma once
// The start-up options of the program's command line.

#include <string>
#include <vector>

namespace spectrel::shell {

// False when an argument (not the program name) is "/NOSPLASH" in any letter case, or "--no-splash".
bool SplashWanted(const std::vector<std::string>& arguments);

// The name of the single-instance marker.
inline constexpr const char* kRunningMarkerName = "SpectrelRunning";

}  // namespace spectrel::shell
