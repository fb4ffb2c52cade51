#include "platform/qt/SerialPermission.h"

#if defined(__unix__) || defined(__APPLE__)
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>
#define SPECTREL_DEVICE_FILES 1
#endif

namespace spectrel::platform::qt {

std::string PermissionAdvice(const DeviceAccess& access) {
    std::string text = "You may not open " + access.device + ".";
    if (access.group.empty() || !access.groupMayOpen) {
        return text +
               " No group of users may open it either: ask the administrator of this computer to give it to "
               "a group of yours.";
    }
    if (access.memberNotInSession) {
        return text + " You are in the group '" + access.group +
               "', but this login session started before you were added: log out and log in again.";
    }
    const std::string user = access.user.empty() ? std::string("$USER") : access.user;
    return text + " Add yourself to the group '" + access.group +
           "' and log in again (for example: sudo usermod -a -G " + access.group + " " + user + ").";
}

#ifdef SPECTREL_DEVICE_FILES

namespace {

std::string GroupName(gid_t gid, std::vector<std::string>* members) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    if (members)
        for (char** member = found->gr_mem; member && *member; ++member) members->emplace_back(*member);
    return found->gr_name ? std::string(found->gr_name) : std::string();
}

std::string UserName(uid_t uid, gid_t* primaryGroup) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    if (primaryGroup) *primaryGroup = found->pw_gid;
    return found->pw_name ? std::string(found->pw_name) : std::string();
}

bool SessionHasGroup(gid_t gid) {
    if (getegid() == gid) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid) return true;
    return false;
}

}  // namespace

std::string PortDevicePath(const std::string& name) {
    if (name.empty() || name.front() == '/') return name;
    return "/dev/" + name;
}

PortPermission CheckPortPermission(const std::string& name) {
    const std::string device = PortDevicePath(name);
    if (device.empty()) return {};
    if (::access(device.c_str(), R_OK | W_OK) == 0) return {};
    if (errno != EACCES && errno != EPERM) return {};

    DeviceAccess access;
    access.device = device;
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0) {
        std::vector<std::string> members;
        access.group = GroupName(info.st_gid, &members);
        access.groupMayOpen = info.st_gid != 0 && (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
        gid_t primary = 0;
        access.user = UserName(getuid(), &primary);
        const bool listed =
            primary == info.st_gid || std::find(members.begin(), members.end(), access.user) != members.end();
        access.memberNotInSession = listed && !access.user.empty() && !SessionHasGroup(info.st_gid);
    }
    return {true, PermissionAdvice(access)};
}

#else

std::string PortDevicePath(const std::string&) { return {}; }

// Windows refuses a COM port that another program holds with the same error as a missing permission; nothing
// here tells the two apart, so no port counts as refused.
PortPermission CheckPortPermission(const std::string&) { return {}; }

#endif

}  // namespace spectrel::platform::qt
