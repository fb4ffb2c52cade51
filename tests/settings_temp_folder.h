#pragma once
// A fresh folder under the system's temporary folder for one test, removed again afterwards.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace spectrel::test {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("spectrel_settings_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // The folder with a trailing separator, as the application folder is given.
    std::string Folder() const { return path_.string() + "/"; }

    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream out(File(name), std::ios::binary);
        out << text;
        return File(name);
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }

private:
    std::filesystem::path path_;
};

}  // namespace spectrel::test
