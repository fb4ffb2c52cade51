#include "Code/uKOR_IniObject.h"

#include <cctype>
#include <charconv>
#include <optional>

namespace spectrel {

namespace {

// A whole decimal integer, blanks around it allowed; nullopt for anything else.
std::optional<long long> ParseInteger(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    if (begin < end && text[begin] == '+') ++begin;
    if (begin == end) return std::nullopt;
    long long value = 0;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    return value;
}

}  // namespace

std::string ApplicationKeyPath(const std::string& companyName, const std::string& title) {
    if (companyName.empty()) return "Software\\" + title;
    return "Software\\" + companyName + "\\" + title;
}

std::string SpectrelKeyPath() { return ApplicationKeyPath(kCompanyName, kApplicationTitle); }

TIniObject::TIniObject(platform::UserStore& store, std::string keyPath) : store_(store), keyPath_(std::move(keyPath)) {}

TIniObject::~TIniObject() { Flush(); }

bool TIniObject::ReadBool(const std::string& section, const std::string& name, bool defaultValue) {
    const std::optional<std::string> text = store_.readValue(keyPath_, section, name);
    if (!text) return defaultValue;
    const std::optional<long long> value = ParseInteger(*text);
    if (!value) return defaultValue;
    return *value != 0;
}

bool TIniObject::HasValue(const std::string& section, const std::string& name) {
    return store_.readValue(keyPath_, section, name).has_value();
}

void TIniObject::WriteBool(const std::string& section, const std::string& name, bool value) {
    store_.writeValue(keyPath_, section, name, value ? "1" : "0");
}

void TIniObject::Flush() { flushOk_ = store_.flush(); }

}  // namespace spectrel
