#include "Code/SPX_DeviceDetails.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/MessageBoxes.h"

namespace spectrel {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperText(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    return upper;
}

}  // namespace

const std::vector<std::string>& DefaultBrands() {
    static const std::vector<std::string> brands = {
        "Halvren", "Akai",  "JVC",   "Fujitsu", "Mitsubishi", "NEC",  "Panasonic",   "Philips",
        "Sharp",   "Samsung", "Sanyo", "Siemens", "Sony",       "TEAC", "Westinghouse"};
    return brands;
}

std::string BrandListFilePath(const std::string& applicationFolder, const std::string& deviceType) {
    return applicationFolder + deviceType + kBrandFileExtension;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // characters (or nothing) since the last line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

TTextLinesResult ReadTextLinesFile(const std::string& path) {
    std::ifstream in(std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), std::ios::binary);
    if (!in) return {false, {}, "Cannot open file " + path + ": " + std::strerror(errno)};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return {false, {}, "Cannot read file " + path};
    return {true, SplitTextLines(text.str()), {}};
}

bool BrandLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return UpperAscii(x) < UpperAscii(y); });
}

std::vector<std::string> BrandListWithDefaults(std::vector<std::string> fileEntries) {
    const std::vector<std::string>& defaults = DefaultBrands();
    fileEntries.insert(fileEntries.end(), defaults.begin(), defaults.end());
    std::stable_sort(fileEntries.begin(), fileEntries.end(), BrandLess);
    return fileEntries;
}

std::vector<std::string> DuplicateBrandMessages(const std::vector<std::string>& brands) {
    std::vector<std::string> messages;
    for (std::size_t i = 1; i < brands.size(); ++i) {
        if (UpperText(brands[i - 1]) == UpperText(brands[i])) messages.push_back(kDuplicateBrandPrefix + brands[i]);
    }
    return messages;
}

TBrandLists DeviceTypeBrandLists(const std::string& applicationFolder, const std::string& deviceType,
                                 platform::MessageBoxes& boxes) {
    using platform::MessageButton;
    using platform::MessageKind;
    const std::string path = BrandListFilePath(applicationFolder, deviceType);
    std::vector<std::string> entries;
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())),
                                         error)) {
        TTextLinesResult read = ReadTextLinesFile(path);
        if (read.ok)
            entries = std::move(read.lines);
        else
            boxes.show(MessageKind::Error, read.message, MessageButton::Ok);
    }
    TBrandLists lists;
    lists.deviceBrands = BrandListWithDefaults(entries);
    lists.remoteBrands = lists.deviceBrands;
    for (const std::string& message : DuplicateBrandMessages(lists.deviceBrands))
        boxes.show(MessageKind::Error, message, MessageButton::Ok);
    return lists;
}

}  // namespace spectrel
