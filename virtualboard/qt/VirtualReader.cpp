#include "virtualboard/qt/VirtualReader.h"

namespace spectrel::virtualboard {

TVirtualReader::TVirtualReader(platform::SerialPortProvider& realPorts, platform::Clock& clock)
    : virtualPorts_(board_, clock),
      ports_(realPorts, virtualPorts_),
      remote_(board_, [&clock] { return static_cast<double>(clock.nowMs()) * 1000.0; }) {}

}  // namespace spectrel::virtualboard
