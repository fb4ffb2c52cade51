// The settings file as a user or another version may leave it: every section and key reads, and writing one
// key changes no other key's value; the written key reads back.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "Code/SPX_IniFile.h"
#include "fuzz/FuzzInput.h"

using namespace spectrel;
namespace fs = std::filesystem;

namespace {

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("spectrel-fuzz-ini-" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

// No stored value holds a line break, so a read that gives one found no key (a value may be any other text,
// control characters included).
const std::string kAbsent = "\n";
const std::string kAbsentElsewhere = "\r";

struct Entry {
    std::string section, key, value;
};

std::vector<Entry> Everything(const TIniFile& ini, const std::string& skipSection, const std::string& skipKey) {
    std::vector<Entry> seen;
    auto same = [](std::string a, std::string b) {
        for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (char& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return a == b;
    };
    for (const std::string& section : ini.ReadSections()) {
        for (const std::string& key : ini.ReadSection(section)) {
            if (same(section, skipSection) && same(key, skipKey)) continue;
            seen.push_back({section, key, ini.ReadString(section, key, kAbsent)});
        }
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The file, then the section, key and value to write.
    std::vector<std::string> parts = fuzz::Parts(data, size);
    parts.resize(std::max<std::size_t>(parts.size(), 4));
    const std::string path = (Folder() / "SPX.ini").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << parts[0];
    TIniFile ini(path);
    const std::string section = parts[1].empty() ? "Setup" : parts[1];
    const std::string key = parts[2].empty() ? "x" : parts[2];
    const std::vector<Entry> before = Everything(ini, section, key);
    const TIniResult written = ini.WriteString(section, key, parts[3]);
    if (!written) return 0;  // a name or value that cannot be stored is refused
    // Each key read before reads the same (the key list itself may lose a key to its 16384 characters).
    for (const Entry& e : before) {
        fuzz::Check(ini.ReadString(e.section, e.key, kAbsent) == e.value,
                    "writing one key leaves every other key as it read", e.section + "/" + e.key);
    }
    // The value reads back as a read gives it: trimmed, one pair of quotes removed.
    const std::string back = ini.ReadString(section, key, kAbsent);
    TIniFile again(path);
    fuzz::Check(again.ReadString(section, key, kAbsentElsewhere) == back, "two objects on one path agree");
    fuzz::Check(back != kAbsent && ini.ValueExists(section, key), "the written key is there", section + "/" + key);
    return 0;
}
