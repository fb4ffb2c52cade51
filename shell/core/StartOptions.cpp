#include "shell/core/StartOptions.h"

#include <algorithm>
#include <cctype>

namespace spectrel::shell {

bool SplashWanted(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string upper = arguments[i];
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper == "/NOSPLASH" || arguments[i] == "--no-splash") return false;
    }
    return true;
}

}  // namespace spectrel::shell
