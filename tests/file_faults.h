#pragma once
// Write failures made real for the file tests: a folder nobody may write into, not even the superuser the tests
// may run as, and a file size limit at which a write fails part way.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

namespace spectrel::test {

// A folder nobody may write into, not even the superuser (who gets the immutable flag as well).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& path) : path_(path) {
        namespace fs = std::filesystem;
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
        if (!Writable()) return;
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                immutable_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
            }
            ::close(fd);
        }
    }
    ~ReadOnlyFolder() {
        namespace fs = std::filesystem;
        if (immutable_) {
            const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0) ::close(fd);
        }
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::replace);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Writable() const {
        const std::string probe = path_ + "/.probe";
        const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0600);
        if (fd < 0) return false;
        ::close(fd);
        ::unlink(probe.c_str());
        return true;
    }

private:
    std::string path_;
    bool immutable_ = false;
};

// Lowers the process's file size limit for the life of the object, so that a write beyond it fails for real.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

}  // namespace spectrel::test
