#pragma once
// The list of serial ports present on the machine, by names that the reader link can open.

#include <string>
#include <vector>

#include "platform/SerialPort.h"

namespace spectrel {

// Replaces the contents of `list` with the ports the system reports, in its order (neither sorted nor
// de-duplicated). Never fails: a system that reports nothing leaves the list empty.
void EnumerateComPorts(platform::SerialPortProvider& ports, std::vector<std::string>& list);

}  // namespace spectrel
