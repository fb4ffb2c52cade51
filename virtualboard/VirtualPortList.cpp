#include "virtualboard/VirtualPortList.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace spectrel::virtualboard {

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

}  // namespace

VirtualPortList::VirtualPortList(platform::SerialPortProvider& realPorts, VirtualSerialPortProvider& virtualPorts)
    : realPorts_(realPorts), virtualPorts_(virtualPorts) {}

platform::OpenPortResult VirtualPortList::open(const std::string& name) {
    if (SameNameIgnoringCase(name, virtualPorts_.portName())) return virtualPorts_.open(name);
    return realPorts_.open(name);
}

platform::PortPermission VirtualPortList::permission(const std::string& name) {
    if (SameNameIgnoringCase(name, virtualPorts_.portName())) return {};
    try {
        return realPorts_.permission(name);
    } catch (const std::exception&) {
        // A check that fails says nothing; opening the port will tell.
        return {};
    }
}

std::vector<std::string> VirtualPortList::portNames() {
    std::vector<std::string> names;
    try {
        names = realPorts_.portNames();
    } catch (const std::exception&) {
        // The real ports could not be listed; the virtual board is there all the same.
        names.clear();
    }
    std::erase_if(names, [this](const std::string& n) { return SameNameIgnoringCase(n, virtualPorts_.portName()); });
    names.push_back(virtualPorts_.portName());
    return names;
}

}  // namespace spectrel::virtualboard
