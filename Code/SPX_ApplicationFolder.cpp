#include "Code/SPX_ApplicationFolder.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace spectrel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettingsFile = "SPX.ini";
constexpr const char* kBrandListExtension = ".brd";
constexpr const char* kDataFolders[] = {"Button Templates", "ButtonImages"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string WithSeparator(const fs::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != static_cast<char>(fs::path::preferred_separator)) text += fs::path::preferred_separator;
    return text;
}

bool FolderIsEmptyOrMissing(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(folder, error)) return true;
    return fs::is_directory(folder, error) && fs::is_empty(folder, error);
}

}  // namespace

bool FolderIsWritable(const std::string& folder) {
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return false;
    // A name no other start uses at the same moment.
    static std::atomic<unsigned> counter{0};
    const fs::path probe = fs::path(folder) / (".spectrel-write-test-" + std::to_string(counter++));
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << "x";
        out.close();
        if (!out) {
            fs::remove(probe, error);
            return false;
        }
    }
    fs::remove(probe, error);
    return true;
}

std::vector<std::string> ApplicationDataFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    const fs::path root(folder);
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        const std::string name = it->path().filename().string();
        if (name == kSettingsFile || Lower(it->path().extension().string()) == kBrandListExtension)
            files.push_back(name);
    }
    for (const char* sub : kDataFolders) {
        const fs::path subFolder = root / sub;
        if (!fs::is_directory(subFolder, error)) continue;
        for (fs::recursive_directory_iterator it(subFolder, error), end; !error && it != end; it.increment(error))
            if (it->is_regular_file(error)) files.push_back(fs::relative(it->path(), root, error).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> SeedFolder(const std::string& from, const std::string& to, std::vector<std::string>* errors) {
    std::vector<std::string> copied;
    for (const std::string& file : ApplicationDataFiles(from)) {
        const fs::path target = fs::path(to) / file;
        std::error_code error;
        // A file the user has stays as it is.
        if (fs::exists(target, error)) continue;
        fs::create_directories(target.parent_path(), error);
        if (!error) fs::copy_file(fs::path(from) / file, target, fs::copy_options::skip_existing, error);
        if (error) {
            if (errors) errors->push_back(file + ": " + error.message());
            continue;
        }
        copied.push_back(file);
    }
    return copied;
}

namespace {

// The per-user folder, created when missing and seeded from `seedFrom` on its first use.
TApplicationFolder PerUserFolder(const std::string& seedFrom, const std::string& perUserFolder) {
    TApplicationFolder chosen;
    chosen.perUser = true;
    chosen.folder = WithSeparator(fs::path(perUserFolder));
    const bool firstUse = FolderIsEmptyOrMissing(perUserFolder);
    std::error_code error;
    fs::create_directories(perUserFolder, error);
    if (error) {
        chosen.errors.push_back(perUserFolder + ": " + error.message());
        return chosen;
    }
    if (firstUse) chosen.seeded = SeedFolder(seedFrom, perUserFolder, &chosen.errors);
    return chosen;
}

bool HoldsSettingsFile(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / kSettingsFile, error);
}

}  // namespace

TApplicationFolder ChooseApplicationFolder(const std::string& executableFolder, const std::string& perUserFolder,
                                           const std::function<bool(const std::string&)>& isWritable) {
    if (isWritable(executableFolder) || perUserFolder.empty()) {
        TApplicationFolder chosen;
        chosen.folder = WithSeparator(fs::path(executableFolder));
        return chosen;
    }
    return PerUserFolder(executableFolder, perUserFolder);
}

std::string InstalledDataFolder(const std::string& executableFolder, const std::string& relativeDataFolder) {
    if (executableFolder.empty() || relativeDataFolder.empty() || HoldsSettingsFile(executableFolder)) return {};
    const fs::path data = (fs::path(executableFolder) / relativeDataFolder).lexically_normal();
    if (!HoldsSettingsFile(data)) return {};
    return WithSeparator(data);
}

TApplicationFolder ChooseProgramFolder(const std::string& executableFolder, const std::string& perUserFolder,
                                       const std::string& relativeDataFolder,
                                       const std::function<bool(const std::string&)>& isWritable) {
    const std::string installed = InstalledDataFolder(executableFolder, relativeDataFolder);
    if (installed.empty()) return ChooseApplicationFolder(executableFolder, perUserFolder, isWritable);
    if (perUserFolder.empty()) {
        TApplicationFolder chosen;
        chosen.folder = installed;
        return chosen;
    }
    return PerUserFolder(installed, perUserFolder);
}

}  // namespace spectrel
