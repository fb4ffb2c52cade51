// Whether this user may open a serial device, and the advice for one who may not: the device's group, a login
// session older than the membership, or a device no group may open.

#include "platform/qt/SerialPermission.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <string>

namespace {

using spectrel::platform::PortPermission;
using spectrel::platform::qt::CheckPortPermission;
using spectrel::platform::qt::DeviceAccess;
using spectrel::platform::qt::PermissionAdvice;
using spectrel::platform::qt::PortDevicePath;

struct AdviceCase {
    const char* name;
    DeviceAccess access;
    std::string advice;
};

TEST(SerialPermission, AdviceForEachCause) {
    const AdviceCase cases[] = {
        {"OutsideTheGroup",
         {"/dev/ttyUSB0", "dialout", true, false, "alice"},
         "You may not open /dev/ttyUSB0. Add yourself to the group 'dialout' and log in again (for example: sudo "
         "usermod -a -G dialout alice)."},
        {"UserUnknown",
         {"/dev/ttyACM0", "uucp", true, false, ""},
         "You may not open /dev/ttyACM0. Add yourself to the group 'uucp' and log in again (for example: sudo "
         "usermod -a -G uucp $USER)."},
        {"AddedButNotLoggedInAgain",
         {"/dev/ttyUSB0", "dialout", true, true, "alice"},
         "You may not open /dev/ttyUSB0. You are in the group 'dialout', but this login session started before "
         "you were added: log out and log in again."},
        {"NoGroupMayOpenIt",
         {"/dev/ttyS0", "root", false, false, "alice"},
         "You may not open /dev/ttyS0. No group of users may open it either: ask the administrator of this "
         "computer to give it to a group of yours."},
        {"GroupUnknown",
         {"/dev/ttyS1", "", false, false, "alice"},
         "You may not open /dev/ttyS1. No group of users may open it either: ask the administrator of this "
         "computer to give it to a group of yours."},
    };
    for (const AdviceCase& c : cases) EXPECT_EQ(PermissionAdvice(c.access), c.advice) << c.name;
}

TEST(SerialPermission, PortNamesAreDeviceFilesUnderDev) {
    EXPECT_EQ(PortDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath("/dev/pts/3"), "/dev/pts/3");
}

// Checks `device` as the user "nobody" in a child process; the advice comes back through a pipe.
PortPermission CheckAsNobody(const std::string& device) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const gid_t nogroup = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(65534) != 0) ::_exit(3);
        const PortPermission result = CheckPortPermission(device);
        const std::string reply = (result.denied ? "1" : "0") + result.advice;
        (void)!::write(pipeEnds[1], reply.data(), reply.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string reply;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) reply.append(buffer, std::size_t(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (reply.empty()) return {};
    return {reply[0] == '1', reply.substr(1)};
}

TEST(SerialPermission, AUserOutsideTheDevicesGroupIsRefusedWithTheGroupNamed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand a file to a group and to drop to another user";
    const group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr) GTEST_SKIP() << "no group dialout here";
    QTemporaryDir folder;
    ASSERT_EQ(::chmod(folder.path().toLocal8Bit().constData(), 0755), 0);
    const std::string device = folder.filePath("ttyUSB0").toStdString();
    const std::string privateDevice = folder.filePath("ttyS0").toStdString();
    for (const std::string& file : {device, privateDevice}) {
        const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    ASSERT_EQ(::chown(device.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(device.c_str(), 0660), 0);

    EXPECT_FALSE(CheckPortPermission(device).denied) << "root may open it";
    const PortPermission refused = CheckAsNobody(device);
    EXPECT_TRUE(refused.denied);
    EXPECT_EQ(refused.advice, "You may not open " + device +
                                  ". Add yourself to the group 'dialout' and log in again (for example: sudo usermod "
                                  "-a -G dialout nobody).");
    const PortPermission ownerOnly = CheckAsNobody(privateDevice);
    EXPECT_TRUE(ownerOnly.denied);
    EXPECT_NE(ownerOnly.advice.find("No group of users may open it either"), std::string::npos) << ownerOnly.advice;
    EXPECT_FALSE(CheckAsNobody(folder.filePath("missing").toStdString()).denied) << "opening it will tell";
}

}  // namespace
