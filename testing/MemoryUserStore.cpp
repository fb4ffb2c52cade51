#include "testing/MemoryUserStore.h"

#include <cctype>

namespace spectrel::testing {

std::string MemoryUserStore::fullName(const std::string& keyPath, const std::string& section, const std::string& name) {
    // Registry names ignore case, and "\" separates the levels.
    std::string full = keyPath + "\\" + section + "\\" + name;
    for (char& c : full) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return full;
}

std::optional<std::string> MemoryUserStore::readValue(const std::string& keyPath, const std::string& section,
                                                      const std::string& name) {
    auto it = values_.find(fullName(keyPath, section, name));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemoryUserStore::writeValue(const std::string& keyPath, const std::string& section, const std::string& name,
                                 const std::string& value) {
    values_[fullName(keyPath, section, name)] = value;
    ++writes_;
}

bool MemoryUserStore::flush() {
    ++flushes_;
    return !failFlush_;
}

bool MemoryUserStore::contains(const std::string& keyPath, const std::string& section, const std::string& name) const {
    return values_.count(fullName(keyPath, section, name)) != 0;
}

}  // namespace spectrel::testing
