#include "Code/ComPortUtils.h"

#include <exception>

namespace spectrel {

void EnumerateComPorts(platform::SerialPortProvider& ports, std::vector<std::string>& list) {
    list.clear();
    try {
        list = ports.portNames();
    } catch (const std::exception&) {
        // Listing the ports is a convenience; a failing system leaves whatever was found.
    }
}

}  // namespace spectrel
