#include "Code/SPX_IniFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace spectrel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultLineEnd = "\r\n";  // as the profile files of the original platform
constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool HasLineBreak(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos; }

// A value as a read returns it: trimmed, one pair of surrounding double quotes removed, whatever its length.
std::string ReadValue(std::string_view raw) {
    std::string_view v = Trim(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool ParseIniInteger(std::string_view text, int& value) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 1 && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty() || s.front() == '-' || s.front() == '+') return false;
    long long magnitude = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    if (base == 16) {
        // Hexadecimal values take all 32 bits, so "$FFFFFFFF" is -1.
        if (magnitude > 0xFFFFFFFFLL) return false;
        const auto bits = static_cast<std::uint32_t>(magnitude);
        const auto v = static_cast<std::int32_t>(bits);
        value = negative ? static_cast<int>(-static_cast<long long>(v)) : static_cast<int>(v);
        return true;
    }
    const long long v = negative ? -magnitude : magnitude;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

// The file as lines; every line keeps its text so that comments and unknown lines are written back as read.
struct TIniFile::Document {
    enum class Kind { Other, Section, Entry };
    struct Line {
        std::string text;
        Kind kind = Kind::Other;
        std::string name;  // section name or key, trimmed
    };
    std::vector<Line> lines;
    std::string lineEnd = kDefaultLineEnd;
    bool bom = false;
    std::string original;  // the bytes as read, to skip rewriting an unchanged file

    static Line Classify(std::string text) {
        Line line;
        const std::string_view t = Trim(text);
        if (!t.empty() && t.front() == '[') {
            std::string_view name = t.substr(1);
            const std::size_t close = name.find(']');
            if (close != name.npos) name = name.substr(0, close);
            line.kind = Kind::Section;
            line.name = std::string(Trim(name));
        } else if (!t.empty() && t.front() != ';') {
            const std::size_t equals = t.find('=');
            if (equals != t.npos) {
                const std::string_view key = Trim(t.substr(0, equals));
                if (!key.empty()) {
                    line.kind = Kind::Entry;
                    line.name = std::string(key);
                }
            }
        }
        line.text = std::move(text);
        return line;
    }

    void Parse(std::string bytes) {
        original = bytes;
        std::string_view s = bytes;
        if (s.substr(0, 3) == kUtf8Bom) {
            bom = true;
            s.remove_prefix(3);
        }
        // Lines end with CR LF, LF or CR alone, in any mix; a rewrite ends every line as the first one ends.
        bool first = true;
        while (!s.empty()) {
            const std::size_t br = s.find_first_of("\r\n");
            lines.push_back(Classify(std::string(s.substr(0, br))));
            if (br == s.npos) break;
            const std::size_t breakLength = s[br] == '\r' && br + 1 < s.size() && s[br + 1] == '\n' ? 2 : 1;
            if (first) lineEnd = std::string(s.substr(br, breakLength));
            first = false;
            s.remove_prefix(br + breakLength);
        }
    }

    std::string Serialize() const {
        std::string out;
        if (bom) out += kUtf8Bom;
        for (const Line& line : lines) {
            out += line.text;
            out += lineEnd;
        }
        return out;
    }

    // End of the section whose header is at `header`: the index of the next header or the line count.
    std::size_t SectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines.size() && lines[i].kind != Kind::Section) ++i;
        return i;
    }

    // Headers of every section of that name, in file order.
    std::vector<std::size_t> Sections(std::string_view section) const {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].kind == Kind::Section && SameName(lines[i].name, section)) found.push_back(i);
        }
        return found;
    }

    // Entry lines of the section, in file order.
    std::vector<std::size_t> Entries(std::string_view section) const {
        std::vector<std::size_t> found;
        for (std::size_t header : Sections(section)) {
            const std::size_t end = SectionEnd(header);
            for (std::size_t i = header + 1; i < end; ++i) {
                if (lines[i].kind == Kind::Entry) found.push_back(i);
            }
        }
        return found;
    }

    // The first line of the key in the section, or npos.
    std::size_t Find(std::string_view section, std::string_view key) const {
        for (std::size_t i : Entries(section)) {
            if (SameName(lines[i].name, key)) return i;
        }
        return std::string::npos;
    }

    std::string_view RawValue(std::size_t i) const {
        const std::string& text = lines[i].text;
        return std::string_view(text).substr(text.find('=') + 1);
    }
};

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {}

TIniResult TIniFile::fail(std::string message) const {
    TIniResult result{false, std::move(message)};
    if (firstError_.ok) firstError_ = result;
    return result;
}

TIniResult TIniFile::load(Document& document) const {
    std::error_code ec;
    const fs::file_status status = fs::status(path_, ec);
    if (!fs::exists(status)) return {};  // a missing file reads as empty; the first write creates it
    if (fs::is_directory(status)) return fail("The settings file \"" + path_ + "\" is a folder.");
    std::ifstream in(path_, std::ios::binary);
    if (!in) return fail("The settings file \"" + path_ + "\" cannot be read: " + std::strerror(errno) + ".");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return fail("The settings file \"" + path_ + "\" cannot be read.");
    document.Parse(std::move(bytes).str());
    return {};
}

TIniResult TIniFile::store(const Document& document) {
    const std::string content = document.Serialize();
    if (content == document.original) return {};  // nothing changed

    const std::string temporary = TemporaryFileName();
    const std::string what = "The settings file \"" + path_ + "\" could not be written";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return fail(what + ": cannot create \"" + temporary + "\" (" + std::strerror(errno) + ").");
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return fail(what + ": writing \"" + temporary + "\" failed.");
        }
    }
    std::error_code ec;
    // The rewritten file keeps the permissions of the one it replaces.
    if (const fs::file_status old = fs::status(path_, ec); !ec && fs::exists(old))
        fs::permissions(temporary, old.permissions(), ec);
    ec.clear();
    fs::rename(temporary, path_, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return fail(what + ": " + ec.message() + ".");
    }
    return {};
}

TIniResult TIniFile::CheckReadable() const {
    Document document;
    return load(document);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    Document document;
    if (!load(document)) return defaultValue;
    const std::size_t i = document.Find(Trim(section), Trim(key));
    if (i == std::string::npos) return defaultValue;
    return ReadValue(document.RawValue(i));
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    const std::string text = ReadString(section, key, "");
    int value = 0;
    return ParseIniInteger(text, value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

namespace {

// Entries whose names fit the room of a section's key list (each name with a terminator, plus a final one).
std::size_t EntriesInRoom(const std::vector<std::string_view>& names) {
    std::size_t used = 1;
    std::size_t n = 0;
    for (std::string_view name : names) {
        if (used + name.size() + 1 > TIniFile::kSectionListRoom) break;
        used += name.size() + 1;
        ++n;
    }
    return n;
}

}  // namespace

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    Document document;
    if (!load(document)) return {};
    const std::vector<std::size_t> entries = document.Entries(Trim(section));
    std::vector<std::string_view> names;
    for (std::size_t i : entries) names.push_back(document.lines[i].name);
    names.resize(EntriesInRoom(names));
    return {names.begin(), names.end()};
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
    Document document;
    if (!load(document)) return {};
    const std::vector<std::size_t> entries = document.Entries(Trim(section));
    std::vector<std::string_view> names;
    for (std::size_t i : entries) names.push_back(document.lines[i].name);
    const std::size_t n = EntriesInRoom(names);
    std::vector<std::string> values;
    values.reserve(n);
    for (std::size_t e = 0; e < n; ++e) {
        const std::size_t i = entries[e];
        values.push_back(document.lines[i].name + "=" + ReadValue(document.RawValue(i)));
    }
    return values;
}

std::vector<std::string> TIniFile::ReadSections() const {
    Document document;
    if (!load(document)) return {};
    std::vector<std::string> names;
    for (const Document::Line& line : document.lines) {
        if (line.kind != Document::Kind::Section) continue;
        const bool seen =
            std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, line.name); });
        if (!seen) names.push_back(line.name);
    }
    return names;
}

bool TIniFile::SectionExists(const std::string& section) const {
    Document document;
    return load(document) && !document.Sections(Trim(section)).empty();
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    Document document;
    return load(document) && document.Find(Trim(section), Trim(key)) != std::string::npos;
}

TIniResult TIniFile::WriteString(const std::string& sectionName, const std::string& keyName, const std::string& value) {
    const std::string section(Trim(sectionName));
    const std::string key(Trim(keyName));
    // Text that would split the line or turn it into another kind of line would corrupt the file.
    if (section.empty() || HasLineBreak(section) || section.find(']') != std::string::npos)
        return fail("The section name \"" + sectionName + "\" cannot be stored in the settings file.");
    if (key.empty() || HasLineBreak(key) || key.find('=') != std::string::npos || key.front() == '[' ||
        key.front() == ';')
        return fail("The key \"" + keyName + "\" cannot be stored in the settings file.");
    if (HasLineBreak(value))
        return fail("The value of \"" + key + "\" holds a line break and cannot be stored in the settings file.");

    Document document;
    if (TIniResult read = load(document); !read) return read;
    const std::string text = key + "=" + value;
    const std::size_t existing = document.Find(section, key);
    if (existing != std::string::npos) {
        document.lines[existing] = Document::Classify(text);
    } else if (const std::vector<std::size_t> headers = document.Sections(section); !headers.empty()) {
        // After the last entry of the section, so that comments heading the next section stay with it.
        std::size_t at = headers.front() + 1;
        const std::size_t end = document.SectionEnd(headers.front());
        for (std::size_t i = at; i < end; ++i) {
            if (document.lines[i].kind == Document::Kind::Entry) at = i + 1;
        }
        document.lines.insert(document.lines.begin() + static_cast<std::ptrdiff_t>(at), Document::Classify(text));
    } else {
        if (!document.lines.empty() && !Trim(document.lines.back().text).empty())
            document.lines.push_back(Document::Classify(""));
        document.lines.push_back(Document::Classify("[" + section + "]"));
        document.lines.push_back(Document::Classify(text));
    }
    return store(document);
}

TIniResult TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

TIniResult TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

TIniResult TIniFile::EraseSection(const std::string& section) {
    Document document;
    if (TIniResult read = load(document); !read) return read;
    const std::vector<std::size_t> headers = document.Sections(Trim(section));
    for (auto it = headers.rbegin(); it != headers.rend(); ++it) {
        const std::size_t end = document.SectionEnd(*it);
        document.lines.erase(document.lines.begin() + static_cast<std::ptrdiff_t>(*it),
                             document.lines.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return store(document);
}

TIniResult TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    Document document;
    if (TIniResult read = load(document); !read) return read;
    const std::vector<std::size_t> entries = document.Entries(Trim(section));
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (SameName(document.lines[*it].name, Trim(key)))
            document.lines.erase(document.lines.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    return store(document);
}

}  // namespace spectrel
