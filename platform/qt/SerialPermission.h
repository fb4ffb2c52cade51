#pragma once
// Whether this user may open a serial port, and what to tell a user who may not. On Linux a serial device such
// as /dev/ttyUSB0 belongs to a group (usually "dialout"); a user outside it gets "Permission denied" from open().

#include <string>

#include "platform/SerialPort.h"

namespace spectrel::platform::qt {

// What the system says about a device file this user may not open.
struct DeviceAccess {
    std::string device;               // "/dev/ttyUSB0"
    std::string group;                // the group that owns the device file; empty when unknown
    bool groupMayOpen = false;        // that group may read and write it (and it is not the administrators' group)
    bool memberNotInSession = false;  // the user is listed in that group, but this login session is not yet
    std::string user;                 // the user's login name; empty when unknown
};

// The advice for a user who may not open a port:
// "You may not open /dev/ttyUSB0. Add yourself to the group 'dialout' and log in again (for example: ...)."
std::string PermissionAdvice(const DeviceAccess& access);

// The device file of a port name as the port list shows it: "/dev/ttyUSB0" for "ttyUSB0"; a path stays as it is.
// Empty on a system whose ports are not device files.
std::string PortDevicePath(const std::string& name);

// Checks, without opening it, whether this user may read and write the port's device file. A port that is
// missing, or a system that cannot tell, counts as allowed (opening it then tells what is wrong).
PortPermission CheckPortPermission(const std::string& name);

}  // namespace spectrel::platform::qt
